// notavera-cli script end to end: the command line as the editor takes it, keys, characters, commands and mouse
// lines reaching the dispatch down to the element words of the dump, the MESSAGE and TITLE lines, Quit, the save,
// dump and render lines, dialogs answered by label, scripts with mistakes, and a long score laid out by spacing.
#include <gtest/gtest.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "score/new_document.h"
#include "shell/command_ids.h"
#include "shell/cursor_frame.h"
#include "support/cli_runner.h"
#include "support/score_builder.h"
#include "support/test_files.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;
using test::CliResult;

constexpr const char* plainTitle = "TITLE Notavera v.6.5d - opus.mus (p.1/1) - {0,1} 1 - Voix 1  [1:1]\n";

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0); }
    CliResult script(const std::string& text, const std::string& document = "opus.mus") {
        test::WriteText(dir / "script.txt", text);
        return test::RunCli(dir.path(), {"script", document, "script.txt"});
    }
    nlohmann::json json(const char* name) { return nlohmann::json::parse(test::ReadText(dir / name), nullptr, false); }

    test::TempDir dir;
};

TEST_F(ScriptTest, TheDocumentNamedOnTheCommandLineMayBeQuotedAsAWhole) {
    const std::string path = (dir / "opus.mus").string();
    EXPECT_EQ(script("title\n", path).out, plainTitle);
    EXPECT_EQ(script("title\n", "\"" + path + "\"").out, plainTitle);
    // A quote at one end stays part of the name, which cannot be read: the editor starts untitled.
    const std::string untitled = script("title\n", "\"" + path).out;
    EXPECT_NE(untitled.find("TITLE Notavera v.6.5d - (sans nom) (p.1/1)"), std::string::npos) << untitled;
}

// A quarter C as a new document writes it: octave 4, proportion 1/1, duration code 4, name 1, automatic stem.
constexpr std::uint32_t octave4 = 4u << 8;
constexpr std::uint32_t plainWord1 = (1u << 8) | (1u << 16);
constexpr std::uint32_t automaticStem = 1u << 13;

TEST_F(ScriptTest, KeysCharactersAndCommandsBecomeTheElementWordsOfTheDump) {
    const CliResult r = script(
        "cmd 202\nanswer IndMesure Numérateur=3 Dénominateur=4 ok\ncmd 230\nkey F2\nchars \"5.\"\nkey F3\n"
        "char |\nchar S\nanswer Fraction Numérateur=3 Dénominateur=2 ok\nchar G\nkey Shift+Up\ntitle\ndump d.json\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "TITLE Notavera v.6.5d - opus.mus (p.1/1) - {0,1} 1 - Voix 1  [3:2]\n");
    const auto e = json("d.json")["pages"][0]["staves"][0]["elements"];
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0]["signWord"], 6u | (3u << 17));  // F clef on line 4
    EXPECT_EQ(e[0]["param"], 4);
    EXPECT_EQ(e[1]["signWord"], 5u | (1u << 17));  // numbers shown
    EXPECT_EQ(e[1]["word1"], (3u << 8) | (4u << 16));
    EXPECT_EQ(e[2]["word0"], octave4);
    EXPECT_EQ(e[2]["word1"], plainWord1);
    EXPECT_EQ(e[2]["noteWord"], (4u << 1) | automaticStem | (1u << 22));
    EXPECT_EQ(e[3]["noteWord"], (5u << 1) | (1u << 6) | automaticStem | (2u << 22));  // dotted eighth D
    EXPECT_EQ(e[4]["signWord"], 0u | (124u << 17));                                  // bar line
    EXPECT_EQ(e[5]["noteWord"], 1u | (5u << 1) | automaticStem | (7u << 22));  // eighth rest on the bass staff's B
    for (std::size_t i = 1; i < e.size(); ++i) EXPECT_GT(e[i]["x"].get<int>(), e[i - 1]["x"].get<int>());
}

TEST_F(ScriptTest, MouseLinesClickDragDoubleClickAndRightClickInPageUnits) {
    ScoreDocument doc;  // laid out as every new document is: its first staff's height is known here
    SetUpNewDocument(doc, 1);
    const CursorFrame f = *CursorFrameOf(doc);
    const int ref = static_cast<int>(f.staffY[0]), middle = ref - f.staffHeight * 3 / 2;
    const auto at = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };
    const CliResult r = script("click " + at(500, ref + 40) + "\nkey F2\nkey F3\ndrag " + at(60, middle) + " " +
                               at(70, middle) + "\ndblclick " + at(700, ref - 12 * f.halfSpace) +
                               "\nkey Left\nrclick 0 0\nkey F4\ndump d.json\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = json("d.json")["pages"][0]["staves"][0]["elements"];
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0]["x"], 60);  // the click outside the band left the cursor where a new document's starts
    EXPECT_EQ((e[0]["noteWord"].get<unsigned>() >> 1) & 0xFu, 5u);  // the drag shortened the selected note
    EXPECT_EQ(e[2]["x"], 700);
    EXPECT_EQ((e[2]["noteWord"].get<unsigned>() >> 22) & 0xFu, 3u) << "the double click's G, repitched by F4";
}

