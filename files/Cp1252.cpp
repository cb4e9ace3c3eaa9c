#include "files/Cp1252.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace ldc {
namespace {

// Characters of bytes 0x80 to 0x9F. The undefined bytes keep their own number, as
// control characters, so that they survive a read and a write.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The byte for a character, or -1 when Windows-1252 has none.
int cp1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

// Decodes one well-formed UTF-8 sequence at `pos`; returns its length, or 0 when the
// bytes there are not UTF-8 (stray or missing continuation bytes, overlong forms,
// surrogates, beyond U+10FFFF).
std::size_t decodeUtf8(std::string_view text, std::size_t pos, char32_t& c) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        c = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - pos < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

void appendUtf8FromCp1252(std::string& out, std::string_view bytes) {
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            appendUtf8(out, kHighControls[b - 0x80]);
        else
            appendUtf8(out, b);
    }
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    appendUtf8FromCp1252(out, bytes);
    return out;
}

bool appendCp1252FromUtf8(std::string& out, std::string_view utf8, Cp1252Refusal& refusal) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        // Plain ASCII runs are the common case: copy them as they are.
        std::size_t run = pos;
        while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80)
            ++run;
        out.append(utf8, pos, run - pos);
        pos = run;
        if (pos == utf8.size())
            break;

        char32_t c = 0;
        const std::size_t length = decodeUtf8(utf8, pos, c);
        if (length == 0) {
            refusal = {Cp1252Refusal::Kind::invalidUtf8, 0};
            return false;
        }
        const int b = cp1252Byte(c);
        if (b < 0) {
            refusal = {Cp1252Refusal::Kind::unencodable, c};
            return false;
        }
        out += static_cast<char>(b);
        pos += length;
    }
    return true;
}

std::string describeCharacter(char32_t character) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    // A control character would show as nothing between the quotes.
    if (character < 0x20 || (character >= 0x7F && character < 0xA0))
        return std::string("el carácter de control ") + code;
    return "el carácter \"" + utf8Of(character) + "\" (" + code + ")";
}

std::string utf8Of(char32_t character) {
    std::string out;
    appendUtf8(out, character);
    return out;
}

}  // namespace ldc
