// The text window end to end: texts typed, edited and emptied, lyrics laid out from the clipboard, verses shifted by
// Insert and Backspace, the bulk changes and the font table. Each staff reads as a line of its texts: "n3:ab" a text
// at the x of the staff's fourth note, "x700:6" one at x 700, "-" a hyphen, "|" a word end; with the attributes,
// "[c3t2 f3 o2 s0 z20]" category and type, font, orientation, style and size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

// Two systems of one staff: 13 notes, a tie on notes 5-6 and a beam on notes 8-9, then 7 notes.
constexpr const char* piece =
    "[ \\clef<\"g\"> \\meter<\"4/4\"> c1/4 d e f g \\tie(a a) b \\beam(c2/8 d) e/4 f g a b c3 d e f g ]";
constexpr const char* syllablesMenu = "menu \"Insertion syllabes (Presse-papiers)\"\n";
constexpr const char* beforeFirstNote = "menu \"PAROLES 1\"\nclick 200 2800\n";

std::string Token(const nlohmann::json& e, const std::vector<int>& notes, bool attributes) {
    const auto& t = e["text"];
    const std::string chars = t["characters"];
    if (chars == "-" && t["category"] == 1) return "-";
    const int x = e["x"];
    std::string token = "x" + std::to_string(x);
    for (std::size_t i = 0; i < notes.size(); ++i)
        if (notes[i] == x) token = "n" + std::to_string(i);
    token += ":" + chars + (t["category"] == 1 && t["opaque"] == true ? "|" : "");
    if (attributes)
        token += "[c" + std::to_string(t["category"].get<int>()) + "t" + std::to_string(t["type"].get<int>()) +
                 " f" + std::to_string(t["font"].get<int>()) + " o" + std::to_string(t["orientation"].get<int>()) +
                 " s" + std::to_string(t["style"].get<int>()) + " z" + std::to_string(t["size"].get<int>()) + "]";
    return token;
}

std::string TextLines(const nlohmann::json& page, bool attributes) {
    std::string out;
    for (std::size_t s = 0; s < page["staves"].size(); ++s) {
        std::vector<int> notes;
        std::string line;
        for (const auto& e : page["staves"][s]["elements"])
            if (e["kind"] == "note") notes.push_back(e["x"]);
        for (const auto& e : page["staves"][s]["elements"])
            if (e.contains("text")) line += " " + Token(e, notes, attributes);
        if (!line.empty()) out += (out.empty() ? "s" : " / s") + std::to_string(s) + ":" + line;
    }
    return out;
}

struct TextCase {
    const char* name;
    std::string script;
    const char* texts;
    bool attributes = false;
    const char* printed = "";   // a line the run prints
    const char* fifthFont = "";  // the font table's first entry free for additions, after the run
};

class TextWindowScript : public ::testing::TestWithParam<TextCase> {
protected:
    test::TempDir dir;
};

