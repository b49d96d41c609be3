// Fuzz target: text pasted into the error-number field, as InterpretInput
// sees it in the 16-byte MainKey buffer.
//
// Besides "no crash" it checks that the MainKey can only shrink and stays
// terminated inside its buffer, and that the outcome agrees with a second,
// deliberately plain reading of the four rules kept here on purpose apart
// from the product code: 64-bit sums masked to 32 bits instead of wrapping
// words, std::string instead of in-place C text.
#include "lookup/input_interpretation.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr uint64_t kMask = 0xFFFFFFFFu;
constexpr size_t kGuardSize = 8;
constexpr unsigned char kGuardByte = 0xA5;

[[noreturn]] void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "fuzz_input: %s; input bytes:", what);
    for (char c : text) {
        std::fprintf(stderr, " %02X", static_cast<unsigned char>(c));
    }
    std::fprintf(stderr, "\n");
    std::abort();
}

uint64_t Byte(const std::string& text, size_t index) {
    return static_cast<unsigned char>(text[index]);
}

uint32_t Negate(bool negative, uint64_t value) {
    return static_cast<uint32_t>((negative ? (kMask + 1 - value) : value) & kMask);
}

// Every byte after an optional sign counts as (byte - 48) mod 256.
uint32_t PlainDecimal(const std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    uint64_t value = 0;
    for (size_t i = negative ? 1 : 0; i < text.size(); ++i) {
        value = (value * 10 + (Byte(text, i) + 256 - 48) % 256) & kMask;
    }
    return Negate(negative, value);
}

// Stops at the first byte below '0' or at the end of the text.
uint32_t PlainSignedDecimal(const std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    uint64_t value = 0;
    for (size_t i = negative ? 1 : 0; i < text.size() && Byte(text, i) >= 48; ++i) {
        value = (value * 10 + (Byte(text, i) - 48)) & kMask;
    }
    return Negate(negative, value);
}

// Places counted from the right; the shift wraps every eight places.
uint32_t PlainHex(const std::string& text) {
    const size_t n = text.size();
    uint64_t value = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint64_t c = Byte(text, i);
        uint64_t offset = 87;
        if (c < 65) {
            offset = 48;
        } else if (c < 87) {
            offset = 55;
        }
        const uint64_t digit = (c + 256 - offset) % 16;
        const uint64_t shift = (4 * (n - 1 - i)) % 32;
        value = (value + (digit << shift)) & kMask;
    }
    return static_cast<uint32_t>(value);
}

// One left-to-right pass; the search resumes behind each removed "0x".
std::string PlainStrip(const std::string& text) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, 2, "0x") == 0) {
            i += 2;
        } else {
            out += text[i];
            ++i;
        }
    }
    return out;
}

struct Expected {
    bool incomplete;
    uint32_t code;
    MessageSource source;
    std::string key;
};

Expected PlainInterpret(const std::string& text) {
    const size_t n = text.size();
    if (n >= 2 && text[0] == '-') {
        return {false, PlainSignedDecimal(text), MessageSource::System, text};
    }
    if (n >= 3 && text.compare(0, 2, "0x") == 0) {
        const std::string stripped = PlainStrip(text);
        return {false, PlainHex(stripped), MessageSource::System, stripped};
    }
    if (n >= 3 && text.find("0x") == std::string::npos) {
        const uint32_t d = PlainDecimal(text);
        if (d >= 16000) {
            return {false, PlainHex(text), MessageSource::System, text};
        }
        if (d >= 12000 && d <= 12174) {
            return {false, d, MessageSource::WinInetModule, text};
        }
        return {false, d, MessageSource::System, text};
    }
    if (n == 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        return {true, 0, MessageSource::System, text};
    }
    return {false, PlainDecimal(text), MessageSource::System, text};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // As captured: at most 15 characters, ending at the first zero.
    std::string text;
    for (size_t i = 0; i < size && i < kNoteKeySize - 1 && data[i] != 0; ++i) {
        text += static_cast<char>(data[i]);
    }

    unsigned char region[kGuardSize + kNoteKeySize + kGuardSize];
    std::memset(region, kGuardByte, sizeof region);
    char* mainKey = reinterpret_cast<char*>(region + kGuardSize);
    std::memset(mainKey, 0, kNoteKeySize);
    std::memcpy(mainKey, text.data(), text.size());

    const size_t before = std::strlen(mainKey);
    const Interpretation got = InterpretInput(mainKey);

    for (size_t i = 0; i < kGuardSize; ++i) {
        if (region[i] != kGuardByte || region[kGuardSize + kNoteKeySize + i] != kGuardByte) {
            Fail("a guard byte around the MainKey changed", text);
        }
    }
    if (mainKey[kNoteKeySize - 1] != '\0') {
        Fail("the MainKey's last byte is not zero", text);
    }
    const size_t after = std::strlen(mainKey);
    if (after > kNoteKeySize - 1) {
        Fail("the MainKey holds more than 15 characters", text);
    }
    if (after > before) {
        Fail("the MainKey grew", text);
    }

    const Expected want = PlainInterpret(text);
    if (got.incomplete != want.incomplete) {
        Fail("incomplete differs from the plain reading", text);
    }
    if (!want.incomplete && (got.code != want.code || got.source != want.source)) {
        Fail("code or source differs from the plain reading", text);
    }
    if (std::string(mainKey) != want.key) {
        Fail("the MainKey differs from the plain reading's key", text);
    }
    return 0;
}
