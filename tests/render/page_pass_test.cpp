// The page pass and what it draws around the elements, running texts, the cursor and the metafile export.
#include "render/page_pass.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/headless/recording_canvas.h"
#include "score/staff_layout_model.h"
#include "render/insertion_cursor.h"
#include "render/metafile_export.h"
#include "render/page_sheet.h"
#include "render/page_staves.h"
#include "render/page_texts.h"
#include "render/primitives.h"
#include "render/staff_groupings.h"
#include "score/little_endian.h"
#include "score/new_document.h"
#include "support/page_fixtures.h"
#include "support/wmf_records.h"

namespace notavera {
namespace {

using nlohmann::json;
using Rows = std::vector<std::vector<int>>;

// The default layout: a 2 mm staff space, the first staff ten spaces under the usable top, the others 13 apart.
int TopLine(int staff) { return 2970 - 40 - 200 - staff * 13 * 20; }

using test::CallsOf;
using test::NewDocument;
using test::NoteAt;
using test::SignAt;

// The given fields of the recorded calls of one op, in order.
Rows RowsOf(const json& calls, const std::string& op, std::initializer_list<const char*> fields) {
    Rows out;
    for (const json& c : CallsOf(calls, op)) {
        out.emplace_back();
        for (const char* f : fields) out.back().push_back(c[f].get<int>());
    }
    return out;
}

// Page numbers, headers and footers as the document stores them.
struct BlockSettings {
    bool firstPage = false;
    int position = PositionCentre;
    int font = 1, style = 0, size = 0, distance = 2;
};

void Put(std::span<std::uint8_t> block, std::size_t at, const BlockSettings& s) {
    const int values[] = {s.firstPage ? 1 : 0, s.position, s.font, s.style, s.size, s.distance};
    for (std::size_t k = 0; k < 6; ++k) block[at + k] = static_cast<std::uint8_t>(values[k]);
}

void SetPagination(ScoreDocument& doc, int firstPageNumber, const BlockSettings& s) {
    std::array<std::uint8_t, 10> block{};
    le::putU32(block, 0, static_cast<std::uint32_t>(firstPageNumber - 1));
    Put(block, 4, s);
    doc.optional.pagination = block;
    doc.header.blockFlags() |= block_flag::pagination;
}

std::array<std::uint8_t, 206> TextBlock(const std::string& text, const BlockSettings& s) {
    std::array<std::uint8_t, 206> block{};
    std::memcpy(block.data(), text.data(), std::min<std::size_t>(text.size(), 199));
    Put(block, 200, s);
    return block;
}

std::vector<std::string> TextsOf(const ScoreDocument& doc, int page) {
    std::vector<std::string> texts;
    for (const RunningText& t : RunningTextsOfPage(doc, page, 20)) texts.push_back(t.text);
    return texts;
}

// One element the pass handed to the drawer, with the state it was handed in.
struct Handed {
    int staff, index, x;
    double referenceY;
    bool small, alternate;
    Colour colour;
    OutputMode mode;
};

struct PagePass : ::testing::Test {
    ScoreDocument doc = NewDocument();
    DrawingContext dc;
    RecordingCanvas canvas;
    std::vector<Handed> handed;

