// Fuzz target: the bytes of a note file as they come off the disk, and the
// rich-edit stream that hands the note text over in chunks.
//
// Input: one byte choosing how many request sizes follow (1 to 4), each two
// bytes little-endian, then the file's bytes. Buffers are heap copies of
// exactly the size the code is told, so ASan sees any read past them.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const size_t requestCount = data[0] % 4u + 1u;
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

    std::string streamed;
    size_t position = 0;
    size_t turn = 0;
    size_t idleTurns = 0;
    while (position < textLength && idleTurns < requests.size()) {
        const size_t requested = requests[turn % requests.size()];
        ++turn;
        const size_t remaining = textLength - position;
        const size_t chunk = StreamChunkLength(text.get() + position, remaining, requested);
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
        const size_t most = remaining < requested ? remaining : requested;
        if (chunk + 1 < most) {
            Fail("a chunk is shorter than needed", chunk);
        }
        const size_t end = position + chunk;
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
