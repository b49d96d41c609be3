// Input interpretation: turns the captured text of the error-number field
// into the code to look up and the message table to look it in, and fixes
// the MainKey under which that number's note is kept.
//
// Pure text and integer work: no platform headers, so it builds and is tested
// natively as well as under mingw. Every text is zero-terminated 8-bit text.
#pragma once

#include <cstddef>
#include <cstdint>

enum class MessageSource { System, WinInetModule };

struct Interpretation {
    bool incomplete;       // true: a bare hexadecimal prefix
    uint32_t code;         // valid when !incomplete
    MessageSource source;  // valid when !incomplete
};

// A NoteKey buffer, the MainKey among them: 15 characters and a zero.
constexpr size_t kNoteKeySize = 16;

// Interprets the zero-terminated text in the 16-byte key buffer; on the
// prefixed-hex rule rewrites it in place (StripAll(key, key, "0x")).
// Precondition: the buffer holds a terminator within its 16 bytes.
Interpretation InterpretInput(char* mainKey);

uint32_t ReadDecimal(const char* text);
uint32_t ReadSignedDecimal(const char* text);
uint32_t ReadHex(const char* text);

// destination may equal source; otherwise the two must not overlap.
void StripAll(const char* source, char* destination, const char* pattern);

bool EqualNoCase(const char* a, const char* b);
