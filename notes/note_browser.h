// The Note Browser (dialog 3000): every note of the user in a list, with
// an editor to read, change, save and delete any of them. It keeps the
// main window's note panel in step when it saves or deletes the note of
// the MainKey.
#pragma once

#include <windows.h>

INT_PTR CALLBACK NoteBrowserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the browser modally over owner.
void ShowNoteBrowser(HWND owner);
