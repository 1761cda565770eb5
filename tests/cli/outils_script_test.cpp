// The "Outils" and "Options" element commands end to end: each changes what it promises on a score imported from
// GUIDO, leaves the rest alone, and is taken back whole by its undo steps.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using nlohmann::json;

// A bar of quarters, a bar of rest, a bar whose clef changes ending on a rest, a bar of rest: elements by index
// 0 clef, 1 meter, 2..5 notes, 6 bar, 7 rest, 8 bar, 9 clef, 10..12 notes, 13 rest, 14 bar, 15 rest, 16 final bar.
constexpr const char* score =
    "[ \\clef<\"treble\"> \\meter<\"4/4\"> c1/4 d e f | _/1 | \\clef<\"bass\"> g0/4 a b _ | _/1 ]\n";

std::string Right(int times) {
    std::string keys = "key Ctrl+Home\n";  // the cursor on the first element
    for (int i = 0; i < times; ++i) keys += "key Right\n";
    return keys;
}

// Two voices on two staves.
constexpr const char* duet = "{ [ \\clef<\"treble\"> c1/4 d e f | g a b c2 ], [ \\clef<\"bass\"> c0/2 g | c1/1 ] }\n";

// One voice long enough for several lines once laid out.
std::string LongMelody() {
    std::string music = "[ \\clef<\"treble\"> \\meter<\"4/4\"> ";
    for (int bar = 0; bar < 16; ++bar) music += "c1/4 d1 e1 f1 | ";
    return music + "]\n";
}

// Eighths and sixteenths without a meter (so nothing beams them on import), then notes on either side of the
// last height that needs no octave line, above and below the staff: 0 clef, 1..4 eighths, 5 eighth, 6 rest,
// 7..10 sixteenths, 11 rest, 12 F6, 13 G6, 14 E3, 15 D3.
constexpr const char* unbeamed = "[ \\clef<\"treble\"> c1/8 d e f g _ a/16 b c2 d _/4 f3/4 g3 e0 d0 ]\n";

unsigned Word0(const json& e) { return e["word0"].get<unsigned>(); }
unsigned BeamBits(const json& e) { return (Word0(e) >> 5) & 7; }  // in a group, opens it, closes it
constexpr unsigned opens = 3, inside = 1, closes = 5, none = 0;

const json& Staff(const json& dump, int staff = 0) { return dump["pages"][0]["staves"][staff]["elements"]; }
unsigned Word1(const json& e) { return e["word1"].get<unsigned>(); }
std::pair<unsigned, unsigned> Proportion(const json& e) { return {(Word1(e) >> 8) & 0xFF, (Word1(e) >> 16) & 0xFF}; }

// The measure numbers written on the lines of the dump, page by page; and the number of the measure each line
// starts with, counting its bar lines, when the first line starts with `first`.
bool IsMeasureNumber(const json& e) {
    constexpr unsigned typeAndCategory = 7u << 4 | 7u << 11, measureNumber = 1u << 4 | 3u << 11;
    return e["kind"] == "sign" && e["signType"] == 4 && (e["signWord"].get<unsigned>() & typeAndCategory) == measureNumber;
}
std::vector<int> MeasureNumbers(const json& dump) {
    std::vector<int> numbers;
    for (const json& page : dump["pages"])
        for (const json& staff : page["staves"])
            for (const json& e : staff["elements"])
                if (IsMeasureNumber(e)) {
                    std::string digits;
                    for (const json& c : e["payload"]) digits += static_cast<char>(c.get<int>());
                    numbers.push_back(std::stoi(digits));
                }
    return numbers;
}
std::vector<int> LineStarts(const json& dump, int first) {
    std::vector<int> starts;
    int measure = first;
    for (const json& page : dump["pages"])
        for (const json& staff : page["staves"]) {
            if (staff["elements"].empty()) continue;
            starts.push_back(measure);
            for (const json& e : staff["elements"])
                if (e["kind"] == "sign" && e["signType"] == 0) ++measure;
        }
    return starts;
}

// A case's check sees the dumps before and after its edits, and the one its edits wrote as mid.json (null when
// they wrote none).
struct OutilsCase {
    const char* name;
    std::string edits;
    int steps;
    std::function<void(const json& start, const json& end, const json& mid)> check;
    std::string music = score;
    std::string setup = "";  // what the score needs before its start is dumped
};

