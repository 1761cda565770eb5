// Page numbers, headers and footers: which page shows what, the placement by position code and parity, the
// distance in interlines, fonts and stored text, and when a text is drawn on the screen.
#include "render/page_texts.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/headless/recording_canvas.h"
#include "render/page_pass.h"
#include "render/page_sheet.h"
#include "score/little_endian.h"
#include "support/page_fixtures.h"

namespace notavera {
namespace {

using test::CallsOf;
using test::NewDocument;

struct BlockSettings {
    bool firstPage = false;
    int position = PositionCentre;
    int font = 1;
    int style = 0;
    int size = 0;
    int distance = 2;
};

void Put(std::span<std::uint8_t> block, std::size_t at, const BlockSettings& s) {
    block[at] = s.firstPage ? 1 : 0;
    block[at + 1] = static_cast<std::uint8_t>(static_cast<std::int8_t>(s.position));
    block[at + 2] = static_cast<std::uint8_t>(s.font);
    block[at + 3] = static_cast<std::uint8_t>(s.style);
    block[at + 4] = static_cast<std::uint8_t>(s.size);
    block[at + 5] = static_cast<std::uint8_t>(s.distance);
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

void SetHeader(ScoreDocument& doc, const std::string& text, const BlockSettings& s) {
    doc.optional.pageHeader = TextBlock(text, s);
    doc.header.blockFlags() |= block_flag::pageHeader;
}

std::vector<std::string> TextsOf(const ScoreDocument& doc, int page) {
    std::vector<std::string> texts;
    for (const RunningText& t : RunningTextsOfPage(doc, page, 20)) texts.push_back(t.text);
    return texts;
}

TEST(RunningTexts, TheNumberFollowsThePrintedNumberAndTheHeaderThePageNumber) {
    // First number 5 without "Première page incluse": page 1 prints 5, which is past the first, so it shows;
    // the header with the same setting stays off page 1.
    ScoreDocument doc = NewDocument(2);
    SetPagination(doc, 5, {.firstPage = false});
    SetHeader(doc, "Sonate", {.firstPage = false});
    EXPECT_EQ(TextsOf(doc, 1), std::vector<std::string>{"5"});
    EXPECT_EQ(TextsOf(doc, 2), (std::vector<std::string>{"6", "Sonate"}));
}

TEST(RunningTexts, TheFirstPageShowsItsNumberOnlyWhenIncluded) {
    ScoreDocument doc = NewDocument(2);
    SetPagination(doc, 1, {.firstPage = false});
    EXPECT_TRUE(TextsOf(doc, 1).empty());
    SetPagination(doc, 1, {.firstPage = true});
    SetHeader(doc, "Sonate", {.firstPage = true});
    EXPECT_EQ(TextsOf(doc, 1), (std::vector<std::string>{"1", "Sonate"}));
}

TEST(RunningTexts, AHeaderShowsWithoutPageNumbering) {
    ScoreDocument doc = NewDocument(2);
    SetHeader(doc, "Sonate", {.firstPage = true});
    doc.optional.pageFooter = TextBlock("Pied", {.position = PositionCentre + PositionAtFoot});
    doc.header.blockFlags() |= block_flag::pageFooter;
    EXPECT_EQ(TextsOf(doc, 2), (std::vector<std::string>{"Sonate", "Pied"}));
}

TEST(RunningTexts, UnknownPositionsEmptyTextsAndClearedFlagsShowNothing) {
    ScoreDocument doc = NewDocument(2);
    SetPagination(doc, 1, {.position = 7});
    SetHeader(doc, "", {.position = PositionLeft});
    EXPECT_TRUE(TextsOf(doc, 2).empty());
    SetPagination(doc, 1, {.position = PositionAtFoot});
    EXPECT_TRUE(TextsOf(doc, 2).empty());
    SetPagination(doc, 1, {.position = PositionCentre});
    doc.header.blockFlags() &= static_cast<std::uint8_t>(~block_flag::pagination);
    EXPECT_TRUE(TextsOf(doc, 2).empty());
}

TEST(RunningTexts, StoredTextsAreReadInTheirCodePageAndStopAtTheirEnd) {
    ScoreDocument doc = NewDocument(2);
    SetHeader(doc, "Ouverture \xE9t\xE9", {});
    EXPECT_EQ(TextsOf(doc, 2), std::vector<std::string>{"Ouverture \xC3\xA9t\xC3\xA9"});
    std::array<std::uint8_t, 206> full = TextBlock("", {});
    std::fill_n(full.begin(), 200, 'a');  // no terminator: the text ends at its 199th character
    doc.optional.pageHeader = full;
    EXPECT_EQ(TextsOf(doc, 2).at(0).size(), 199u);
}

TEST(RunningTexts, FontsComeFromTheDocumentsTable) {
    ScoreDocument doc = NewDocument(2);
    SetHeader(doc, "Sonate", {.font = 2, .style = 3, .size = 45, .distance = 3});
    RunningText t = RunningTextsOfPage(doc, 2, 20).at(0);
    EXPECT_EQ(t.font.face, "Arial");
    EXPECT_EQ(t.font.weight, 700);
    EXPECT_TRUE(t.font.italic);
    EXPECT_EQ(t.font.height, 45);
    EXPECT_EQ(t.distance, 60);
    SetHeader(doc, "Sonate", {.font = 40, .style = 1});  // no such entry
    t = RunningTextsOfPage(doc, 2, 20).at(0);
    EXPECT_EQ(t.font.face, "Times New Roman");
    EXPECT_EQ(t.font.weight, 400);
    EXPECT_EQ(t.font.height, 60);  // three interlines
}

struct PlacementCase {
    int position;
    int printed;
    int x;  // of a text 100 wide on a sheet from -90 to 2010
};

class Placement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, ByCodeAndParity) {
    const RunningText t{"n", GetParam().position, TextFont{"Arial", 60}, 40};
    EXPECT_EQ(PlaceRunningText(t, 100, Box{-90, 0, 2010, 2970}, GetParam().printed).x, GetParam().x);
}

INSTANTIATE_TEST_SUITE_P(Codes, Placement,
                         ::testing::Values(PlacementCase{PositionCentre, 1, -90 + 1000},
                                           PlacementCase{PositionLeft, 1, -90}, PlacementCase{PositionRight, 2, 1910},
                                           PlacementCase{PositionOutside, 7, 1910},  // "Extérieur": right on 7
                                           PlacementCase{PositionOutside, 8, -90},   // ... left on 8
                                           PlacementCase{PositionInside, 7, -90},
                                           PlacementCase{PositionInside, 8, 1910},
                                           PlacementCase{PositionOutside + PositionAtFoot, 7, 1910}));

TEST(Placement, TopTextsHangUnderTheUsableTopAndFootTextsStandOffTheFoot) {
    const Box sheet{-90, 0, 2010, 2970};
    EXPECT_EQ(PlaceRunningText({"n", PositionCentre, TextFont{"Arial", 60}, 40}, 10, sheet, 1).y, 2970 - 40 - 100);
    EXPECT_EQ(PlaceRunningText({"n", PositionCentre + PositionAtFoot, TextFont{"Arial", 60}, 40}, 10, sheet, 1).y,
              40);
}

struct DrawnTextsTest : ::testing::Test {
    ScoreDocument doc = NewDocument(8);
    DrawingContext dc;

