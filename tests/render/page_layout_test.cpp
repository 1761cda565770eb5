// Laying out a page: clefs at every line start, time signatures carried to the next line, lines broken at their
// last bar that fits (onto the next line, and at the page's end onto a new page), message 51, justification.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/page_layout.h"
#include "render/recalculate_distances.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

using test::ScoreBuilder;

constexpr int lineLength = 1200;

class PageLayoutTest : public ::testing::Test {
protected:
    PageLayoutTest() {
        for (PageRecord& p : b.doc().pages) p.lineLength = lineLength;
        b.doc().settings.aestheticCorrection = false;
    }
    StaffRecord& staff(int page, int i) { return b.doc().findPage(page)->staves.at(static_cast<std::size_t>(i)); }
    void clef(int x, int number) { CreateSign(b.doc(), x, 0, number, SignType::Clef, 0); }
    // `bars` bars of four quarters from x on, 100 units a note, the bar 50 after the last note of each.
    void measures(int x, int bars) {
        for (int m = 0; m < bars; ++m) {
            b.notes(x, 100, 4, 5, 4);
            b.bar(x + 350);
            x += 400;
        }
    }
    int notesOn(int page, int i) {
        const auto& els = staff(page, i).elements;
        return static_cast<int>(
            std::count_if(els.begin(), els.end(), [](const ElementRecord& e) { return !e.isSign(); }));
    }
    int lastX(int page, int i) { return staff(page, i).elements.empty() ? 0 : staff(page, i).elements.back().x; }
    bool inOrder(int page, int i) {
        const auto& els = staff(page, i).elements;
        return std::is_sorted(els.begin(), els.end(),
                              [](const ElementRecord& a, const ElementRecord& c) { return a.x < c.x; });
    }
    std::vector<int> messageIds() {
        std::vector<int> ids;
        for (const MessageBoxRequest& m : b.ui().messages()) ids.push_back(m.stringId);
        return ids;
    }

    ScoreBuilder b{1, 2, 1};  // two lines of one staff, both voice 1
};

TEST_F(PageLayoutTest, EveryLineStartsWithTheVoicesLastClefOrTheAltoClef) {
    b.on(1, 0).notes(100, 100, 2, 5, 4);
    b.on(1, 1).notes(100, 100, 2, 5, 4);
    b.setVoice(1, 1, 2);  // a voice of its own, without a clef yet
    b.on(1, 0);
    LayOutPage(b.doc(), b.ui(), SignDistances{}, PageLayoutMode::RawPage);
    ASSERT_TRUE(staff(1, 0).elements.front().isSignOfType(SignType::Clef));
    EXPECT_EQ(staff(1, 0).elements.front().signWord().code(), 7u);
    EXPECT_EQ(staff(1, 1).elements.front().signWord().code(), 7u);

    // A bass clef on the first line is what the voice's next line begins with.
    staff(1, 0).elements.front().signWord().setCode(3);
    staff(1, 1).elements.erase(staff(1, 1).elements.begin());
    b.setVoice(1, 1, 1);
    LayOutPage(b.doc(), b.ui(), SignDistances{}, PageLayoutMode::RawPage);
    EXPECT_EQ(staff(1, 1).elements.front().signWord().code(), 3u);
    EXPECT_EQ(staff(1, 1).elements.size(), 3u);
    EXPECT_LT(staff(1, 1).elements[0].x, staff(1, 1).elements[1].x);
}

TEST_F(PageLayoutTest, ClefAfterMusicIsNotTheLineClef) {
    b.on(1, 0);
    b.note(100, 5);
    clef(200, 3);
    b.note(300, 5);
    LayOutPage(b.doc(), b.ui(), SignDistances{}, PageLayoutMode::RawPage);
    const auto& els = staff(1, 0).elements;
    ASSERT_EQ(els.size(), 4u);
    EXPECT_TRUE(els[0].isSignOfType(SignType::Clef));
    EXPECT_EQ(els[0].signWord().code(), 7u);
}

TEST_F(PageLayoutTest, LineStartSignsAreOrderedClefKeyTimeSignature) {
    b.on(1, 0);
    b.meter(30, 6, 8);
    CreateSign(b.doc(), 40, 0, 2, SignType::KeyChange, 1);
    clef(50, 1);
    b.notes(100, 100, 2, 5, 4);
    LayOutPage(b.doc(), b.ui(), SignDistances{}, PageLayoutMode::RawPage);
    const auto& els = staff(1, 0).elements;
    ASSERT_EQ(els.size(), 5u);
    EXPECT_TRUE(els[0].isSignOfType(SignType::Clef));
    EXPECT_TRUE(els[1].isSignOfType(SignType::KeyChange));
    EXPECT_TRUE(els[2].isSignOfType(SignType::TimeSignature));
    EXPECT_TRUE(inOrder(1, 0));
    EXPECT_LT(els[2].x, els[3].x);
}

TEST_F(PageLayoutTest, TimeSignatureEndingALineOpensTheNextOne) {
    b.on(1, 0);
    clef(30, 1);
    b.notes(100, 100, 2, 5, 4);
    b.meter(400, 3, 4);
    b.on(1, 1);
    clef(30, 1);
    b.notes(100, 100, 3, 5, 4);
    b.on(1, 0);
    LayOutPage(b.doc(), b.ui(), SignDistances{}, PageLayoutMode::RawPage);
    EXPECT_FALSE(std::any_of(staff(1, 0).elements.begin(), staff(1, 0).elements.end(),
                             [](const ElementRecord& e) { return e.isSignOfType(SignType::TimeSignature); }));
    ASSERT_GE(staff(1, 1).elements.size(), 2u);
    EXPECT_TRUE(staff(1, 1).elements[0].isSignOfType(SignType::Clef));
    EXPECT_TRUE(staff(1, 1).elements[1].isSignOfType(SignType::TimeSignature));
    EXPECT_EQ(staff(1, 1).elements[1].w1().numerator(), 3u);
    EXPECT_TRUE(inOrder(1, 1));
}