const OutilsCase cases[] = {
    {"Attributs rewrites the note at the cursor",
     Right(3) + "answer Attributs Valeur=6 Points=1 Note=5 Caché=1 ok\ncmd 219\n", 1,
     [](const json& start, const json& end, const json&) {
         const json& e = Staff(end)[3];
         EXPECT_EQ(e["durationCode"], 6);
         EXPECT_EQ(e["dots"], 1);
         EXPECT_EQ(e["step"], 5);
         EXPECT_NE(e["word0"].get<unsigned>() & (1u << 17), 0u);  // hidden
         EXPECT_EQ(e["x"], Staff(start)[3]["x"]);
     }},
    {"Attributs gives a time signature its reference value", Right(1) + "answer Attributs Etalon=5 ok\ncmd 219\n", 1,
     [](const json& start, const json& end, const json&) {
         EXPECT_EQ(Word1(Staff(end)[1]) & 31, 5u);
         EXPECT_EQ(Word1(Staff(end)[1]) & ~31u, Word1(Staff(start)[1]));  // numerator and denominator kept
     }},
    {"Effacer étalons erases them from the cursor on",
     Right(1) + "answer Attributs Etalon=5 ok\ncmd 219\nkey Left\ncmd 697\n", 2,
     [](const json& start, const json& end, const json&) { EXPECT_EQ(Staff(end), Staff(start)); }},
    {"the two size ratios and the music font",
     "answer Fraction Numérateur=2 Dénominateur=3 ok\ncmd 334\nanswer Fraction Numérateur=1 Dénominateur=2 ok\ncmd "
     "338\n"
     "answer Police Police=\"Leland\" ok\ncmd 629\n",
     3,
     [](const json&, const json& end, const json&) {
         EXPECT_EQ(end["sizeRatios"]["small"], json::array({2, 3}));
         EXPECT_EQ(end["sizeRatios"]["cue"], json::array({1, 2}));
         EXPECT_EQ(end["musicFont"], "Leland");
     }},
    {"Centrer Silences (ligne) sets each lone rest in the middle of its bar", "cmd 226\n", 1,
     [](const json& start, const json& end, const json&) {
         const json& s = Staff(end);
         constexpr int halfRest = 10;  // one step unit of the normal staff
         // The bass clef stands before the closing bar.
         EXPECT_EQ(s[7]["x"].get<int>() + halfRest, (s[6]["x"].get<int>() + s[9]["x"].get<int>()) / 2);
         EXPECT_EQ(s[15]["x"].get<int>() + halfRest, (s[14]["x"].get<int>() + s[16]["x"].get<int>()) / 2);
         EXPECT_EQ(s[13]["x"], Staff(start)[13]["x"]);  // not alone in its bar
     }},
    {"Centrer Silences to the end starts at the cursor", Right(8) + "cmd 246\n", 1,
     [](const json& start, const json& end, const json&) {
         EXPECT_EQ(Staff(end)[7], Staff(start)[7]);
         EXPECT_NE(Staff(end)[15], Staff(start)[15]);
     }},
    {"Hauteur standard silences follows the clef in force", "key Ctrl+Home\ncmd 202\ncmd 489\n", 2,
     [](const json& start, const json& end, const json&) {
         // The first rest takes the height of the second, which stood under the bass clef already.
         EXPECT_NE(Staff(end)[7]["step"], Staff(start)[7]["step"]);
         EXPECT_EQ(Staff(end)[7]["step"], Staff(start)[15]["step"]);
         EXPECT_EQ(Staff(end)[7]["octave"], Staff(start)[15]["octave"]);
     }},
    {"Clefs gives the voice the clef at the cursor", "key Ctrl+Home\ncmd 690\n", 1,
     [](const json& start, const json& end, const json&) {
         EXPECT_EQ(Staff(end)[8]["code"], Staff(start)[0]["code"]);
         EXPECT_EQ(Staff(end)[12], Staff(start)[12]);  // the notes keep their stored pitch
     }},
    {"Ramener barres takes their fine offset off", Right(6) + "answer Attributs Décalage=7 ok\ncmd 219\ncmd 625\n", 2,
     [](const json& start, const json& end, const json&) { EXPECT_EQ(Staff(end), Staff(start)); }},
    {"a proportion substituted over a region, then combined over a part of it",
     Right(3) + "cmd 210\nkey Right\nkey Right\nanswer Fraction Numérateur=3 Dénominateur=2 ok\ncmd 688\n" +
         "key Right\ncmd 210\nkey Left\nkey Left\nanswer Fraction Numérateur=4 Dénominateur=6 ok\ncmd 687\n" +
         "key Left\ncmd 210\nanswer Fraction Numérateur=97 Dénominateur=49 ok\ncmd 687\n",
     3,
     [](const json&, const json& end, const json&) {
         const std::pair<unsigned, unsigned> plain{1, 1};
         EXPECT_EQ(Proportion(Staff(end)[2]), plain);
         const std::pair<unsigned, unsigned> scaled{99, 33};  // 3/2 × 97/49 = 291/98, brought within 99
         EXPECT_EQ(Proportion(Staff(end)[3]), scaled);
         EXPECT_EQ(Proportion(Staff(end)[4]), plain);  // 3/2 × 4/6 reduced
         EXPECT_EQ(Proportion(Staff(end)[5]), plain);
     }},
    {"Supprimer proportion gives the region 1:1 again",
     Right(3) + "cmd 210\nkey Right\nanswer Fraction Numérateur=5 Dénominateur=4 ok\ncmd 688\nkey Left\ncmd 210\n" +
         "key Right\ncmd 689\n",
     2, [](const json& start, const json& end, const json&) { EXPECT_EQ(Staff(end), Staff(start)); }},
    {"Permuter portées exchanges the music of the current and the marked staff",
     "key Ctrl+Home\ncmd 210\nkey Down\ncmd 269\n", 1,
     [](const json& start, const json& end, const json&) {
         for (const int staff : {0, 1}) {
             EXPECT_EQ(Staff(end, staff), Staff(start, 1 - staff));
             EXPECT_EQ(end["pages"][0]["staves"][staff]["voiceWord"],
                       start["pages"][0]["staves"][1 - staff]["voiceWord"]);
         }
     },
     duet},
    {"A la ligne supérieure moves the rest of the line to the end of the line above",
     "cmd 284\nkey Ctrl+Home\nkey Down\nkey Right\nkey Right\nkey Right\ndump mid.json\ncmd 101\n", 2,
     [](const json&, const json& end, const json& mid) {
         const std::size_t moved = Staff(mid, 1).size() - 3;
         EXPECT_EQ(Staff(end, 1), json(std::vector<json>(Staff(mid, 1).begin(), Staff(mid, 1).begin() + 3)));
         ASSERT_EQ(Staff(end).size(), Staff(mid).size() + moved);
         for (std::size_t i = 1; i < Staff(end).size(); ++i) EXPECT_LT(Staff(end)[i - 1]["x"], Staff(end)[i]["x"]);
         EXPECT_EQ(Staff(end, 2), Staff(mid, 2));
     },
     LongMelody()},
    {"Barres de valeurs beams eighths and shorter by the beat, from the cursor", Right(1) + "cmd 286\n", 1,
     [](const json&, const json& end, const json&) {
         const unsigned expected[] = {none, opens, closes, opens,  closes, none,
                                      none, opens, inside, inside, closes, none};
         for (int i = 0; i <= 11; ++i) EXPECT_EQ(BeamBits(Staff(end)[i]), expected[i]) << i;
     },
     unbeamed},
    {"Barres de valeurs counts a tuplet's notes at their proportion",
     Right(1) + "cmd 210\nkey Right\nkey Right\nanswer Fraction Numérateur=3 Dénominateur=2 ok\ncmd 688\n" +
         "key Left\nkey Left\ncmd 286\n",
     2,
     [](const json&, const json& end, const json&) {
         // The rest after the triplet's beat moves the sixteenths across a beat: two groups of two.
         const unsigned expected[] = {none, opens, inside, closes, opens, closes, none, opens, closes, opens, closes};
         for (int i = 0; i <= 10; ++i) EXPECT_EQ(BeamBits(Staff(end)[i]), expected[i]) << i;
     },
     unbeamed},
    {"Barres de valeurs beams by the dotted quarter under 6/8",
     "key Ctrl+Home\nanswer IndMesure 400=6 401=8 ok\ncmd 230\ncmd 286\n", 2,
     [](const json&, const json& end, const json&) {
         const unsigned expected[] = {opens, inside, closes, opens, closes};  // the eighths, after meter and clef
         for (int i = 0; i < 5; ++i) EXPECT_EQ(BeamBits(Staff(end)[i + 2]), expected[i]) << i;
     },
     unbeamed},
    {"Notes extrêmes writes far notes an octave nearer under an octave line", "key Ctrl+Home\ncmd 499\n", 1,
     [](const json& start, const json& end, const json&) {
         const auto shift = [](const json& e) { return (Word1(e) >> 5) & 7; };
         EXPECT_EQ(Staff(end)[13]["octave"], Staff(start)[13]["octave"].get<int>() - 1);
         EXPECT_EQ(shift(Staff(end)[13]), 1u);  // 8va
         EXPECT_EQ(Staff(end)[15]["octave"], Staff(start)[15]["octave"].get<int>() + 1);
         EXPECT_EQ(shift(Staff(end)[15]), 3u);  // 8va bassa
         for (std::size_t i = 0; i < Staff(end).size(); ++i)
             if (i != 13 && i != 15) {
                 EXPECT_EQ(Staff(end)[i], Staff(start)[i]) << i;
             }
     },
     unbeamed},
    {"A la ligne supérieure from the first element moves the whole line",
     "cmd 284\nkey Ctrl+Home\nkey Down\ndump mid.json\ncmd 101\n", 2,
     [](const json&, const json& end, const json& mid) {
         EXPECT_EQ(Staff(end, 1).size(), 0u);
         ASSERT_EQ(Staff(end).size(), Staff(mid).size() + Staff(mid, 1).size());
         const int gap = Staff(end)[Staff(mid).size()]["x"].get<int>() - Staff(mid).back()["x"].get<int>();
         EXPECT_GT(gap, 0);
         EXPECT_EQ(Staff(end).back()["x"].get<int>() - Staff(mid, 1).back()["x"].get<int>(),
                   Staff(end)[Staff(mid).size()]["x"].get<int>() - Staff(mid, 1)[0]["x"].get<int>());
     },
     LongMelody()},
    {"Tablature numbers the staves by their place in systems of the size asked, up to the page marker",
     "answer NbVoixPortee \"Nombre de voix\"=1 ok\ncmd 50\n", 1,
     [](const json& start, const json& end, const json&) {
         constexpr unsigned voiceOneAlone = 1 | 1 << 8 | 1 << 16;  // voice 1, first of a system of one staff
         for (const int page : {0, 1})
             for (const json& staff : end["pages"][page]["staves"]) EXPECT_EQ(staff["voiceWord"], voiceOneAlone);
         EXPECT_EQ(end["pages"][2], start["pages"][2]);
     },
     duet, "cmd 63\ncmd 63\ncmd 64\ncmd 598\ncmd 64\n"},
    {"Numéroter mesures numbers every line by the measures before it, the same when numbered again",
     "answer MesureNo \"Mesure initiale\"=1 ok\ncmd 48\nanswer MesureNo ok\ncmd 48\n", 2,
     [](const json&, const json& end, const json&) { EXPECT_EQ(MeasureNumbers(end), LineStarts(end, 1)); },
     LongMelody()},
    {"without an offset the first line gets no number, and Effacer Nos de mesure takes them all away",
     "answer MesureNo \"Mesure initiale\"=0 ok\ncmd 48\ndump mid.json\ncmd 599\n", 2,
     [](const json& start, const json& end, const json& mid) {
         std::vector<int> expected = LineStarts(mid, 1);
         expected.erase(expected.begin());
         EXPECT_EQ(MeasureNumbers(mid), expected);
         EXPECT_EQ(end["pages"], start["pages"]);
     },
     LongMelody()},
};

TEST(OutilsScript, EachCommandChangesWhatItNamesAndIsUndoneWhole) {
    for (const OutilsCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        test::WriteText(dir / "score.gmn", c.music);
        ASSERT_EQ(test::RunCli(dir.path(), {"import-gmn", "score.gmn", "score.mus"}).status, 0);
        std::string back;
        for (int i = 0; i < c.steps; ++i) back += "undo\n";
        test::WriteText(dir / "script.txt", c.setup + "save\ndump start.json\n" + c.edits + "save\ndump end.json\n" +
                                                back + "dump back.json\n");
        const test::CliResult r = test::RunCli(dir.path(), {"script", "score.mus", "script.txt"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "");
        const json start = json::parse(test::ReadText(dir / "start.json"));
        const json end = json::parse(test::ReadText(dir / "end.json"));
        EXPECT_EQ(start, json::parse(test::ReadText(dir / "back.json")));
        const bool mid = std::filesystem::exists(dir / "mid.json");
        c.check(start, end, mid ? json::parse(test::ReadText(dir / "mid.json")) : json());
    }
}

}  // namespace
}  // namespace notavera