    ElementDrawer spy() {
        return [this](DrawingContext& c, const StaffRecord& staff, int index) {
            const auto s = static_cast<std::size_t>(staff.key().index());
            handed.push_back({static_cast<int>(s), index, staff.elements[static_cast<std::size_t>(index)].x,
                              s < c.staves.size() ? c.staves[s].referenceY : 0, c.draw.isSmallStaff,
                              c.draw.alternateGlyphs, c.draw.drawColour, c.outputMode});
        };
    }
    std::vector<Handed> draw(PageDrawOptions options = {}, bool spying = true) {
        dc.canvas = &canvas;
        handed.clear();
        canvas.clear();
        if (spying) options.drawElement = spy();
        DrawPage(dc, doc, options);
        return handed;
    }
    Rows rows(const std::string& op, std::initializer_list<const char*> fields) const {
        return RowsOf(canvas.calls(), op, fields);
    }
    StaffRecord& staff(int i) { return doc.pages[0].staves[static_cast<std::size_t>(i)]; }
    std::vector<int> xs() const {
        std::vector<int> v;
        for (const Handed& h : handed) v.push_back(h.x);
        return v;
    }
};

TEST_F(PagePass, PlacesEveryStaffAndDrawsItsLinesAcrossTheLineInTheFormatsThicknessAndTheZoom) {
    draw();
    Rows lines = rows("line", {"x1", "x2", "y1"});
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ((Rows{lines[0], lines[4], lines[49]}),
              (Rows{{0, 1900, TopLine(0)}, {0, 1900, TopLine(0) - 80}, {0, 1900, TopLine(9) - 80}}));
    EXPECT_EQ(CallsOf(canvas.calls(), "line")[0]["pen"],
              json::parse(R"({"width":1,"colour":0,"style":"solid","ends":"flat"})"));
    EXPECT_DOUBLE_EQ(dc.staves.at(3).referenceY, TopLine(3) + 80);
    EXPECT_DOUBLE_EQ(staff(3).y, TopLine(3) + 80);
    doc.header.pageFormat().bytes()[1] = 4;
    ApplyZoom(dc, {1, 2});
    draw();
    EXPECT_EQ(rows("line", {"x2", "y1"})[0], (std::vector{950, TopLine(0) / 2}));
    EXPECT_EQ(CallsOf(canvas.calls(), "line")[0]["pen"]["width"], 4);
}

TEST_F(PagePass, LineCountsSmallGreyAndInvisibleStaves) {
    staff(0).lines().setLineCount(1);  // the middle line of the five-line staff the elements count from
    staff(1).key().setSmall(true);     // counting its distance and lines in its own spaces of 16
    staff(2).key().setGrey(true);
    staff(3).lines().setLineCount(0);
    staff(4).key().setInvisible(true);  // keeping its place and its elements
    staff(4).elements.push_back(NoteAt(300));
    const auto h = draw();
    const auto lines = CallsOf(canvas.calls(), "line");
    ASSERT_EQ(lines.size(), 1u + 5 + 5 + 25);
    const int smallTop = TopLine(0) - 13 * 16;
    EXPECT_EQ((std::vector{lines[0]["y1"], lines[1]["y1"], lines[5]["y1"], lines[11]["y1"]}),
              (std::vector<json>{TopLine(0), smallTop, smallTop - 64, smallTop - 4 * 13 * 20}));
    EXPECT_DOUBLE_EQ(dc.staves[0].referenceY, TopLine(0) + 80 + 40);
    EXPECT_EQ(std::pair(lines[1]["pen"]["colour"], lines[6]["pen"]["colour"]),
              std::pair(json(0), json(GreyStaffColour)));
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(std::pair(h[0].staff, h[0].referenceY), std::pair(4, dc.staves[4].referenceY));
}

TEST_F(PagePass, ClefsBarsAndDrawingsComeFirstThenTheRestWithTheCurrentStaffLast) {
    staff(0).elements = {SignAt(SignType::Clef, 40, 1), NoteAt(60), SignAt(SignType::Bar, 100, '|'),
                         SignAt(SignType::Bar, 120, 12), SignAt(SignType::Drawing, 140)};
    staff(1).elements = {SignAt(SignType::Clef, 40, 3), NoteAt(80)};
    doc.currentStaff = 0;
    std::vector<std::pair<int, int>> order;
    for (const Handed& h : draw()) order.emplace_back(h.staff, h.index);
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{0, 0}, {0, 2}, {0, 4}, {1, 0}, {1, 1}, {0, 1}, {0, 3}}));
    handed.clear();  // without a canvas only the layout state is rebuilt
    dc.canvas = nullptr;
    PageDrawOptions options;
    options.drawElement = spy();
    DrawPage(dc, doc, options);
    EXPECT_EQ(handed.size(), 4u);
    EXPECT_DOUBLE_EQ(staff(9).y, TopLine(9) + 80);
}

