// The staff ruler: the miniature of the staff layout model, its presses, drags, keys and grouping modes.
#include "print/staff_ruler.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

namespace sm = staff_model;

// Seven five-line staves at distance 10 from each other (the first 10 from the top), definition 20 (staff space
// 20 page units), each a system of its own, on an A4 page without top offset.
struct StaffRulerTest : ::testing::Test {
    StaffLayoutModel model = StaffLayoutModel::makeDefault();
    StaffRuler ruler{model, RulerSheet{}};

    void SetUp() override {
        model.setStaffCount(7);
        for (int i = 0; i < 7; ++i) sm::Distance::set(model.staffWord(i), 10);
    }
    unsigned distance(int i) const { return sm::Distance::get(model.staffWord(i)); }
    void setDistance(int i, unsigned d) { sm::Distance::set(model.staffWord(i), d); }
    unsigned system(int i) const { return sm::SystemGrouping::get(model.staffWord(i)); }
    unsigned block(int i) const { return sm::BlockGrouping::get(model.staffWord(i)); }
    bool brace(int i) const { return sm::Brace::get(model.staffWord(i)) != 0; }
    // The height of the middle of staff i as the miniature draws it.
    int middleOf(int i) const {
        const RulerStaff s = ruler.staves()[static_cast<std::size_t>(i)];
        return (s.top + s.bottom) / 2;
    }
};

TEST_F(StaffRulerTest, StavesHangFromThePageTopByTheirDistancesAndSizes) {
    const std::vector<RulerStaff> staves = ruler.staves();
    ASSERT_EQ(staves.size(), 7U);
    EXPECT_EQ(staves[0].top, 2970 - 200);
    EXPECT_EQ(staves[0].bottom, 2970 - 200 - 100);  // five lines, one staff space each
    EXPECT_EQ(staves[1].top, 2970 - 400);
    EXPECT_EQ(staves[0].left, 0);
    EXPECT_EQ(staves[0].right, 1900);
    EXPECT_EQ(ruler.bottomMargin(), 2970 - 1400 - 100);
    RulerSheet sheet;
    sheet.topOffset = 100;
    StaffRuler shifted(model, sheet);
    model.setIndentMm(15);
    sm::Indented::set(model.staffWord(0), 1);
    sm::Small::set(model.staffWord(1), 1);
    const std::vector<RulerStaff> moved = shifted.staves();
    EXPECT_EQ(moved[0].top, 2970 - 100 - 200);
    EXPECT_EQ(moved[0].left, 150);
    EXPECT_EQ(moved[0].right, 150 + 1900);
    EXPECT_EQ(moved[1].top, moved[0].top - 10 * 16);  // a small staff space is 16/20 of 20
    EXPECT_EQ(moved[1].bottom, moved[1].top - 5 * 16);
}

TEST_F(StaffRulerTest, APressSelectsTheStaffUnderThePointerOnly) {
    EXPECT_EQ(ruler.staffAt(middleOf(3)), 3);
    EXPECT_EQ(ruler.staffAt(ruler.staves()[0].bottom - 1), std::nullopt);  // between staves
    EXPECT_EQ(ruler.press(ruler.staves()[0].bottom - 1), RulerResult::Unchanged);
    EXPECT_EQ(ruler.selected(), std::nullopt);
    EXPECT_EQ(ruler.press(middleOf(2)), RulerResult::Changed);
    EXPECT_EQ(ruler.selected(), 2);
}

TEST_F(StaffRulerTest, IsolatedStaffMovesWithinItsRoomAndItsTenBits) {
    setDistance(2, 0);
    EXPECT_EQ(ruler.moveUp(2), RulerResult::Unchanged);
    EXPECT_EQ(distance(2), 0U);
    EXPECT_EQ(distance(3), 10U);
    setDistance(2, 0);
    setDistance(3, 4);
    EXPECT_EQ(ruler.moveDown(2), RulerResult::Unchanged);
    EXPECT_EQ(distance(2), 0U);
    setDistance(3, 5);
    EXPECT_EQ(ruler.moveDown(2), RulerResult::Changed);
    EXPECT_EQ(distance(2), 1U);
    EXPECT_EQ(distance(3), 4U);
    EXPECT_EQ(ruler.moveDown(6), RulerResult::Changed);  // the last staff has no neighbour to squeeze
    EXPECT_EQ(distance(6), 11U);
    setDistance(6, 1023);
    EXPECT_EQ(ruler.moveDown(6), RulerResult::Unchanged);
    EXPECT_EQ(distance(6), 1023U);
}

