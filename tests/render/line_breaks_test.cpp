// The user's line cuts: music moved down to the next line or up to the previous one, a new page after the last
// line, and message 54 for a cut inside a beam group or a tuplet.
#include <gtest/gtest.h>

#include <algorithm>

#include "render/line_breaks.h"
#include "shell/spacing_commands.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

class LineCutTest : public ::testing::Test {
protected:
    LineCutTest() {
        for (PageRecord& p : b.doc().pages) p.lineLength = 1800;
        b.on(1, 0);
        CreateSign(b.doc(), 30, 0, 1, SignType::Clef, 0);
        b.notes(100, 100, 4, 5, 4);
        b.bar(450);
        b.notes(500, 100, 4, 4, 4);
        b.on(1, 1);
        CreateSign(b.doc(), 30, 0, 1, SignType::Clef, 0);
        b.notes(100, 100, 2, 3, 4);
    }
    StaffRecord& staff(int page, int i) { return b.doc().findPage(page)->staves.at(static_cast<std::size_t>(i)); }
    int notes(int page, int i, unsigned name) {
        const auto& els = staff(page, i).elements;
        return static_cast<int>(std::count_if(els.begin(), els.end(), [&](const ElementRecord& e) {
            return !e.isSign() && e.noteWord().step() == name;
        }));
    }
    bool inOrder(int page, int i) {
        const auto& els = staff(page, i).elements;
        return std::is_sorted(els.begin(), els.end(),
                              [](const ElementRecord& a, const ElementRecord& c) { return a.x < c.x; });
    }

    ScoreBuilder b{1, 2, 1};
};

TEST_F(LineCutTest, CutDownMovesTheRestOfTheLineToTheStartOfTheNextOne) {
    b.on(1, 0);
    ASSERT_EQ(CutLine(b.ctx(), 480, LineCut::Down), 1);
    EXPECT_EQ(notes(1, 0, 5), 4);
    EXPECT_EQ(notes(1, 0, 4), 0);
    EXPECT_TRUE(staff(1, 0).elements.back().isSignOfType(SignType::Bar));
    EXPECT_EQ(notes(1, 1, 4), 4);
    EXPECT_EQ(notes(1, 1, 3), 2);
    const auto& next = staff(1, 1).elements;
    EXPECT_TRUE(next.front().isSignOfType(SignType::Clef));  // the line keeps its own clef first
    EXPECT_EQ(next[1].noteWord().step(), 4u);                 // then the music it received
    EXPECT_EQ(next.back().noteWord().step(), 3u);             // its own music last
    EXPECT_TRUE(inOrder(1, 1));
    EXPECT_TRUE(b.doc().modified);
}

TEST_F(LineCutTest, CutUpMovesTheStartOfTheLineToTheEndOfThePreviousOne) {
    b.on(1, 1);
    ASSERT_EQ(CutLine(b.ctx(), 150, LineCut::Up), 1);
    EXPECT_EQ(notes(1, 1, 3), 1);
    EXPECT_EQ(notes(1, 0, 3), 1);
    EXPECT_EQ(staff(1, 0).elements.back().noteWord().step(), 3u);
    EXPECT_TRUE(inOrder(1, 0));
}

TEST_F(LineCutTest, CutDownOnThePagesLastLineStartsANewPage) {
    b.on(1, 1);
    ASSERT_EQ(CutLine(b.ctx(), 150, LineCut::Down), 1);
    ASSERT_EQ(b.doc().pageCount, 2);
    EXPECT_EQ(notes(2, 0, 3), 1);
    EXPECT_FALSE(staff(2, 0).key().indented());
}

TEST_F(LineCutTest, CutUpOnTheFirstLineOnlyBeeps) {
    b.on(1, 0);
    EXPECT_EQ(CutLine(b.ctx(), 300, LineCut::Up), 0);
    EXPECT_EQ(b.ui().beeps(), 1);
    EXPECT_EQ(notes(1, 0, 5), 4);
}

TEST_F(LineCutTest, CutInsideABeamGroupIsRefusedWithMessage54) {
    auto& els = staff(1, 0).elements;
    for (std::size_t i = 1; i <= 4; ++i) els[i].w0().setInBeam(true);
    els[1].w0().setOpensBeam(true);
    els[4].w0().setClosesBeam(true);
    b.on(1, 0);
    EXPECT_EQ(CutLine(b.ctx(), 250, LineCut::Down), 0);
    ASSERT_EQ(b.ui().messages().size(), 1u);
    EXPECT_EQ(b.ui().messages()[0].stringId, 54);
    EXPECT_EQ(b.ui().messages()[0].text, "Une insertion empêche la coupure ici");
    EXPECT_EQ(notes(1, 0, 5), 4);
    // After the group's last note the cut goes through.
    EXPECT_EQ(CutLine(b.ctx(), 440, LineCut::Down), 1);
}

TEST_F(LineCutTest, CutInsideATupletIsRefused) {
    auto& els = staff(1, 0).elements;
    els[1].w0().setGroupMark(1);
    els[3].w0().setGroupMark(2);
    b.on(1, 0);
    EXPECT_EQ(CutLine(b.ctx(), 250, LineCut::Down), 0);
    EXPECT_EQ(b.ui().messages().back().stringId, 54);
}

}  // namespace
}  // namespace notavera
