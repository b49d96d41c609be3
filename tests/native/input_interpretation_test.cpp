// Tests of input interpretation: the four rules of InterpretInput in their
// order, the MainKey rewrite, the three number readers, StripAll and
// EqualNoCase.
//
// Expected values are worked out by hand from the reading rules and written
// as that arithmetic (3 * 100 + 21 * 10 + 8 for "3E8"), never obtained by
// calling one routine to check another. Bytes 0x80..0xFF appear in every
// reader, because char is signed on the Windows target and a reader that
// forgets to widen through unsigned char goes wrong only there.
#include "lookup/input_interpretation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

void PrintTo(MessageSource source, std::ostream* out) {
    *out << (source == MessageSource::System ? "System" : "WinInetModule");
}

namespace {

constexpr MessageSource kSystem = MessageSource::System;
constexpr MessageSource kWinInet = MessageSource::WinInetModule;

// The MainKey buffer as the lookup run fills it: zeroed, then at most 15
// characters copied in.
std::array<char, kNoteKeySize> MakeKey(const char* text) {
    std::array<char, kNoteKeySize> key{};
    std::memcpy(key.data(), text, std::min<size_t>(std::strlen(text), kNoteKeySize - 1));
    return key;
}

struct NumberCase {
    const char* input;
    uint32_t code;
    MessageSource source;
    const char* keyAfter;
};

void CheckNumberCases(const std::vector<NumberCase>& cases) {
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(std::string("input \"") + c.input + "\"");
        ASSERT_LT(std::strlen(c.input), kNoteKeySize) << "case would be cut by the capture";
        auto key = MakeKey(c.input);
        const Interpretation result = InterpretInput(key.data());
        ASSERT_FALSE(result.incomplete);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.source, c.source);
        EXPECT_STREQ(key.data(), c.keyAfter);
    }
}

// Rule 1: at least two characters and a leading minus.

TEST(NegativeDecimalRule, ReadsSignedDecimalAndKeepsKey) {
    CheckNumberCases({
        {"-5", 0u - 5u, kSystem, "-5"},
        {"-1", 0xFFFFFFFFu, kSystem, "-1"},
        // Two characters are enough: the space stops ReadSignedDecimal at 0,
        // where rule 4's ReadDecimal would have counted it as 240.
        {"- ", 0u, kSystem, "- "},
        {"-0", 0u, kSystem, "-0"},
        // 2^32 - 2147024891 = 2147942405 = 0x80070005
        {"-2147024891", 0x80070005u, kSystem, "-2147024891"},
        {"-2147483648", 0x80000000u, kSystem, "-2147483648"},
        // 4294967296 wraps to 0 before it is negated.
        {"-4294967296", 0u, kSystem, "-4294967296"},
        // A letter counts as byte - 48: 1 * 100 + 2 * 10 + 17 = 137.
        {"-12A", 0u - 137u, kSystem, "-12A"},
        // The second minus is below '0' and ends the reading at once.
        {"--", 0u, kSystem, "--"},
        {"-5 3", 0u - 5u, kSystem, "-5 3"},
    });
}

TEST(NegativeDecimalRule, WinsOverPrefixFoundLater) {
    // "0x" after the minus does not make it rule 4, and the x counts:
    // (0 * 10 + 72) * 10 + 5 = 725.
    CheckNumberCases({
        {"-0x5", 0u - 725u, kSystem, "-0x5"},
        {"-0x", 0u - 72u, kSystem, "-0x"},
    });
}

TEST(NegativeDecimalRule, DoesNotApplyToLoneMinus) {
    // One character falls to rule 4, whose ReadDecimal takes the minus as a
    // sign and finds no digits.
    CheckNumberCases({{"-", 0u, kSystem, "-"}});
}

// Rule 2: at least three characters beginning with the exact bytes "0x".

TEST(PrefixedHexRule, StripsEveryPrefixAndReadsHex) {
    CheckNumberCases({
        {"0x5", 5u, kSystem, "5"},
        {"0x15", 0x15u, kSystem, "15"},
        {"0x80070005", 0x80070005u, kSystem, "80070005"},
        {"0xabc", 0xABCu, kSystem, "abc"},
        {"0x1F0x2", 0x1F2u, kSystem, "1F2"},
        {"0x0x", 0u, kSystem, ""},
        {"0x0x0x0x0x0x0x", 0u, kSystem, ""},
        // One pass: the "0x" that forms from the bytes around a removed one
        // stays; then 'x' is (120 - 87) & 15 = 1 and '0' sits above it.
        {"0x00xx", 0u * 16 + 1u, kSystem, "0x"},
        {"0xx", 1u, kSystem, "x"},
        // Nine digits: the ninth from the right is added with shift 0 again.
        {"0x123456789", 0x23456789u + 1u, kSystem, "123456789"},
        // 0xFFFFFFFF + 15 wraps to 14.
        {"0xFFFFFFFFF", 14u, kSystem, "FFFFFFFFF"},
    });
}

