// The page pass: staff places and lines (line counts, small, grey and invisible staves), the order in which
// elements reach the element drawer, the state each staff hands over, the mask pages and their suppression, the
// sheet, the page-mark line and the continuous view.
#include "render/page_pass.h"

#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"
#include "render/page_sheet.h"
#include "render/page_staves.h"
#include "score/staff_layout_model.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

using test::CallsOf;
using test::ElementSpy;
using test::HandedElement;
using test::NewDocument;
using test::NoteAt;
using test::SignAt;

// The default layout: a 2 mm staff space, the first staff ten spaces under the usable top, the others 13 apart.
constexpr int FirstTopLine = 2970 - 40 - 200;
constexpr int StaffPitch = 13 * 20;

int TopLine(int staff) { return FirstTopLine - staff * StaffPitch; }

StaffRecord& Staff(ScoreDocument& doc, int i) { return doc.pages[0].staves[static_cast<std::size_t>(i)]; }

// The y of every horizontal line the pass drew, in order.
std::vector<int> LineHeights(const nlohmann::json& calls) {
    std::vector<int> ys;
    for (const auto& c : CallsOf(calls, "line")) {
        if (c["y1"] == c["y2"]) ys.push_back(c["y1"].get<int>());
    }
    return ys;
}

struct PagePassTest : ::testing::Test {
    ScoreDocument doc = NewDocument();
    DrawingContext dc;
    RecordingCanvas canvas;
    ElementSpy spy;

    void draw(PageDrawOptions options = {}) {
        dc.canvas = &canvas;
        options.drawElement = spy.drawer();
        DrawPage(dc, doc, options);
    }
};

TEST_F(PagePassTest, PlacesEveryStaffAndDrawsItsLinesAcrossTheLine) {
    draw();
    const auto lines = CallsOf(canvas.calls(), "line");
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines[0]["x1"], 0);
    EXPECT_EQ(lines[0]["x2"], 1900);
    EXPECT_EQ(lines[0]["y1"], TopLine(0));
    EXPECT_EQ(lines[4]["y1"], TopLine(0) - 80);
    EXPECT_EQ(lines[49]["y1"], TopLine(9) - 80);
    EXPECT_EQ(lines[0]["pen"]["width"], 1);
    EXPECT_EQ(lines[0]["pen"]["ends"], "flat");
    ASSERT_EQ(dc.staves.size(), 10u);
    EXPECT_DOUBLE_EQ(dc.staves[3].referenceY, TopLine(3) + 80);
    EXPECT_DOUBLE_EQ(Staff(doc, 3).y, TopLine(3) + 80);
}

TEST_F(PagePassTest, InvisibleStaffKeepsItsPlaceAndItsElementsButHasNoLines) {
    Staff(doc, 3).key().setInvisible(true);
    Staff(doc, 3).elements.push_back(NoteAt(300));
    draw();
    const std::vector<int> ys = LineHeights(canvas.calls());
    EXPECT_EQ(ys.size(), 45u);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(std::count(ys.begin(), ys.end(), TopLine(3) - 20 * k), 0) << k;
    ASSERT_EQ(spy.handed().size(), 1u);
    EXPECT_EQ(spy.handed()[0].staff, 3);
    EXPECT_DOUBLE_EQ(spy.handed()[0].referenceY, TopLine(3) + 80);
}

TEST_F(PagePassTest, LineCountsSmallAndGreyStaves) {
    Staff(doc, 0).lines().setLineCount(1);
    Staff(doc, 1).key().setSmall(true);
    Staff(doc, 2).key().setGrey(true);
    Staff(doc, 3).lines().setLineCount(0);
    draw();
    const auto lines = CallsOf(canvas.calls(), "line");
    ASSERT_EQ(lines.size(), 1u + 5 + 5 + 30);
    // One line is the middle line of the five-line staff the elements count from.
    EXPECT_EQ(lines[0]["y1"], TopLine(0));
    EXPECT_DOUBLE_EQ(dc.staves[0].referenceY, TopLine(0) + 80 + 40);
    // A small staff counts its distance and its lines in its own spaces of 16.
    const int smallTop = TopLine(0) - 13 * 16;
    EXPECT_EQ(lines[1]["y1"], smallTop);
    EXPECT_EQ(lines[5]["y1"], smallTop - 64);
    EXPECT_EQ(lines[6]["pen"]["colour"], GreyStaffColour);
    EXPECT_EQ(lines[1]["pen"]["colour"], 0);
}

TEST_F(PagePassTest, StaffLinesTakeTheFormatsThicknessAndTheZoom) {
    doc.header.pageFormat().bytes()[1] = 4;
    ApplyZoom(dc, {1, 2});
    draw();
    const auto lines = CallsOf(canvas.calls(), "line");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0]["pen"]["width"], 4);
    EXPECT_EQ(lines[0]["y1"], TopLine(0) / 2);
    EXPECT_EQ(lines[0]["x2"], 950);
}

