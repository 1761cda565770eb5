// Undo and redo end to end: edits taken back to a dump byte-identical to the start and forward again, typing runs
// as single steps, the ten places of the ring, redo given up by a new edit, and a reopened document's history.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::CliResult;

std::string Repeat(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += line;
    return text;
}

class UndoScript : public ::testing::Test {
protected:
    void SetUp() override { fresh(); }
    void fresh() {
        std::filesystem::remove(dir / "opus.mus");
        ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    }
    void run(const std::string& text) {
        test::WriteText(dir / "script.txt", text);
        const CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "script.txt"});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    // A script whose last line is an undo or redo with nothing left to take: the item is grey, and the script
    // that chooses it fails there.
    void runToGreyEnd(const std::string& text) {
        test::WriteText(dir / "script.txt", text);
        const CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "script.txt"});
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.out.find("grisée"), std::string::npos) << r.out;
    }
    std::string dump(const char* name) { return test::ReadText(dir / name); }

    test::TempDir dir;
};

// Each case is a run of edits and the number of steps it makes.
struct EditCase {
    const char* name;
    const char* edits;
    int steps;
};

const EditCase editCases[] = {
    {"one run of typing on a staff", "key F2\nkey F3\nchar d\nkey F4\nchar |\nkey F5\n", 1},
    {"a command between two runs", "key F2\nkey F3\ncmd 51\nkey F4\n", 2},
    {"typing that goes on on the next staff", "key F2\nkey F3\nkey Down\nkey F4\nkey F5\n", 2},
    {"typing, spacing, then a deletion", "key F2\nkey F3\nkey F4\ncmd 284\nkey Left\nkey Delete\n", 3},
    {"key signature and clef", "key F2\nkey F3\nanswer Armure Nombre=2 Dièse=1 ok\ncmd 125\ncmd 202\nkey F4\n", 3},
    {"a region erased", "key F2\nkey F3\nkey F4\nkey Home\ncmd 210\nkey End\ncmd 212\nkey F6\n", 3},
    {"a character that runs a menu command", "key F2\nkey F3\nkey F4\ncmd 211\nkey Home\nchar J\n", 2},
    {"a page deleted", "key F2\ncmd 63\nkey F3\ncmd 64\nanswer message yes\ncmd 67\n", 3},
    {"pages deleted to the marker",
     "key F2\ncmd 63\nkey F3\ncmd 63\nkey F4\ncmd 598\ncmd 64\nanswer message yes\ncmd 627\n", 4},
    {"a deletion put back", "key F2\nkey F3\nkey F4\nkey Left\nkey Delete\ncmd 218\n", 2},
    {"a paste, and one refused with nothing copied", "key F2\ncmd 13\nkey F3\ncmd 217\nkey End\ncmd 13\n", 3},
};

TEST_F(UndoScript, EveryStepUndoneGivesTheStartAndEveryRedoTheEnd) {
    for (const EditCase& c : editCases) {
        SCOPED_TRACE(c.name);
        fresh();  // a staff filled by the cases before would carry typing over to the next staff
        const std::string back = Repeat("undo\n", c.steps - 1);
        // The pages are saved before the dumps that are compared: the page table tells where each page lies in the
        // working file, and a page written later may lie elsewhere with the same content.
        // A first step before the case's edits shows that its undos go back no further than they should.
        runToGreyEnd("dump before.json\nkey F9\ncmd 51\nsave\ndump start.json\n" + std::string(c.edits) +
                     "save\ndump end.json\n" + back + "dump almost.json\nundo\ndump back.json\nundo\ndump beyond.json\n" +
                     Repeat("redo\n", c.steps + 1) + "dump forth.json\nredo\n");
        EXPECT_NE(dump("start.json"), dump("end.json"));
        EXPECT_NE(dump("start.json"), dump("almost.json"));  // no fewer steps than counted
        EXPECT_EQ(dump("start.json"), dump("back.json"));
        EXPECT_EQ(dump("before.json"), dump("beyond.json"));
        EXPECT_EQ(dump("end.json"), dump("forth.json"));
    }
}

TEST_F(UndoScript, TheRingKeepsTheLastTenSteps) {
    // Each note after a command is a step of its own: eleven of them.
    runToGreyEnd("key F2\n" + Repeat("cmd 51\nkey F2\n", 10) + "dump eleven.json\n" + Repeat("undo\n", 10) +
                 "dump ten.json\nundo\n");
    EXPECT_NE(dump("eleven.json"), dump("ten.json"));
    EXPECT_NE(dump("ten.json").find("\"note\""), std::string::npos);  // the first note cannot be taken back
}

TEST_F(UndoScript, ANewEditAfterAnUndoGivesUpTheRedo) {
    runToGreyEnd("key F2\ncmd 51\nkey F3\nundo\ncmd 51\nkey F4\nredo\n");
}

TEST_F(UndoScript, OpeningADocumentForgetsTheHistory) {
    runToGreyEnd("key F2\ncmd 51\nkey F3\nsave\nanswer file opus.mus\ncmd 2\nundo\n");
}

}  // namespace
}  // namespace notavera