TEST(PrefixedHexRule, NeedsSmallXAndThreeCharacters) {
    // A capital X is no prefix: "0X5" has no "0x" at all, so rule 3 reads it
    // in decimal with X = 88 - 48 = 40: (0 * 10 + 40) * 10 + 5 = 405.
    CheckNumberCases({{"0X5", 405u, kSystem, "0X5"}});

    for (const char* bare : {"0x", "0X"}) {
        SCOPED_TRACE(bare);
        auto key = MakeKey(bare);
        const Interpretation result = InterpretInput(key.data());
        EXPECT_TRUE(result.incomplete);
        EXPECT_STREQ(key.data(), bare);
    }
}

// Rule 3: at least three characters and no "0x" anywhere; the decimal
// reading of the whole text picks hexadecimal, WinInet or System.

TEST(PlainNumberRule, WinInetRangeIncludesBothBounds) {
    CheckNumberCases({
        {"11999", 11999u, kSystem, "11999"},
        {"12000", 12000u, kWinInet, "12000"},
        {"12029", 12029u, kWinInet, "12029"},
        {"12174", 12174u, kWinInet, "12174"},
        {"12175", 12175u, kSystem, "12175"},
        {"012000", 12000u, kWinInet, "012000"},
    });
}

TEST(PlainNumberRule, FromSixteenThousandTextIsHex) {
    CheckNumberCases({
        {"15999", 15999u, kSystem, "15999"},
        // 0x16000 = 1 * 65536 + 6 * 4096 = 90112
        {"16000", 1u * 65536 + 6u * 4096, kSystem, "16000"},
        {"80070005", 0x80070005u, kSystem, "80070005"},
        // Decimal reading 8007000 * 10 + 21 is far above the threshold.
        {"8007000E", 0x8007000Eu, kSystem, "8007000E"},
        {"180070005", 0x80070005u + 1u, kSystem, "180070005"},
    });
}

TEST(PlainNumberRule, LettersCountInDecimalBelowThreshold) {
    CheckNumberCases({
        {"3E8", 3u * 100 + 21u * 10 + 8u, kSystem, "3E8"},
        {"ABC", 17u * 100 + 18u * 10 + 19u, kSystem, "ABC"},
        {"100", 100u, kSystem, "100"},
        // A minus after the first byte is (45 - 48) mod 256 = 253.
        {"1-2", (1u * 10 + 253u) * 10 + 2u, kSystem, "1-2"},
    });
}

TEST(PlainNumberRule, ThresholdComparesWrappedUnsignedReading) {
    CheckNumberCases({
        // 4294967296 = 2^32 reads as 0.
        {"4294967296", 0u, kSystem, "4294967296"},
        // 2^32 + 12000 reads as 12000.
        {"4294979296", 12000u, kWinInet, "4294979296"},
        // 2147483648 is 0x80000000: huge unsigned, so hexadecimal. Ten
        // digits: '2' shifts by 36 mod 32 = 4, '1' by 32 mod 32 = 0, and the
        // other eight make 0x47483648.
        {"2147483648", 0x47483648u + 0x20u + 0x1u, kSystem, "2147483648"},
    });
}

// Rule 4: everything else.

TEST(RemainderRule, ShortTextsReadAsDecimal) {
    CheckNumberCases({
        {"", 0u, kSystem, ""},
        {"0", 0u, kSystem, "0"},
        {"5", 5u, kSystem, "5"},
        {"12", 12u, kSystem, "12"},
        {"E", 21u, kSystem, "E"},
        {"x", 72u, kSystem, "x"},
        {"1x", 1u * 10 + 72u, kSystem, "1x"},
        // Three and more characters fall here only with "0x" after the start.
        {"10x5", ((1u * 10 + 0u) * 10 + 72u) * 10 + 5u, kSystem, "10x5"},
        {"00x", 72u, kSystem, "00x"},
        {"X0x", (40u * 10 + 0u) * 10 + 72u, kSystem, "X0x"},
    });
}

