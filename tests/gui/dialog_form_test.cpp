// The generic dialog form: a push button of the model shows as a button whose click runs the model's reaction, here
// the "Police" buttons of the pagination dialog opening the font chooser.
#include "platform/qt/dialog_form.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRegularExpression>

#include "platform/headless/headless_ui.h"
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

}  // namespace
}  // namespace notavera
