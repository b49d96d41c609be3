// The HRESULT split shown after a lookup: the code taken in its HRESULT
// form, its status bit, facility and 16-bit code, and the display names of
// the facilities.
//
// Pure integer work on uint32_t, so it builds natively as well as under
// mingw and never relies on signed overflow or on the width of long.
#pragma once

#include <cstdint>

uint32_t HresultFromWin32(uint32_t code);
uint32_t HresultCode(uint32_t hr);
uint32_t HresultSeverity(uint32_t hr);
uint32_t HresultFacility(uint32_t hr);

struct FacilityName {
    uint32_t number;
    const char* text;
};

// Sorted by number, strictly ascending.
extern const FacilityName FacilityNames[];
extern const unsigned FacilityNameCount;

// nullptr when the number has no text.
const char* FindFacilityName(uint32_t facility);
