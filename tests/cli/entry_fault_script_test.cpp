// Entry end to end: notes typed among others, a reopened score, the insertion box left by "Aller Portée no",
// elements moved with the keys (and taken back by undo), the value entry of Enter, a staff put under the first,
// and the move box steered with the keys. The staves read as a line: "140:D4" a quarter D at x 140, "/3" another
// duration code, "|" a bar, "M5" a time signature of reference value 5, " ; " the next staff that holds something.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

constexpr int quarter = 4;
constexpr int timeSignature = 5;

std::string ElementToken(const nlohmann::json& e) {
    std::string token = std::to_string(e["x"].get<int>()) + ":";
    if (e["kind"] == "note") {
        if (e["rest"].get<bool>()) return token + "R";
        token += "CDEFGAB"[e["step"].get<int>() - 1] + std::to_string(e["octave"].get<int>());
        if (e["durationCode"] != quarter) token += "/" + std::to_string(e["durationCode"].get<int>());
        return token;
    }
    const int type = e["signType"];
    if (type == 0) return token + "|";
    if (type == timeSignature) return token + "M" + std::to_string(e["word1"].get<unsigned>() & 31u);
    return token + "S" + std::to_string(type);
}

std::string StaffLine(const nlohmann::json& dump) {
    std::string line, staffSeparator;
    for (const auto& staff : dump["pages"][0]["staves"]) {
        if (staff["elements"].empty()) continue;
        line += std::exchange(staffSeparator, " ; ");
        std::string separator;
        for (const auto& e : staff["elements"]) line += std::exchange(separator, " ") + ElementToken(e);
    }
    return line;
}

class EntryScript : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0); }
    // Runs a script on the score and returns its dump.
    nlohmann::json run(const std::string& text) {
        test::WriteText(dir / "s.txt", text + "dump d.json\n");
        const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
        EXPECT_EQ(r.status, 0) << r.err;
        return nlohmann::json::parse(test::ReadText(dir / "d.json"), nullptr, false);
    }
    test::TempDir dir;
};

struct EntryCase {
    const char* name;
    const char* saved;  // typed and saved first, then the score is opened again; empty: nothing
    const char* script;
    const char* staves;
};

class EntryCases : public EntryScript, public ::testing::WithParamInterface<EntryCase> {};

#define CDE "key F2\nkey F3\nkey F4\n"
#define ON_D "key Left\nkey Left\n"
#define ALTERNATE "cmd 22\n"