TEST_F(PagePassTest, ClefsBarsAndDrawingsComeFirstThenTheRestWithTheCurrentStaffLast) {
    auto& s0 = Staff(doc, 0).elements;
    s0 = {SignAt(SignType::Clef, 40, 1), NoteAt(60), SignAt(SignType::Bar, 100, '|'), SignAt(SignType::Bar, 120, 12),
          SignAt(SignType::Drawing, 140)};
    Staff(doc, 1).elements = {SignAt(SignType::Clef, 40, 3), NoteAt(80)};
    doc.currentStaff = 0;
    draw();
    std::vector<std::pair<int, int>> order;
    for (const HandedElement& h : spy.handed()) order.emplace_back(h.staff, h.index);
    const std::vector<std::pair<int, int>> expected{{0, 0}, {0, 2}, {0, 4}, {1, 0}, {1, 1}, {0, 1}, {0, 3}};
    EXPECT_EQ(order, expected);
}

TEST_F(PagePassTest, WithoutACanvasOnlyTheLayoutStateIsRebuilt) {
    Staff(doc, 0).elements = {SignAt(SignType::Clef, 40, 1), NoteAt(60), SignAt(SignType::Drawing, 140)};
    PageDrawOptions options;
    options.drawElement = spy.drawer();
    DrawPage(dc, doc, options);
    ASSERT_EQ(spy.handed().size(), 2u);
    EXPECT_EQ(spy.handed()[0].index, 0);
    EXPECT_EQ(spy.handed()[1].index, 2);
    EXPECT_DOUBLE_EQ(Staff(doc, 9).y, TopLine(9) + 80);
}

TEST_F(PagePassTest, EachStaffHandsOverItsSizeGlyphSetAndColourAndThePassRestoresTheState) {
    Staff(doc, 1).key().setSmall(true);
    Staff(doc, 1).key().setGrey(true);
    Staff(doc, 1).key().setOldNotation(true);
    Staff(doc, 0).elements = {NoteAt(60)};
    Staff(doc, 1).elements = {NoteAt(60)};
    dc.draw.drawColour = RgbColour(1, 2, 3);
    dc.draw.showHidden = true;
    draw();
    ASSERT_EQ(spy.handed().size(), 2u);
    const HandedElement& grey = spy.handed()[0].staff == 1 ? spy.handed()[0] : spy.handed()[1];
    const HandedElement& plain = spy.handed()[0].staff == 0 ? spy.handed()[0] : spy.handed()[1];
    EXPECT_TRUE(grey.small);
    EXPECT_TRUE(grey.alternate);
    EXPECT_EQ(grey.colour, GreyStaffColour);
    EXPECT_FALSE(plain.small);
    EXPECT_FALSE(plain.alternate);
    EXPECT_EQ(plain.colour, 0u);
    EXPECT_EQ(dc.draw.drawColour, RgbColour(1, 2, 3));
    EXPECT_TRUE(dc.draw.showHidden);
    EXPECT_FALSE(dc.draw.isSmallStaff);
}

// An erasing pass draws every staff's elements in the erasing colour, a grey staff's too.
TEST_F(PagePassTest, AnErasingPassKeepsItsColourOnEveryStaff) {
    Staff(doc, 1).key().setGrey(true);
    Staff(doc, 0).elements = {NoteAt(60)};
    Staff(doc, 1).elements = {NoteAt(60)};
    dc.erasing = true;
    dc.draw.drawColour = RgbColour(255, 255, 255);
    draw();
    ASSERT_EQ(spy.handed().size(), 2u);
    for (const HandedElement& h : spy.handed()) EXPECT_EQ(h.colour, RgbColour(255, 255, 255)) << h.staff;
}

TEST_F(PagePassTest, EachStaffBeginsItsLineWithItsOwnKeyReadInItsClef) {
    Staff(doc, 2).key().setKeyKind(KeyKind::Sharps);
    Staff(doc, 2).key().setKeyCount(2);
    Staff(doc, 2).elements = {SignAt(SignType::Clef, 40, 1)};
    Staff(doc, 5).elements = {SignAt(SignType::Clef, 40, 1)};
    dc.canvas = &canvas;
    DrawPage(dc, doc, {});
    std::vector<nlohmann::json> sharps;
    for (const auto& g : CallsOf(canvas.calls(), "glyph")) {
        if (g["code"] == 211) sharps.push_back(g);
    }
    // Only the staff with a key writes one: F on the top line, then C in the third space, after the clef.
    ASSERT_EQ(sharps.size(), 2u);
    EXPECT_EQ(sharps[0]["x"], 8 * 10);
    EXPECT_EQ(sharps[0]["y"], TopLine(2));
    EXPECT_GT(sharps[1]["x"], sharps[0]["x"]);
    EXPECT_EQ(sharps[1]["y"], TopLine(2) - 30);
}

