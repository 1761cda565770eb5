// Test support: a new document's first page placed by a drawing pass on a recording canvas, notes and rests made
// with the element-creation API, and the recorded drawing calls by kind.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/recording_canvas.h"
#include "render/drawing_context.h"
#include "score/score_document.h"

namespace notavera::test {

// Clef values of the clefs the tests use.
inline constexpr int TrebleClef = -2;
inline constexpr int BassClef = 10;

// NoteWord and word0 flag bits the tests set.
inline constexpr std::uint32_t AutoStem = 1u << 13;
inline constexpr std::uint32_t StemUpFlag = 1u << 14;
inline constexpr std::uint32_t ChordBit = 1u << 18;

class NoteDrawingTest : public ::testing::Test {
protected:
    void SetUp() override;

    // A note of name 1–7 (C–B) in `octave` on `staff`, at x, made by the element-creation API; further members of
    // a chord at one x go next to each other. Its NoteWord gets `flags` (automatic stems unless told otherwise).
    ElementRecord& AddNote(int staff, int x, unsigned name, unsigned octave, unsigned duration,
                           std::uint32_t flags = AutoStem, Accidental accidental = Accidental::None);
    // A rest made by the element-creation API, then moved to E of `octave`.
    ElementRecord& AddRest(int staff, int x, unsigned octave, unsigned duration);
    // The element's index in its staff.
    int IndexOf(int staff, const ElementRecord& e) const;
    StaffRecord& Staff(int staff);

    // The clef in force on a staff from its start, as the pass would have entered it.
    void SetClef(int staff, int clefValue);

    // Draws every element of a staff in order, as the pass does, after clearing the canvas.
    void DrawStaff(int staff);
    void DrawOne(int staff, const ElementRecord& e);

    // Recorded calls of one kind: "glyph" (system code and page point), "vline", "hline", "band", "disc".
    std::vector<nlohmann::json> Calls(const std::string& op) const;
    std::vector<nlohmann::json> Glyphs(int code) const;

    // Staff geometry of the pass, in page units.
    int Top(int staff) const { return dc.staves[static_cast<std::size_t>(staff)].topLine; }
    int Bottom(int staff) const { return Top(staff) - 4 * Space(); }
    int Middle(int staff) const { return Top(staff) - 2 * Space(); }
    int Space() const { return dc.metrics.staffSpace[0]; }
    int Half() const { return dc.metrics.halfSpace[0]; }
    int HeadHalf() const { return dc.widths.noteheadHalfWidth[0][0]; }

    ScoreDocument doc;
    RecordingCanvas canvas;
    DrawingContext dc;
};

}  // namespace notavera::test
