// Tests of the HRESULT split and the facility table, and of the whole pure
// path of a lookup: typed text to MainKey, code, status, code field and
// facility text.
//
// Expected HRESULTs are written as the bit arithmetic worked out by hand.
// The facility table is checked against the ranges of numbers that have no
// text, an independent statement of the same table, rather than row by row
// against a second copy of it.
#include "lookup/hresult_split.h"
#include "lookup/input_interpretation.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A facility text as the field would show it; nullptr leaves the field empty.
std::string Shown(const char* facilityText) {
    return facilityText == nullptr ? "(empty field)" : "\"" + std::string(facilityText) + "\"";
}

// From Win32 code to HRESULT.

struct FromWin32Case {
    uint32_t code;
    uint32_t hr;
};

TEST(HresultFromWin32, ZeroAndNegativeCodesPassThrough) {
    const std::vector<FromWin32Case> cases = {
        {0u, 0u},
        {0x80070005u, 0x80070005u},
        {0x80004005u, 0x80004005u},
        {0x80000000u, 0x80000000u},
        {0xFFFFFFFFu, 0xFFFFFFFFu},
        {0u - 5u, 0xFFFFFFFBu},
    };
    for (const FromWin32Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(HresultFromWin32(c.code), c.hr);
    }
}

TEST(HresultFromWin32, PositiveCodesMoveIntoWin32Facility) {
    const std::vector<FromWin32Case> cases = {
        {1u, 0x80070000u | 1u},
        {5u, 0x80070000u | 5u},
        // 12029 = 0x2EFD
        {12029u, 0x80070000u | 0x2EFDu},
        // Only the low 16 bits survive.
        {0x00010000u, 0x80070000u},
        {0x12345678u, 0x80070000u | 0x5678u},
        {0x7FFFFFFFu, 0x80070000u | 0xFFFFu},
    };
    for (const FromWin32Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(HresultFromWin32(c.code), c.hr);
    }
}

// The three fields of an HRESULT, taken directly.

struct FieldCase {
    uint32_t hr;
    uint32_t code;
    uint32_t severity;
    uint32_t facility;
};

TEST(HresultFields, CodeSeverityAndThirteenBitFacility) {
    const std::vector<FieldCase> cases = {
        {0u, 0u, 0u, 0u},
        {0x80070005u, 5u, 1u, 7u},
        {0x7FFFFFFFu, 0xFFFFu, 0u, 0x1FFFu},
        {0xFFFFFFFFu, 0xFFFFu, 1u, 0x1FFFu},
        // Bits 29 and 30 lie outside the facility.
        {0x20000000u, 0u, 0u, 0u},
        {0x60000000u, 0u, 0u, 0u},
        {0x1FFF0000u, 0u, 0u, 0x1FFFu},
        {0x10000000u, 0u, 0u, 0x1000u},
        {0x8000FFFFu, 0xFFFFu, 1u, 0u},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.hr);
        EXPECT_EQ(HresultCode(c.hr), c.code);
        EXPECT_EQ(HresultSeverity(c.hr), c.severity);
        EXPECT_EQ(HresultFacility(c.hr), c.facility);
    }
}

// The split as a lookup shows it: code to HRESULT form, then the fields and
// the facility text.

struct SplitCase {
    uint32_t code;
    uint32_t fieldCode;
    uint32_t severity;
    uint32_t facility;
    const char* facilityText;  // nullptr: the field stays empty
};

TEST(HresultSplit, DisplayedFieldsOfKnownCodes) {
    const std::vector<SplitCase> cases = {
        {0u, 0u, 0u, 0u, "Default facility code"},
        {5u, 5u, 1u, 7u, "Windows (Non COM)"},
        {0x80070005u, 5u, 1u, 7u, "Windows (Non COM)"},
        {12029u, 12029u, 1u, 7u, "Windows (Non COM)"},
        // 0x4005 = 4 * 4096 + 5
        {0x80004005u, 4u * 4096 + 5u, 1u, 0u, "Default facility code"},
        // 0x887A & 0x1FFF = 0x087A = 2170, not in the table.
        {0x887A0001u, 1u, 1u, 0x087Au, nullptr},
        {0x7FFFFFFFu, 0xFFFFu, 1u, 7u, "Windows (Non COM)"},
        {0xFFFFFFFFu, 0xFFFFu, 1u, 0x1FFFu, nullptr},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.code);
        const uint32_t hr = HresultFromWin32(c.code);
        EXPECT_EQ(HresultCode(hr), c.fieldCode);
        EXPECT_EQ(HresultSeverity(hr), c.severity);
        EXPECT_EQ(HresultFacility(hr), c.facility);
        EXPECT_EQ(Shown(FindFacilityName(HresultFacility(hr))), Shown(c.facilityText));
    }
}

// The facility table.

