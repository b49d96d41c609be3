// The About box (dialog 2000), opened modally from the main window's
// system menu.
#pragma once

#include <windows.h>

void ShowAboutBox(HWND owner);
INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
