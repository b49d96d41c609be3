// Enter in the main window: the typed number, the fields it fills, and the
// three failure texts. Expected descriptions always come from FormatMessageA
// on the running system, and a case meant to succeed first checks that the
// system really has a text for it.
#include <string>

#include "app/app_state.h"
#include "notes/note_editor.h"
#include "resources/resource_ids.h"
#include "tests/wine/main_window_test.h"

namespace {

// What FormatMessageA gives for code, or "" when the table has none.
std::string SystemText(DWORD code, HMODULE module = nullptr) {
    char* text = nullptr;
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                  (module != nullptr ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
    DWORD length = FormatMessageA(flags, module, code, 0, reinterpret_cast<LPSTR>(&text), 1,
                                  nullptr);
    std::string result = length != 0 ? std::string(text, length) : std::string();
    LocalFree(text);
    return result;
}

std::string WinInetText(DWORD code) {
    HMODULE wininet = LoadLibraryExA("Wininet.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::string text = wininet != nullptr ? SystemText(code, wininet) : std::string();
    if (wininet != nullptr) {
        FreeLibrary(wininet);
    }
    return text;
}

const char kIncompleteNumberText[] = "Please enter a complete error number";
const char kNoInfoText[] = "Could not find info for this error number";

class LookupTest : public MainWindowTest {
protected:
    void ExpectAllResultFieldsEmptyBut(const char* description) {
        EXPECT_EQ(Field(IDC_STATUS), "");
        EXPECT_EQ(Field(IDC_CODE), "");
        EXPECT_EQ(Field(IDC_FACILITY), "");
        EXPECT_EQ(Field(IDC_DESCRIPTION), description);
        EXPECT_EQ(Field(IDC_NOTE_EDITOR), "");
        EXPECT_FALSE(Enabled(IDC_SAVE_NOTE));
        EXPECT_FALSE(Enabled(IDC_DELETE_NOTE));
    }
    // Fills every field and enables both buttons, so a failure must clear them.
    void Dirty() {
        for (int id = IDC_STATUS; id <= IDC_NOTE_EDITOR; ++id) {
            SetDlgItemTextA(Main(), id, "stale");
        }
        EnableWindow(GetDlgItem(Main(), IDC_SAVE_NOTE), TRUE);
        EnableWindow(GetDlgItem(Main(), IDC_DELETE_NOTE), TRUE);
        // As if Quorrin had put the note there: no changes to ask about.
        MarkNoteUnchanged(GetDlgItem(Main(), IDC_NOTE_EDITOR));
    }
};

struct SuccessCase {
    const char* typed;
    DWORD code;
    bool wininet;
    const char* status;
    const char* codeText;
    const char* facility;
};

void PrintTo(const SuccessCase& c, std::ostream* out) {
    *out << c.typed;
}

class LookupSuccess : public LookupTest, public testing::WithParamInterface<SuccessCase> {};

TEST_P(LookupSuccess, ShowsTheSystemTextAndTheSplit) {
    const SuccessCase& c = GetParam();
    std::string expected = c.wininet ? WinInetText(c.code) : SystemText(c.code);
    ASSERT_NE(expected, "") << "this system has no text for " << c.typed;
    Dirty();
    Lookup(c.typed);
    EXPECT_EQ(Field(IDC_DESCRIPTION), expected);
    EXPECT_EQ(Field(IDC_STATUS), c.status);
    EXPECT_EQ(Field(IDC_CODE), c.codeText);
    EXPECT_EQ(Field(IDC_FACILITY), c.facility);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, LookupSuccess,
    testing::Values(SuccessCase{"5", 5, false, "Failure", "5", "Windows (Non COM)"},
                    SuccessCase{"0", 0, false, "Success", "0", "Default facility code"},
                    SuccessCase{"87", 87, false, "Failure", "87", "Windows (Non COM)"},
                    SuccessCase{"0x80004005", 0x80004005, false, "Failure", "16389",
                                "Default facility code"},
                    SuccessCase{"800B0100", 0x800B0100, false, "Failure", "256",
                                "Certificate client or server"},
                    // Facility 2170 has no name: the field is emptied, not left stale.
                    SuccessCase{"0x887A0001", 0x887A0001, false, "Failure", "1", ""},
                    SuccessCase{"12029", 12029, true, "Failure", "12029", "Windows (Non COM)"}),
    [](const testing::TestParamInfo<SuccessCase>& param) {
        std::string name = param.param.typed;
        return name == "0" ? std::string("zero") : "n" + name;
    });

TEST_F(LookupTest, SignedDecimalPrefixedAndPlainHexShowTheSameFields) {
    ASSERT_NE(SystemText(0x80070005), "");
    std::string first[4];
    const char* inputs[] = {"-2147024891", "0x80070005", "80070005"};
    for (const char* typed : inputs) {
        SCOPED_TRACE(typed);
        Dirty();
        Lookup(typed);
        std::string fields[4] = {Field(IDC_DESCRIPTION), Field(IDC_STATUS), Field(IDC_CODE),
                                 Field(IDC_FACILITY)};
        if (first[0].empty()) {
            std::copy(std::begin(fields), std::end(fields), std::begin(first));
        }
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(fields[i], first[i]);
        }
    }
    EXPECT_EQ(first[0], SystemText(0x80070005));
    EXPECT_EQ(first[2], "5");
    EXPECT_EQ(first[3], "Windows (Non COM)");
}

TEST_F(LookupTest, MainKeyFollowsEachRun) {
    const struct {
        const char* typed;
        const char* key;
    } cases[] = {{"-2147024891", "-2147024891"}, {"0x80070005", "80070005"},
                 {"0x5", "5"},                   {"0x", "0x"},
                 {"0123456789ABCDEF0", "0123456789ABCDE"}, {"", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Lookup(c.typed);
        EXPECT_STREQ(MainKey, c.key);
    }
}

TEST_F(LookupTest, EmptyFieldAsksForANumber) {
    Dirty();
    Lookup("");
    ExpectAllResultFieldsEmptyBut(kIncompleteNumberText);
}

TEST_F(LookupTest, BarePrefixAsksForANumberAndSelectsAfterThePrefix) {
    for (const char* typed : {"0x", "0X"}) {
        SCOPED_TRACE(typed);
        Dirty();
        Lookup(typed);
        ExpectAllResultFieldsEmptyBut(kIncompleteNumberText);
        DWORD start = 0, end = 0;
        SendDlgItemMessageA(Main(), IDC_ERROR_FIELD, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 2u);
        EXPECT_EQ(end, 2u);
    }
}

TEST_F(LookupTest, NumberWithoutTextClearsEverything) {
    // 3E8 reads as 518, 16000 as 0x16000, -5 as 0xFFFFFFFB; 12175 is past the
    // WinINet range. Only numbers this system has no text for are used.
    const struct {
        const char* typed;
        DWORD code;
    } cases[] = {{"3E8", 518}, {"16000", 0x16000}, {"-5", 0xFFFFFFFB}, {"12001", 12001}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        bool wininet = c.code >= 12000 && c.code <= 12174;
        ASSERT_EQ(wininet ? WinInetText(c.code) : SystemText(c.code), "");
        Lookup("5");
        ASSERT_NE(Field(IDC_STATUS), "");
        Dirty();
        Lookup(c.typed);
        ExpectAllResultFieldsEmptyBut(kNoInfoText);
    }
}

TEST_F(LookupTest, SuccessLeavesTheFieldFocusedWithItsWholeTextSelected) {
    ASSERT_NE(SystemText(5), "");
    SetFocus(GetDlgItem(Main(), IDC_DESCRIPTION));
    Lookup("0x00005");
    EXPECT_EQ(GetFocus(), GetDlgItem(Main(), IDC_ERROR_FIELD));
    DWORD start = 0, end = 0;
    SendDlgItemMessageA(Main(), IDC_ERROR_FIELD, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                        reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 7u);
}

}  // namespace