    void draw(Canvas& canvas, int page) {
        doc.currentPage = page;
        dc.canvas = &canvas;
        DrawPage(dc, doc);
    }
};

TEST_F(DrawnTextsTest, TheOutsideNumberEndsAtTheSheetsRightOnOddPagesAndStartsAtItsLeftOnEven) {
    SetPagination(doc, 5, {.position = PositionOutside});
    RecordingCanvas odd, even;
    draw(odd, 3);   // printed 7
    draw(even, 4);  // printed 8
    const auto seven = CallsOf(odd.calls(), "text"), eight = CallsOf(even.calls(), "text");
    ASSERT_EQ(seven.size(), 1u);
    ASSERT_EQ(eight.size(), 1u);
    EXPECT_EQ(seven[0]["text"], "7");
    const int width = odd.measureText("7", TextFont{"Times New Roman", 60}).width;
    EXPECT_GT(width, 0);
    EXPECT_EQ(seven[0]["x"].get<int>() + width, SheetBox(doc, 3).right);
    EXPECT_EQ(eight[0]["x"], SheetBox(doc, 4).left);
    EXPECT_EQ(seven[0]["y"], 2970 - 40 - 60 - 40);
    EXPECT_EQ(seven[0]["font"]["height"], 60);
}

TEST_F(DrawnTextsTest, OnTheScreenOnlyTextsAnchoredInTheVisibleRegionAreDrawn) {
    SetPagination(doc, 1, {.firstPage = true, .position = PositionLeft});
    RecordingCanvas screen(CanvasKind::Screen);
    dc.visibleRegion = {0, 0, 2100, 1500};  // the lower half: the number's anchor at the top is outside
    draw(screen, 1);
    EXPECT_TRUE(CallsOf(screen.calls(), "text").empty());
    RecordingCanvas printer(CanvasKind::Printer);
    dc.printing = true;
    draw(printer, 1);
    EXPECT_EQ(CallsOf(printer.calls(), "text").size(), 1u);
}

TEST_F(DrawnTextsTest, NoTextsInTheContinuousView) {
    SetPagination(doc, 1, {.firstPage = true});
    RecordingCanvas canvas;
    dc.canvas = &canvas;
    PageDrawOptions options;
    options.continuous = EnterContinuousPages(1900, 1, 2);
    DrawPage(dc, doc, options);
    EXPECT_TRUE(CallsOf(canvas.calls(), "text").empty());
}

}  // namespace
}  // namespace notavera
