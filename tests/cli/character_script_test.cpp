// The note-entry characters through notavera-cli script: slurs, rhythmic groups, special bars, multi-bar rests,
// Z symbols and the refusals, asserted on the exact words of the dump and on the MESSAGE lines.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::CliResult;
using test::RunCli;

constexpr std::uint32_t octave4 = 4u << 8;
constexpr std::uint32_t plainWord1 = (1u << 8) | (1u << 16);
constexpr std::uint32_t curveStarts = (1u << 1) | (1u << 2);
constexpr std::uint32_t curveEnds = (1u << 1) | (1u << 3);
// An eighth of note name n: duration code 5 and the name in bits 22–25.
constexpr std::uint32_t automaticStem = 1u << 13;  // new notes leave their stem direction to the drawing
constexpr std::uint32_t Eighth(std::uint32_t name) { return (5u << 1) | automaticStem | (name << 22); }
constexpr std::uint32_t Quarter(std::uint32_t name) { return (4u << 1) | automaticStem | (name << 22); }

class CharacterScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        const CliResult r = RunCli(dir.path(), {"new", "opus.mus"});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    CliResult script(const std::string& text) {
        test::WriteText(dir / "script.txt", text + "dump doc.json\n");
        return RunCli(dir.path(), {"script", (dir / "opus.mus").string(), "script.txt"});
    }
    nlohmann::json dump() { return nlohmann::json::parse(test::ReadText(dir / "doc.json"), nullptr, false); }
    nlohmann::json elements() { return dump()["pages"][0]["staves"][0]["elements"]; }
    // The refusal prints its box and leaves the document as the same script without the refused character.
    void expectRefusal(const std::string& before, const std::string& refused, const std::string& line) {
        CliResult r = script(before);
        ASSERT_EQ(r.status, 0) << r.err;
        const nlohmann::json expected = dump();
        r = script(before + refused);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.out.find(line), std::string::npos) << r.out;
        EXPECT_EQ(dump(), expected) << refused;
    }

    test::TempDir dir;
};

TEST_F(CharacterScriptTest, EveryRefusalShowsItsMessageAndChangesNothing) {
    expectRefusal("key F2\n", "char )\n", "MESSAGE Message 18 Employez liaison libre\n");
    expectRefusal("key F2\nchar (\n", "char )\n", "MESSAGE Message 18 Employez liaison libre\n");
    expectRefusal("key F2\n", "char [\n", "MESSAGE Message 17 Valeur inappropriée\n");
    expectRefusal("key F2\n", "char =\n", "MESSAGE Message 17 Valeur inappropriée\n");
    expectRefusal("key F2\nkey Insert\n", "char \\\n", "MESSAGE Message 16 Fermez INSertion d'abord\n");
    expectRefusal("key F2\nkey Insert\n", "cmd 85\n", "MESSAGE Message 16 Fermez INSertion d'abord\n");
}

TEST_F(CharacterScriptTest, ASlurWritesItsCurveFlagsOnItsFirstAndLastNotes) {
    const CliResult r = script("char (\nkey F2\nkey F3\nkey F4\nchar )\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0]["word0"], octave4 | curveStarts);
    EXPECT_EQ(e[1]["word0"], octave4);
    EXPECT_EQ(e[2]["word0"], octave4 | curveEnds);
}

TEST_F(CharacterScriptTest, AThreeInTheTimeOfTwoGroupOnThreeEighths) {
    const CliResult r = script(
        "char 5\nanswer Fraction Numérateur=3 Dénominateur=2 ok\nchar G\nkey F2\nkey F3\nkey F4\nchar g\nkey F5\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 4u);
    constexpr std::uint32_t threeInTwo = (3u << 8) | (2u << 16);
    EXPECT_EQ(e[0]["word0"], octave4 | (1u << 12));
    EXPECT_EQ(e[1]["word0"], octave4);
    EXPECT_EQ(e[2]["word0"], octave4 | (2u << 12));
    EXPECT_EQ(e[3]["word0"], octave4);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(e[i]["word1"], threeInTwo) << i;
        EXPECT_EQ(e[i]["noteWord"], Eighth(static_cast<std::uint32_t>(i + 1))) << i;
    }
    EXPECT_EQ(e[3]["word1"], plainWord1);
}

struct SpecialBarCase {
    const char* label;
    int code;  // 0 for a brace (some count of staves below), −1 for a bracket (minus that count)
};

class SpecialBarScriptTest : public CharacterScriptTest, public ::testing::WithParamInterface<SpecialBarCase> {};

TEST_P(SpecialBarScriptTest, TheChosenBarIsPutByE) {
    const CliResult r = script("key F2\nanswer TypeBarre \"" + std::string(GetParam().label) +
                               "\"=1 ok\ncmd 359\nchar E\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[1]["signType"], 0);
    EXPECT_EQ(e[1]["param"], 0);
    EXPECT_EQ(e[1]["word1"], plainWord1);
    EXPECT_GT(e[1]["x"].get<int>(), e[0]["x"].get<int>());
    const auto code = static_cast<std::int8_t>(e[1]["code"].get<unsigned>());
    if (GetParam().code > 0) {
        EXPECT_EQ(e[1]["signWord"], static_cast<unsigned>(GetParam().code) << 17);
    } else if (GetParam().code == 0) {
        EXPECT_GE(code, 1);
    } else {
        EXPECT_LE(code, -1);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SpecialBarScriptTest,
                         ::testing::Values(SpecialBarCase{"Barre finale", 'E'},
                                           SpecialBarCase{"Reprise double :||:", 'R'},
                                           SpecialBarCase{"Reprise du début :|", 'F'},
                                           SpecialBarCase{"Reprise de la suite |:", 'O'},
                                           SpecialBarCase{"Double barre ||", 'D'},
                                           SpecialBarCase{"Barre d'entrée ", 'I'}, SpecialBarCase{"Accolade", 0},
                                           SpecialBarCase{"Droite ouvrante", -1}));

TEST_F(CharacterScriptTest, JPutsAMultiBarRest) {
    const CliResult r = script("key F2\nchar j\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[1]["kind"], "rest");
    EXPECT_EQ(e[1]["noteWord"].get<std::uint32_t>() & 0xFFu, 1u | (15u << 1));  // rest, code 15, no dots
    EXPECT_EQ(e[1]["word1"], plainWord1);
    EXPECT_GT(e[1]["x"].get<int>(), e[0]["x"].get<int>());
}

TEST_F(CharacterScriptTest, ZThenF5PlacesTheChosenSymbol) {
    const CliResult r = script("answer ZSymbole ok\nchar z\nchar d\nkey F5\nkey F5\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0]["word0"], 1u | octave4);
    EXPECT_EQ(e[0]["signWord"], 1u | (1u << 4) | (4u << 17));  // free accidental, sharp, on F
    EXPECT_EQ(e[0]["word1"], plainWord1);
    EXPECT_EQ(e[0]["x"], 60);
    EXPECT_EQ(e[1]["noteWord"], Quarter(4));  // the mode ended with the symbol
}

}  // namespace
}  // namespace notavera