TEST_F(PagePass, EachStaffHandsOverItsSizeGlyphSetAndColourAndThePassRestoresTheState) {
    staff(1).key().setSmall(true);
    staff(1).key().setGrey(true);
    staff(1).key().setOldNotation(true);
    staff(0).elements = staff(1).elements = {NoteAt(60)};
    dc.draw.drawColour = RgbColour(1, 2, 3);
    auto h = draw();
    ASSERT_EQ(h.size(), 2u);
    EXPECT_EQ(std::tuple(h[0].small, h[0].alternate, h[0].colour), std::tuple(true, true, GreyStaffColour));
    EXPECT_EQ(std::tuple(h[1].small, h[1].alternate, h[1].colour), std::tuple(false, false, Colour{0}));  // current
    EXPECT_EQ(dc.draw.drawColour, RgbColour(1, 2, 3));
    EXPECT_FALSE(dc.draw.isSmallStaff);
    dc.erasing = true;  // an erasing pass keeps its colour on every staff, a grey one's too
    dc.draw.drawColour = WhiteSheetColour;
    for (const Handed& e : draw()) EXPECT_EQ(e.colour, WhiteSheetColour) << e.staff;
}

TEST_F(PagePass, EachStaffBeginsItsLineWithItsKeyAfterItsClefBeforeAnyNote) {
    staff(0).key().setKeyKind(KeyKind::Flats);
    staff(0).key().setKeyCount(1);
    staff(0).elements = {SignAt(SignType::Clef, 40, 1), NoteAt(200)};
    draw({}, false);
    const Rows glyphs = rows("glyph", {"code", "x", "y"});
    // The flat 0.8 of a space after the G clef's ink, 2.684 spaces wide.
    EXPECT_EQ((Rows{glyphs.at(0), glyphs.at(1)}), (Rows{{207, 40 - 20, TopLine(0) - 60}, {213, 90, TopLine(0) - 40}}));
}

// A mask page laid out by `model`, with a note at x on staff `staff`.
std::unique_ptr<PageRecord> MaskPage(const StaffLayoutModel& model, int staff, int x) {
    auto mask = std::make_unique<PageRecord>();
    ApplyStaffLayoutModel(model, *mask);
    mask->number = 0;
    mask->staves[static_cast<std::size_t>(staff)].elements.push_back(NoteAt(x));
    return mask;
}

TEST_F(PagePass, MasksAreDrawnUnderThePageUnlessThePageSuppressesThemOrIsBeingErased) {
    doc.optional.fixedMask = MaskPage(doc.layoutModel, 0, 1);
    doc.optional.variableMask = MaskPage(doc.layoutModel, 1, 2);
    staff(0).elements = {NoteAt(3)};
    const auto shown = [this](bool withoutFixed, bool withoutVariable) {
        doc.pages[0].layoutWord().setWithoutFixedMask(withoutFixed);
        doc.pages[0].layoutWord().setWithoutVariableMask(withoutVariable);
        draw();
        return xs();
    };
    EXPECT_EQ(shown(false, false), (std::vector{1, 2, 3}));
    EXPECT_EQ(shown(true, false), (std::vector{2, 3}));
    EXPECT_EQ(shown(false, true), (std::vector{1, 3}));
    EXPECT_EQ(shown(true, true), (std::vector{3}));
    dc.erasing = true;
    EXPECT_EQ(shown(false, false), (std::vector{3}));
    dc.erasing = false;
    doc.pages[0].number = 0;  // a mask page is not drawn over itself
    doc.currentPage = 0;
    EXPECT_EQ(shown(false, false), (std::vector{3}));
}

