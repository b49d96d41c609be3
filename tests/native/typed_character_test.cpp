// The error-number field's rule for typed characters: what passes, what is
// normalised, and the neighbours of every range, which a rule written with
// one wrong bound would let through or swallow.
#include "app/typed_character.h"

#include <gtest/gtest.h>

namespace {

TEST(TypedCharacter, PassesNormalisesOrSwallows) {
    struct Case {
        uint32_t typed;
        uint32_t handedOn;  // 0: swallowed
    };
    const Case cases[] = {
        // Control characters: only Ctrl+C, Backspace and Ctrl+V pass.
        {0, 0}, {1, 0}, {2, 0}, {3, 3}, {4, 0}, {7, 0}, {8, 8}, {9, 0}, {10, 0}, {13, 0},
        {21, 0}, {22, 22}, {23, 0}, {24, 0}, {26, 0}, {27, 0}, {31, 0},
        // Printable characters around the digits, A-F, X and a-f.
        {' ', 0}, {'+', 0}, {',', 0}, {'-', '-'}, {'.', 0}, {'/', 0}, {'0', '0'}, {'5', '5'},
        {'9', '9'}, {':', 0}, {'@', 0}, {'A', 'A'}, {'F', 'F'}, {'G', 0}, {'W', 0},
        {'X', 'x'}, {'Y', 0}, {'`', 0}, {'a', 'A'}, {'c', 'C'}, {'f', 'F'}, {'g', 0},
        {'w', 0}, {'x', 'x'}, {'y', 0}, {127, 0},
        // Bytes of other code pages and characters beyond them.
        {0x80, 0}, {0xC1, 0}, {0xE1, 0}, {0xFF, 0}, {0x100 + 'a', 0}, {0x3042, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(FilterTypedCharacter(c.typed), c.handedOn);
    }
}

TEST(TypedCharacter, TypingAPrefixedNumberShowsItNormalised) {
    const char typed[] = "0X1a-bC";
    const char shown[] = "0x1A-BC";
    for (size_t i = 0; typed[i] != '\0'; ++i) {
        SCOPED_TRACE(typed[i]);
        EXPECT_EQ(FilterTypedCharacter(static_cast<unsigned char>(typed[i])),
                  static_cast<unsigned char>(shown[i]));
    }
}

}  // namespace