TEST_F(ScriptTest, QuitWithNoDiscardsPrintsItsQuestionAndEndsTheScript) {
    const auto before = test::ReadBytes(dir / "opus.mus");
    const CliResult r = script("answer Environnement ok\ncmd 335\nanswer message no\ncmd 6\ntitle\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "MESSAGE Notavera 66 Enregistrer les modifications dans opus.mus ?\n");
    EXPECT_EQ(test::ReadBytes(dir / "opus.mus"), before);
    EXPECT_FALSE(fs::exists(dir / "opus.sum"));
}

TEST_F(ScriptTest, SaveUnderAnotherNameAndRenderWriteTheirFilesAndAMissingPageStopsTheScript) {
    const auto before = test::ReadBytes(dir / "opus.mus");
    CliResult r = script("answer Environnement ok\ncmd 335\nsave nouveau.mus\ntitle\nrender 1 page.json\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("nouveau.mus (p.1/1)"), std::string::npos) << r.out;
    EXPECT_EQ(test::ReadBytes(dir / "opus.mus"), before);
    EXPECT_TRUE(fs::exists(dir / "nouveau.mus"));
    EXPECT_FALSE(json("page.json").empty());
    r = script("render 4 page.json\ntitle\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Page 4 inexistante"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(ScriptTest, DialogsAreAnsweredByLabelIncludingTheFontChooserOfAButton) {
    const CliResult r = script("answer Police Police=\"Courier New\" Style=Gras Taille=50 ok\n"
                               "answer Pagination Texte=Sonate Position#2=Centré \"Première page incluse#2\"=1 "
                               "Police#2=1 ok\ncmd 615\nrender 1 page.wmf\n"
                               "answer Regleur \"Nombre de portées\"=3 ok\ncmd 62\n"
                               "answer Regleur \"Nombre de portées\"=6 cancel\ncmd 62\n"
                               "answer Regleur \"Nombre de portées\"=2 ok\ncmd 61\ntitle\ndump d.json\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string wmf = test::ReadText(dir / "page.wmf");  // the header drawn in the face chosen
    EXPECT_NE(wmf.find("Courier New"), std::string::npos);
    EXPECT_NE(wmf.find("Sonate"), std::string::npos);
    EXPECT_NE(r.out.find("(p.2/2)"), std::string::npos) << r.out;
    const auto pages = json("d.json")["pages"];
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0]["staves"].size(), 3u);  // the cancelled answer changed nothing
    EXPECT_EQ(pages[1]["staves"].size(), 2u);
}

// A bad line anywhere stops the script before its first line runs.
TEST_F(ScriptTest, ABadLineIsReportedWithItsNumberAndNothingRuns) {
    for (const auto& [line, problem] : {std::pair{"frobnicate", "action inconnue : frobnicate"},
                                        std::pair{"drag 1 2 3", "drag X1 Y1 X2 Y2 [ctrl] [quick]"}}) {
        const CliResult r = script("answer file neuf.mus\ncmd 4\n\n" + std::string(line) + "\n", "");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "Erreur de script, ligne 4 : " + std::string(problem) + "\n");
        EXPECT_FALSE(fs::exists(dir / "neuf.mus"));
    }
}

// A folder is no score: opening one says it cannot be read, on the command line as from the Ouvrir dialog.
TEST_F(ScriptTest, AFolderOpenedIsAFileThatCannotBeRead) {
    fs::create_directory(dir / "dossier");
    for (const char* document : {"dossier", "opus.mus"}) {
        const CliResult r = script("answer file dossier\ncmd 2\n", document);
        EXPECT_NE(r.out.find("MESSAGE Notavera 4 Impossible de lire le fichier dossier"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("Erreur Disque"), std::string::npos) << r.out;
    }
}

// A score without a name keeps its pages apart like any other: each renders, whichever is shown. The script's
// first answers take the staff-layout dialog the editor opens as it starts.
TEST_F(ScriptTest, EveryPageOfAnUntitledScoreRenders) {
    const CliResult r = script("answer Regleur ok\nkey F2\ncmd 63\nkey F3\ncmd 63\nkey F4\nrender 1 p1.json\n"
                               "render 2 p2.json\nrender 3 p3.json\n", "");
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* page : {"p1.json", "p2.json", "p3.json"}) EXPECT_FALSE(json(page).empty()) << page;
    EXPECT_NE(test::ReadText(dir / "p1.json"), test::ReadText(dir / "p2.json"));
    EXPECT_EQ(script("key F2\n", "").status, 1);  // the staff-layout dialog left unanswered
}

// A script that does what a user cannot, or answers what never asks, fails at the line that shows it: a mistyped
// test must not pass.
TEST_F(ScriptTest, AGreyCommandAWrongAnswerAndAnUnansweredDialogFailTheScriptAtTheirLine) {
    struct Mistake {
        const char* script;
        const char* report;  // on stderr
    };
    const Mistake mistakes[] = {
        {"cmd 218\n", "ligne 1"},                       // nothing erased to recover
        {"key F2\nkey F3\ncmd 283\n", "ligne 3"},       // a region command without marker Y
        {"key F2\ncmd 125\n", "Ligne 2 : la boîte de dialogue \"Armure\" s'est ouverte sans réponse"},
        {"answer Armure Nombr=2 Dièse=1 ok\ncmd 125\n", "Ligne 2 : champ inconnu ou valeur refusée : Armure Nombr"},
        {"answer Armur Nombre=2 Dièse=1 ok\nkey F2\n", "Ligne 1 : aucune boîte de dialogue \"Armur\""},
    };
    for (const Mistake& m : mistakes) {
        SCOPED_TRACE(m.script);
        const CliResult r = script(m.script);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(m.report), std::string::npos) << r.err;
    }
    EXPECT_NE(script("cmd 218\n").out.find("MESSAGE Script 0 Commande grisée : 218"), std::string::npos);
}

// Sixteen bars of four quarters on one voice, far longer than a line, laid out by a spacing command; the staves
// holding music, page after page, and what the script printed.
struct Laid {
    std::string out;
    std::vector<nlohmann::json> lines;
    int lineLength = 0;
};

Laid RunLayout(const test::TempDir& dir, int command) {
    test::WriteText(dir / "script.txt", "cmd " + std::to_string(command) + "\ndump after.json\n");
    const CliResult r = test::RunCli(dir.path(), {"script", "score.mus", "script.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    const nlohmann::json dump = nlohmann::json::parse(test::ReadText(dir / "after.json"), nullptr, false);
    Laid laid{r.out, {}, dump["pages"][0]["lineLength"]};
    for (const auto& page : dump["pages"])
        for (const auto& staff : page["staves"])
            if (!staff["elements"].empty()) laid.lines.push_back(staff["elements"]);
    return laid;
}

Laid LayOutSixteenBars(int command) {
    test::TempDir dir;
    std::string music = "[ \\clef<\"treble\"> \\meter<\"4/4\"> ";
    for (int bar = 0; bar < 16; ++bar) music += "c1/4 d1 e1 f1 | ";
    test::WriteText(dir / "score.gmn", music + "]\n");
    EXPECT_EQ(test::RunCli(dir.path(), {"import-gmn", "score.gmn", "score.mus"}).status, 0);
    return RunLayout(dir, command);
}

// The same notes with no bar line anywhere: nothing lets the layout end the line.
Laid LayOutWithoutBars() {
    test::TempDir dir;
    test::ScoreBuilder score;
    score.notes(100, 60, 64, 1);
    EXPECT_TRUE(score.saveAs(dir / "score.mus"));
    return RunLayout(dir, cmd::RecalculateDistances);
}

int Notes(const nlohmann::json& elements) {
    return static_cast<int>(std::count_if(elements.begin(), elements.end(), [](const auto& e) { return e["kind"] == "note"; }));
}

// "Recalculer Distances" and "Page justifiée" break at bars into lines that start with a clef and end on their bar
// at the line's end; the raw page breaks without stretching; a line without a bar is reported once and kept.
TEST(SpacingScript, ALongLineIsBrokenAtBarsIntoLinesThatFit) {
    constexpr unsigned clef = 6, bar = 0;
    constexpr int stepUnit = 10;  // the half space of the normal staff of a new score
    for (const int command : {cmd::RecalculateDistances, cmd::LayOutPageJustified, cmd::LayOutPageRaw}) {
        const Laid laid = LayOutSixteenBars(command);
        EXPECT_EQ(laid.out, "") << command;
        ASSERT_GE(laid.lines.size(), 3u) << command;
        int notes = 0;
        for (std::size_t i = 0; i < laid.lines.size(); ++i) {
            const auto& line = laid.lines[i];
            EXPECT_EQ(line.front()["signType"], clef) << command << " line " << i;
            EXPECT_LE(line.back()["x"].get<int>(), laid.lineLength) << command << " line " << i;
            for (std::size_t k = 1; k < line.size(); ++k)
                EXPECT_LE(line[k - 1]["x"].get<int>(), line[k]["x"].get<int>()) << command << " line " << i;
            notes += Notes(line);
            if (i + 1 == laid.lines.size()) continue;
            EXPECT_EQ(line.back()["signType"], bar) << command << " line " << i;
            const int end = line.back()["x"].get<int>();
            if (command != cmd::LayOutPageRaw) {
                EXPECT_GE(end, laid.lineLength - 3 * stepUnit) << command << " line " << i;
            } else if (i == 0) {
                EXPECT_LT(end, laid.lineLength - 3 * stepUnit) << "the raw page does not stretch";
            }
        }
        EXPECT_EQ(notes, 64) << "no note is lost or doubled by the breaking";
    }
    const Laid unbroken = LayOutWithoutBars();
    const std::string report = "MESSAGE Message 51 Ligne trop longue. Essayez avec fonction Ligne supérieure.\n";
    EXPECT_EQ(unbroken.out, report);
    ASSERT_EQ(unbroken.lines.size(), 1u);
    EXPECT_EQ(Notes(unbroken.lines[0]), 64);
}

// Sixteen bars on a system of two staves, all on its first line: quarters over halves, far beyond the line.
struct SystemLines {
    std::string out;
    std::vector<std::vector<nlohmann::json>> systems;  // the staves of each system holding music, page after page
    int lineLength = 0;
};

SystemLines LayOutTwoStaffSystem(int command) {
    test::TempDir dir;
    test::ScoreBuilder score(1, 4, 2);
    constexpr int barWidth = 240;
    for (int bar = 0; bar < 16; ++bar) {
        const int x = 100 + bar * barWidth;
        score.on(1, 0).notes(x, barWidth / 4, 4, 1 + bar % 7);
        // The staves were written apart: the lower one's notes and bars stand a little further right.
        score.on(1, 1).notes(x + 7, barWidth / 2, 2, 1 + bar % 5, 3);
        score.on(1, 0).bar(x + barWidth - 20);
        score.on(1, 1).bar(x + barWidth - 9);
    }
    score.setCurrent(1, 0);
    EXPECT_TRUE(score.saveAs(dir / "score.mus"));
    const Laid laid = RunLayout(dir, command);
    SystemLines lines{laid.out, {}, laid.lineLength};
    for (std::size_t i = 0; i + 1 < laid.lines.size(); i += 2) lines.systems.push_back({laid.lines[i], laid.lines[i + 1]});
    return lines;
}

std::vector<int> BarXs(const nlohmann::json& elements) {
    std::vector<int> xs;
    for (const auto& e : elements)
        if (e["kind"] == "sign" && e["signType"] == static_cast<int>(SignType::Bar)) xs.push_back(e["x"]);
    return xs;
}

// On systems of two staves the page layouts break at bars shared by both staves, keep each system's bar lines at
// one x, nothing beyond the line, and (but for the raw page and the last line) end every system at the line's end.
TEST(SpacingScript, SystemsOfTwoStavesAreBrokenAlignedAndJustified) {
    // A justified page is grey on a staff of a group.
    for (const int command : {cmd::LayOutPageRaw, cmd::RecalculateDistances}) {
        const SystemLines laid = LayOutTwoStaffSystem(command);
        EXPECT_EQ(laid.out, "") << command;
        ASSERT_GE(laid.systems.size(), 3u) << command;
        int notes = 0;
        for (std::size_t i = 0; i < laid.systems.size(); ++i) {
            const auto& system = laid.systems[i];
            EXPECT_EQ(BarXs(system[0]), BarXs(system[1])) << command << " system " << i;
            for (const auto& staff : system) {
                EXPECT_LE(staff.back()["x"].get<int>(), laid.lineLength) << command << " system " << i;
                notes += Notes(staff);
            }
            if (command != cmd::LayOutPageRaw && i + 1 < laid.systems.size()) {
                EXPECT_GE(system[0].back()["x"].get<int>(), laid.lineLength - 30) << command << " system " << i;
            }
        }
        EXPECT_EQ(notes, 16 * 6) << command;
    }
}

}  // namespace
}  // namespace notavera