TEST_F(StaffRulerTest, IsolatedStaffLeavesTheStavesBelowWhereABlockMovesThemAlong) {
    EXPECT_EQ(ruler.moveUp(2), RulerResult::Changed);
    EXPECT_EQ(distance(2), 9U);
    EXPECT_EQ(distance(3), 11U);
    ruler.mode = RulerMode::StaffBlock;
    EXPECT_EQ(ruler.moveUp(2), RulerResult::Changed);
    EXPECT_EQ(distance(2), 8U);
    EXPECT_EQ(distance(3), 11U);
    setDistance(3, 1);
    EXPECT_EQ(ruler.moveDown(2), RulerResult::Changed);  // a block needs no room from the next staff
    EXPECT_EQ(distance(3), 1U);
}

TEST_F(StaffRulerTest, DraggingMovesOneInterlinePerStaffSpaceOfPointerTravel) {
    const int y = middleOf(2);
    ruler.press(y);
    EXPECT_EQ(ruler.drag(y + 20), RulerResult::Unchanged);  // exactly one staff space is not more than one
    EXPECT_EQ(ruler.drag(y + 21), RulerResult::Changed);
    EXPECT_EQ(distance(2), 9U);
    EXPECT_EQ(ruler.drag(y + 30), RulerResult::Unchanged);  // the last drag position followed the pointer
    EXPECT_EQ(ruler.drag(y - 5), RulerResult::Changed);
    EXPECT_EQ(distance(2), 10U);
    ruler.mode = RulerMode::Grey;
    EXPECT_EQ(ruler.drag(y + 200), RulerResult::Unchanged);  // only the two move modes drag
}

TEST_F(StaffRulerTest, GroupingStavesTwoToFourAsASystemAndStaffThreeAlone) {
    ruler.mode = RulerMode::Systems;
    ruler.pressStaff(1);
    EXPECT_EQ(ruler.groupStart(), 1);
    for (int i = 1; i < 7; ++i) EXPECT_EQ(system(i), 0U) << i;  // cleared from the start down
    EXPECT_EQ(system(0), 3U);
    ruler.pressStaff(3);
    EXPECT_EQ(system(1), 1U);
    EXPECT_EQ(system(2), 0U);
    EXPECT_EQ(system(3), 2U);
    EXPECT_EQ(ruler.groupStart(), std::nullopt);

    ruler.pressStaff(2);
    ruler.pressStaff(2);
    EXPECT_EQ(system(2), 3U);
    EXPECT_EQ(system(3), 0U);  // after a system the staves below lose their groupings
}

TEST_F(StaffRulerTest, APressAboveTheGroupStartIsRefusedUnlessTheModeChanged) {
    ruler.mode = RulerMode::Blocks;
    ruler.pressStaff(3);
    EXPECT_EQ(ruler.pressStaff(1), RulerResult::Refused);
    EXPECT_EQ(ruler.groupStart(), 3);
    EXPECT_EQ(ruler.pressStaff(4), RulerResult::Changed);
    EXPECT_EQ(block(3), 1U);
    EXPECT_EQ(block(4), 2U);
    ruler.mode = RulerMode::Systems;
    ruler.pressStaff(4);
    ruler.mode = RulerMode::Braces;
    EXPECT_EQ(ruler.pressStaff(2), RulerResult::Changed);  // a new start, not a refusal
    EXPECT_EQ(ruler.groupStart(), 2);
}

TEST_F(StaffRulerTest, BracesSetTheirBitAndBlocksOrSingleBracesClearIt) {
    ruler.mode = RulerMode::Braces;
    ruler.pressStaff(0);
    ruler.pressStaff(1);
    EXPECT_EQ(block(0), 1U);
    EXPECT_EQ(block(1), 2U);
    EXPECT_TRUE(brace(0) && brace(1));
    EXPECT_EQ(system(0), 3U);  // a brace leaves the systems alone

    ruler.pressStaff(1);
    ruler.pressStaff(1);
    EXPECT_EQ(block(1), 3U);
    EXPECT_FALSE(brace(1));

    ruler.mode = RulerMode::Blocks;
    ruler.pressStaff(0);
    EXPECT_FALSE(brace(0));
    ruler.pressStaff(2);
    EXPECT_FALSE(brace(0) || brace(1) || brace(2));
}

