// Fuzz target: the bytes of a note file as they come off the disk, and the
// rich-edit stream that hands the note text over in chunks.
//
// Input: one byte choosing how many request sizes follow (1 to 4, bits 0-1)
// and the ANSI code page (bits 2-3: single-byte, 932, 950, UTF-8), the
// request sizes, each two bytes little-endian, then the file's bytes. Buffers are heap copies of
// exactly the size the code is told, so ASan sees any read past them.
#include "notes/code_page.h"
#include "notes/note_names.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, size_t value) {
    std::fprintf(stderr, "fuzz_note_bytes: %s (%zu)\n", what, value);
    std::abort();
}

AnsiCodePage CodePageFor(unsigned choice, size_t* widest) {
    AnsiCodePage codePage = SingleByteCodePage();
    *widest = 2;
    switch (choice & 3u) {
    case 1:  // 932
        for (unsigned c = 0x81; c <= 0xFC; ++c) {
            codePage.leadByte[c] = c <= 0x9F || c >= 0xE0;
        }
        break;
    case 2:  // 950
        for (unsigned c = 0x81; c <= 0xFE; ++c) {
            codePage.leadByte[c] = true;
        }
        break;
    case 3:
        codePage.utf8 = true;
        *widest = 4;
        break;
    default:
        *widest = 1;
        break;
    }
    return codePage;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const size_t requestCount = data[0] % 4u + 1u;
    size_t widest = 1;
    const AnsiCodePage codePage = CodePageFor(data[0] >> 2, &widest);
    size_t at = 1;
    std::vector<size_t> requests;
    for (size_t i = 0; i < requestCount; ++i) {
        size_t request = 0;
        if (at < size) {
            request = data[at++];
        }
        if (at < size) {
            request |= static_cast<size_t>(data[at++]) << 8;
        }
        requests.push_back(request);
    }

    const size_t count = size - at;
    std::unique_ptr<unsigned char[]> file(new unsigned char[count == 0 ? 1 : count]);
    std::memcpy(file.get(), data + at, count);

    size_t firstZero = 0;
    while (firstZero < count && file[firstZero] != 0) {
        ++firstZero;
    }
    const size_t textLength = NoteTextLength(count == 0 ? nullptr : file.get(), count);
    if (textLength != firstZero) {
        Fail("NoteTextLength is not the index of the first zero", textLength);
    }

    // The text alone, with nothing after it to lean on.
    std::unique_ptr<char[]> text(new char[textLength == 0 ? 1 : textLength]);
    std::memcpy(text.get(), file.get(), textLength);

    // Where the characters of the text start, by the code page's own rule.
    std::vector<bool> startsCharacter(textLength + 1, false);
    for (size_t i = 0; i < textLength;) {
        startsCharacter[i] = true;
        i += CharacterLength(codePage, file.get() + i, textLength - i);
    }
    startsCharacter[textLength] = true;

    std::string streamed;
    size_t position = 0;
    size_t turn = 0;
    size_t idleTurns = 0;
    bool aligned = true;
    while (position < textLength && idleTurns < requests.size()) {
        const size_t requested = requests[turn % requests.size()];
        ++turn;
        const size_t remaining = textLength - position;
        const size_t chunk =
            StreamChunkLength(text.get() + position, remaining, requested, codePage);
        if (chunk > requested || chunk > remaining) {
            Fail("a chunk exceeds the request or what remains", chunk);
        }
        if (requested == 0) {
            ++idleTurns;
            continue;
        }
        idleTurns = 0;
        if (chunk == 0) {
            Fail("no progress while bytes remain", position);
        }
        // At most a character cut short and the CR of a pair may wait.
        const size_t most = remaining < requested ? remaining : requested;
        if (chunk + widest < most) {
            Fail("a chunk is shorter than needed", chunk);
        }
        const size_t end = position + chunk;
        // A request too small for a character may cut one; after that the
        // stream is off the character grid for good.
        if (aligned && requested >= widest && !startsCharacter[end]) {
            Fail("a chunk ends inside a character", end);
        }
        aligned = aligned && startsCharacter[end];
        if (end < textLength && text[end - 1] == '\r' && text[end] == '\n' && requested != 1) {
            Fail("a CR LF pair is split between chunks", end);
        }
        streamed.append(text.get() + position, chunk);
        position = end;
    }
    if (position < textLength) {
        return 0;  // every request was 0: nothing was asked for
    }
    if (streamed.size() != textLength ||
        (textLength != 0 && std::memcmp(streamed.data(), text.get(), textLength) != 0)) {
        Fail("the chunks do not reproduce the text", streamed.size());
    }
    return 0;
}
