// Input interpretation and the number readers behind it.
//
// The readers reject nothing: every byte, digit or not, adds a value of its
// own, so any pasted text yields some number and only a bare "0x" prefix is
// refused. The odd results that follow (3E8 reads as 518 in decimal, a ninth
// hexadecimal digit lands on the lowest four bits again) are the intended
// behaviour, not accidents to be tidied up.
//
// All arithmetic is on uint32_t, so overflow wraps modulo 2^32 on every host
// without signed overflow. Bytes are read as unsigned char: char is signed
// under mingw, and bytes 0x80..0xFF must count as large values, above the
// digits.
#include "input_interpretation.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr uint32_t kHexThreshold = 16000;
constexpr uint32_t kWinInetFirst = 12000;
constexpr uint32_t kWinInetLast = 12174;

const char kHexPrefix[] = "0x";

uint32_t ByteAt(const char* text, size_t index) {
    return static_cast<unsigned char>(text[index]);
}

Interpretation Number(uint32_t code, MessageSource source) {
    return Interpretation{false, code, source};
}

uint32_t FoldCase(uint32_t byte) {
    return (byte >= 'A' && byte <= 'Z') ? byte + 32u : byte;
}

}  // namespace

// The rules are tried in order and the first that matches wins, so a leading
// minus beats a "0x" later in the text, and "0x" anywhere but at the start
// keeps a text out of the plain-number rule. Only the prefixed-hex rule
// touches the buffer, and stripping can only shorten the text.
Interpretation InterpretInput(char* mainKey) {
    const size_t length = std::strlen(mainKey);

    if (length >= 2 && mainKey[0] == '-') {
        return Number(ReadSignedDecimal(mainKey), MessageSource::System);
    }

    if (length >= 3 && std::strncmp(mainKey, kHexPrefix, 2) == 0) {
        StripAll(mainKey, mainKey, kHexPrefix);
        return Number(ReadHex(mainKey), MessageSource::System);
    }

    if (length >= 3 && std::strstr(mainKey, kHexPrefix) == nullptr) {
        // A long run of decimal digits is taken as hexadecimal: that is how
        // an HRESULT typed without its prefix, such as 80070005, is meant.
        const uint32_t decimal = ReadDecimal(mainKey);
        if (decimal >= kHexThreshold) {
            return Number(ReadHex(mainKey), MessageSource::System);
        }
        if (decimal >= kWinInetFirst && decimal <= kWinInetLast) {
            return Number(decimal, MessageSource::WinInetModule);
        }
        return Number(decimal, MessageSource::System);
    }

    if (EqualNoCase(mainKey, kHexPrefix)) {
        return Interpretation{true, 0, MessageSource::System};
    }
    return Number(ReadDecimal(mainKey), MessageSource::System);
}

// Every byte after an optional leading minus counts as (byte - 48) mod 256,
// so letters, a later minus and control bytes all add something.
uint32_t ReadDecimal(const char* text) {
    size_t index = 0;
    const bool negative = text[0] == '-';
    if (negative) {
        index = 1;
    }
    uint32_t value = 0;
    for (; text[index] != '\0'; ++index) {
        value = value * 10u + ((ByteAt(text, index) - 48u) & 0xFFu);
    }
    return negative ? 0u - value : value;
}

// Stops only at a byte below the digit zero; bytes above the digit nine,
// 0x80..0xFF included, count as (byte - 48).
uint32_t ReadSignedDecimal(const char* text) {
    size_t index = 0;
    const bool negative = text[0] == '-';
    if (negative) {
        index = 1;
    }
    uint32_t value = 0;
    for (; ByteAt(text, index) >= 48u; ++index) {
        value = value * 10u + (ByteAt(text, index) - 48u);
    }
    return negative ? 0u - value : value;
}

// Each byte gives a four-bit digit by one of three offsets, and its place is
// counted from the right with the shift taken modulo 32, so a text longer than
// eight characters folds back onto the low bits instead of losing its left end.
uint32_t ReadHex(const char* text) {
    const size_t length = std::strlen(text);
    uint32_t value = 0;
    for (size_t index = 0; index < length; ++index) {
        const uint32_t byte = ByteAt(text, index);
        uint32_t digit;
        if (byte < 65u) {
            digit = (byte - 48u) & 15u;
        } else if (byte < 87u) {
            digit = (byte - 55u) & 15u;
        } else {
            digit = (byte - 87u) & 15u;
        }
        const uint32_t place = static_cast<uint32_t>(length - 1 - index);
        value += digit << ((4u * place) & 31u);
    }
    return value;
}

// One left-to-right pass: after a match the search resumes behind it, so a
// match formed by the bytes on either side of a removed one survives
// ("00xx" without "0x" is "0x"). The write position never passes the read
// position, which is what makes destination == source safe. An empty pattern
// matches nothing, so the copy still ends.
void StripAll(const char* source, char* destination, const char* pattern) {
    const size_t patternLength = std::strlen(pattern);
    size_t from = 0;
    size_t to = 0;
    while (source[from] != '\0') {
        if (patternLength != 0 && std::strncmp(source + from, pattern, patternLength) == 0) {
            from += patternLength;
        } else {
            destination[to] = source[from];
            ++to;
            ++from;
        }
    }
    destination[to] = '\0';
}

// Only A to Z fold: note keys are compared this way, and accented letters of
// the code page stay distinct whatever the system locale says.
bool EqualNoCase(const char* a, const char* b) {
    for (size_t index = 0;; ++index) {
        const uint32_t left = FoldCase(ByteAt(a, index));
        if (left != FoldCase(ByteAt(b, index))) {
            return false;
        }
        if (left == 0) {
            return true;
        }
    }
}
