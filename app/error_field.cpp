// The error-number field's window procedure, installed over the edit
// control's own. It sees typed characters only: text that arrives by
// WM_SETTEXT or WM_PASTE is not filtered, and the lookup copes with any
// bytes. Which characters pass is FilterTypedCharacter's rule.
#include "app/error_field.h"

#include "app/typed_character.h"

static WNDPROC PreviousErrorFieldProc;

static LRESULT CALLBACK ErrorFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        uint32_t character = FilterTypedCharacter(static_cast<uint32_t>(wParam));
        if (character == 0) {
            return 0;
        }
        wParam = character;
    }
    return CallWindowProcA(PreviousErrorFieldProc, window, message, wParam, lParam);
}

void InstallErrorFieldFilter(HWND field) {
    PreviousErrorFieldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongA(field, GWL_WNDPROC, reinterpret_cast<LONG>(ErrorFieldProc)));
}
