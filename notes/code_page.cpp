// Character lengths in the ANSI code page; see code_page.h.
#include "notes/code_page.h"

namespace {

constexpr unsigned char kLowestTrailByte = 0x40;

bool IsContinuation(unsigned char c) {
    return c >= 0x80 && c <= 0xBF;
}

// The length UTF-8 gives a sequence that starts with this byte, or 1 for a
// byte that cannot start one (ASCII, a stray continuation, C0, C1, F5-FF).
size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 1;
}

}  // namespace

AnsiCodePage SingleByteCodePage() {
    AnsiCodePage codePage = {};
    return codePage;
}

size_t CharacterLength(const AnsiCodePage& codePage, const unsigned char* text, size_t remaining) {
    if (remaining <= 1) {
        return remaining;
    }
    if (!codePage.utf8) {
        // No double-byte code page has a trail byte below 0x40, so a lead
        // byte never swallows a CR, LF, "/" or ":" that follows it.
        return codePage.leadByte[text[0]] && text[1] >= kLowestTrailByte ? 2 : 1;
    }
    size_t length = Utf8SequenceLength(text[0]);
    if (length > remaining) {
        return 1;
    }
    for (size_t i = 1; i < length; ++i) {
        if (!IsContinuation(text[i])) {
            return 1;
        }
    }
    return length;
}