TEST_F(PagePass, TheScreenFillsTheSheetFilesFrameItThePageMarkCrossesItAndCropMarksStandOff) {
    for (bool tinted : {false, true}) {  // the dead left margin of 9 mm lies left of the lines
        RecordingCanvas screen(CanvasKind::Screen);
        dc.canvas = &screen;
        PageDrawOptions options;
        options.tintedSheet = tinted;
        DrawPage(dc, doc, options);
        EXPECT_EQ(RowsOf(screen.calls(), "rect", {"left", "right", "bottom", "top", "fill"}),
                  (Rows{{-90, 2010, 0, 2970, static_cast<int>(tinted ? TintedSheetColour : WhiteSheetColour)}}));
    }
    PageDrawOptions framed;
    framed.sheetFrame = true;
    framed.pageMarkY = 1500;
    doc.header.blockFlags() |= block_flag::cropMarks;
    draw(framed);
    EXPECT_EQ(rows("rect", {"left", "right", "bottom", "top"}), (Rows{{-90, 2060, -50, 2970}}));
    EXPECT_TRUE(CallsOf(canvas.calls(), "rect")[0]["fill"].is_null());
    Rows marks;  // the page mark in blue, the crop marks standing off the sheet's corners
    for (const auto& l : CallsOf(canvas.calls(), "line"))
        if (l["pen"]["colour"] != 0 || l["pen"]["width"] == 0)
            marks.push_back({l["x1"].get<int>(), l["y1"].get<int>(), l["x2"].get<int>()});
    ASSERT_EQ(marks.size(), 9u);
    EXPECT_EQ((Rows{marks[0], marks[1], marks[2]}), (Rows{{-90, 1500, 2010},
                                                          {-90 - CropMarkGap, 0, -90 - CropMarkGap - CropMarkLength},
                                                          {-90, -CropMarkGap, -90}}));
    EXPECT_EQ(PageArea(doc, 1).left, -90 - CropMarkGap - CropMarkLength);
    doc = NewDocument(2);
    doc.header.pageFormat().bytes()[20] = 20;  // even pages: 2 cm
    EXPECT_EQ((std::vector{SheetBox(doc, 1).left, SheetBox(doc, 2).left, SheetBox(doc, 2).right}),
              (std::vector{-90, -200, 1900}));
}

TEST_F(PagePass, TheContinuousViewShowsTheFirstSystemAcrossItsPagesWithSeparatorsAndNoTexts) {
    doc.header.blockFlags() |= block_flag::cropMarks;
    SetPagination(doc, 1, {.firstPage = true});
    staff(0).elements = {NoteAt(60)};
    staff(1).elements = {NoteAt(60)};
    PageDrawOptions options;
    options.continuous = EnterContinuousPages(1900, 3);
    options.sheetFrame = true;
    doc.continuousLineEnd = options.continuous->lineEnd;
    doc.page()->layoutWord().setContinuousCount(3);
    const auto h = draw(options);
    const Rows lines = rows("line", {"x2"});
    ASSERT_EQ(lines.size(), 5u);  // no crop marks either
    EXPECT_EQ(lines[0][0], 5700);
    EXPECT_EQ(rows("rect", {"left", "top"}), (Rows{{1900, TopLine(0)}, {3800, TopLine(0)}}));  // no frame
    ASSERT_EQ(h.size(), 1u);
    EXPECT_EQ(h[0].staff, 0);
    EXPECT_TRUE(rows("text", {}).empty());
    draw();
    EXPECT_EQ(rows("text", {}).size(), 1u);
}

