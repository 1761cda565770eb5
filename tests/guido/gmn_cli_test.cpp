// notavera-cli end to end: gmn-trace (the trace lines, the modes, the error lines, the exit status) and
// import-gmn, whose saved score is looked at through "info".
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::CliResult;
using test::RunCli;
using test::TempDir;
using test::WriteText;

class GmnCli : public ::testing::Test {
protected:
    std::string write(const std::string& text) {
        const std::string name = "in" + std::to_string(count_++) + ".gmn";
        WriteText(dir / name, text);
        return name;
    }
    CliResult trace(const std::vector<std::string>& args) {
        std::vector<std::string> words{"gmn-trace"};
        words.insert(words.end(), args.begin(), args.end());
        return RunCli(dir.path(), words);
    }
    // The elements of the imported score, as "info --elements" shows them.
    nlohmann::json importAndShow(const std::string& gmn, CliResult* import = nullptr) {
        const CliResult r = RunCli(dir.path(), {"import-gmn", write(gmn), "out.mus"});
        if (import) *import = r;
        const CliResult info = RunCli(dir.path(), {"info", "out.mus", "--elements"});
        EXPECT_EQ(info.status, 0) << info.err;
        return nlohmann::json::parse(info.out, nullptr, false);
    }

    TempDir dir;
    int count_ = 0;
};

TEST_F(GmnCli, TracePrintsTheCallbacksModesAndErrors) {
    CliResult r = trace({write("[c d/8.]")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "na_segmInit()\nna_seqInit()\n"
              "na_seqAppendNote(pc=0,oct=1,acc=0, durN=1,durD=4,dots=0, durPosN=0,durPosD=1)\n"
              "na_seqAppendNote(pc=2,oct=1,acc=0, durN=1,durD=8,dots=1, durPosN=1,durPosD=4)\n"
              "na_seqExit()\nna_segmExit()\n");
    r = trace({write("[c \\bar d | e]"), "--mode", "11"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("na_seqAppendNote"), std::string::npos);
    EXPECT_NE(r.out.find("na_tagStart(s=\\bar,no=0,tagno=2, durPosN=1,durPosD=2)"), std::string::npos);
    r = trace({write("[c\n x ]]")});
    EXPECT_EQ(r.status, 1);
    // A box is one line: its line breaks are printed as spaces.
    EXPECT_NE(r.out.find("MESSAGE Erreur 0 Erreur lors de l'analyse du fichier Guido Erreur: 'Unknown notename, "
                         "replaced by rest.' (ligne 2, caractère 2)"),
              std::string::npos);
    EXPECT_NE(r.out.find("Erreur: 'parse error' (ligne 2, caractère 5)"), std::string::npos);
    EXPECT_NE(r.out.find("na_seqAppendNote(pc=-1,"), std::string::npos);  // passed on before the reading stopped
    r = trace({"missing.gmn"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Erreur: 'Could not open file'"), std::string::npos);
    EXPECT_EQ(trace({write("[c]"), "--mode", "5"}).status, 2);
    EXPECT_EQ(trace({}).status, 2);
}

TEST_F(GmnCli, ImportReportsAReadingErrorAndSavesWhatWasRead) {
    CliResult import;
    const nlohmann::json doc = importAndShow("[c d ) e]", &import);
    EXPECT_EQ(import.status, 1);
    EXPECT_NE(import.err.find("Erreur: 'parse error' (ligne 1, caractère 6)"), std::string::npos) << import.err;
    ASSERT_TRUE(doc.is_object());
    EXPECT_EQ(doc["pages"][0]["staves"][0]["elements"].size(), 2u);
    const CliResult r = RunCli(dir.path(), {"import-gmn", "missing.gmn", "none.mus"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Could not open file"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.mus"));
    EXPECT_EQ(RunCli(dir.path(), {"import-gmn", "only-one.gmn"}).status, 2);
}

}  // namespace
}  // namespace notavera