TEST_P(EntryCases, LeaveTheStaves) {
    if (*GetParam().saved != '\0') run(std::string(GetParam().saved) + "save\n");
    EXPECT_EQ(StaffLine(run(GetParam().script)), GetParam().staves);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryCases,
    ::testing::Values(
        // Notes typed on notes go in before them; the cursor then lands on the next old note.
        EntryCase{"TypedAmongNotes", "", CDE "key F5\nkey Left\nkey Left\nkey Left\nkey F6\nkey F7\n",
                  "60:C4 140:G4 140:D4 220:A4 220:E4 300:F4"},
        // A shorter note leaves the cursor between the old notes: the next one still goes in between.
        EntryCase{"TypedBetweenNotes", "", CDE ON_D "char 3\nkey Left\nchar 5\nkey F6\nkey F7\n",
                  "60:G4/5 60:C4/5 100:A4/5 140:D4/3 220:E4"},
        EntryCase{"ReopenedGoesOn", CDE, "key F5\n", "60:C4 140:D4 220:E4 300:F4"},
        EntryCase{"StaffChangeClosesBox", "", CDE ON_D "key Insert\nanswer PorteeNo \"Numéro de portée\"=2 ok\nchar P\n",
                  "60:C4 140:D4 220:E4"},
        EntryCase{"ShiftMovesAcross", "", CDE ON_D "key Shift+Right\nkey Shift+Space\n", "60:C4 160:D4 220:E4"},
        EntryCase{"MovePassesNeighbour", "", CDE ON_D "key Shift+Right\nkey Shift+Right\nkey Ctrl+Shift+Right\n"
                  "key Shift+Left\nkey Shift+Backspace\nkey Shift+Right\nkey Shift+Right\nkey Shift+Right\n"
                  "key Shift+Right\nkey Shift+Right\nkey Shift+Right\nkey Shift+Right\nkey Shift+Right\n",
                  "60:C4 220:E4 221:D4"},
        EntryCase{"ShiftWithoutElementMovesCursor", "", CDE "key Shift+Left\nkey Shift+Left\n", "60:C4 140:D4 210:E4"},
        EntryCase{"FineAndPitchMoves", "", CDE ON_D "key Ctrl+Shift+Left\nkey Ctrl+Shift+Up\nkey Ctrl+Shift+Up\n"
                  "key Ctrl+Shift+Down\n", "60:C4 139:E4 220:E4"},
        EntryCase{"PitchMoveCrossesOctave", "", "key F2\nkey Left\nkey Ctrl+Shift+Down\nkey Ctrl+Shift+Down\n",
                  "60:A3"},
        EntryCase{"AlternateArrowsMove", "", CDE ON_D ALTERNATE "key Up\nkey Right\nkey Left\nkey Left\n",
                  "60:C4 130:E4 220:E4"},
        EntryCase{"LeftEdgeStopsMove", "", "key F2\nkey Left\n" ALTERNATE "key Left\nkey Left\nkey Left\nkey Left\n"
                  "key Left\nkey Left\nkey Left\n", "0:C4"},
        EntryCase{"ChordMovesWhole", "", "chars C\nkey F2\nkey F4\nchars c\nkey F5\nkey Left\nkey Left\n"
                  "key Shift+Right\n", "70:C4 70:E4 140:F4"},
        // One undo takes back a run of moves of one element, and only the last run.
        EntryCase{"UndoMoveRun", "", CDE ON_D "key Shift+Right\nkey Shift+Right\nkey Ctrl+Shift+Up\nundo\n",
                  "60:C4 140:D4 220:E4"},
        EntryCase{"UndoLastRunOnly", "", CDE ON_D "key Shift+Right\nkey Left\nkey Shift+Right\nundo\n",
                  "60:C4 150:D4 220:E4"},
        // Enter makes the next digit the reference value; the digit after it is a duration again.
        EntryCase{"ValueEntry", "", "key F2\nanswer IndMesure Numérateur=3 Dénominateur=4 ok\ncmd 230\n"
                  "key Enter\nchar 5\nchar 3\nkey F3\n", "60:C4 140:M5 249:D4/3"},
        EntryCase{"ValueEntryEndsOnKey", "", "key F2\nkey Left\nkey Enter\nkey Right\nkey Left\nchar 3\n", "60:C4/3"},
        // The move box steered by keys: a handle from the cursor, two corners, a drag, the end.
        EntryCase{"KeysSteerMoveBox", "", CDE ON_D "char #\nkey Left\nkey Enter\nkey Right\nkey Right\n"
                  "key Right\nkey Enter\nkey Right\nkey Right\nkey F5\nkey Enter\nkey Right\n",
                  "60:C4 160:D4 220:E4"}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return info.param.name; });

// A staff put under the first one stands at the distance of the staves that follow the first, not at its top
// margin.
TEST_F(EntryScript, StaffUnderTheFirstKeepsItsDistance) {
    const nlohmann::json dump = run("char $\n");
    const auto& staves = dump["pages"][0]["staves"];
    ASSERT_GE(staves.size(), 3u);
    const auto distance = [&](int i) { return (staves[static_cast<std::size_t>(i)]["keyWord"].get<unsigned>() >> 16) & 1023u; };
    EXPECT_LT(distance(0), distance(2));
    EXPECT_EQ(distance(1), distance(2));
}

}  // namespace
}  // namespace notavera