TEST(StaffGroups, MarksMakeGroups) {
    struct Case {
        std::vector<unsigned> marks;
        bool loneStaffIsGroup;
        std::vector<StaffGroup> groups;
    };
    const Case cases[] = {
        {{1, 0, 2}, false, {{0, 2}}},                 // opened, inside, closed
        {{3, 3}, false, {{0, 0}, {1, 1}}},            // groups of one
        {{1, 0, 1, 2}, false, {{0, 1}, {2, 3}}},      // a new opening closes the last
        {{1, 0, 3}, false, {{0, 1}, {2, 2}}},         // so does a group of one
        {{1, 0}, false, {{0, 1}}},                    // left open: closes at the end
        {{0, 2, 0}, false, {}},                       // stray marks outside any group
        {{0, 2, 0}, true, {{0, 0}, {1, 1}, {2, 2}}},  // ... are systems of their own
        {{}, true, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(FindStaffGroups(c.marks, c.loneStaffIsGroup), c.groups);
}

// Ten staves: a bracketed system of two, a braced system of two, six lone staves.
struct Groupings : PagePass {
    Groupings() {
        const unsigned marks[4] = {1, 2, 1, 2};
        for (int i = 0; i < 4; ++i) {
            staff(i).key().setSystemGrouping(marks[i]);
            staff(i).key().setBlockGrouping(marks[i]);
        }
        staff(2).lines().setBrace(true);
    }
    // The brace: the one polygon of more than four corners (bands are quadrilaterals).
    std::vector<json> braces() const {
        std::vector<json> out;
        for (const auto& p : CallsOf(canvas.calls(), "polygon"))
            if (p["points"].size() > 4) out.push_back(p);
        return out;
    }
    static constexpr int Top0 = 2730, Bottom1 = 2730 - 260 - 80, Top2 = 2730 - 520, Bottom3 = 2730 - 780 - 80;
};

TEST_F(Groupings, VisibleSystemsAreJoinedByALineWithABracketOrABraceLeftOfIt) {
    draw({}, false);
    // Lone staves get no line; the others one as thick as "Barres mesure".
    EXPECT_EQ(rows("vline", {"x", "y1", "y2", "width"}), (Rows{{0, Bottom1, Top0, 3}, {0, Bottom3, Top2, 3}}));
    // The bracket, half a staff space thick and clear of the line's half width, with its wings over the staves.
    const Rows bands = rows("band", {"x1", "x2", "y1", "t"});
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_LT(bands[0][1], -1);
    EXPECT_EQ(bands[0][1] - bands[0][0], 10);
    EXPECT_GT(bands[0][2] + bands[0][3], Top0);
    EXPECT_LT(bands[0][2], Bottom1);
    const auto wings = CallsOf(canvas.calls(), "glyphRun");
    ASSERT_EQ(wings.size(), 2u);
    EXPECT_EQ(std::pair(wings[0]["codePoints"][0], wings[1]["codePoints"][0]), std::pair(json(0xE003), json(0xE004)));
    EXPECT_EQ(wings[0]["x"], bands[0][0]);
    // The brace spans its staves left of the line.
    const auto brace = braces();
    ASSERT_EQ(brace.size(), 1u);
    EXPECT_EQ(brace[0]["fill"], 0);
    const json& tip = brace[0]["points"][0];
    EXPECT_TRUE(tip[0] < 0 && tip[0] >= -80) << tip;
    EXPECT_NEAR(tip[1].get<int>(), Top2, 2);
    for (int i : {1, 2, 3}) staff(i).key().setInvisible(true);  // invisible staves do not stretch a grouping
    draw({}, false);
    EXPECT_EQ(rows("vline", {"y1", "y2"}), (Rows{{Top0 - 80, Top0}}));
    EXPECT_TRUE(braces().empty());  // the brace has nothing left to hold
}

TEST(RunningTexts, FromPrintedPageTwoUnlessTheFirstIsIncludedNotForUnknownPositionsEmptyTextsOrClearedFlags) {
    ScoreDocument doc = NewDocument(2);
    doc.optional.pageHeader = TextBlock("Sonate", {});
    doc.optional.pageFooter = TextBlock("Pied", {.position = PositionCentre + PositionAtFoot});
    doc.header.blockFlags() |= block_flag::pageHeader | block_flag::pageFooter;
    EXPECT_TRUE(TextsOf(doc, 1).empty());
    EXPECT_EQ(TextsOf(doc, 2), (std::vector<std::string>{"Sonate", "Pied"}));  // without page numbering
    SetPagination(doc, 1, {.firstPage = false});
    EXPECT_TRUE(TextsOf(doc, 1).empty());
    // First number 5: page 1 prints 5, past the first, so it shows; the header stays off page 1.
    SetPagination(doc, 5, {.firstPage = false});
    EXPECT_EQ(TextsOf(doc, 1), std::vector<std::string>{"5"});
    EXPECT_EQ(TextsOf(doc, 2), (std::vector<std::string>{"6", "Sonate", "Pied"}));
    SetPagination(doc, 1, {.firstPage = true});
    doc.optional.pageHeader = TextBlock("Sonate", {.firstPage = true});
    EXPECT_EQ(TextsOf(doc, 1), (std::vector<std::string>{"1", "Sonate"}));
    SetPagination(doc, 20000, {});  // a damaged first number stays within 16000
    EXPECT_EQ(TextsOf(doc, 2).at(0), "16001");
    doc.header.blockFlags() &= static_cast<std::uint8_t>(~block_flag::pageFooter);
    SetPagination(doc, 1, {.position = 7});
    doc.optional.pageHeader = TextBlock("", {.position = PositionLeft});
    doc.header.blockFlags() |= block_flag::pageHeader;
    EXPECT_TRUE(TextsOf(doc, 2).empty());
    SetPagination(doc, 1, {.position = PositionAtFoot});
    EXPECT_TRUE(TextsOf(doc, 2).empty());
    SetPagination(doc, 1, {.position = PositionInside + PositionAtFoot, .font = 40, .style = 1});
    const RunningText t = RunningTextsOfPage(doc, 2, 20).at(0);  // no such font: the default, three interlines high
    EXPECT_EQ(std::tuple(t.font.face, t.font.weight, t.font.italic, t.font.height),
              std::tuple("Times New Roman", 400, true, 60));
    doc.header.blockFlags() &= static_cast<std::uint8_t>(~block_flag::pagination);
    EXPECT_TRUE(TextsOf(doc, 2).empty());
    std::array<std::uint8_t, 206> full = TextBlock("", {});
    std::fill_n(full.begin(), 200, 'a');  // no terminator: the text ends at its 199th character
    doc.optional.pageHeader = full;
    EXPECT_EQ(TextsOf(doc, 2).at(0).size(), 199u);
}

TEST(RunningTexts, PlacedByPositionCodeAndParityWithinTheLinesAndClearOfThePapersEdges) {
    struct Case {
        int position, printed, x;  // of a text 100 wide over lines from 0 to 1900 on a sheet from -90 to 2010
    };
    const Case cases[] = {{PositionCentre, 1, 950 - 50}, {PositionLeft, 1, 0},
                          {PositionRight, 2, 1800},      {PositionOutside, 7, 1800},
                          {PositionOutside, 8, 0},       {PositionInside, 7, 0},
                          {PositionInside, 8, 1800},     {PositionOutside + PositionAtFoot, 7, 1800}};
    const Box area = RunningTextArea({-90, 0, 2010, 2970}, 1900);
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceRunningText({"n", c.position, TextFont{"Arial", 60}, 40}, 100, area, c.printed).x, c.x)
            << c.position << " on " << c.printed;
    }
    EXPECT_EQ(PlaceRunningText({"n", PositionCentre, TextFont{"Arial", 60}, 40}, 10, area, 1).y, 2970 - 40 - 100);
    EXPECT_EQ(PlaceRunningText({"n", PositionCentre + PositionAtFoot, {"Arial", 60}, 40}, 10, area, 1).y, 40 + 40);
    // Lines that reach into the printers' margin, or a sheet without a left margin, keep the texts 40 units in.
    const Box wide = RunningTextArea({0, 0, 2100, 2970}, 2090);
    EXPECT_EQ(std::pair(wide.left, wide.right), std::pair(40, 2060));
}

