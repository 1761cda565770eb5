// The font chooser as a dialog: the font it shows, the size a block can store, and the scripted answer.
#include "platform/font_choice_dialog.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"

namespace notavera {
namespace {

std::string Show(const std::optional<FontChoice>& f) {
    return f ? f->face + " " + std::to_string(f->height) + (f->bold ? " bold" : "") + (f->italic ? " italic" : "")
             : "none";
}

TEST(FontChoiceDialog, ShowsTheCurrentFontAndReadsItBackKeptToWhatABlockStores) {
    DialogModel m = MakeFontChoiceDialog({"Times New Roman", 60, true, false});
    EXPECT_EQ(m.name(), "Police");
    EXPECT_EQ(m.value("Style"), 2);
    EXPECT_EQ(Show(FontChoiceOf(m)), "Times New Roman 60 bold");
    EXPECT_EQ(MakeFontChoiceDialog({"Arial", 0, false, false}).value("Taille"), 1);
    EXPECT_TRUE(applyAnswer(m, {"Police", {{"Taille", "900"}, {"Style", "Gras italique"}}, true}).empty());
    EXPECT_EQ(Show(FontChoiceOf(m)), "Times New Roman 255 bold italic");
    EXPECT_TRUE(applyAnswer(m, {"Police", {{"Police", "   "}}, true}).empty());
    EXPECT_FALSE(FontChoiceOf(m));  // a blank face chooses nothing

    HeadlessUi ui(nullptr);  // an interface without a chooser asks the script
    ui.queueDialogAnswer({"Police", {{"Police", " Courier New "}, {"Style", "Italique"}, {"Taille", "45"}}, true});
    EXPECT_EQ(Show(ui.chooseFont({"Arial", 30, false, false})), "Courier New 45 italic");
    EXPECT_FALSE(ui.chooseFont({"Arial", 30, false, false}));  // without an answer it is cancelled
    EXPECT_EQ(ui.dialogs(), (std::vector<std::string>{"Police", "Police"}));
}

}  // namespace
}  // namespace notavera
