// The distances note entry moves the cursor by, with the document's step: the same advances as the respacing.
#include <gtest/gtest.h>

#include "render/entry_distances.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

class EntryDistancesTest : public ::testing::Test {
protected:
    EntryDistancesTest() { b.doc().settings.aestheticCorrection = false; }
    StaffRecord& staff(int i) { return b.doc().findPage(1)->staves.at(static_cast<std::size_t>(i)); }

    ScoreBuilder b;
};

TEST_F(EntryDistancesTest, NoteEntryAdvancesLikeTheRespacing) {
    b.doc().spacingStep = 6;
    b.on(1, 0);
    EXPECT_EQ(CursorAdvanceAfterNote(b.doc(), b.note(100, 5, 6)), 3 * 6);   // sixteenth, the reference value
    EXPECT_EQ(CursorAdvanceAfterNote(b.doc(), b.note(200, 5, 4, 1)), 18 * 6);  // dotted quarter
    ElementRecord& triplet = b.note(300, 5, 5);
    triplet.w1().setNumerator(3);
    triplet.w1().setDenominator(2);
    EXPECT_EQ(CursorAdvanceAfterNote(b.doc(), triplet), 4 * 6);
    EXPECT_EQ(DistanceAfterBar(b.doc(), SignDistances{}), 4 * 6);
    EXPECT_EQ(DistanceAfterClef(b.doc(), SignDistances{}), 10 * 6);
    b.doc().insertion.durationCode = 3;
    b.doc().insertion.dots = 0;
    EXPECT_EQ(InsertionBoxGap(b.doc()), 24 * 6);
    const int index = static_cast<int>(staff(0).elements.size());
    b.meter(400, 3, 4);
    EXPECT_GT(DistanceAfterTimeSignature(b.doc(), SignDistances{}, *b.doc().page(), staff(0), index), 3 * 6);
}

TEST_F(EntryDistancesTest, AestheticCorrectionShortensLongValuesAsTheRespacingDoes) {
    b.doc().settings.aestheticCorrection = true;
    b.on(1, 0);
    EXPECT_EQ(CursorAdvanceAfterNote(b.doc(), b.note(100, 5, 4)), 12 * 10 * 2 / 3);
    EXPECT_EQ(CursorAdvanceAfterNote(b.doc(), b.note(200, 5, 6)), 3 * 10);
}

TEST_F(EntryDistancesTest, HiddenTimeSignatureLeavesOnlyTheDistance) {
    b.on(1, 0);
    b.meter(100, 4, 4).w0().setHidden(true);
    EXPECT_EQ(DistanceAfterTimeSignature(b.doc(), SignDistances{}, *b.doc().page(), staff(0), 0), 3 * 10);
    EXPECT_EQ(DistanceAfterTimeSignature(b.doc(), SignDistances{}, *b.doc().page(), staff(0), 5), 3 * 10);
}

}  // namespace
}  // namespace notavera