TEST_F(PagePassTest, TheLineStartKeyIsDrawnBeforeAnyNoteAndWithoutACanvasNothingIsWritten) {
    Staff(doc, 0).key().setKeyKind(KeyKind::Flats);
    Staff(doc, 0).key().setKeyCount(1);
    Staff(doc, 0).elements = {SignAt(SignType::Clef, 40, 1), NoteAt(200)};
    dc.canvas = &canvas;
    DrawPage(dc, doc, {});
    const auto glyphs = CallsOf(canvas.calls(), "glyph");
    ASSERT_GE(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[0]["code"], 207);  // the clef
    EXPECT_EQ(glyphs[1]["code"], 213);  // B flat on the middle line
    EXPECT_EQ(glyphs[1]["y"], TopLine(0) - 40);
    dc.canvas = nullptr;
    canvas.clear();
    DrawPage(dc, doc, {});
    EXPECT_TRUE(canvas.calls().empty());
}

// A mask page laid out by `model`, with a note at x on staff `staff`.
std::unique_ptr<PageRecord> MaskPage(const StaffLayoutModel& model, int staff, int x) {
    auto mask = std::make_unique<PageRecord>();
    ApplyStaffLayoutModel(model, *mask);
    mask->number = 0;
    mask->staves[static_cast<std::size_t>(staff)].elements.push_back(NoteAt(x));
    return mask;
}

struct MaskCase {
    bool withoutFixed;
    bool withoutVariable;
    std::vector<int> xs;  // of the elements handed over, in order
};

class MaskSuppression : public PagePassTest, public ::testing::WithParamInterface<MaskCase> {};

TEST_P(MaskSuppression, MasksAreDrawnUnderThePageUnlessThePageSuppressesThem) {
    doc.optional.fixedMask = MaskPage(doc.layoutModel, 0, 1);
    doc.optional.variableMask = MaskPage(doc.layoutModel, 1, 2);
    Staff(doc, 0).elements = {NoteAt(3)};
    doc.pages[0].layoutWord().setWithoutFixedMask(GetParam().withoutFixed);
    doc.pages[0].layoutWord().setWithoutVariableMask(GetParam().withoutVariable);
    draw();
    std::vector<int> xs;
    for (const HandedElement& h : spy.handed()) xs.push_back(h.x);
    EXPECT_EQ(xs, GetParam().xs);
}

INSTANTIATE_TEST_SUITE_P(PageLayoutBits, MaskSuppression,
                         ::testing::Values(MaskCase{false, false, {1, 2, 3}}, MaskCase{true, false, {2, 3}},
                                           MaskCase{false, true, {1, 3}}, MaskCase{true, true, {3}}));

TEST_F(PagePassTest, TheFixedMaskTakesThePagesPlacesAndTheVariableMaskItsOwn) {
    StaffLayoutModel wide = StaffLayoutModel::makeDefault();
    wide.setStaffCount(12);
    for (int i = 0; i < 12; ++i) {
        staff_model::Distance::set(wide.staffWord(i), 20);
        staff_model::LineCount::set(wide.staffWord(i), 5);
    }
    doc.optional.fixedMask = MaskPage(wide, 0, 1);
    doc.optional.variableMask = MaskPage(wide, 0, 2);
    for (int i = 1; i < 12; ++i) doc.optional.variableMask->staves[static_cast<std::size_t>(i)].elements = {NoteAt(2)};
    Staff(doc, 0).elements = {NoteAt(3)};
    draw();
    ASSERT_EQ(spy.handed().size(), 1u + 10 + 1);  // the variable mask's last two staves fall off the page's ten
    EXPECT_DOUBLE_EQ(spy.handed()[0].referenceY, TopLine(0) + 80);
    EXPECT_DOUBLE_EQ(spy.handed()[1].referenceY, 2970 - 40 - 400 + 80);
    EXPECT_DOUBLE_EQ(spy.handed()[10].referenceY, 2970 - 40 - 10 * 400 + 80);
    EXPECT_EQ(spy.handed()[11].x, 3);
    EXPECT_DOUBLE_EQ(spy.handed()[11].referenceY, TopLine(0) + 80);
}

TEST_F(PagePassTest, NoMaskWhileErasingNorUnderAMaskPage) {
    doc.optional.fixedMask = MaskPage(doc.layoutModel, 0, 1);
    dc.erasing = true;
    draw();
    EXPECT_TRUE(spy.handed().empty());
    dc.erasing = false;
    doc.pages[0].number = 0;
    doc.currentPage = 0;
    draw();
    EXPECT_TRUE(spy.handed().empty());
}

