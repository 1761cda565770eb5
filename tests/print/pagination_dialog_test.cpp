// The "Pagination" dialog: the page number, running header and footer blocks, their fonts, and crop marks.
#include "print/pagination_dialog.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "render/page_texts.h"
#include "score/score_document.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

struct PaginationDialogTest : ::testing::Test {
    ScoreDocument doc;
    void answer(std::vector<std::pair<std::string, std::string>> fields) {
        DialogModel m = makePaginationDialog(doc);
        EXPECT_TRUE(applyAnswer(m, {"Pagination", std::move(fields), true}).empty());
        acceptPaginationDialog(m, doc);
    }
};

TEST_F(PaginationDialogTest, PageNumberBlockIsStoredWithItsFlag) {
    EXPECT_EQ(makePaginationDialog(doc).value("No de page initial"), 1);
    answer({{"Position", "Extérieur"}, {"No de page initial", "5"}, {"Pagination au bas", "1"},
            {"Offset du sommet/bas (interlignes)", "0"}});
    ASSERT_TRUE(doc.optional.pagination);
    const auto& b = *doc.optional.pagination;
    EXPECT_EQ(le::u32(b, 0), 4u);
    EXPECT_EQ(std::vector<int>(b.begin() + 4, b.end()), (std::vector<int>{0, 62, 1, 0, 0, 1}));  // the first text font
    EXPECT_TRUE(doc.header.blockFlags() & block_flag::pagination);
    EXPECT_TRUE(doc.modified);

    // Opened again: the bottom placement shows in its check box; unchecking it removes the 50.
    DialogModel m = makePaginationDialog(doc);
    EXPECT_EQ(m.value("Position"), 4);
    EXPECT_TRUE(m.checked("Pagination au bas"));
    answer({{"Pagination au bas", "0"}});
    EXPECT_EQ((*doc.optional.pagination)[5], 12);
}

// The page drawing reads the texts in the documents' code page: what is typed is stored in it.
TEST_F(PaginationDialogTest, HeaderAndFooterKeepTheirTextsAndPlacesUntilNeantFreesThem) {
    answer({{"Texte", "Sonate en ré"}, {"Position#2", "Droite"}, {"Première page incluse#2", "1"},
            {"Offset du sommet (interlignes)", "3"}, {"Texte#2", "Pied"}, {"Position#3", "Intérieur"},
            {"Offset du bas (interlignes)", "200"}, {"Position", "Centré"}});
    ASSERT_TRUE(doc.optional.pageHeader && doc.optional.pageFooter);
    const auto& h = *doc.optional.pageHeader;
    EXPECT_STREQ(reinterpret_cast<const char*>(h.data()), "Sonate en r\xe9");
    EXPECT_EQ(std::vector<int>(h.begin() + 200, h.begin() + 203), (std::vector<int>{1, 3, 1}));
    EXPECT_EQ(h[205], 3);
    const auto& f = *doc.optional.pageFooter;
    EXPECT_EQ(f[201], 63);  // a footer is always at the bottom
    EXPECT_EQ(f[205], 100);
    const DialogModel m = makePaginationDialog(doc);
    EXPECT_EQ(m.text("Texte"), "Sonate en ré");
    EXPECT_EQ(m.value("Position#3"), 5);
    const auto texts = RunningTextsOfPage(doc, 1, 20);
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const auto& t) { return t.text == "Sonate en ré"; }));
    EXPECT_EQ(doc.header.blockFlags() & 7, 7);
    answer({{"Position", "NEANT"}, {"Texte", ""}, {"Position#3", "NEANT"}});
    EXPECT_FALSE(doc.optional.pagination || doc.optional.pageHeader || doc.optional.pageFooter);
    EXPECT_EQ(doc.header.blockFlags() & 7, 0);
    answer({{"Texte", std::string(300, 'x')}, {"Position#2", "Centré"}});  // cut, and still terminated
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(doc.optional.pageHeader->data())), std::string(199, 'x'));
}

// The "Police" buttons: the font chooser opens on the block's font and OK stores the choice.
struct PaginationFontsTest : ::testing::Test {
    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
    void chooser(std::vector<std::pair<std::string, std::string>> fields, bool ok = true) {
        ui.queueDialogAnswer({"Police", std::move(fields), ok});
    }
    int dialog(std::vector<std::pair<std::string, std::string>> fields, bool ok = true) {
        ui.queueDialogAnswer({"Pagination", std::move(fields), ok});
        return RunPaginationDialog(ctx);
    }
};

TEST_F(PaginationFontsTest, ChosenFontGoesIntoTheTableAndTheBlock) {
    chooser({{"Police", "Courier New"}, {"Style", "Gras"}, {"Taille", "45"}});
    ASSERT_EQ(dialog({{"Position", "Centré"}, {"Police", "1"}}), 1);
    EXPECT_TRUE(ui.refusedFields().empty());
    ASSERT_TRUE(ctx.doc.optional.pagination);
    const auto& b = *ctx.doc.optional.pagination;
    EXPECT_EQ(std::vector<int>(b.begin() + 6, b.begin() + 9), (std::vector<int>{4, 2, 45}));  // the first free entry
    EXPECT_EQ(ctx.doc.fonts.faceName(4), "Courier New");
    const std::vector<RunningText> texts = RunningTextsOfPage(ctx.doc, 2, 20);  // the page drawing takes it
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].font.face, "Courier New");
    EXPECT_EQ(std::pair(texts[0].font.height, texts[0].font.weight), std::pair(45, 700));
}

}  // namespace
}  // namespace notavera