bool HasNoText(uint32_t facility) {
    return facility == 5 || facility == 6 || (facility >= 27 && facility <= 30) ||
           (facility >= 42 && facility <= 47) || facility == 59 ||
           (facility >= 62 && facility <= 79) || facility >= 82;
}

TEST(FacilityNames, HoldsFiftyOneRowsInStrictlyAscendingOrder) {
    ASSERT_EQ(FacilityNameCount, 51u);
    for (unsigned index = 1; index < FacilityNameCount; ++index) {
        SCOPED_TRACE(index);
        EXPECT_LT(FacilityNames[index - 1].number, FacilityNames[index].number);
    }
}

TEST(FacilityNames, EveryRowHasATextAndIsFound) {
    for (unsigned index = 0; index < FacilityNameCount; ++index) {
        const FacilityName& row = FacilityNames[index];
        SCOPED_TRACE(row.number);
        ASSERT_NE(row.text, nullptr);
        EXPECT_GT(std::strlen(row.text), 0u);
        EXPECT_FALSE(HasNoText(row.number));
        EXPECT_STREQ(FindFacilityName(row.number), row.text);
    }
}

TEST(FacilityNames, TextPresentExactlyOutsideTheGaps) {
    for (uint32_t facility = 0; facility <= 0x2000u; ++facility) {
        SCOPED_TRACE(facility);
        EXPECT_EQ(FindFacilityName(facility) == nullptr, HasNoText(facility));
    }
    for (uint32_t facility : {5u, 6u, 27u, 59u, 82u, 8191u, 0x1FFFu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(facility);
        EXPECT_EQ(FindFacilityName(facility), nullptr);
    }
}

TEST(FacilityNames, TextsThatAreEasyToGetWrong) {
    const std::vector<FacilityName> cases = {
        {0, "Default facility code"},
        {4, "COM/OLE Interface management"},
        {7, "Windows (Non COM)"},
        {12, "Wininet related"},
        {17, "COM+"},
        {19, ".NET CLR"},
        {22, "Ubiquitous Memoryintrospection Service"},
        {26, "Common Logging support"},
        {31, "User mode filter manager"},
        {41, "Trusted Platform Module applications"},
        {48, "Performance Logs and Alerts"},
        {58, "User mode Virtual Hard Disk support"},
        {60, "System Diagnostics"},
        {61, "Web Services"},
        {80, "Windows Defender component"},
        {81, "Open Connectivity service"},
    };
    for (const FacilityName& c : cases) {
        SCOPED_TRACE(c.number);
        const char* text = FindFacilityName(c.number);
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, c.text);
    }
    EXPECT_EQ(FacilityNames[0].number, 0u);
    EXPECT_EQ(FacilityNames[FacilityNameCount - 1].number, 81u);
}

// From typed text to the displayed split, as one lookup run does it.

struct LookupCase {
    const char* input;
    const char* keyAfter;
    MessageSource source;
    uint32_t code;
    bool failure;
    uint32_t fieldCode;
    const char* facilityText;
};

TEST(LookupPath, TypedTextToDisplayedFields) {
    const char* win32 = "Windows (Non COM)";
    const std::vector<LookupCase> cases = {
        {"5", "5", MessageSource::System, 5u, true, 5u, win32},
        {"0", "0", MessageSource::System, 0u, false, 0u, "Default facility code"},
        {"12029", "12029", MessageSource::WinInetModule, 12029u, true, 12029u, win32},
        // Three spellings of one number: same fields, keys as typed or stripped.
        {"-2147024891", "-2147024891", MessageSource::System, 0x80070005u, true, 5u, win32},
        {"0x80070005", "80070005", MessageSource::System, 0x80070005u, true, 5u, win32},
        {"80070005", "80070005", MessageSource::System, 0x80070005u, true, 5u, win32},
        {"0x887A0001", "887A0001", MessageSource::System, 0x887A0001u, true, 1u, nullptr},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.input);
        std::array<char, kNoteKeySize> key{};
        ASSERT_LT(std::strlen(c.input), kNoteKeySize);
        std::memcpy(key.data(), c.input, std::strlen(c.input));

        const Interpretation interpretation = InterpretInput(key.data());
        ASSERT_FALSE(interpretation.incomplete);
        EXPECT_STREQ(key.data(), c.keyAfter);
        EXPECT_TRUE(interpretation.source == c.source);
        EXPECT_EQ(interpretation.code, c.code);

        const uint32_t hr = HresultFromWin32(interpretation.code);
        EXPECT_EQ(HresultSeverity(hr) == 1u, c.failure);
        EXPECT_EQ(HresultCode(hr), c.fieldCode);
        EXPECT_EQ(Shown(FindFacilityName(HresultFacility(hr))), Shown(c.facilityText));
    }
}

}  // namespace
