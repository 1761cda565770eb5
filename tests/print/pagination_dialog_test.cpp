#include "print/pagination_dialog.h"

#include <gtest/gtest.h>

#include "score/score_document.h"

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

TEST_F(PaginationDialogTest, ANewDocumentHasNothingToShow) {
    const DialogModel m = makePaginationDialog(doc);
    EXPECT_EQ(m.value("Position"), 0);
    EXPECT_EQ(m.value("Position#2"), 0);
    EXPECT_EQ(m.value("Position#3"), 0);
    EXPECT_EQ(m.value("No de page initial"), 1);
}

TEST_F(PaginationDialogTest, PageNumberBlockIsStoredWithItsFlag) {
    answer({{"Position", "Extérieur"}, {"No de page initial", "5"}, {"Pagination au bas", "1"},
            {"Offset du sommet/bas (interlignes)", "0"}});
    ASSERT_TRUE(doc.optional.pagination);
    const auto& b = *doc.optional.pagination;
    EXPECT_EQ(le::u32(b, 0), 4u);
    EXPECT_EQ(b[4], 0);
    EXPECT_EQ(b[5], 62);
    EXPECT_EQ(b[6], 1);  // a new block uses the first text font
    EXPECT_EQ(b[9], 1);
    EXPECT_TRUE(doc.header.blockFlags() & block_flag::pagination);
    EXPECT_TRUE(doc.modified);

    // Opened again: the bottom placement shows in its check box; unchecking it removes the 50.
    DialogModel m = makePaginationDialog(doc);
    EXPECT_EQ(m.value("Position"), 4);
    EXPECT_TRUE(m.checked("Pagination au bas"));
    answer({{"Pagination au bas", "0"}});
    EXPECT_EQ((*doc.optional.pagination)[5], 12);
}

TEST_F(PaginationDialogTest, NeantFreesTheBlocks) {
    answer({{"Position", "Centré"}, {"Texte", "Sonate"}, {"Position#2", "Gauche"}, {"Texte#2", "fin"},
            {"Position#3", "Droite"}});
    EXPECT_EQ(doc.header.blockFlags() & 7, 7);
    answer({{"Position", "NEANT"}, {"Texte", ""}, {"Position#3", "NEANT"}});
    EXPECT_FALSE(doc.optional.pagination);
    EXPECT_FALSE(doc.optional.pageHeader);
    EXPECT_FALSE(doc.optional.pageFooter);
    EXPECT_EQ(doc.header.blockFlags() & 7, 0);
}

TEST_F(PaginationDialogTest, HeaderAndFooterKeepTheirTextsAndPlaces) {
    answer({{"Texte", "Sonate en ut"}, {"Position#2", "Droite"}, {"Première page incluse#2", "1"},
            {"Offset du sommet (interlignes)", "3"}, {"Texte#2", "Pied"}, {"Position#3", "Intérieur"},
            {"Offset du bas (interlignes)", "200"}});
    ASSERT_TRUE(doc.optional.pageHeader && doc.optional.pageFooter);
    const auto& h = *doc.optional.pageHeader;
    EXPECT_STREQ(reinterpret_cast<const char*>(h.data()), "Sonate en ut");
    EXPECT_EQ(h[200], 1);
    EXPECT_EQ(h[201], 3);
    EXPECT_EQ(h[202], 1);
    EXPECT_EQ(h[205], 3);
    const auto& f = *doc.optional.pageFooter;
    EXPECT_EQ(f[201], 63);  // a footer is always at the bottom
    EXPECT_EQ(f[205], 100);
    const DialogModel m = makePaginationDialog(doc);
    EXPECT_EQ(m.text("Texte"), "Sonate en ut");
    EXPECT_EQ(m.value("Position#3"), 5);
}

TEST_F(PaginationDialogTest, LongTextIsCutAndStaysTerminated) {
    answer({{"Texte", std::string(300, 'x')}, {"Position#2", "Centré"}});
    const auto& h = *doc.optional.pageHeader;
    EXPECT_EQ(h[198], 'x');
    EXPECT_EQ(h[199], 0);
}

TEST_F(PaginationDialogTest, StoredBlocksWithoutTerminatorOrUnknownCodeAreReadSafely) {
    std::array<std::uint8_t, 206> header{};
    header.fill('y');
    header[201] = 99;
    doc.optional.pageHeader = header;
    const DialogModel m = makePaginationDialog(doc);
    EXPECT_EQ(m.text("Texte").size(), 199u);
    EXPECT_EQ(m.value("Position#2"), 0);
}

TEST_F(PaginationDialogTest, CropMarksAreABitOnly) {
    answer({{"Marques de coupe", "1"}});
    EXPECT_TRUE(doc.header.blockFlags() & block_flag::cropMarks);
    answer({{"Marques de coupe", "0"}});
    EXPECT_FALSE(doc.header.blockFlags() & block_flag::cropMarks);
}

TEST_F(PaginationDialogTest, CancelChangesNothing) {
    DialogModel m = makePaginationDialog(doc);
    applyAnswer(m, {"Pagination", {{"Position", "Centré"}, {"Marques de coupe", "1"}}, false});
    EXPECT_FALSE(doc.optional.pagination);
    EXPECT_EQ(doc.header.blockFlags(), 0);
    EXPECT_FALSE(doc.modified);
}

}  // namespace
}  // namespace notavera
