// Texts in the ANSI code pages of Japan (932), Taiwan (950) and UTF-8 (65001):
// where a character ends, and note streams cut into chunks that never split
// a character, such as one whose second byte is the byte of a backslash.
//
// The tables are built from the code pages' published lead-byte ranges, not
// from anything in Quorrin.
#include "notes/code_page.h"
#include "notes/note_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

AnsiCodePage DoubleByte(std::initializer_list<std::pair<int, int>> leadRanges) {
    AnsiCodePage codePage = SingleByteCodePage();
    for (const auto& range : leadRanges) {
        for (int c = range.first; c <= range.second; ++c) {
            codePage.leadByte[c] = true;
        }
    }
    return codePage;
}

const AnsiCodePage kJapanese = DoubleByte({{0x81, 0x9F}, {0xE0, 0xFC}});  // 932
const AnsiCodePage kTaiwan = DoubleByte({{0x81, 0xFE}});                  // 950

AnsiCodePage Utf8() {
    AnsiCodePage codePage = SingleByteCodePage();
    codePage.utf8 = true;
    return codePage;
}

// Characters whose second byte is the backslash 0x5C.
const char kSo932[] = "\x83\x5C";     // ソ
const char kHyo932[] = "\x95\x5C";    // 表
const char kXu950[] = "\xB3\x5C";     // 許
const char kGong950[] = "\xA5\x5C";   // 功

size_t Length(const AnsiCodePage& codePage, const std::string& text) {
    return CharacterLength(codePage, reinterpret_cast<const unsigned char*>(text.data()),
                           text.size());
}

TEST(CharacterLength, FollowsEachCodePage) {
    const AnsiCodePage single = SingleByteCodePage();
    const AnsiCodePage utf8 = Utf8();
    struct Case {
        const char* name;
        const AnsiCodePage* codePage;
        std::string text;
        size_t length;
    };
    const Case cases[] = {
        {"1252: a high byte", &single, "\x83\x5C", 1},
        {"932: ASCII", &kJapanese, "a\\", 1},
        {"932: lead then backslash", &kJapanese, kSo932, 2},
        {"932: half-width katakana is one byte", &kJapanese, "\xB1\x5C", 1},
        {"932: lead byte E0", &kJapanese, "\xE0\x40", 2},
        {"932: FD is no lead byte", &kJapanese, "\xFD\x40", 1},
        {"932: lead byte at the end", &kJapanese, "\x83", 1},
        {"932: lead byte before CR", &kJapanese, "\x83\r", 1},
        {"932: lead byte before a slash", &kJapanese, "\x83/", 1},
        {"950: lead then backslash", &kTaiwan, kXu950, 2},
        {"950: FE is a lead byte", &kTaiwan, "\xFE\xA1", 2},
        {"950: 80 is no lead byte", &kTaiwan, "\x80\x5C", 1},
        {"UTF-8: ASCII", &utf8, "ab", 1},
        {"UTF-8: two bytes", &utf8, "\xC3\xA9x", 2},
        {"UTF-8: three bytes", &utf8, "\xE6\x97\xA5x", 3},
        {"UTF-8: four bytes", &utf8, "\xF0\x9F\x98\x80x", 4},
        {"UTF-8: cut short", &utf8, "\xE6\x97", 1},
        {"UTF-8: stray continuation", &utf8, "\x97\xA5", 1},
        {"UTF-8: lead without continuation", &utf8, "\xE6" "ab", 1},
        {"UTF-8: overlong C0", &utf8, "\xC0\x80", 1},
        {"UTF-8: F5 starts nothing", &utf8, "\xF5\x80\x80\x80", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Length(*c.codePage, c.text), c.length);
    }
}

TEST(CharacterLength, NeverPastWhatRemains) {
    const unsigned char lead = 0x83;
    EXPECT_EQ(CharacterLength(kJapanese, &lead, 1), 1u);
    const unsigned char four[] = {0xF0, 0x9F, 0x98};
    EXPECT_EQ(CharacterLength(Utf8(), four, sizeof four), 1u);
    EXPECT_EQ(CharacterLength(kJapanese, &lead, 0), 0u);
}

// ---------------------------------------------------------------------------
// Stream chunks: each one is converted on its own, so none may end inside a
// character.

std::vector<char> Bytes(const std::string& text) {
    return std::vector<char>(text.begin(), text.end());
}

