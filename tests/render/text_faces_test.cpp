// The free faces that stand in for the Windows text faces documents name.
#include <gtest/gtest.h>

#include "render/text_faces.h"

namespace notavera {
namespace {

TEST(TextFaces, WindowsFacesBecomeTheirMetricCompatibleLiberationFaces) {
    EXPECT_EQ(ResolveTextFace("Times New Roman", 400, false).family, "Liberation Serif");
    EXPECT_EQ(ResolveTextFace("ARIAL", 400, false).family, "Liberation Sans");
    EXPECT_EQ(ResolveTextFace("Courier New", 400, false).family, "Liberation Mono");
    EXPECT_EQ(ResolveTextFace("Times New Roman", 700, true).file,
              "/usr/share/fonts/truetype/liberation/LiberationSerif-BoldItalic.ttf");
    EXPECT_EQ(ResolveTextFace("Arial", 400, true).file,
              "/usr/share/fonts/truetype/liberation/LiberationSans-Italic.ttf");
}

TEST(TextFaces, OtherFacesKeepTheirNameAndAreMeasuredLikeArial) {
    const InstalledTextFace f = ResolveTextFace("Chiffrage", 400, false);
    EXPECT_EQ(f.family, "Chiffrage");
    EXPECT_EQ(f.file, "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");
}

}  // namespace
}  // namespace notavera