TEST_F(StaffRulerTest, AttributeModesToggleAndTheStatusLineNamesThem) {
    ruler.mode = RulerMode::Small;
    ruler.pressStaff(1);
    ruler.mode = RulerMode::Grey;
    ruler.pressStaff(1);
    ruler.mode = RulerMode::Accessory;
    ruler.pressStaff(1);
    EXPECT_EQ(ruler.statusText(), "N°2 (5 lignes), Petite, Grisée, Accessoire");
    ruler.pressStaff(1);
    ruler.mode = RulerMode::Invisible;
    ruler.pressStaff(1);
    ruler.mode = RulerMode::Lines;
    ruler.linesValue = 1;
    ruler.pressStaff(1);
    EXPECT_EQ(ruler.statusText(), "N°2 (1 lignes), Petite, Invisible, Grisée");
    ruler.mode = RulerMode::Indentation;
    ruler.pressStaff(1);
    EXPECT_EQ(sm::Indented::get(model.staffWord(1)), 1U);
}

TEST_F(StaffRulerTest, KeysSelectPressAndMove) {
    EXPECT_EQ(ruler.statusText(), "");
    ruler.key(RulerKey::Down);
    EXPECT_EQ(ruler.selected(), 0);
    ruler.key(RulerKey::C);
    ruler.key(RulerKey::Num3);
    EXPECT_EQ(ruler.selected(), 2);
    ruler.key(RulerKey::Up);
    ruler.key(RulerKey::V);
    ruler.key(RulerKey::Num9);
    EXPECT_EQ(ruler.selected(), 0);  // stays on the first staff

    ruler.key(RulerKey::M);
    EXPECT_EQ(distance(0), 9U);
    ruler.key(RulerKey::NumDecimal);
    EXPECT_EQ(distance(0), 10U);
    ruler.mode = RulerMode::Grey;
    ruler.key(RulerKey::N);
    EXPECT_EQ(distance(0), 10U);  // no moves outside the move modes
    ruler.key(RulerKey::Space);
    EXPECT_EQ(sm::Grey::get(model.staffWord(0)), 1U);
    ruler.key(RulerKey::NumPlus);
    EXPECT_EQ(sm::Grey::get(model.staffWord(0)), 0U);
}

TEST_F(StaffRulerTest, GroupingLinesRunFromTheFirstStaffTopToTheLastStaffBottom) {
    for (int i = 0; i < 7; ++i) sm::SystemGrouping::set(model.staffWord(i), 0);
    sm::SystemGrouping::set(model.staffWord(0), 1);
    sm::SystemGrouping::set(model.staffWord(2), 2);
    sm::SystemGrouping::set(model.staffWord(3), 3);
    sm::SystemGrouping::set(model.staffWord(5), 1);  // left open: ends with the page
    sm::BlockGrouping::set(model.staffWord(0), 1);
    sm::BlockGrouping::set(model.staffWord(1), 2);
    sm::Brace::set(model.staffWord(0), 1);
    const std::vector<RulerStaff> staves = ruler.staves();
    const std::vector<RulerGroupLine> lines = ruler.groupLines();
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[0].top, staves[0].top);
    EXPECT_EQ(lines[0].bottom, staves[2].bottom);
    EXPECT_EQ(lines[0].x, 0);
    EXPECT_EQ(lines[1].top, staves[3].top);
    EXPECT_EQ(lines[1].bottom, staves[3].bottom);
    EXPECT_EQ(lines[2].bottom, staves[6].bottom);
    EXPECT_EQ(lines[3].x, -20);  // two half-spaces further left
    EXPECT_EQ(lines[3].bottom, staves[1].bottom);
    EXPECT_TRUE(lines[3].brace);
    EXPECT_FALSE(lines[0].brace);
}

}  // namespace
}  // namespace notavera
