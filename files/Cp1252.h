#pragma once

#include <string>
#include <string_view>

namespace ldc {

// Study files are written in Windows-1252, the program works in UTF-8.
//
// Reading maps every byte to a character: the five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters with the same number, so
// a file read and written back is byte for byte the same.

// Appends the UTF-8 form of the Windows-1252 bytes to `out`.
void appendUtf8FromCp1252(std::string& out, std::string_view bytes);
std::string cp1252ToUtf8(std::string_view bytes);

// Why a text could not be written in Windows-1252.
struct Cp1252Refusal {
    enum class Kind { unencodable, invalidUtf8 };
    Kind kind = Kind::unencodable;
    char32_t character = 0;  // the character Windows-1252 cannot hold (unencodable)
    std::size_t offset = 0;  // where in the UTF-8 text the refusal starts
};

// Appends the Windows-1252 bytes of the UTF-8 text to `out`. A character that
// Windows-1252 cannot hold is never replaced: the function returns false, fills
// `refusal` and leaves `out` with what came before that character.
bool appendCp1252FromUtf8(std::string& out, std::string_view utf8, Cp1252Refusal& refusal);

// "Ω" (U+03A9): the character and its code, as the refusal messages quote it.
std::string describeCharacter(char32_t character);

// The UTF-8 form of one character (a valid code point).
std::string utf8Of(char32_t character);

}  // namespace ldc
