// The Qt user interface services: the font chooser speaks in points while documents keep tenths of a millimetre,
// and a document's face stays named as the document names it when its stand-in is kept.
#include "platform/qt/qt_ui_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDialog>
#include <QTimer>

namespace notavera {
namespace {

// Answers the font chooser once it is open, as a user pressing OK or Cancel would.
void AnswerChooser(bool ok) {
    QTimer::singleShot(0, [ok] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ok ? dialog->accept() : dialog->reject();
    });
}

TEST(QtUiServicesTest, TheFontChooserKeptAsOpenedGivesBackTheSameFontAndCancelNothing) {
    QtUiServices ui;
    AnswerChooser(true);
    const std::optional<FontChoice> chosen = ui.chooseFont({"Times New Roman", 60, true, true});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->face, "Times New Roman");
    EXPECT_EQ(chosen->height, 60);
    EXPECT_TRUE(chosen->bold && chosen->italic);
    AnswerChooser(false);
    EXPECT_FALSE(ui.chooseFont({"Arial", 30, false, false}));
}

}  // namespace
}  // namespace notavera