TEST(PagePassSheet, TheScreenFillsTheSheetWhiteOrTinted) {
    for (bool tinted : {false, true}) {
        ScoreDocument doc = NewDocument();
        DrawingContext dc;
        RecordingCanvas screen(CanvasKind::Screen);
        dc.canvas = &screen;
        PageDrawOptions options;
        options.tintedSheet = tinted;
        DrawPage(dc, doc, options);
        const auto rects = CallsOf(screen.calls(), "rect");
        ASSERT_EQ(rects.size(), 1u);
        EXPECT_EQ(rects[0]["fill"], tinted ? RgbColour(255, 130, 68) : RgbColour(255, 255, 255));
        // The dead left margin of 9 mm lies left of the lines.
        EXPECT_EQ(rects[0]["left"], -90);
        EXPECT_EQ(rects[0]["right"], 2010);
        EXPECT_EQ(rects[0]["bottom"], 0);
        EXPECT_EQ(rects[0]["top"], 2970);
    }
}

TEST_F(PagePassTest, FilesAreNotFilledAndTheFrameStandsOutRightAndBelow) {
    PageDrawOptions options;
    options.sheetFrame = true;
    draw(options);
    const auto rects = CallsOf(canvas.calls(), "rect");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(rects[0]["fill"].is_null());
    EXPECT_EQ(rects[0]["left"], -90);
    EXPECT_EQ(rects[0]["bottom"], -50);
    EXPECT_EQ(rects[0]["right"], 2060);
    EXPECT_EQ(rects[0]["top"], 2970);
}

TEST_F(PagePassTest, EvenPagesTakeTheirOwnDeadMargin) {
    doc = NewDocument(2);
    doc.header.pageFormat().bytes()[20] = 20;
    doc.currentPage = 2;
    EXPECT_EQ(SheetBox(doc, 1).left, -90);
    EXPECT_EQ(SheetBox(doc, 2).left, -200);
    EXPECT_EQ(SheetBox(doc, 2).right, 1900);
}

TEST_F(PagePassTest, ThePageMarkLineCrossesTheSheetInBlue) {
    PageDrawOptions options;
    options.pageMarkY = 1500;
    draw(options);
    const auto lines = CallsOf(canvas.calls(), "line");
    const auto mark = std::find_if(lines.begin(), lines.end(), [](const auto& l) { return l["y1"] == 1500; });
    ASSERT_NE(mark, lines.end());
    EXPECT_EQ((*mark)["pen"]["colour"], RgbColour(0, 0, 255));
    EXPECT_EQ((*mark)["x1"], -90);
    EXPECT_EQ((*mark)["x2"], 2010);
}

TEST_F(PagePassTest, TheContinuousViewShowsTheFirstSystemAcrossItsPagesWithSeparators) {
    doc.header.blockFlags() |= block_flag::cropMarks;
    Staff(doc, 0).elements = {NoteAt(60)};
    Staff(doc, 1).elements = {NoteAt(60)};
    PageDrawOptions options;
    options.continuous = EnterContinuousPages(1900, 1, 3);
    options.sheetFrame = true;
    draw(options);
    const auto lines = CallsOf(canvas.calls(), "line");
    ASSERT_EQ(lines.size(), 5u);  // no crop marks either
    EXPECT_EQ(lines[0]["x2"], 5700);
    const auto rects = CallsOf(canvas.calls(), "rect");
    ASSERT_EQ(rects.size(), 2u);  // the separators, no frame
    EXPECT_EQ(rects[0]["left"], 1900);
    EXPECT_EQ(rects[1]["left"], 3800);
    EXPECT_EQ(rects[0]["top"], TopLine(0));
    ASSERT_EQ(spy.handed().size(), 1u);
    EXPECT_EQ(spy.handed()[0].staff, 0);
}

TEST_F(PagePassTest, CropMarksStandOffTheSheetsCorners) {
    doc.header.blockFlags() |= block_flag::cropMarks;
    draw();
    std::vector<nlohmann::json> marks;
    for (const auto& l : CallsOf(canvas.calls(), "line")) {
        if (l["pen"]["width"] == 0) marks.push_back(l);
    }
    ASSERT_EQ(marks.size(), 8u);
    for (const auto& m : marks) {
        const bool outsideX = m["x1"].get<int>() < -90 || m["x1"].get<int>() > 2010;
        const bool outsideY = m["y1"].get<int>() < 0 || m["y1"].get<int>() > 2970;
        EXPECT_TRUE(outsideX || outsideY) << m;
    }
    const Box area = PageArea(doc, 1);
    EXPECT_EQ(area.left, -90 - CropMarkGap - CropMarkLength);
    EXPECT_EQ(area.top, 2970 + CropMarkGap + CropMarkLength);
}

}  // namespace
}  // namespace notavera
