// The Qt clipboard takes a picture in its three forms, each under its MIME type.
#include "platform/qt/qt_clipboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace notavera {
namespace {

TEST(QtClipboard, APictureGoesOnTheClipboardAsSvgPngAndMetafile) {
    ClipboardPicture picture;
    picture.area = {0, 0, 200, 100};
    picture.draw = [](Canvas& canvas) { canvas.drawLine({10, 10}, {190, 90}, Pen{}); };
    picture.metafile = [](Canvas&) { return std::vector<std::uint8_t>{0xD7, 0xCD, 0xC6, 0x9A}; };
    QtClipboard().setPicture(picture);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->data(svgMime).contains("<svg"));
    EXPECT_TRUE(data->data(pngMime).startsWith("\x89PNG"));
    EXPECT_EQ(data->data(wmfMime), QByteArray("\xD7\xCD\xC6\x9A"));
}

}  // namespace
}  // namespace notavera
