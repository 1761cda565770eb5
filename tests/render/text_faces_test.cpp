// Canvas texts: the free faces that stand in for the Windows faces documents name, and strict UTF-8 decoding.
#include "render/text_faces.h"

#include <gtest/gtest.h>

#include "render/utf8.h"

namespace notavera {
namespace {

TEST(TextFaces, WindowsFacesBecomeTheirMetricCompatibleLiberationFacesAndOthersAreMeasuredLikeArial) {
    const std::string dir = "/usr/share/fonts/truetype/liberation/";
    EXPECT_EQ(ResolveTextFace("Times New Roman", 400, false).family, "Liberation Serif");
    EXPECT_EQ(ResolveTextFace("ARIAL", 400, false).family, "Liberation Sans");
    EXPECT_EQ(ResolveTextFace("Courier New", 400, false).family, "Liberation Mono");
    EXPECT_EQ(ResolveTextFace("Times New Roman", 700, true).file, dir + "LiberationSerif-BoldItalic.ttf");
    EXPECT_EQ(ResolveTextFace("Arial", 400, true).file, dir + "LiberationSans-Italic.ttf");
    const InstalledTextFace other = ResolveTextFace("Chiffrage", 400, false);
    EXPECT_EQ(other.family, "Chiffrage");
    EXPECT_EQ(other.file, dir + "LiberationSans-Regular.ttf");
}

TEST(Utf8, ValidSequencesDecodeAndEachMalformedOneGivesOneReplacement) {
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E"), U"aé€𝄞");
    EXPECT_EQ(DecodeUtf8("\xE9t\xE9"), U"\uFFFDt\uFFFD");  // Windows-1252 bytes
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD");    // overlong lead byte
    EXPECT_EQ(DecodeUtf8("\xE0\x80\xAF"), U"\uFFFD");      // overlong three-byte form
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), U"\uFFFD");      // surrogate
    EXPECT_EQ(DecodeUtf8("\xE2\x82"), U"\uFFFD\uFFFD");    // cut at the end
    EXPECT_EQ(DecodeUtf8("\xE2(a"), U"\uFFFD(a");          // broken continuation
    EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80"), U"\uFFFD");  // beyond U+10FFFF
}

}  // namespace
}  // namespace notavera
