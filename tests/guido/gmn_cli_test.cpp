// notavera-cli end to end: gmn-trace (the trace lines, the modes, the error lines, the exit status) and
// import-gmn, which saves what it read before an error.
#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::CliResult;
using test::RunCli;

class GmnCli : public ::testing::Test {
protected:
    CliResult run(const std::string& command, const std::string& gmn, std::vector<std::string> args = {}) {
        test::WriteText(dir / "in.gmn", gmn);
        args.insert(args.begin(), {command, "in.gmn"});
        return RunCli(dir.path(), args);
    }
    test::TempDir dir;
};

TEST_F(GmnCli, TracePrintsTheCallbacksModesAndErrors) {
    CliResult r = run("gmn-trace", "[c d/8.]");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "na_segmInit()\nna_seqInit()\n"
              "na_seqAppendNote(pc=0,oct=1,acc=0, durN=1,durD=4,dots=0, durPosN=0,durPosD=1)\n"
              "na_seqAppendNote(pc=2,oct=1,acc=0, durN=1,durD=8,dots=1, durPosN=1,durPosD=4)\n"
              "na_seqExit()\nna_segmExit()\n");
    r = run("gmn-trace", "[c \\bar d | e]", {"--mode", "11"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("na_seqAppendNote"), std::string::npos);
    EXPECT_NE(r.out.find("na_tagStart(s=\\bar,no=0,tagno=2, durPosN=1,durPosD=2)"), std::string::npos);
    r = run("gmn-trace", "[c\n x ]]");
    EXPECT_EQ(r.status, 1);
    // A box is one line: its line breaks are printed as spaces.
    EXPECT_NE(r.out.find("MESSAGE Erreur 0 Erreur lors de l'analyse du fichier Guido Erreur: 'Unknown notename, "
                         "replaced by rest.' (ligne 2, caractère 2)"),
              std::string::npos);
    EXPECT_NE(r.out.find("Erreur: 'parse error' (ligne 2, caractère 5)"), std::string::npos);
    EXPECT_NE(r.out.find("na_seqAppendNote(pc=-1,"), std::string::npos);  // passed on before the reading stopped
    EXPECT_EQ(run("gmn-trace", "[c]", {"--mode", "5"}).status, 2);
    EXPECT_EQ(RunCli(dir.path(), {"gmn-trace"}).status, 2);
}

TEST_F(GmnCli, ImportReportsAReadingErrorAndSavesWhatWasRead) {
    const CliResult import = run("import-gmn", "[c d ) e]", {"out.mus"});
    EXPECT_EQ(import.status, 1);
    EXPECT_NE(import.err.find("Erreur: 'parse error' (ligne 1, caractère 6)"), std::string::npos) << import.err;
    const CliResult info = RunCli(dir.path(), {"info", "out.mus", "--elements"});
    // The two notes read before the error, behind the treble clef of a staff that names none.
    EXPECT_NE(info.out.find("\"elementCount\": 3,"), std::string::npos) << info.out;
    const CliResult missing = RunCli(dir.path(), {"import-gmn", "missing.gmn", "none.mus"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Could not open file"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.mus"));
    EXPECT_EQ(RunCli(dir.path(), {"import-gmn", "only-one.gmn"}).status, 2);
}

}  // namespace
}  // namespace notavera
