// Octave lines through the recording canvas: the label, the dashed line from the first to two half spaces past the
// last note, the hook's direction, clearing the highest note, and the elements that end a line or pass under it.
#include <gtest/gtest.h>

#include "render/octave_lines.h"
#include "score/element_creation.h"
#include "support/note_drawing_fixture.h"

namespace notavera {
namespace {

using nlohmann::json;

class OctaveLines : public test::NoteDrawingTest {
protected:
    int Note(int x, unsigned name, unsigned octave, unsigned code) {
        ElementRecord& e = AddNote(0, x, name, octave, 4);
        e.w1().setOctaveShift(code);
        return IndexOf(0, e);
    }
    void Draw() {
        canvas.clear();
        DrawOctaveLines(dc, Staff(0));
    }
    std::vector<json> Lines(const char* style) const {
        std::vector<json> out;
        for (const json& c : Calls("line")) {
            if (c["pen"]["style"] == style) out.push_back(c);
        }
        return out;
    }
    static constexpr std::uint32_t OttavaAlta = 0xE511, OttavaBassa = 0xE51C, QuindicesimaAlta = 0xE515;
};

TEST_F(OctaveLines, AnOttavaRunsFromItsLabelToTwoHalfSpacesPastTheLastNote) {
    Note(500, 5, 4, 1);
    Note(700, 1, 5, 1);
    Note(900, 5, 4, 1);
    Draw();
    const auto labels = Calls("glyphRun");
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0]["codePoints"][0], OttavaAlta);
    const auto dashes = Lines("dash"), hooks = Lines("solid");
    ASSERT_EQ(dashes.size(), 1u);
    ASSERT_EQ(hooks.size(), 1u);
    EXPECT_GT(dashes[0]["x1"].get<int>(), 500);
    EXPECT_EQ(dashes[0]["x2"], 900 + 2 * Half());
    // Above the staff, with its hook turned down towards the notes.
    EXPECT_GT(dashes[0]["y1"].get<int>(), Top(0));
    EXPECT_EQ(hooks[0]["x1"], 900 + 2 * Half());
    EXPECT_EQ(hooks[0]["y2"].get<int>(), dashes[0]["y1"].get<int>() - Space());
}

TEST_F(OctaveLines, ABassaLineGoesBelowWithItsHookUp) {
    Note(500, 5, 4, 3);
    Note(800, 5, 4, 3);
    Draw();
    ASSERT_EQ(Calls("glyphRun").size(), 1u);
    EXPECT_EQ(Calls("glyphRun")[0]["codePoints"][0], OttavaBassa);
    const auto dashes = Lines("dash"), hooks = Lines("solid");
    ASSERT_EQ(dashes.size(), 1u);
    EXPECT_LT(dashes[0]["y1"].get<int>(), Bottom(0));
    EXPECT_EQ(hooks[0]["y2"].get<int>(), dashes[0]["y1"].get<int>() + Space());
}

TEST_F(OctaveLines, TheLineClearsTheHighestNoteOfItsRun) {
    Note(500, 5, 4, 2);
    Note(700, 1, 7, 2);  // C7, eleven steps above the top line, stem down
    Note(900, 5, 4, 2);
    Draw();
    EXPECT_EQ(Calls("glyphRun")[0]["codePoints"][0], QuindicesimaAlta);
    const auto dashes = Lines("dash");
    ASSERT_EQ(dashes.size(), 1u);
    EXPECT_GE(dashes[0]["y1"].get<int>(), Top(0) + 11 * Half() + Space());
}

TEST_F(OctaveLines, ANoteWithoutTheCodeEndsTheLineButRestsPassUnder) {
    Note(500, 5, 4, 1);
    AddRest(0, 600, 4, 4);
    Note(700, 5, 4, 1);
    Note(900, 5, 4, 0);
    Note(1100, 5, 4, 1);
    Draw();
    // Two lines: 500–700 (the rest does not break it), and the single note at 1100, too short for more than its
    // label.
    const auto dashes = Lines("dash");
    ASSERT_EQ(dashes.size(), 1u);
    EXPECT_EQ(dashes[0]["x2"], 700 + 2 * Half());
    EXPECT_EQ(Calls("glyphRun").size(), 2u);
}

TEST_F(OctaveLines, TheLabelSignStartsTheLine) {
    doc.currentStaff = 0;
    doc.currentElement = -1;
    const std::array<std::uint8_t, 4> text{'B', 'v', 'a', ' '};
    ElementRecord* label = CreateSign(doc, 450, 0, 0, SignType::Text, 3, text);
    ASSERT_NE(label, nullptr);
    label->w1().setOctaveShift(1);
    Note(500, 5, 4, 1);
    Note(800, 5, 4, 1);
    Draw();
    const auto labels = Calls("glyphRun");
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_NEAR(labels[0]["x"].get<int>(), 450, Half());
}

TEST_F(OctaveLines, NothingWithoutACodeOrWithAnUnknownOne) {
    Note(500, 5, 4, 0);
    Note(700, 5, 4, 6);
    Draw();
    EXPECT_TRUE(canvas.calls().empty());
}

}  // namespace
}  // namespace notavera
