#include <gtest/gtest.h>

#include "files/Cp1252.h"

namespace ldc {
namespace {

std::string toCp1252(const std::string& utf8) {
    std::string out;
    Cp1252Refusal refusal;
    EXPECT_TRUE(appendCp1252FromUtf8(out, utf8, refusal)) << utf8;
    return out;
}

TEST(Cp1252, MapsTheBytesTheStudyTextsUse) {
    struct Row {
        const char* name;
        std::string byte;
        std::string utf8;
    } rows[] = {
        {"ascii stays ascii", "A", "A"},
        {"o acute of Regresión", "\xF3", "ó"},
        {"n tilde", "\xF1", "ñ"},
        {"micro sign of µg", "\xB5", "µ"},
        {"degree sign", "\xB0", "°"},
        {"euro, first of the 0x80 block", "\x80", "€"},
        {"per mille, inside the 0x80 block", "\x89", "‰"},
        {"Y diaeresis, last of the 0x80 block", "\x9F", "Ÿ"},
        {"undefined 0x81 keeps its number", "\x81", "\xC2\x81"},
        {"undefined 0x9D keeps its number", "\x9D", "\xC2\x9D"},
        {"no-break space", "\xA0", "\xC2\xA0"},
        {"y diaeresis, last byte", "\xFF", "ÿ"},
        {"control bytes pass", std::string("\x01\x00", 2), std::string("\x01\x00", 2)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(cp1252ToUtf8(row.byte), row.utf8) << row.name;
        EXPECT_EQ(toCp1252(row.utf8), row.byte) << row.name;
    }
}

TEST(Cp1252, EveryByteSurvivesAReadAndAWrite) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(toCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, RefusesWhatItCannotHoldAndTextThatIsNotUtf8) {
    using K = Cp1252Refusal::Kind;
    struct Row {
        const char* name;
        std::string utf8;
        K kind;
        char32_t character;
    } rows[] = {
        {"greek omega", "ab\xCE\xA9", K::unencodable, U'Ω'},
        {"C1 control Windows-1252 uses for the euro", "\xC2\x80", K::unencodable, 0x80},
        {"unencodable after an encodable accent", "ó≤", K::unencodable, U'≤'},
        {"outside the basic plane", "x\xF0\x9F\x98\x80", K::unencodable, 0x1F600},
        {"raw Windows-1252 byte", "Regresi\xF3n", K::invalidUtf8, 0},
        {"stray continuation byte", "\x80", K::invalidUtf8, 0},
        {"sequence cut short", "\xC3", K::invalidUtf8, 0},
        {"overlong slash", "\xC0\xAF", K::invalidUtf8, 0},
        {"overlong three-byte form", "\xE0\x80\xAF", K::invalidUtf8, 0},
        {"UTF-16 surrogate", "\xED\xA0\x80", K::invalidUtf8, 0},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", K::invalidUtf8, 0},
        {"continuation missing in the middle", "\xE2\x82x", K::invalidUtf8, 0},
    };
    for (const Row& row : rows) {
        std::string out;
        Cp1252Refusal refusal;
        EXPECT_FALSE(appendCp1252FromUtf8(out, row.utf8, refusal)) << row.name;
        EXPECT_EQ(refusal.kind, row.kind) << row.name;
        EXPECT_EQ(refusal.character, row.character) << row.name;
    }
}

TEST(Cp1252, DescribesACharacterForTheAnalyst) {
    EXPECT_EQ(describeCharacter(U'Ω'), "el carácter \"Ω\" (U+03A9)");
    EXPECT_EQ(describeCharacter(0x1F600), "el carácter \"\xF0\x9F\x98\x80\" (U+1F600)");
    EXPECT_EQ(describeCharacter(0x80), "el carácter de control U+0080");
}

}  // namespace
}  // namespace ldc