TEST_F(PagePass, TheOutsideNumberEndsWithTheLinesOnOddPagesAndOnlyAnchorsSeenOnTheScreenAreDrawn) {
    doc = NewDocument(8);
    SetPagination(doc, 5, {.position = PositionOutside});
    doc.currentPage = 3;  // printed 7
    draw();
    const int width = canvas.measureText("7", TextFont{"Times New Roman", 60}).width;
    const int lineEnd = static_cast<int>(doc.pages[0].lineLength & 0xFFFFFF);
    EXPECT_EQ(rows("text", {"x", "y"}), (Rows{{lineEnd - width, 2970 - 40 - 60 - 40}}));
    RecordingCanvas screen(CanvasKind::Screen), printer(CanvasKind::Printer);
    dc.canvas = &screen;
    dc.visibleRegion = {0, 0, 2100, 1500};  // the lower half: the number's anchor at the top is outside
    DrawPage(dc, doc);
    EXPECT_TRUE(CallsOf(screen.calls(), "text").empty());
    dc.canvas = &printer;
    dc.printing = true;
    DrawPage(dc, doc);
    EXPECT_EQ(CallsOf(printer.calls(), "text").size(), 1u);
}

TEST_F(PagePass, TheInsertionCursorFollowsTheClefAtXTheOctaveTheStaffsSizeAndItsLines) {
    DrawPage(dc, doc);  // places the staves without drawing
    const auto bottom = [this](int staff, int x) {
        doc.currentStaff = staff;
        return InsertionCursorBox(dc, doc, x)->bottom -
               static_cast<int>(dc.staves[static_cast<std::size_t>(staff)].referenceY);
    };
    EXPECT_EQ(bottom(0, 100), -160);  // without a clef: from clef value 0
    dc.staves[0].clefs.add(0, ClefValueOfClef(1));
    dc.staves[0].clefs.add(500, ClefValueOfClef(3));
    // Middle C lies 18 half spaces under the reference under a G clef; the band is one step wide, an octave high.
    const int reference = static_cast<int>(dc.staves[0].referenceY);
    EXPECT_EQ(*InsertionCursorBox(dc, doc, 300), (Box{300, reference - 180, 310, reference - 110}));
    EXPECT_EQ(bottom(0, 600), -60);
    doc.insertion.octave = 3;
    EXPECT_EQ(bottom(0, 600), -130);
    dc.staves[2].small = true;
    EXPECT_EQ(bottom(2, 100), -23 * dc.metrics.halfSpace[1]);
    EXPECT_EQ(InsertionCursorBox(dc, doc, 100)->top - InsertionCursorBox(dc, doc, 100)->bottom,
              dc.metrics.octaveSpan[1]);
    dc.staves[3].lines = 6;  // extra lines lower it
    EXPECT_EQ(bottom(3, 100), -25 * 10);
    for (auto [staff, page] : {std::pair{10, 1}, {-1, 1}, {0, 2}}) {  // page 2 is not in memory
        std::tie(doc.currentStaff, doc.currentPage) = std::pair(staff, page);
        EXPECT_FALSE(InsertionCursorBox(dc, doc, 100)) << staff << " " << page;
    }
}

