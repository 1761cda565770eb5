// notavera-cli gmn-trace end to end: the trace lines, the modes, the error lines and the exit status.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace notavera {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
};

CliRun RunTrace(const std::string& arguments) {
    CliRun r;
    const std::string command = std::string(NOTAVERA_CLI) + " gmn-trace " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

class GmnTraceCli : public ::testing::Test {
protected:
    fs::path write(const std::string& text) {
        const fs::path path = fs::temp_directory_path() /
                              ("gmn_cli_" + std::to_string(getpid()) + "_" + std::to_string(files_.size()) + ".gmn");
        std::ofstream(path, std::ios::binary) << text;
        files_.push_back(path);
        return path;
    }
    void TearDown() override {
        for (const auto& f : files_) fs::remove(f);
    }
    std::vector<fs::path> files_;
};

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

}  // namespace
}  // namespace notavera
