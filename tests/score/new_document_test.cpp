// The pages a new document is given: laid out from the model, all in memory, within the score's limits.
#include <gtest/gtest.h>

#include "score/new_document.h"

namespace notavera {
namespace {

TEST(NewDocument, PagesAreLaidOutFromTheModelAndAllHeldInMemory) {
    ScoreDocument doc;
    SetUpNewDocument(doc, 4);
    doc.pages[0].staves[0].elements.emplace_back();
    doc.modified = true;
    doc.layoutModel.setStaffCount(4);
    doc.layoutModel.setDefinition(25);
    SetUpNewDocument(doc, 3);  // replaces the pages of the earlier set-up
    ASSERT_EQ(doc.pages.size(), 3u);
    for (int n = 1; n <= 3; ++n) EXPECT_EQ(doc.findPage(n)->staves.size(), 4u);
    EXPECT_EQ(doc.findPage(3)->layoutWord().staffSize(), 25u);
    EXPECT_TRUE(doc.pages[0].staves[0].elements.empty());
    EXPECT_EQ(doc.header.pageCount(), 3);
    EXPECT_EQ(doc.currentPage, 1);
    EXPECT_EQ(doc.storage.windowLast, 3);
    EXPECT_EQ(doc.stepUnit, 12);  // an odd definition loses its odd tenth
    EXPECT_EQ(doc.spacingStep, 12);
    EXPECT_FALSE(doc.modified);
    SetUpNewDocument(doc, 0);  // the page count is kept within the score's limits
    EXPECT_EQ(doc.pageCount, 1);
    SetUpNewDocument(doc, 400);
    EXPECT_EQ(doc.pageCount, maxPages);
    EXPECT_EQ(doc.pages.back().number, static_cast<std::uint32_t>(maxPages));
}

}  // namespace
}  // namespace notavera
