// Block alignment as a command: the report of staves that do not end on the last slot (message 14), the
// question about cue notes (message 48) and the respacing of every block of a page.
#include <gtest/gtest.h>

#include <vector>

#include "render/space_blocks.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

class SpaceBlocksTest : public ::testing::Test {
protected:
    SpaceBlocksTest() {
        for (PageRecord& p : b.doc().pages) p.lineLength = 1800;
    }
    StaffRecord& staff(int i) { return b.doc().findPage(1)->staves.at(static_cast<std::size_t>(i)); }
    const std::vector<MessageBoxRequest>& messages() { return b.ui().messages(); }

    ScoreBuilder b{1, 4, 2};  // two systems of two staves
};

TEST_F(SpaceBlocksTest, StavesThatEndEarlyAreListedInMessage14) {
    b.on(1, 0).notes(100, 120, 3, 5, 4);
    b.on(1, 1).notes(90, 50, 5, 3, 5);
    b.on(1, 1);  // the alignment starts from the block's first staff whatever staff is current
    const AlignResult r = AlignBlock(b.doc(), b.ui());
    EXPECT_TRUE(r.aligned);
    EXPECT_EQ(b.doc().currentStaff, 0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].stringId, 14);
    EXPECT_EQ(messages()[0].caption, "Message");
    EXPECT_EQ(messages()[0].text, "Erreurs: {2,2} ");
    EXPECT_TRUE(b.doc().modified);
}

TEST_F(SpaceBlocksTest, CompleteBlockIsAlignedWithoutAMessage) {
    b.on(1, 0).notes(100, 120, 2, 5, 4);
    b.on(1, 1).notes(90, 50, 4, 3, 5);
    b.on(1, 0);
    EXPECT_TRUE(AlignBlock(b.doc(), b.ui()).aligned);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(staff(1).elements[2].x, staff(0).elements[1].x);
}

TEST_F(SpaceBlocksTest, MarkedStaffIsReportedByItsNumber) {
    b.on(1, 0).notes(100, 120, 3, 5, 4);
    b.on(1, 2).notes(90, 50, 5, 3, 5);
    b.on(1, 0);
    AlignBlock(b.doc(), b.ui(), 2);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Erreurs: Portée 3 - ");
}

TEST_F(SpaceBlocksTest, CueNotesAreAskedAboutUntilTheUserRefuses) {
    b.on(1, 0).notes(100, 120, 2, 5, 4);
    b.on(1, 1).notes(90, 50, 4, 3, 5);
    staff(1).elements[1].w0().setCueSize(true);
    b.on(1, 0);
    b.ui().queueAnswer(MessageAnswer::Yes);
    AlignBlock(b.doc(), b.ui());
    ASSERT_FALSE(messages().empty());
    EXPECT_EQ(messages()[0].stringId, 48);
    EXPECT_EQ(messages()[0].text, "Petites notes = pleines valeurs ?");
    EXPECT_FALSE(b.doc().cueNotesRefused);

    b.ui().queueAnswer(MessageAnswer::No);
    AlignBlock(b.doc(), b.ui());
    EXPECT_TRUE(b.doc().cueNotesRefused);
    const std::size_t asked = messages().size();
    AlignBlock(b.doc(), b.ui());
    for (std::size_t i = asked; i < messages().size(); ++i) EXPECT_NE(messages()[i].stringId, 48);
}

TEST_F(SpaceBlocksTest, WholePageRespacesAndAlignsEveryBlock) {
    for (int s : {0, 2}) b.on(1, s).notes(100, 37, 4, 5, 4);
    for (int s : {1, 3}) b.on(1, s).notes(103, 23, 8, 3, 5);
    b.on(1, 0);
    EXPECT_EQ(SpaceBlocks(b.doc(), b.ui(), SignDistances{}, BlockSpacing::WholePage), 1);
    for (int s : {0, 2}) {
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_EQ(staff(s + 1).elements[2 * k].x, staff(s).elements[k].x) << "block " << s / 2 << " note " << k;
    }
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace notavera
