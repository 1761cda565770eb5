// The generic dialog form, whose model push buttons (here the pagination dialog's "Police") open the font chooser,
// and the Qt font chooser itself, which gives back the font it was opened on when kept.
#include "platform/qt/dialog_form.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "platform/headless/headless_ui.h"
#include "platform/qt/qt_ui_services.h"
#include "print/pagination_dialog.h"
#include "score/score_document.h"

namespace notavera {
namespace {

TEST(DialogFormTest, EachPoliceButtonOpensTheChooserForItsOwnBlock) {
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    DialogModel model = makePaginationDialog(doc);
    PaginationFonts fonts = paginationFonts(doc, 20);
    connectFontButtons(model, ui, fonts);
    DialogForm form(model, nullptr);
    auto* header = form.findChild<QPushButton*>("Police#2");
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text(), "Police");
    EXPECT_EQ(form.findChildren<QPushButton*>(QRegularExpression("^Police")).size(), 3);

    ui.queueDialogAnswer({"Police", {{"Police", "Courier New"}}, true});
    header->click();
    EXPECT_EQ(fonts.chosen, (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(fonts.font[1].face, "Courier New");
    EXPECT_EQ(fonts.font[1].height, 60);
    EXPECT_EQ(ui.dialogs(), std::vector<std::string>{"Police"});
}

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
