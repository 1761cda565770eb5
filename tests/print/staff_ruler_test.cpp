// The staff ruler: the miniature of the staff layout model, its presses, drags and grouping modes.
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
    void setDistance(int i, unsigned d) { sm::Distance::set(model.staffWord(i), d); }
    // One field of every staff's word, e.g. "10 10 9 11 10 10 10" for the distances.
    template <class Field>
    std::string each() const {
        std::string out;
        for (int i = 0; i < 7; ++i) out += (i ? " " : "") + std::to_string(Field::get(model.staffWord(i)));
        return out;
    }
    std::string distances() const { return each<sm::Distance>(); }
    // Per staff its system grouping, block grouping, and "b" for a brace.
    std::string groups() const {
        std::string out;
        for (int i = 0; i < 7; ++i) {
            const std::uint32_t w = model.staffWord(i);
            out += (i ? " " : "") + std::to_string(sm::SystemGrouping::get(w)) +
                   std::to_string(sm::BlockGrouping::get(w)) + (sm::Brace::get(w) ? "b" : "");
        }
        return out;
    }
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
    EXPECT_EQ(staves[0].right, 1900);
    EXPECT_EQ(ruler.bottomMargin(), 2970 - 1400 - 100);
    RulerSheet sheet;
    sheet.topOffset = 100;
    StaffRuler shifted(model, sheet);
    model.setIndentMm(15);
    sm::Indented::set(model.staffWord(0), 1);
    sm::Small::set(model.staffWord(1), 1);
    const std::vector<RulerStaff> moved = shifted.staves();
    EXPECT_EQ(std::tuple(moved[0].top, moved[0].left, moved[0].right), std::tuple(2970 - 100 - 200, 150, 150 + 1900));
    EXPECT_EQ(moved[1].top, moved[0].top - 10 * 16);  // a small staff space is 16/20 of 20
    EXPECT_EQ(moved[1].bottom, moved[1].top - 5 * 16);
}

TEST_F(StaffRulerTest, IsolatedStavesMoveWithinTheirRoomAndBlocksMoveTheStavesBelowAlong) {
    EXPECT_EQ(ruler.moveUp(2), RulerResult::Changed);
    EXPECT_EQ(distances(), "10 10 9 11 10 10 10");  // the staves below stay where they are
    ruler.mode = RulerMode::StaffBlock;
    EXPECT_EQ(ruler.moveUp(2), RulerResult::Changed);
    EXPECT_EQ(distances(), "10 10 8 11 10 10 10");
    setDistance(3, 1);
    EXPECT_EQ(ruler.moveDown(2), RulerResult::Changed);  // a block needs no room from the next staff
    EXPECT_EQ(distances(), "10 10 9 1 10 10 10");
    ruler.mode = RulerMode::IsolatedStaff;
    setDistance(2, 0);
    setDistance(3, 4);
    EXPECT_EQ(ruler.moveUp(2), RulerResult::Unchanged);  // nothing above distance 0
    EXPECT_EQ(ruler.moveDown(2), RulerResult::Unchanged);  // the next staff keeps more than four interlines
    setDistance(3, 5);
    EXPECT_EQ(ruler.moveDown(2), RulerResult::Changed);
    EXPECT_EQ(ruler.moveDown(6), RulerResult::Changed);  // the last staff has no neighbour to squeeze
    EXPECT_EQ(distances(), "10 10 1 4 10 10 11");
    setDistance(6, 1023);
    EXPECT_EQ(ruler.moveDown(6), RulerResult::Unchanged);  // ten bits
}

TEST_F(StaffRulerTest, DraggingMovesOneInterlinePerStaffSpaceOfPointerTravel) {
    const int y = middleOf(2);
    ruler.press(y);
    EXPECT_EQ(ruler.drag(y + 20), RulerResult::Unchanged);  // exactly one staff space is not more than one
    EXPECT_EQ(ruler.drag(y + 21), RulerResult::Changed);
    EXPECT_EQ(distances(), "10 10 9 11 10 10 10");
    EXPECT_EQ(ruler.drag(y + 30), RulerResult::Unchanged);  // the last drag position followed the pointer
    EXPECT_EQ(ruler.drag(y - 5), RulerResult::Changed);
    EXPECT_EQ(distances(), "10 10 10 10 10 10 10");
    ruler.mode = RulerMode::Grey;
    EXPECT_EQ(ruler.drag(y + 200), RulerResult::Unchanged);  // only the two move modes drag
}

TEST_F(StaffRulerTest, SystemsBlocksAndBracesAreGroupedFromAStartToAnEnd) {
    ruler.mode = RulerMode::Systems;
    ruler.pressStaff(1);
    EXPECT_EQ(ruler.groupStart(), 1);
    EXPECT_EQ(groups(), "30 00 00 00 00 00 00");  // cleared from the start down
    ruler.pressStaff(3);
    EXPECT_EQ(ruler.groupStart(), std::nullopt);
    ruler.pressStaff(4);
    ruler.pressStaff(4);  // a staff alone
    EXPECT_EQ(groups(), "30 10 00 20 30 00 00");
    ruler.pressStaff(2);
    ruler.pressStaff(2);
    EXPECT_EQ(groups(), "30 10 30 00 00 00 00");  // after a system the staves below lose their groupings
    ruler.mode = RulerMode::Braces;
    ruler.pressStaff(0);
    ruler.pressStaff(1);
    ruler.pressStaff(4);
    ruler.pressStaff(4);  // a single brace is a block without its bit
    EXPECT_EQ(groups(), "31b 12b 30 00 03 00 00");  // a brace leaves the systems alone
    ruler.mode = RulerMode::Blocks;
    ruler.pressStaff(5);
    EXPECT_EQ(ruler.pressStaff(1), RulerResult::Refused);  // above the start
    EXPECT_EQ(ruler.groupStart(), 5);
    ruler.mode = RulerMode::Braces;
    EXPECT_EQ(ruler.pressStaff(1), RulerResult::Changed);  // another mode begins again
    EXPECT_EQ(ruler.groupStart(), 1);
    ruler.mode = RulerMode::Blocks;
    ruler.pressStaff(0);
    ruler.pressStaff(1);
    EXPECT_EQ(groups(), "31 12 30 00 00 00 00");  // blocks clear the brace bits, and the groupings below
}

TEST_F(StaffRulerTest, GroupingLinesRunFromTheFirstStaffTopToTheLastStaffBottom) {
    const unsigned systems[] = {1, 0, 2, 3, 0, 1, 0};  // the last system is left open: it ends with the page
    for (int i = 0; i < 7; ++i) sm::SystemGrouping::set(model.staffWord(i), systems[i]);
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
    EXPECT_TRUE(lines[3].brace && !lines[0].brace);
}

}  // namespace
}  // namespace notavera
