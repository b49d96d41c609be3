// The error-number field's filter, driven with WM_CHAR on the real main
// window. A recorder sits between the filter and the edit control, so a
// character that the filter lets through by mistake is seen even when the
// edit control itself would ignore it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/error_field.h"
#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "tests/wine/dialog_harness.h"

namespace {

WNDPROC EditProc;
std::vector<WPARAM> CharsPassedOn;

LRESULT CALLBACK RecordChars(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        CharsPassedOn.push_back(wParam);
    }
    return CallWindowProcA(EditProc, window, message, wParam, lParam);
}

class ErrorFieldTest : public testing::Test {
protected:
    void SetUp() override {
        dialog_ = OpenMainDialog();
        ASSERT_NE(dialog_, nullptr);
        field_ = GetDlgItem(dialog_, IDC_ERROR_FIELD);
        ASSERT_NE(field_, nullptr);
        ASSERT_NE(PreviousErrorFieldProc, nullptr);
        EditProc = PreviousErrorFieldProc;
        PreviousErrorFieldProc = RecordChars;
        CharsPassedOn.clear();
    }
    void TearDown() override {
        PreviousErrorFieldProc = EditProc;
        DestroyWindow(dialog_);
        PumpMessages();
    }
    LRESULT Type(WPARAM character) { return SendMessageA(field_, WM_CHAR, character, 1); }
    void TypeText(const char* text) {
        for (const char* c = text; *c != '\0'; ++c) {
            Type(static_cast<unsigned char>(*c));
        }
    }
    std::string Text() { return ControlText(dialog_, IDC_ERROR_FIELD); }
    void SetText(const char* text) { SetWindowTextA(field_, text); }
    void SelectAll() { SendMessageA(field_, EM_SETSEL, 0, -1); }
    void PutOnClipboard(const char* text) {
        ASSERT_TRUE(OpenClipboard(dialog_));
        EmptyClipboard();
        size_t size = strlen(text) + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(block), text, size);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
    std::string Clipboard() {
        std::string text;
        if (OpenClipboard(dialog_)) {
            HANDLE block = GetClipboardData(CF_TEXT);
            if (block != nullptr) {
                text = static_cast<const char*>(GlobalLock(block));
                GlobalUnlock(block);
            }
            CloseClipboard();
        }
        return text;
    }

    HWND dialog_ = nullptr;
    HWND field_ = nullptr;
};

TEST_F(ErrorFieldTest, IsTheFieldsWindowProcedureAfterInit) {
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(field_, GWL_WNDPROC)), ErrorFieldProc);
}

struct TypingCase {
    const char* typed;
    const char* shown;
};

TEST_F(ErrorFieldTest, TypedCharactersAreFilteredAndNormalised) {
    const TypingCase cases[] = {
        {"0X1a", "0x1A"}, {"g", ""},       {"G", ""},         {" ", ""},
        {".", ""},        {"+", ""},       {"-12", "-12"},    {"fade", "FADE"},
        {"Bc9", "BC9"},   {"1g2", "12"},   {"x7", "x7"},      {"3 h+.-", "3-"},
        {"\x80\xe9", ""}, {"zZwW", ""},    {"0xABCDEF", "0xABCDEF"},
    };
    for (const TypingCase& c : cases) {
        SCOPED_TRACE(c.typed);
        SetText("");
        TypeText(c.typed);
        EXPECT_EQ(Text(), c.shown);
    }
}

// Every control character but Ctrl+C, Backspace and Ctrl+V is swallowed.
// The field holds a selected, undoable text, so a Ctrl+X or Ctrl+Z that got
// through would change it.
TEST_F(ErrorFieldTest, ControlCharactersOtherThanCopyBackspaceAndPasteAreSwallowed) {
    for (WPARAM character = 0; character < 32; ++character) {
        if (character == 3 || character == 8 || character == 22) {
            continue;
        }
        SCOPED_TRACE(character);
        SetText("12");
        SendMessageA(field_, EM_SETSEL, 2, 2);
        Type('3');
        SelectAll();
        CharsPassedOn.clear();

        EXPECT_EQ(Type(character), 0);
        EXPECT_EQ(Text(), "123");
        EXPECT_TRUE(CharsPassedOn.empty());
    }
}

TEST_F(ErrorFieldTest, BackspaceStillDeletes) {
    TypeText("0x1A");
    Type(8);
    EXPECT_EQ(Text(), "0x1");
}

TEST_F(ErrorFieldTest, CtrlCStillCopies) {
    PutOnClipboard("nothing yet");
    SetText("0x5");
    SelectAll();
    Type(3);
    EXPECT_EQ(Clipboard(), "0x5");
    EXPECT_EQ(Text(), "0x5");
}

// A paste is not typing: what it brings in is not filtered.
TEST_F(ErrorFieldTest, CtrlVStillPastesUnfiltered) {
    PutOnClipboard("g.+");
    SetText("1");
    SendMessageA(field_, EM_SETSEL, 1, 1);
    Type(22);
    EXPECT_EQ(Text(), "1g.+");
}

TEST_F(ErrorFieldTest, SetTextAndPasteAreNotFiltered) {
    SendMessageA(field_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("g.+"));
    EXPECT_EQ(Text(), "g.+");

    PutOnClipboard("x.z");
    SetText("");
    SendMessageA(field_, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(), "x.z");
}

}  // namespace
