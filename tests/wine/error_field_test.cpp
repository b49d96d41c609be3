// The filter's wiring on the real main window: typed characters reach the
// error-number field only as the rule lets them (the rule itself is tested
// natively), and the clipboard keys still copy and paste while other control
// characters are swallowed before the edit control sees them.
#include <cstring>
#include <string>

#include "resources/resource_ids.h"
#include "tests/wine/dialog_harness.h"
#include "tests/wine/main_window_test.h"

namespace {

class ErrorFieldTest : public MainWindowTest {
protected:
    HWND FieldWindow() { return GetDlgItem(Main(), IDC_ERROR_FIELD); }
    LRESULT Type(WPARAM character) { return SendMessageA(FieldWindow(), WM_CHAR, character, 1); }
    void TypeText(const char* text) {
        for (const char* c = text; *c != '\0'; ++c) {
            Type(static_cast<unsigned char>(*c));
        }
    }
    std::string Text() { return Field(IDC_ERROR_FIELD); }
    void SetText(const char* text) { SetWindowTextA(FieldWindow(), text); }
    void SelectAll() { SendMessageA(FieldWindow(), EM_SETSEL, 0, -1); }
    void PutOnClipboard(const char* text) {
        ASSERT_TRUE(OpenClipboard(Main()));
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
        if (OpenClipboard(Main())) {
            HANDLE block = GetClipboardData(CF_TEXT);
            if (block != nullptr) {
                text = static_cast<const char*>(GlobalLock(block));
                GlobalUnlock(block);
            }
            CloseClipboard();
        }
        return text;
    }
};

TEST_F(ErrorFieldTest, TypedCharactersReachTheFieldOnlyAsTheRuleLetsThem) {
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {{"0X1a", "0x1A"}, {"3 h+.-g", "3-"}, {"\x80\xe9zZ", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        SetText("");
        TypeText(c.typed);
        EXPECT_EQ(Text(), c.shown);
    }
    // A swallowed character answers 0; Backspace still deletes.
    EXPECT_EQ(Type('g'), 0);
    Type(8);
    EXPECT_EQ(Text(), "");
}

// Ctrl+C copies and Ctrl+V pastes, unfiltered; Ctrl+X and Ctrl+Z, which
// would change the selected, undoable text, never reach the field.
TEST_F(ErrorFieldTest, ClipboardKeysStillWorkAndOtherControlCharactersDoNot) {
    PutOnClipboard("nothing yet");
    SetText("12");
    SendMessageA(FieldWindow(), EM_SETSEL, 2, 2);
    Type('3');
    SelectAll();
    Type(3);
    EXPECT_EQ(Clipboard(), "123");
    EXPECT_EQ(Type(24), 0);
    EXPECT_EQ(Type(26), 0);
    EXPECT_EQ(Text(), "123");

    PutOnClipboard("g.+");
    SendMessageA(FieldWindow(), EM_SETSEL, 3, 3);
    Type(22);
    EXPECT_EQ(Text(), "123g.+");
}

}  // namespace
