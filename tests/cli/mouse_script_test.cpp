// The mouse through notavera-cli script: clicks in and outside the staff band, snapping, drags that change the
// selected note (after the click settled, or moving the cursor before), double clicks with the note tool and
// after "Portée", and the right button's alternate action.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "score/new_document.h"
#include "shell/cursor_frame.h"
#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::CliResult;
using test::RunCli;

class MouseScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        const CliResult r = RunCli(dir.path(), {"new", "opus.mus"});
        ASSERT_EQ(r.status, 0) << r.err;
        // The new document is laid out as every new document is: its first staff's height is known here.
        ScoreDocument doc;
        SetUpNewDocument(doc, 1);
        const CursorFrame f = *CursorFrameOf(doc);
        ref = static_cast<int>(f.staffY[0]);
        middle = ref - f.staffHeight * 3 / 2;
        halfSpace = f.halfSpace;
    }
    CliResult script(const std::string& text) {
        test::WriteText(dir / "script.txt", text + "dump doc.json\n");
        return RunCli(dir.path(), {"script", (dir / "opus.mus").string(), "script.txt"});
    }
    nlohmann::json elements() {
        const auto doc = nlohmann::json::parse(test::ReadText(dir / "doc.json"), nullptr, false);
        return doc["pages"][0]["staves"][0]["elements"];
    }
    std::string at(int x, int y) const { return std::to_string(x) + " " + std::to_string(y); }
    static unsigned durationOf(const nlohmann::json& e) { return (e["noteWord"].get<unsigned>() >> 1) & 0xFu; }
    static unsigned accidentalOf(const nlohmann::json& e) { return (e["noteWord"].get<unsigned>() >> 9) & 7u; }
    static unsigned stepOf(const nlohmann::json& e) { return (e["noteWord"].get<unsigned>() >> 22) & 0xFu; }

    test::TempDir dir;
    int ref = 0;
    int middle = 0;
    int halfSpace = 0;
};

TEST_F(MouseScriptTest, AClickOutsideTheStaffBandLeavesTheCursorWhereItWas) {
    const CliResult r = script("click " + at(500, ref + 40) + "\nkey F2\nclick " + at(700, middle) + "\nkey F2\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0]["x"], 60);  // where a new document's cursor starts
    EXPECT_EQ(e[1]["x"], 700);
}

TEST_F(MouseScriptTest, AClickSnapsOntoANoteTwoUnitsAwayButNotThree) {
    const CliResult r =
        script("key F2\nclick " + at(62, middle) + "\nkey F4\nclick " + at(400, middle) + "\nkey F2\nclick " +
               at(403, middle) + "\nkey F4\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0]["x"], 60);
    EXPECT_EQ(e[1]["x"], 60);  // snapped: the second note joins the first one's place
    EXPECT_EQ(e[2]["x"], 400);
    EXPECT_EQ(e[3]["x"], 403);
}

TEST_F(MouseScriptTest, DragsChangeTheValueAndAccidentalOfTheSelectedNote) {
    const CliResult r = script("key F2\nkey F3\ndrag " + at(60, middle) + " " + at(70, middle) + "\ndrag " +
                               at(60, middle) + " " + at(60, middle + halfSpace) + "\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(durationOf(e[0]), 5u);
    EXPECT_EQ(accidentalOf(e[0]), 1u);  // up from none: the sharp
    EXPECT_EQ(durationOf(e[1]), 4u);
}

TEST_F(MouseScriptTest, AQuickDragMovesTheCursorInsteadOfChangingTheNote) {
    const CliResult r = script("key F2\ndrag " + at(60, middle) + " " + at(80, middle) + " quick\nkey F3\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(durationOf(e[0]), 4u);
    EXPECT_EQ(e[1]["x"], 80);
}

TEST_F(MouseScriptTest, ADoubleClickWithTheNoteToolEntersThePitchOfThePoint) {
    // No clef yet: middle C lies 16 half-spaces under the reference height.
    const CliResult r = script("dblclick " + at(500, ref - 16 * halfSpace) + "\ndblclick " +
                               at(700, ref - 12 * halfSpace) + "\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0]["x"], 500);
    EXPECT_EQ(stepOf(e[0]), 1u);
    EXPECT_EQ((e[0]["word0"].get<unsigned>() >> 8) & 7u, 4u);
    EXPECT_EQ(stepOf(e[1]), 5u);
}

TEST_F(MouseScriptTest, ADoubleClickAfterPorteeAboveTheFirstStaffIsRefusedWithMessage73) {
    const CliResult r = script("cmd 497\ndblclick " + at(500, ref - 10) + "\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("MESSAGE Message 73 Opération impossible. Insérez plus bas et utilisez "
                         "Outil-Permuter portée marquée/courante"),
              std::string::npos)
        << r.out;
}

TEST_F(MouseScriptTest, TheRightButtonMakesTheNextNoteKeyRepitchTheNoteAtTheCursor) {
    const CliResult r = script("key F2\nkey Left\nrclick 0 0\nkey F4\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(stepOf(e[0]), 3u);
}

TEST_F(MouseScriptTest, AMisspelledMouseLineStopsTheScriptBeforeItRuns) {
    const CliResult r = script("key F2\ndrag 1 2 3\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("ligne 2"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace notavera