TEST(RemainderRule, NeitherWinInetNorHexAppliesHere) {
    // Decimal readings that rule 3 would have sent elsewhere.
    CheckNumberCases({
        {"1200x", 12000u + 72u, kSystem, "1200x"},
        {"1600x", 16000u + 72u, kSystem, "1600x"},
    });
}

// The MainKey after interpretation names the note, so equal numbers typed
// with and without the prefix must share a key.

TEST(MainKeyRewrite, PrefixedAndBareHexShareTheKey) {
    const std::vector<std::array<const char*, 2>> pairs = {
        {"0x15", "15"},
        {"0x80070005", "80070005"},
        {"0x8007000E", "8007000E"},
        {"0x0x15", "15"},
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair[0]);
        auto prefixed = MakeKey(pair[0]);
        auto bare = MakeKey(pair[1]);
        InterpretInput(prefixed.data());
        InterpretInput(bare.data());
        EXPECT_STREQ(prefixed.data(), pair[1]);
        EXPECT_STREQ(bare.data(), pair[1]);
    }
}

// Whatever the bytes, interpretation stays inside the 16-byte buffer, never
// lengthens the text, and changes it only under the prefixed-hex rule.
void CheckKeyBounds(const std::string& input) {
    struct Guarded {
        std::array<char, kNoteKeySize> key;
        std::array<char, 8> guard;
    } buffer;
    buffer.key.fill('\0');
    buffer.guard.fill('\x5A');
    std::memcpy(buffer.key.data(), input.data(), input.size());

    InterpretInput(buffer.key.data());

    const auto terminator = std::find(buffer.key.begin(), buffer.key.end(), '\0');
    ASSERT_NE(terminator, buffer.key.end()) << "key lost its terminator";
    const std::string after(buffer.key.begin(), terminator);
    EXPECT_LE(after.size(), input.size());
    for (size_t index = input.size(); index < kNoteKeySize; ++index) {
        EXPECT_EQ(buffer.key[index], '\0') << "byte " << index;
    }
    for (char guardByte : buffer.guard) {
        EXPECT_EQ(guardByte, '\x5A');
    }

    if (input.size() >= 3 && input.compare(0, 2, "0x") == 0) {
        // Stripping removes whole two-byte prefixes, the leading one at
        // least, and keeps the order of what remains.
        const size_t removed = input.size() - after.size();
        EXPECT_GE(removed, 2u);
        EXPECT_EQ(removed % 2, 0u);
        size_t scan = 2;
        for (char kept : after) {
            scan = input.find(kept, scan);
            ASSERT_NE(scan, std::string::npos) << "key is not drawn from the input";
            ++scan;
        }
    } else {
        EXPECT_EQ(after, input);
    }
}

TEST(KeyBounds, ExhaustiveOverShortTextsOfPrefixBytes) {
    const std::string alphabet = {'0', 'x', 'X', '-', '5'};
    std::vector<std::string> level = {""};
    for (size_t length = 1; length <= 7; ++length) {
        std::vector<std::string> next;
        for (const std::string& stem : level) {
            for (char letter : alphabet) {
                next.push_back(stem + letter);
            }
        }
        for (const std::string& input : next) {
            SCOPED_TRACE(input);
            CheckKeyBounds(input);
            if (::testing::Test::HasFailure()) {
                return;
            }
        }
        level = std::move(next);
    }
}

TEST(KeyBounds, PseudoRandomTextsUpToFifteenBytes) {
    const std::string alphabet = {'0', 'x', 'X', '-', '1',    '9',    'A',    'F',
                                  'a', 'f', ' ', '/', '\x7F', '\x80', '\xC0', '\xFF'};
    uint32_t state = 12345u;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return state >> 16;
    };
    for (int round = 0; round < 200000; ++round) {
        const size_t length = 1 + next() % 15;
        std::string input;
        // Random bytes rarely begin with "0x", so every fourth text is given
        // the prefix to keep the rewrite path well exercised.
        if (round % 4 == 0 && length >= 2) {
            input = "0x";
        }
        while (input.size() < length) {
            input.push_back(alphabet[next() % alphabet.size()]);
        }
        SCOPED_TRACE(round);
        CheckKeyBounds(input);
        if (::testing::Test::HasFailure()) {
            return;
        }
    }
}

// Readers.

struct ReaderCase {
    const char* text;
    uint32_t value;
};

void CheckReader(uint32_t (*reader)(const char*), const std::vector<ReaderCase>& cases) {
    for (const ReaderCase& c : cases) {
        std::string shown;
        for (const char* p = c.text; *p != '\0'; ++p) {
            shown += std::to_string(static_cast<unsigned char>(*p)) + " ";
        }
        SCOPED_TRACE("bytes " + shown);
        EXPECT_EQ(reader(c.text), c.value);
    }
}

