// The error-number field's rule for typed characters, free of <windows.h>:
// only the characters an error number is written with reach the field.
#pragma once

#include <cstdint>

// The character to hand on for a typed one (WM_CHAR's code), or 0 to
// swallow it. Ctrl+C (3), Backspace (8) and Ctrl+V (22) pass, so copying,
// deleting and pasting still work; the digits, A-F, x and the minus sign
// pass; X becomes x and a-f become A-F. Everything else is swallowed.
uint32_t FilterTypedCharacter(uint32_t character);
