// How the system's ANSI code page cuts a text into characters.
//
// Quorrin's texts are 8-bit text in the ANSI code page, which is a
// single-byte page only on Western systems. In the double-byte pages of
// China, Japan, Korea and Taiwan (936, 932, 949, 950) a lead byte starts a
// two-byte character whose second byte may be any of 0x40-0xFE, the
// backslash 0x5C included; with UTF-8 as the ANSI code page (65001) a
// character takes up to four bytes. A cut between two stream chunks must
// therefore step over whole characters.
//
// Free of <windows.h>: the Win32 side fills the table (IsDBCSLeadByte, GetACP)
// and the rules here are tested natively with tables of their own.
#pragma once

#include <cstddef>

struct AnsiCodePage {
    bool utf8;            // code page 65001
    bool leadByte[256];   // lead bytes of a double-byte code page
};

// A single-byte code page: every byte is a character.
AnsiCodePage SingleByteCodePage();

// The number of bytes of the character that starts at text, never more than
// remaining. A lead byte without a trail (at the end, or before a byte below
// 0x40), or a byte that starts no valid UTF-8 sequence, counts as a
// character of one byte.
size_t CharacterLength(const AnsiCodePage& codePage, const unsigned char* text, size_t remaining);