// A screen that measures every string wider than the fonts make it: what the metafile shows can then only come
// from what this screen measured.
class WideScreen : public RecordingCanvas {
public:
    static constexpr int GlyphsWidth = 300, TextWidth = 400;
    WideScreen() : RecordingCanvas(CanvasKind::Screen) {}
    TextExtent measureGlyphs(std::u32string_view codePoints, const GlyphFont& font) override {
        TextExtent e = RecordingCanvas::measureGlyphs(codePoints, font);
        if (!codePoints.empty()) e.width = GlyphsWidth;
        return e;
    }
    TextExtent measureText(std::string_view utf8, const TextFont& font) override {
        TextExtent e = RecordingCanvas::measureText(utf8, font);
        e.width = TextWidth;
        return e;
    }
};

TEST_F(PagePass, TheExportedRegionIsTakenIntoPageUnitsAndAtZeroReachesLeftForBraces) {
    EXPECT_EQ(ClipboardPictureSizeOf({1100, 1500, 100, 1000}), (ClipboardPictureSize{8, 10000, 5000}));
    ApplyZoom(dc, {2, 1});
    RecordingCanvas measuring(CanvasKind::Screen);
    MetafileExport exported = ExportMetafile(dc, doc, {200, 2000, 2200, 3000}, measuring);
    EXPECT_EQ(std::pair(exported.region.x0, exported.region.y1), std::pair(100, 1500));
    EXPECT_EQ(exported.clipboard, (ClipboardPictureSize{8, 10000, 5000}));
    const test::ParsedMetafile m = test::ParseMetafile(exported.picture->fileBytes());
    ASSERT_EQ(m.placeable.size(), 11u);
    EXPECT_EQ(m.placeable[5] - m.placeable[3], 2000);  // the zoomed width, one logical unit to a metafile unit
    EXPECT_EQ(m.placeable[7], 508);                    // ... at twice 254 units to the inch: the same printed size
    ApplyZoom(dc, {1, 1});
    exported = ExportMetafile(dc, doc, {0, 1000, 1000, 1500}, measuring);
    EXPECT_EQ(std::pair(exported.region.x0, exported.clipboard.width), std::pair(-40, 10400));
}

