// notavera-cli script end to end: the command line as the editor takes it, the question before closing, Save As
// of an untitled document, what the dump and render lines write, and scripts with mistakes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/mus_file_builder.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::RunCli;
using test::TempDir;
using test::WriteText;

constexpr const char* askSaveUntitled = "MESSAGE Notavera 66 Enregistrer les modifications dans (sans nom) ?\n";

class ScriptTest : public ::testing::Test {
protected:
    CliResult script(const std::string& document, const std::string& text) {
        WriteText(dir / "script.txt", text);
        return RunCli(dir.path(), {"script", document, "script.txt"});
    }
    // A saved document of one page in the test folder.
    void makeDocument(const std::string& name) {
        const CliResult r = RunCli(dir.path(), {"new", name});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    std::vector<std::string> lines(const std::string& out) const {
        std::vector<std::string> result;
        std::size_t start = 0;
        while (start < out.size()) {
            const std::size_t end = out.find('\n', start);
            result.push_back(out.substr(start, end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
        return result;
    }

    TempDir dir;
};

TEST_F(ScriptTest, AQuotedCommandLineOpensTheSameDocument) {
    makeDocument("mon opus.mus");
    const CliResult plain = script((dir / "mon opus.mus").string(), "title\n");
    const CliResult quoted = script("\"" + (dir / "mon opus.mus").string() + "\"", "title\n");
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_EQ(quoted.status, 0) << quoted.err;
    EXPECT_EQ(plain.out, "TITLE Notavera v.6.5d - mon opus.mus (p.1/1) - {0,1} 1 - Voix 1  [1:1]\n");
    EXPECT_EQ(quoted.out, plain.out);
}

TEST_F(ScriptTest, AQuoteAtOneEndOnlyStaysPartOfTheName) {
    makeDocument("opus.mus");
    const CliResult r = script("\"" + (dir / "opus.mus").string(), "title\n");
    ASSERT_EQ(r.status, 0) << r.err;
    // The name cannot be read: the editor starts with an untitled document.
    EXPECT_NE(r.out.find("TITLE Notavera v.6.5d - (sans nom) (p.1/1)"), std::string::npos) << r.out;
}

TEST_F(ScriptTest, ClosingAModifiedUntitledDocumentAsksAndCancelKeepsIt) {
    const CliResult r = script("", "answer Environnement ok\ncmd 335\nanswer message cancel\ncmd 6\ntitle\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(askSaveUntitled) + "TITLE Notavera v.6.5d - (sans nom) (p.1/1) - {0,1} 1 - Voix 1  [1:1]\n");
}

TEST_F(ScriptTest, AYesWhoseSaveFailsCountsAsCancel) {
    // Yes asks for a name (the document is untitled); the name dialog is cancelled, so nothing is saved.
    const CliResult r =
        script("", "answer Environnement ok\ncmd 335\nanswer message yes\nanswer file cancel\ncmd 6\ntitle\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto out = lines(r.out);
    ASSERT_EQ(out.size(), 2u) << r.out;
    EXPECT_EQ(out[0] + "\n", askSaveUntitled);
    EXPECT_TRUE(out[1].starts_with("TITLE ")) << "the window stayed open";
}

TEST_F(ScriptTest, QuitWithNoDiscardsAndEndsTheScript) {
    makeDocument("opus.mus");
    const auto before = test::ReadBytes(dir / "opus.mus");
    const CliResult r = script((dir / "opus.mus").string(),
                               "answer Environnement ok\ncmd 335\nanswer message no\ncmd 6\ntitle\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "MESSAGE Notavera 66 Enregistrer les modifications dans opus.mus ?\n");
    EXPECT_EQ(test::ReadBytes(dir / "opus.mus"), before);
    EXPECT_FALSE(fs::exists(dir / "opus.sum"));
}

TEST_F(ScriptTest, SaveAsOfAnUntitledDocumentOnlyAsksForANameAndWritesOnce) {
    const CliResult r = script("", "answer file " + (dir / "neuf.mus").string() + "\ncmd 4\ntitle\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "TITLE Notavera v.6.5d - neuf.mus (p.1/1) - {0,1} 1 - Voix 1  [1:1]\n");
    EXPECT_TRUE(fs::exists(dir / "neuf.mus"));
    EXPECT_FALSE(fs::exists(dir / "neuf.bak"));
}

TEST_F(ScriptTest, SaveUnderAnotherNameLeavesTheOldDocumentAsItWas) {
    makeDocument("ancien.mus");
    const auto before = test::ReadBytes(dir / "ancien.mus");
    const CliResult r = script((dir / "ancien.mus").string(),
                               "answer Environnement ok\ncmd 335\nsave " + (dir / "nouveau.mus").string() + "\ntitle\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("nouveau.mus (p.1/1)"), std::string::npos) << r.out;
    EXPECT_EQ(test::ReadBytes(dir / "ancien.mus"), before);
    EXPECT_TRUE(fs::exists(dir / "nouveau.mus"));
}

TEST_F(ScriptTest, DumpAndRenderWriteTheirFiles) {
    makeDocument("opus.mus");
    const CliResult r = script((dir / "opus.mus").string(), "dump doc.json\nrender 1 page.json\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto doc = nlohmann::json::parse(test::ReadText(dir / "doc.json"), nullptr, false);
    ASSERT_FALSE(doc.is_discarded());
    EXPECT_EQ(doc["pages"].size(), 1u);
    const auto calls = nlohmann::json::parse(test::ReadText(dir / "page.json"), nullptr, false);
    ASSERT_TRUE(calls.is_array());
    EXPECT_FALSE(calls.empty());
}

TEST_F(ScriptTest, MaskCommandsEnterLeaveAndToggleTheirFlag) {
    makeDocument("opus.mus");
    const CliResult r = script((dir / "opus.mus").string(),
                               "dump avant.json\ncmd 621\ntitle\ncmd 482\ntitle\ncmd 619\ndump sans.json\n"
                               "cmd 619\ndump avec.json\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> titles = lines(r.out);
    ASSERT_GE(titles.size(), 2u) << r.out;
    // On the mask page the title bar names page 0; leaving goes back to page 1.
    EXPECT_NE(titles[0].find("(p.0/1)"), std::string::npos) << titles[0];
    EXPECT_NE(titles[1].find("(p.1/1)"), std::string::npos) << titles[1];
    const auto layoutOf = [this](const char* name) {
        return nlohmann::json::parse(test::ReadText(dir / name), nullptr, false)["pages"][0]["layout"];
    };
    EXPECT_NE(layoutOf("sans.json"), layoutOf("avant.json"));
    EXPECT_EQ(layoutOf("avec.json"), layoutOf("avant.json"));
}

TEST_F(ScriptTest, SavingWhileAMaskIsEditedReopensOnThePageTheUserCameFrom) {
    test::MusFileBuilder b;
    b.addPage(test::MakePage(1, 2, 3)).addPage(test::MakePage(2, 2, 3)).addPage(test::MakePage(3, 2, 3));
    b.header.currentPage() = 2;
    test::WriteBytes(dir / "opus.mus", b.build());
    const std::string doc = (dir / "opus.mus").string();
    const CliResult edit = script(doc, "title\ncmd 621\nsave\ncmd 482\n");
    ASSERT_EQ(edit.status, 0) << edit.err;
    EXPECT_NE(edit.out.find("(p.2/3)"), std::string::npos) << edit.out;
    const CliResult reopened = script(doc, "title\n");
    ASSERT_EQ(reopened.status, 0) << reopened.err;
    EXPECT_NE(reopened.out.find("(p.2/3)"), std::string::npos) << reopened.out;
    EXPECT_EQ(reopened.out.rfind("TITLE", 0), 0u) << reopened.out;
}

// The header's "Police" button asks the font chooser; the page drawn (here as a metafile) names the face chosen.
TEST_F(ScriptTest, HeaderDrawsInTheFontItsPoliceButtonChose) {
    makeDocument("opus.mus");
    const CliResult r = script((dir / "opus.mus").string(),
                               "answer Police Police=\"Courier New\" Style=Gras Taille=50 ok\n"
                               "answer Pagination Texte=Sonate Position#2=Centré \"Première page incluse#2\"=1 "
                               "Police#2=1 ok\ncmd 615\nrender 1 page.wmf\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string wmf = test::ReadText(dir / "page.wmf");
    EXPECT_NE(wmf.find("Courier New"), std::string::npos);
    EXPECT_NE(wmf.find("Sonate"), std::string::npos);
}

TEST_F(ScriptTest, ModifierFeuilleTakesTheRegleurAnswer) {
    makeDocument("opus.mus");
    const CliResult r = script((dir / "opus.mus").string(),
                               "answer Regleur \"Nombre de portées\"=3 ok\ncmd 62\ndump apres.json\n"
                               "answer Regleur \"Nombre de portées\"=6 cancel\ncmd 62\ndump annule.json\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto stavesIn = [this](const char* name) {
        return nlohmann::json::parse(test::ReadText(dir / name), nullptr, false)["pages"][0]["staves"].size();
    };
    EXPECT_EQ(stavesIn("apres.json"), 3u);
    EXPECT_EQ(stavesIn("annule.json"), 3u);
}

TEST_F(ScriptTest, CreerFeuilleAddsAPageLaidOutByTheRegleur) {
    const CliResult r = script("", "answer Regleur \"Nombre de portées\"=2 ok\ncmd 61\ntitle\ndump doc.json\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("(p.2/2)"), std::string::npos) << r.out;
    const auto doc = nlohmann::json::parse(test::ReadText(dir / "doc.json"), nullptr, false);
    ASSERT_EQ(doc["pages"].size(), 2u);
    EXPECT_EQ(doc["pages"][1]["staves"].size(), 2u);
}

TEST_F(ScriptTest, RenderingAMissingPageFails) {
    makeDocument("opus.mus");
    const CliResult r = script((dir / "opus.mus").string(), "render 4 page.json\ntitle\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Page 4 inexistante"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");  // the script stopped at the failed line
}

struct BadLine {
    std::string text;
    std::string problem;
};

class BadScript : public ScriptTest, public ::testing::WithParamInterface<BadLine> {};

// A bad line anywhere stops the script before its first line runs.
TEST_P(BadScript, IsReportedWithItsLineAndNothingRuns) {
    const std::string text = "answer file " + (dir / "neuf.mus").string() + "\ncmd 4\n\n" + GetParam().text + "\n";
    const CliResult r = script("", text);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Erreur de script, ligne 4 : " + GetParam().problem + "\n");
    EXPECT_FALSE(fs::exists(dir / "neuf.mus"));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BadScript,
    ::testing::Values(BadLine{"frobnicate", "action inconnue : frobnicate"},
                      BadLine{"key Ctrl+F12", "touche inconnue : F12"},
                      BadLine{"cmd douze", "numéro de commande attendu"},
                      BadLine{"char ab", "un seul caractère attendu"},
                      BadLine{"chars \"abc", "guillemet non fermé"},
                      BadLine{"answer message peut-être", "réponse attendue : yes, no, cancel, ok ou retry"},
                      BadLine{"answer Fraction 3 ok", "champ sans valeur : 3"},
                      BadLine{"answer Fraction Numérateur=3", "la réponse finit par ok ou cancel"},
                      BadLine{"render un page.png", "render PAGE FICHIER"}));

TEST_F(ScriptTest, KeysCharactersAndCommandsReachTheDispatch) {
    const CliResult r = script("", "answer Fraction Numérateur=3 Dénominateur=2 ok\nchar G\nkey Shift+Up\n"
                                   "chars \"5d.\"\ncmd 65590\ntitle\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "TITLE Notavera v.6.5d - (sans nom) (p.1/1) - {0,1} 1 - Voix 1  [3:2]\n");
}

}  // namespace
}  // namespace notavera