TEST(StreamChunksInCodePages, ChunkLengths) {
    const AnsiCodePage utf8 = Utf8();
    struct Case {
        const char* name;
        const AnsiCodePage* codePage;
        std::string text;
        size_t requested;
        size_t length;
    };
    const Case cases[] = {
        {"932: lead byte at the edge", &kJapanese, "a\x93\xFA\x96\x7B", 2, 1},
        {"932: character ends at the edge", &kJapanese, "\x93\xFA\x96\x7B", 2, 2},
        {"932: trail 0x5C at the edge", &kJapanese, "a\x83\x5C" "b", 3, 3},
        {"932: half-width katakana splits anywhere", &kJapanese, "\xB1\xB2\xB3", 2, 2},
        {"932: request too small for a character", &kJapanese, "\x93\xFA", 1, 1},
        {"950: lead byte at the edge", &kTaiwan, "ab\xB3\x5C", 3, 2},
        {"UTF-8: three bytes across the edge", &utf8, "a\xE6\x97\xA5" "b", 3, 1},
        {"UTF-8: four bytes across the edge", &utf8, "\xF0\x9F\x98\x80\xF0\x9F\x98\x80", 6, 4},
        {"UTF-8: stray continuation splits", &utf8, "\x97\x97\x97", 2, 2},
        {"932: CR LF after a character", &kJapanese, "\x93\xFA\r\nx", 3, 2},
        {"932: CR LF after a lone lead byte", &kJapanese, "\x93\r\nx", 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> bytes = Bytes(c.text);
        EXPECT_EQ(StreamChunkLength(bytes.data(), bytes.size(), c.requested, *c.codePage), c.length);
    }
}

// Start offsets of the characters of text, and its end.
std::vector<size_t> Boundaries(const std::string& text, const AnsiCodePage& codePage) {
    std::vector<size_t> boundaries;
    for (size_t i = 0; i < text.size(); i += Length(codePage, text.substr(i))) {
        boundaries.push_back(i);
    }
    boundaries.push_back(text.size());
    return boundaries;
}

// A 40 KB text of one-byte characters, CR LF pairs and characters of every
// length the code page has, in an order that puts characters across every
// kind of chunk edge.
std::string MixedText(const std::vector<std::string>& characters) {
    std::string text;
    unsigned state = 12345;
    while (text.size() < 40 * 1024) {
        state = state * 1103515245u + 12345u;
        text += characters[(state >> 16) % characters.size()];
    }
    return text;
}

TEST(StreamChunksInCodePages, WholeStreamsNeverSplitACharacterOrAPair) {
    const AnsiCodePage utf8 = Utf8();
    struct Case {
        const char* name;
        const AnsiCodePage* codePage;
        std::vector<std::string> characters;
        size_t widest;
    };
    const Case cases[] = {
        {"932", &kJapanese, {"a", "\r\n", kSo932, kHyo932, "\x93\xFA", "\xB1", "\xE0\x40"}, 2},
        {"950", &kTaiwan, {"a", "\r\n", kXu950, kGong950, "\xAA\xBA"}, 2},
        {"UTF-8", &utf8, {"a", "\r\n", "\xC3\xA9", "\xE6\x97\xA5", "\xF0\x9F\x98\x80"}, 4},
    };
    for (const Case& c : cases) {
        const std::string text = MixedText(c.characters);
        const std::vector<size_t> boundaries = Boundaries(text, *c.codePage);
        std::vector<char> bytes = Bytes(text);
        for (size_t requested : {c.widest, c.widest + 1, size_t{7}, size_t{4096}}) {
            SCOPED_TRACE(testing::Message() << c.name << ", requested " << requested);
            size_t offset = 0;
            while (offset < bytes.size()) {
                size_t chunk = StreamChunkLength(bytes.data() + offset, bytes.size() - offset,
                                                 requested, *c.codePage);
                ASSERT_GE(chunk, 1u) << "stream stalled at " << offset;
                ASSERT_LE(chunk, requested);
                offset += chunk;
                ASSERT_TRUE(std::binary_search(boundaries.begin(), boundaries.end(), offset))
                    << "chunk ends inside a character at " << offset;
                if (offset < bytes.size()) {
                    ASSERT_FALSE(bytes[offset - 1] == '\r' && bytes[offset] == '\n')
                        << "CR LF split at " << offset;
                }
            }
        }
    }
}

}  // namespace
