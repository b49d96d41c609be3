// The filter on the error-number field (control 1001): only the characters
// an error number is written with reach the edit control.
#pragma once

#include <windows.h>

// Puts the filter in front of the field's own window procedure.
void InstallErrorFieldFilter(HWND field);