TEST_P(TextWindowScript, LeavesTheTexts) {
    test::WriteText(dir / "piece.gmn", piece);
    ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", "piece.gmn", "opus.mus"}).status, 0);
    test::WriteText(dir / "s.txt", "cmd 231\nwindow texte\n" + GetParam().script + "\nwindow partition\ndump d.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err << r.out;
    const auto dump = nlohmann::json::parse(test::ReadText(dir / "d.json"));
    EXPECT_EQ(TextLines(dump["pages"][0], GetParam().attributes), GetParam().texts);
    EXPECT_NE(r.out.find(GetParam().printed), std::string::npos) << r.out;
    EXPECT_EQ(dump["fonts"][4], GetParam().fifthFont);
}

std::string Syllables(const std::string& clipboard) {
    return "clipboard text \"" + clipboard + "\"\n" + syllablesMenu;
}

// Twenty-eight faces fill the table after its four first entries; the next one finds no room.
std::string FillFontTable() {
    std::string script;
    for (int i = 0; i <= 28; ++i) script += "answer Police Police=\"Face " + std::to_string(i) + "\" ok\nmenu Polices\n";
    return script + "chars \"a\"\n";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextWindowScript,
    ::testing::Values(
        TextCase{"GloriaHyphens", beforeFirstNote + Syllables("Glo_ri_a\\tin"), "s0: n0:Glo - n1:ri - n2:a| n3:in"},
        TextCase{"TieContinuationSkipped", "menu \"PAROLES 1\"\nclick 700 2800\n" + Syllables("a\\tb\\tc"),
                 "s0: n4:a| n5:b| n7:c"},
        TextCase{"TieContinuationTakenWithTheOptionOff",
                 "menu \"PAROLES 1\"\nclick 700 2800\nmenu \"1 Syllabe par groupe lié\"\n" + Syllables("a\\tb\\tc"),
                 "s0: n4:a| n5:b| n6:c"},
        TextCase{"BeamGroupTakesOne", "menu \"PAROLES 1\"\nclick 1300 2800\n" + Syllables("a\\tb"), "s0: n8:a| n10:b"},
        TextCase{"BeamGroupWithTheOptionOff",
                 "menu \"PAROLES 1\"\nclick 1300 2800\nmenu \"Syllabe sur mélisme\"\n" + Syllables("a\\tb"),
                 "s0: n8:a| n9:b"},
        TextCase{"WordGoesOnInTheNextSystem", "menu \"PAROLES 1\"\nclick 1700 2800\n" + Syllables("x_y_z"),
                 "s0: n12:x - / s1: n0:y - n1:z"},
        TextCase{"BackspaceOnTheSecondOfThree", beforeFirstNote + Syllables("a\\tb\\tc") + "key Tab\nkey Tab\nkey Backspace",
                 "s0: n0:a| n1:c|"},
        TextCase{"InsertSplitsAtThePointer",
                 beforeFirstNote + Syllables("a\\tbc\\td") + "key Tab\nkey Tab\nkey Left\nkey Insert",
                 "s0: n0:a| n1:b| n2:c n3:d"},
        TextCase{"InsertAtTheStartFreesTheNote",
                 beforeFirstNote + Syllables("a\\tb") + "key Tab\nkey Tab\nkey Left\nkey Insert",
                 "s0: n0:a| n2:b"},
        TextCase{"EmptiedTextIsDeleted",
                 "click 600 2850\nchars \"abc\"\nkey Enter\nkey F7\nkey Backspace\nkey Backspace\nkey Backspace\n"
                 "key Enter",
                 ""},
        TextCase{"EditedTextKeepsItsPlace", "click 600 2850\nchars \"abc\"\nkey Enter\nkey F7\nkey Delete\nkey Left\n"
                 "key Delete\nchars \"x\"\nkey Enter", "s0: x600:abx"},
        TextCase{"ChiffragesThenItalique",
                 "click 600 2850\nmenu Chiffrages\nchars \"6\"\nkey Enter\nmenu Italique\nclick 700 2850\nchars \"7\"",
                 "s0: x600:6[c3t2 f3 o2 s0 z20] x700:7[c3t2 f3 o1 s1 z20]", true},
        TextCase{"UnifyKeepsTheStyleOfVerseFive",
                 "menu \"PAROLES 5\"\nclick 200 2800\n" + Syllables("a\\tb") + "menu Gras\nkey F4\nmenu \"Unifier (->marqueurPage/fin)\"",
                 "s0: n0:a|[c1t4 f1 o1 s0 z32] n1:b[c1t4 f1 o1 s0 z32]", true},
        TextCase{"UnifyGivesTheStyleToVerseOne",
                 beforeFirstNote + Syllables("a\\tb") + "menu Gras\nkey F4\nmenu \"Unifier (->marqueurPage/fin)\"",
                 "s0: n0:a|[c1t0 f1 o1 s2 z32] n1:b[c1t0 f1 o1 s2 z32]", true},
        TextCase{"ChangeCategory",
                 beforeFirstNote + Syllables("a") + "answer TypeTexte 461=1 450=1 ok\nmenu \"Modifier catégorie (->marqueurPage/fin)\"",
                 "s0: n0:a[c5t1 f1 o1 s0 z30]", true},
        TextCase{"SyllablesNeedLyrics", "clipboard text \"a\"\n" + std::string(syllablesMenu), "",
                 false, "MESSAGE Message 71 Installez d'abord la catégorie PAROLES"},
        TextCase{"OpeningTakesAnUndoStep", "click 600 2850\nchars \"abc\"\nwindow partition\nundo", ""},
        TextCase{"MarkerPageInTheTitle", "menu \"Marqueur Page\"\ntitle", "", false, "  -  mqPage: 1 \n"},
        TextCase{"AddedFontKeptWhileUsed",
                 "answer Police Police=\"DejaVu Sans\" Taille=20 ok\nmenu Polices\nclick 600 2850\nchars \"a\"\n"
                 "menu Quitter",
                 "s0: x600:a[c6t0 f4 o1 s0 z40]", true, "", "DejaVu Sans"},
        TextCase{"AddedFontFreedWhenUnused",
                 "answer Police Police=\"DejaVu Sans\" ok\nmenu Polices\nanswer Police Police=Arial ok\nmenu Polices\n"
                 "click 600 2850\nchars \"a\"\nmenu Quitter",
                 "s0: x600:a[c6t0 f2 o1 s0 z30]", true},
        TextCase{"ChosenFaceKeptByLyrics",
                 "answer Police Police=Arial ok\nmenu Polices\nmenu \"PAROLES 1\"\nclick 600 2850\nchars \"a\"",
                 "s0: x600:a[c1t0 f2 o1 s0 z30]", true},
        TextCase{"FontTableFull", "click 600 2850\n" + FillFontTable(), "s0: x600:a[c6t0 f0 o1 s0 z30]", true,
                 "MESSAGE Erreur 69 Nombre maximum de polices atteint!"}),
    [](const ::testing::TestParamInfo<TextCase>& info) { return info.param.name; });

}  // namespace
}  // namespace notavera
