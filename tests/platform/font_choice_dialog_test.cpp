#include "platform/font_choice_dialog.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"

namespace notavera {
namespace {

TEST(FontChoiceDialog, ShowsTheCurrentFontAndReadsItBack) {
    const FontChoice current{"Times New Roman", 60, true, false};
    const DialogModel m = MakeFontChoiceDialog(current);
    EXPECT_EQ(m.name(), "Police");
    EXPECT_EQ(m.value("Style"), 2);
    const auto back = FontChoiceOf(m);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->face, "Times New Roman");
    EXPECT_EQ(back->height, 60);
    EXPECT_TRUE(back->bold);
    EXPECT_FALSE(back->italic);
}

TEST(FontChoiceDialog, SizeIsKeptToWhatABlockStoresAndABlankFaceChoosesNothing) {
    DialogModel m = MakeFontChoiceDialog({"Arial", 0, false, false});
    EXPECT_EQ(m.value("Taille"), 1);
    EXPECT_TRUE(applyAnswer(m, {"Police", {{"Taille", "900"}, {"Style", "Gras italique"}}, true}).empty());
    EXPECT_EQ(FontChoiceOf(m)->height, 255);
    EXPECT_TRUE(FontChoiceOf(m)->italic);
    EXPECT_TRUE(applyAnswer(m, {"Police", {{"Police", "   "}}, true}).empty());
    EXPECT_FALSE(FontChoiceOf(m));
}

TEST(FontChoiceDialog, AnInterfaceWithoutAChooserAsksTheScript) {
    HeadlessUi ui(nullptr);
    ui.queueDialogAnswer({"Police", {{"Police", " Courier New "}, {"Style", "Italique"}, {"Taille", "45"}}, true});
    const auto chosen = ui.chooseFont({"Arial", 30, false, false});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->face, "Courier New");
    EXPECT_EQ(chosen->height, 45);
    EXPECT_TRUE(chosen->italic);
    EXPECT_FALSE(chosen->bold);
    // Without an answer the chooser is cancelled.
    EXPECT_FALSE(ui.chooseFont({"Arial", 30, false, false}));
    EXPECT_EQ(ui.dialogs(), (std::vector<std::string>{"Police", "Police"}));
}

}  // namespace
}  // namespace notavera