TEST(ReadDecimal, EveryByteCountsModulo256) {
    const std::vector<ReaderCase> cases = {
        {"", 0u},
        {"0", 0u},
        {"123", 123u},
        {"A", 65u - 48u},
        {"F", 70u - 48u},
        {"x", 120u - 48u},
        {"1-", 1u * 10 + (45u + 256u - 48u)},
        {" ", 32u + 256u - 48u},
        {"/", 47u + 256u - 48u},
        {"\x01", 1u + 256u - 48u},
        {"\x80", 128u - 48u},
        {"\xFF", 255u - 48u},
        {"1\x80", 1u * 10 + (128u - 48u)},
    };
    CheckReader(ReadDecimal, cases);
}

TEST(ReadDecimal, LeadingMinusNegates) {
    const std::vector<ReaderCase> cases = {
        {"-", 0u},
        {"-5", 0u - 5u},
        {"-2147024891", 0x80070005u},
        // The second minus is a byte like any other: 253.
        {"--", 0u - 253u},
        {"-\xC0", 0u - (192u - 48u)},
    };
    CheckReader(ReadDecimal, cases);
}

TEST(ReadDecimal, WrapsModulo2To32) {
    const std::vector<ReaderCase> cases = {
        {"4294967295", 0xFFFFFFFFu},
        {"4294967296", 0u},
        {"4294967297", 1u},
        // 10^10 = 2 * 2^32 + 1410065408
        {"10000000000", 1410065408u},
    };
    CheckReader(ReadDecimal, cases);
}

TEST(ReadSignedDecimal, StopsOnlyBelowDigitZero) {
    const std::vector<ReaderCase> cases = {
        {"", 0u},
        {"12", 12u},
        {"12 3", 12u},
        {"1/2", 1u},
        {"1-2", 1u},
        {"5\t", 5u},
        {"0\x01z", 0u},
        {":", 58u - 48u},
        {"1:", 1u * 10 + (58u - 48u)},
        {"\x7F", 127u - 48u},
        // 0x80..0xFF are above 48 when read unsigned and do not stop it.
        {"1\x80", 1u * 10 + (128u - 48u)},
        {"\xFF", 255u - 48u},
        {"\x80z", (128u - 48u) * 10 + (122u - 48u)},
    };
    CheckReader(ReadSignedDecimal, cases);
}

TEST(ReadSignedDecimal, LeadingMinusNegates) {
    const std::vector<ReaderCase> cases = {
        {"-", 0u},
        {"--5", 0u},
        {"-12A", 0u - (1u * 100 + 2u * 10 + 17u)},
        {"-\x80", 0u - (128u - 48u)},
        {"-2147483648", 0x80000000u},
        {"-4294967297", 0u - 1u},
    };
    CheckReader(ReadSignedDecimal, cases);
}

TEST(ReadHex, OrdinaryHexUpToEightDigits) {
    const std::vector<ReaderCase> cases = {
        {"", 0u},
        {"0", 0u},
        {"9", 9u},
        {"F", 15u},
        {"f", 15u},
        {"10", 16u},
        {"1F2", 1u * 256 + 15u * 16 + 2u},
        {"FFFFFFFF", 0xFFFFFFFFu},
        {"ffffffff", 0xFFFFFFFFu},
        {"80070005", 0x80070005u},
    };
    CheckReader(ReadHex, cases);
}

TEST(ReadHex, DigitOfEachByteClass) {
    const std::vector<ReaderCase> cases = {
        // Below 65: (c - 48) & 15.
        {"\x01", (1u + 64u - 48u) & 15u},
        {" ", (32u + 64u - 48u) & 15u},
        {"/", (47u + 16u - 48u) & 15u},
        {":", 58u - 48u},
        {"@", (64u - 48u) & 15u},
        // 65 to 86: (c - 55) & 15.
        {"A", 65u - 55u},
        {"G", (71u - 55u) & 15u},
        {"P", (80u - 55u) & 15u},
        {"V", (86u - 55u) & 15u},
        // From 87: (c - 87) & 15, bytes 0x80..0xFF included.
        {"W", 87u - 87u},
        {"X", 88u - 87u},
        {"x", (120u - 87u) & 15u},
        {"\x80", (128u - 87u) & 15u},
        {"\xC0", (192u - 87u) & 15u},
        {"\xFF", (255u - 87u) & 15u},
    };
    CheckReader(ReadHex, cases);
}

