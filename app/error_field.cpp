// The error-number field's window procedure, installed over the edit
// control's own. It sees typed characters only: text that arrives by
// WM_SETTEXT or WM_PASTE is not filtered, and the lookup copes with any
// bytes. Ctrl+C, Backspace and Ctrl+V are let through so that copying,
// deleting and pasting still work; every other control character is
// swallowed, Ctrl+A, Ctrl+X and Ctrl+Z included.
#include "app/error_field.h"

#include "app/main_window.h"

// The character to hand on for a typed one, or 0 to swallow it. Letters
// are normalised as typed: x small, the hexadecimal digits capital.
static WPARAM FilterTypedCharacter(WPARAM character) {
    if (character == 3 || character == 8 || character == 22 || character == '-' ||
        character == 'x') {
        return character;
    }
    if ((character >= '0' && character <= '9') || (character >= 'A' && character <= 'F')) {
        return character;
    }
    if (character == 'X') {
        return 'x';
    }
    if (character >= 'a' && character <= 'f') {
        return character - 32;
    }
    return 0;
}

LRESULT CALLBACK ErrorFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        WPARAM character = FilterTypedCharacter(wParam);
        if (character == 0) {
            return 0;
        }
        wParam = character;
    }
    return CallWindowProcA(PreviousErrorFieldProc, window, message, wParam, lParam);
}
