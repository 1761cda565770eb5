// The model side of transposition that a script cannot see: the warning beep of values out of range, and the
// space put in or taken out across the staves of a system.
#include "edit/transposition.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/headless/headless_ui.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

std::vector<int> Xs(const StaffRecord& staff) {
    std::vector<int> xs;
    for (const ElementRecord& e : staff.elements) xs.push_back(e.x);
    return xs;
}

TEST(TransposeDurations, AValueOutOfRangeStaysAndBeepsOnce) {
    ScoreDocument doc = DocumentFromGuido("[c/2 d/2 e/32]");
    StaffRecord& staff = doc.page()->staves[0];
    HeadlessUi ui{nullptr};
    const int last = static_cast<int>(staff.elements.size()) - 1;
    const auto codes = [&staff] {
        std::vector<unsigned> out;
        for (const ElementRecord& e : staff.elements)
            if (!e.isSign()) out.push_back(e.noteWord().durationCode());
        return out;
    };
    EXPECT_EQ(TransposeDurations(staff, 0, last, -4, ui), 1);  // the thirty-second becomes a half
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(codes(), (std::vector<unsigned>{3, 3, 3}));
    EXPECT_EQ(TransposeDurations(staff, 0, last, 1, ui), 3);
    EXPECT_EQ(ui.beeps(), 1);
}

TEST(TransposeDurations, AValueShorterThanABreveLosesTheBreveFlag) {
    ScoreDocument doc = DocumentFromGuido("[c*2/1]");
    StaffRecord& staff = doc.page()->staves[0];
    ElementRecord& breve = *std::find_if(staff.elements.begin(), staff.elements.end(),
                                         [](const ElementRecord& e) { return !e.isSign(); });
    breve.word0 |= 1u << 16;
    breve.noteWord().setBit(16, true);
    HeadlessUi ui{nullptr};
    TransposeDurations(staff, 0, static_cast<int>(staff.elements.size()) - 1, 2, ui);
    EXPECT_EQ(breve.word0 >> 16 & 1u, 0u);
    EXPECT_FALSE(breve.noteWord().bit(16));
}

class InsertSpacesTest : public ::testing::Test {
protected:
    InsertSpacesTest() {
        doc = DocumentFromGuido("{[c d e f g], [g a b c d], [c d e f g]}");
        // The first two staves make one system, the third its own.
        page().staves[0].key().setSystemGrouping(1);
        page().staves[1].key().setSystemGrouping(2);
        page().staves[2].key().setSystemGrouping(3);
        for (const StaffRecord& s : page().staves) start.push_back(Xs(s));
    }
    PageRecord& page() { return *doc.page(); }
    // How far each element of the staff moved.
    std::vector<int> Moves(int staff) {
        std::vector<int> moves;
        const std::vector<int> now = Xs(page().staves[static_cast<std::size_t>(staff)]);
        for (std::size_t i = 0; i < now.size(); ++i) moves.push_back(now[i] - start[static_cast<std::size_t>(staff)][i]);
        return moves;
    }
    ScoreDocument doc;
    std::vector<std::vector<int>> start;
};

TEST_F(InsertSpacesTest, TheSystemMovesTogetherFromTheFirstElement) {
    const int from = start[0][2];
    EXPECT_EQ(InsertSpaces(page(), 1, from, 3, 10), 30);
    EXPECT_EQ(Moves(0), (std::vector<int>{0, 0, 30, 30, 30}));
    EXPECT_EQ(Moves(1), Moves(0));
    EXPECT_EQ(Moves(2), (std::vector<int>(5, 0)));
}

TEST_F(InsertSpacesTest, RemovalStopsBeforeTheElementBefore) {
    const int gap = start[0][2] - start[0][1];
    const int step = 10;
    const int steps = (gap - step - 4) / step;  // the whole steps that keep a step and 4 units between them
    EXPECT_EQ(InsertSpaces(page(), 0, start[0][2], -(steps + 5), step), -steps * step);
    EXPECT_GE(Xs(page().staves[0])[2] - Xs(page().staves[0])[1], step + 4);
    EXPECT_EQ(InsertSpaces(page(), 0, start[0][2], 0, step), 0);
}

}  // namespace
}  // namespace notavera