TEST_F(PageLayoutTest, LongLineIsBrokenAtItsLastBarThatFitsAndTheRestGoesToTheNextLineAndPage) {
    b.on(1, 0);
    clef(30, 1);
    measures(100, 6);
    b.on(1, 1);
    clef(30, 1);
    b.notes(100, 100, 2, 3, 4);  // the next line's own music stays after what it receives
    b.on(1, 0);
    LayOutPage(b.doc(), b.ui(), SignDistances{}, PageLayoutMode::RawPage);

    EXPECT_TRUE(messageIds().empty());
    ASSERT_EQ(b.doc().pageCount, 2);  // the music that did not fit on the page went to a new page
    int total = 0;
    for (int page = 1; page <= 2; ++page) {
        for (int i = 0; i < 2; ++i) {
            total += notesOn(page, i);
            if (staff(page, i).elements.empty()) continue;
            EXPECT_LE(lastX(page, i), lineLength) << page << "/" << i;
            EXPECT_TRUE(inOrder(page, i));
            EXPECT_TRUE(staff(page, i).elements.front().isSignOfType(SignType::Clef));
        }
    }
    EXPECT_EQ(total, 26);
    EXPECT_TRUE(staff(1, 0).elements.back().isSignOfType(SignType::Bar));  // broken after a bar
    // The receiving line's own notes (step 3, E) come last in the voice.
    const auto& last = staff(2, staff(2, 1).elements.empty() ? 0 : 1).elements;
    auto lastNote = std::find_if(last.rbegin(), last.rend(), [](const ElementRecord& e) { return !e.isSign(); });
    ASSERT_NE(lastNote, last.rend());
    EXPECT_EQ(lastNote->noteWord().step(), 3u);
}

TEST_F(PageLayoutTest, LineWithoutABarToBreakAtReportsMessage51) {
    b.on(1, 0);
    clef(30, 1);
    b.notes(100, 100, 12, 5, 4);
    const std::vector<ElementRecord> before = staff(1, 0).elements;
    LayOutPage(b.doc(), b.ui(), SignDistances{}, PageLayoutMode::RawPage);
    EXPECT_EQ(messageIds(), (std::vector<int>{51}));
    EXPECT_EQ(b.ui().messages().front().text, "Ligne trop longue. Essayez avec fonction Ligne supérieure.");
    EXPECT_EQ(staff(1, 0).elements.size(), before.size());
    EXPECT_TRUE(staff(1, 1).elements.empty());
}

// "Recalculer Distances" lays the page out and then makes its final pass: both meet the same line, which the user
// hears about once; each line that cannot be broken is named once.
TEST_F(PageLayoutTest, RecalculatingReportsEachUnbreakableLineOnce) {
    b.on(1, 0);
    clef(30, 1);
    b.notes(100, 100, 12, 5, 4);
    b.on(1, 0);
    RecalculateDistances(b.doc(), b.ui(), SignDistances{}, false);
    EXPECT_EQ(messageIds(), (std::vector<int>{51}));
    b.on(1, 1);
    clef(30, 1);
    b.notes(100, 100, 12, 5, 4);
    b.on(1, 0);
    RecalculateDistances(b.doc(), b.ui(), SignDistances{}, false);
    EXPECT_EQ(messageIds(), (std::vector<int>{51, 51, 51})) << "a new command reports again, once for each line";
}

TEST_F(PageLayoutTest, JustifyStretchesAFullLineToItsEndAndLeavesAShortOne) {
    b.on(1, 0);
    clef(30, 1);
    b.notes(100, 100, 5, 5, 4);
    b.bar(600);
    b.on(1, 1);
    clef(30, 1);
    b.notes(100, 100, 2, 5, 4);
    LayOutPage(b.doc(), b.ui(), SignDistances{}, PageLayoutMode::JustifyPage);
    EXPECT_EQ(staff(1, 0).elements.front().x, 30);  // line-start signs stay
    EXPECT_EQ(staff(1, 0).elements[1].x, 100);      // the first note anchors the stretch
    EXPECT_EQ(staff(1, 0).elements.back().x, lineLength);
    EXPECT_EQ(staff(1, 1).elements.back().x, 200);
}

TEST_F(PageLayoutTest, RecalculateDistancesOnASingleStaffJustifiesAndRestoresTheStepUnit) {
    b.on(1, 0);
    clef(30, 1);
    measures(100, 3);
    b.on(1, 0);
    b.doc().spacingStep = 14;
    ASSERT_EQ(RecalculateDistances(b.doc(), b.ui(), SignDistances{}, false), 1);
    EXPECT_EQ(b.doc().spacingStep, b.doc().stepUnit);
    EXPECT_TRUE(b.doc().modified);
    for (int i = 0; i < 2; ++i) {
        if (staff(1, i).elements.empty()) continue;
        EXPECT_LE(lastX(1, i), lineLength);
        EXPECT_TRUE(inOrder(1, i));
    }
    EXPECT_EQ(staff(1, 0).elements.back().x, lineLength);  // the full first line ends on the line's end
}

}  // namespace
}  // namespace notavera
