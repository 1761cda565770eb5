// Decoding canvas texts: valid UTF-8 round trips, every malformed sequence gives one replacement character.
#include <gtest/gtest.h>

#include "render/utf8.h"

namespace notavera {
namespace {

TEST(Utf8, DecodesOneToFourByteSequences) {
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E"), U"aé€𝄞");
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(DecodeUtf8("\xE9t\xE9"), U"\uFFFDt\uFFFD");     // Windows-1252 bytes
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");       // overlong lead byte
    EXPECT_EQ(DecodeUtf8("\xE0\x80\xAF"), U"\uFFFD");         // overlong three-byte form
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), U"\uFFFD");         // surrogate
    EXPECT_EQ(DecodeUtf8("\xE2\x82"), U"\uFFFD\uFFFD");       // cut at the end
    EXPECT_EQ(DecodeUtf8("\xE2(a"), U"\uFFFD(a");             // broken continuation
    EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80"), U"\uFFFD");     // beyond U+10FFFF
}

}  // namespace
}  // namespace notavera
