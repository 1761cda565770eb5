// notavera-cli end to end: gmn-trace (the trace lines, the modes, the error lines, the exit status) and
// import-gmn (the saved score read back).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
};

CliRun RunCli(const std::string& arguments) {
    CliRun r;
    const std::string command = std::string(NOTAVERA_CLI) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

CliRun RunTrace(const std::string& arguments) { return RunCli("gmn-trace " + arguments); }

class GmnTraceCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("gmn_cli_" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path write(const std::string& text) {
        const fs::path path = dir_ / ("in" + std::to_string(count_++) + ".gmn");
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    fs::path dir_;
    int count_ = 0;
};

using GmnImportCli = GmnTraceCli;

TEST_F(GmnTraceCli, PrintsTheCallbacksOfTheReading) {
    const CliRun r = RunTrace(write("[c d/8.]").string());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "na_segmInit()\nna_seqInit()\n"
              "na_seqAppendNote(pc=0,oct=1,acc=0, durN=1,durD=4,dots=0, durPosN=0,durPosD=1)\n"
              "na_seqAppendNote(pc=2,oct=1,acc=0, durN=1,durD=8,dots=1, durPosN=1,durPosD=4)\n"
              "na_seqExit()\nna_segmExit()\n");
}

TEST_F(GmnTraceCli, ModeElevenMakesOnlyTagCallbacks) {
    const CliRun r = RunTrace(write("[c \\bar d | e]").string() + " --mode 11");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.find("na_seqAppendNote"), std::string::npos);
    EXPECT_NE(r.out.find("na_tagStart(s=\\bar,no=0,tagno=1, durPosN=1,durPosD=4)"), std::string::npos);
    EXPECT_NE(r.out.find("na_tagStart(s=\\bar,no=0,tagno=2, durPosN=1,durPosD=2)"), std::string::npos);
}

TEST_F(GmnTraceCli, ErrorsAppearAmongTheLinesAndFailTheRun) {
    const CliRun r = RunTrace(write("[c\n x ]]").string());
    EXPECT_EQ(r.status, 1);
    // A box is one line: its line breaks are printed as spaces.
    EXPECT_NE(r.out.find("MESSAGE Erreur 0 Erreur lors de l'analyse du fichier Guido Erreur: 'Unknown notename, "
                         "replaced by rest.' (ligne 2, caractère 2)"),
              std::string::npos);
    EXPECT_NE(r.out.find("Erreur: 'parse error' (ligne 2, caractère 5)"), std::string::npos);
    // The note before the error was passed on, and so was the rest that replaced x.
    EXPECT_NE(r.out.find("na_seqAppendNote(pc=-1,"), std::string::npos);
}

TEST_F(GmnTraceCli, MissingFileAndBadArguments) {
    const CliRun missing = RunTrace("/nonexistent/x.gmn");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("Erreur: 'Could not open file'"), std::string::npos);
    EXPECT_EQ(RunTrace(write("[c]").string() + " --mode 5").status, 2);
    EXPECT_EQ(RunTrace("").status, 2);
}

TEST_F(GmnImportCli, SavesTheImportedScoreAsADocument) {
    const fs::path out = dir_ / "piece.mus";
    const CliRun r = RunCli("import-gmn " + write("{[\\clef<\"f\"> \\key<-2> c d/8 e | f], [g*1/12 a b]}").string() +
                            " " + out.string());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(r.out.empty()) << r.out;
    ASSERT_TRUE(fs::exists(out));
    EXPECT_FALSE(fs::exists(WorkingFileName(out)));

    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    ASSERT_EQ(ReadDocument(ctx, out), FileOk);
    const PageRecord* page = ctx.doc.findPage(1);
    ASSERT_NE(page, nullptr);
    ASSERT_GE(page->staves.size(), 2u);
    const auto& first = page->staves[0];
    EXPECT_EQ(first.key().keyKind(), KeyKind::Flats);
    EXPECT_EQ(first.key().keyCount(), 2u);
    ASSERT_EQ(first.elements.size(), 6u);
    EXPECT_TRUE(first.elements[0].isSignOfType(SignType::Clef));
    EXPECT_EQ(first.elements[2].noteWord().durationCode(), 5u);
    EXPECT_TRUE(first.elements[4].isSignOfType(SignType::Bar));
    const auto& second = page->staves[1];
    ASSERT_EQ(second.elements.size(), 3u);
    EXPECT_EQ(second.elements[0].w1().numerator(), 3u);
    EXPECT_EQ(second.elements[0].w0().groupMark(), 1u);
    EXPECT_EQ(second.elements[2].w0().groupMark(), 2u);
    DeleteWorkFiles(ctx);
}

TEST_F(GmnImportCli, ReadingErrorIsReportedAndWhatWasReadIsSaved) {
    const fs::path out = dir_ / "partial.mus";
    const CliRun r = RunCli("import-gmn " + write("[c d ) e]").string() + " " + out.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Erreur: 'parse error' (ligne 1, caractère 6)"), std::string::npos) << r.out;
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    ASSERT_EQ(ReadDocument(ctx, out), FileOk);
    EXPECT_EQ(ctx.doc.findPage(1)->staves[0].elements.size(), 2u);
    DeleteWorkFiles(ctx);
}

TEST_F(GmnImportCli, MissingInputWritesNothing) {
    const fs::path out = dir_ / "none.mus";
    const CliRun r = RunCli("import-gmn " + (dir_ / "missing.gmn").string() + " " + out.string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Could not open file"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(RunCli("import-gmn only-one-argument.gmn").status, 2);
}

}  // namespace
}  // namespace notavera