TEST(ReadHex, ShiftWrapsAfterEightDigits) {
    const std::vector<ReaderCase> cases = {
        // The ninth digit from the right is added with shift 0 again.
        {"100000000", 1u},
        {"123456789", 0x23456789u + 1u},
        {"180070005", 0x80070005u + 1u},
        // Sums wrap too: 0xFFFFFFFF + 15 = 2^32 + 14.
        {"FFFFFFFFF", 14u},
        // Seventeen digits: the first is shifted by 64 mod 32 = 0.
        {"10000000000000000", 1u},
        // Ten digits: 'A' shifted by 36 mod 32 = 4, 'B' by 0.
        {"AB00000000", 0xA0u + 0xBu},
    };
    CheckReader(ReadHex, cases);
}

// StripAll, with a separate destination and in place.

struct StripCase {
    const char* source;
    const char* pattern;
    const char* expected;
};

const std::vector<StripCase> kStripCases = {
    {"0x80070005", "0x", "80070005"},
    {"0x1F0x2", "0x", "1F2"},
    {"0x0x", "0x", ""},
    // One pass without overlap: the "0x" made by the neighbours stays.
    {"00xx", "0x", "0x"},
    {"0x00xx", "0x", "0x"},
    {"aaa", "aa", "a"},
    {"aaaa", "aa", ""},
    {"abcabc", "abc", ""},
    {"", "0x", ""},
    {"0", "0x", "0"},
    {"x0", "0x", "x0"},
    {"0X5", "0x", "0X5"},
    {"ab", "abc", "ab"},
    {"12345", "0x", "12345"},
    {"5", "", "5"},
};

TEST(StripAll, SeparateDestinationWritesOnlyResultAndTerminator) {
    for (const StripCase& c : kStripCases) {
        SCOPED_TRACE(std::string(c.source) + " without " + c.pattern);
        std::array<char, 32> destination;
        destination.fill('#');
        StripAll(c.source, destination.data(), c.pattern);
        EXPECT_STREQ(destination.data(), c.expected);
        for (size_t index = std::strlen(c.expected) + 1; index < destination.size(); ++index) {
            EXPECT_EQ(destination[index], '#') << "byte " << index;
        }
    }
}

TEST(StripAll, SourceLeftUntouchedWhenDestinationDiffers) {
    for (const StripCase& c : kStripCases) {
        SCOPED_TRACE(c.source);
        std::string source = c.source;
        std::array<char, 32> destination{};
        StripAll(source.c_str(), destination.data(), c.pattern);
        EXPECT_EQ(source, c.source);
    }
}

TEST(StripAll, InPlaceGivesSameResult) {
    for (const StripCase& c : kStripCases) {
        SCOPED_TRACE(std::string(c.source) + " without " + c.pattern);
        std::array<char, 32> buffer{};
        ASSERT_LT(std::strlen(c.source), buffer.size());
        std::strcpy(buffer.data(), c.source);
        StripAll(buffer.data(), buffer.data(), c.pattern);
        EXPECT_STREQ(buffer.data(), c.expected);
    }
}

// EqualNoCase, checked both ways round.

struct CompareCase {
    const char* a;
    const char* b;
    bool equal;
};

TEST(EqualNoCase, OnlyLettersAToZFold) {
    const std::vector<CompareCase> cases = {
        {"", "", true},
        {"0x", "0X", true},
        {"abc", "ABC", true},
        {"AbC", "aBc", true},
        {"Az", "aZ", true},
        {"80070005", "80070005", true},
        {"\xC0", "\xC0", true},
        {"a", "b", false},
        {"0x", "0y", false},
        // Neighbours of A..Z and a..z: '@' 64 / '`' 96, '[' 91 / '{' 123.
        {"@", "`", false},
        {"[", "{", false},
        {"\\", "|", false},
        // Letters of the upper half of the code page do not fold.
        {"\xC0", "\xE0", false},
        {"\xDE", "\xFE", false},
    };
    for (const CompareCase& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(EqualNoCase(c.a, c.b), c.equal);
        EXPECT_EQ(EqualNoCase(c.b, c.a), c.equal);
    }
}

TEST(EqualNoCase, DifferentLengthsAreUnequal) {
    const std::vector<CompareCase> cases = {
        {"", "a", false},
        {"abc", "abcd", false},
        {"ABC", "abcd", false},
        {"0x", "0x5", false},
    };
    for (const CompareCase& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(EqualNoCase(c.a, c.b), c.equal);
        EXPECT_EQ(EqualNoCase(c.b, c.a), c.equal);
    }
}

}  // namespace
