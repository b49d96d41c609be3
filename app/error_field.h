// The filter on the error-number field (control 1001): only the characters
// an error number is written with reach the edit control.
#pragma once

#include <windows.h>

LRESULT CALLBACK ErrorFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
