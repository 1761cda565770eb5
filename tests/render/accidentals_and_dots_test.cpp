// Accidentals of every kind and rhythm dots on and off the staff lines.
#include "render/accidentals_and_dots.h"

#include <gtest/gtest.h>

#include "platform/headless/recording_canvas.h"
#include "render/primitives.h"

namespace notavera {
namespace {

using nlohmann::json;

class AccidentalsAndDots : public ::testing::Test {
protected:
    void SetUp() override {
        dc.canvas = &canvas;
        SetStaffDefinition(dc, 20);
    }
    std::vector<json> calls(const std::string& op) const {
        std::vector<json> out;
        for (const json& c : canvas.calls()) {
            if (c["op"] == op) out.push_back(c);
        }
        return out;
    }
    // Heights are offsets from a reference at 1000: the top line is at 920 and the bottom line at 840.
    void dot(int offset) { DrawAccidentalOrDots(dc, 500, 1000 + offset, offset, MarkMode::Dots, 0); }

    RecordingCanvas canvas;
    DrawingContext dc;
};

TEST_F(AccidentalsAndDots, EachKindWritesItsGlyph) {
    const int codes[] = {211, 213, 212, 214, 213, 244, 246};
    for (int kind = 1; kind <= 7; ++kind) {
        canvas.clear();
        DrawAccidentalOrDots(dc, 500, 900, 0, MarkMode::Accidental, kind);
        const auto g = calls("glyph");
        ASSERT_EQ(g.size(), kind == 5 ? 2u : 1u) << kind;
        EXPECT_EQ(g[0]["code"], codes[kind - 1]);
        EXPECT_EQ(g[0]["x"], 500);
    }
}

TEST_F(AccidentalsAndDots, OutOfRangeKindsDrawNothing) {
    DrawAccidentalOrDots(dc, 500, 900, 0, MarkMode::Accidental, 0);
    DrawAccidentalOrDots(dc, 500, 900, 0, MarkMode::Accidental, 8);
    DrawAccidentalOrDots(dc, 500, 900, 0, MarkMode::Dots, 2);
    EXPECT_TRUE(canvas.calls().empty());
}

TEST_F(AccidentalsAndDots, DotOnAStaffLineMovesIntoTheSpaceAbove) {
    dot(-100);  // the fourth line
    dot(-110);  // a space
    dot(-160);  // the bottom line
    const auto d = calls("disc");
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0]["y"], 910);
    EXPECT_EQ(d[1]["y"], 890);
    EXPECT_EQ(d[2]["y"], 850);
}

TEST_F(AccidentalsAndDots, DotOnALedgerLineStaysLevel) {
    dot(-180);  // middle C under the treble clef
    dot(-60);   // the first ledger line above
    const auto d = calls("disc");
    EXPECT_EQ(d[0]["y"], 820);
    EXPECT_EQ(d[1]["y"], 940);
}

TEST_F(AccidentalsAndDots, RadiusIsFourFifthsOfAQuarterSpaceAndAtLeastTwo) {
    EXPECT_EQ(DotRadius(dc), 4);
    SetStaffDefinition(dc, 6);
    EXPECT_EQ(DotRadius(dc), 2);
}

}  // namespace
}  // namespace notavera