TEST_F(PagePass, ExportedCentredNumbersAndRunningTextsLandWhereTheMeasuringPassPutThem) {
    staff(0).elements = {NoteAt(1000)};
    SetPagination(doc, 123, {.firstPage = true, .position = PositionRight});
    PageDrawOptions options;
    options.drawElement = [](DrawingContext& c, const StaffRecord& s, int i) {
        PutGlyphText(c, s.elements[static_cast<std::size_t>(i)].x, 2500, "12", true);
    };
    WideScreen measuring;
    const MetafileExport exported = ExportMetafile(dc, doc, {500, 2000, 2010, 2970}, measuring, options);
    const Rows runs = RowsOf(measuring.calls(), "glyphRun", {"x"}), texts = RowsOf(measuring.calls(), "text", {"x"});
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_NEAR(runs[0][0], 1000 - WideScreen::GlyphsWidth / 2, 10);  // moved by half its width
    EXPECT_EQ(texts, (Rows{{1900 - WideScreen::TextWidth}}));  // ending with the lines
    // Each text record, in metafile units from the picture's left edge, where the measuring pass put it.
    const test::ParsedMetafile m = test::ParseMetafile(exported.picture->fileBytes());
    std::vector<int> xs;
    for (const test::WmfRecord* r : test::FindRecords(m, wmf::TextOut))
        xs.push_back(r->param(r->params.size() - 1) + 500);
    EXPECT_EQ(xs, (std::vector{runs[0][0], runs[1][0], texts[0][0]}));
}

TEST_F(PagePass, TheExportCutsStavesToTheRegionDrawsDrawingsLastAndRestoresTheContext) {
    staff(0).elements = {SignAt(SignType::Drawing, 600), SignAt(SignType::Clef, 700, 1)};
    PageDrawOptions options;
    options.drawElement = spy();
    dc.canvas = &canvas;
    RecordingCanvas measuring(CanvasKind::Screen);
    ExportMetafile(dc, doc, {500, 2000, 1500, 2900}, measuring, options);
    EXPECT_EQ(RowsOf(measuring.calls(), "line", {"x1", "x2"}), Rows(15, {500, 1500}));  // three staves in 2000–2900
    EXPECT_EQ(xs(), (std::vector{700, 600, 700, 600}));
    EXPECT_EQ(std::pair(handed[0].mode, handed[3].mode), std::pair(OutputMode::Measuring, OutputMode::Metafile));
    EXPECT_EQ(std::pair(dc.canvas, dc.outputMode), std::pair(static_cast<Canvas*>(&canvas), OutputMode::Normal));
    EXPECT_EQ(dc.centredWidths.size(), 0u);
}

}  // namespace
}  // namespace notavera
