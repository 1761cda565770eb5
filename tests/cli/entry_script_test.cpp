// Note entry through notavera-cli script: the keys and characters of a script end up as the exact element
// words of the dump, and refusals print their boxes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/mus_file_builder.h"
#include "support/page_fixtures.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::CliResult;
using test::RunCli;

// A quarter C of octave 4 at x 60 as a new document writes it: octave 4 in word0, the proportion 1/1 in
// word1, the duration code 4 and the name 1 in the note word.
constexpr std::uint32_t quarterCWord0 = 4u << 8;
constexpr std::uint32_t plainWord1 = (1u << 8) | (1u << 16);
constexpr std::uint32_t automaticStem = 1u << 13;  // new notes leave their stem direction to the drawing
constexpr std::uint32_t quarterCNoteWord = (4u << 1) | automaticStem | (1u << 22);

class EntryScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        const CliResult r = RunCli(dir.path(), {"new", "opus.mus"});
        ASSERT_EQ(r.status, 0) << r.err;
    }
    CliResult script(const std::string& text, const std::string& document = "opus.mus") {
        test::WriteText(dir / "script.txt", text + "dump doc.json\n");
        return RunCli(dir.path(), {"script", (dir / document).string(), "script.txt"});
    }
    nlohmann::json staves(int page = 0) {
        const auto doc = nlohmann::json::parse(test::ReadText(dir / "doc.json"), nullptr, false);
        return doc["pages"][static_cast<std::size_t>(page)]["staves"];
    }
    nlohmann::json elements(int staff = 0) { return staves()[static_cast<std::size_t>(staff)]["elements"]; }

    test::TempDir dir;
};

TEST_F(EntryScriptTest, ANoteKeyWritesTheWordsOfANewNote) {
    const CliResult r = script("key F2\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0]["word0"], quarterCWord0);
    EXPECT_EQ(e[0]["word1"], plainWord1);
    EXPECT_EQ(e[0]["noteWord"], quarterCNoteWord);
    EXPECT_EQ(e[0]["x"], 60);
}

TEST_F(EntryScriptTest, NotesBeyondTheEndOfALineGoOnTheNextLine) {
    std::string text = "char 1\n";
    for (int i = 0; i < 120; ++i) text += "key F3\n";
    const CliResult r = script(text);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto doc = nlohmann::json::parse(test::ReadText(dir / "doc.json"), nullptr, false);
    const auto first = doc["pages"][0]["staves"][0]["elements"];
    ASSERT_FALSE(first.empty());
    for (const auto& e : first) EXPECT_LT(e["x"].get<int>(), 60 + 1900);
    std::size_t later = 0;
    for (std::size_t p = 0; p < doc["pages"].size(); ++p) {
        const auto& all = doc["pages"][p]["staves"];
        for (std::size_t s = p == 0 ? 1 : 0; s < all.size(); ++s) {
            for (const auto& e : all[s]["elements"]) {
                EXPECT_EQ(e["durationCode"], 1);
                EXPECT_EQ(e["step"], 2);
                ++later;
            }
        }
    }
    EXPECT_EQ(first.size() + later, 120u);
    EXPECT_GT(later, 0u);
}

TEST_F(EntryScriptTest, APercussionStaffTakesOnlyF5ToF7) {
    ScoreDocument doc = test::NewDocument(1);
    doc.pages[0].staves[0].lines().setLayoutFlag(true);
    test::MusFileBuilder builder;
    builder.addPage(doc.pages[0]);
    test::WriteBytes(dir / "percussion.mus", builder.build());
    const CliResult r = script("key F1\nkey F2\nkey F3\nkey F4\nkey F8\nkey F9\nkey F6\n", "percussion.mus");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0]["step"], 5);
}

TEST_F(EntryScriptTest, BOnTheNoteAtTheCursorFlattensItAndTheNextNoteIsPlain) {
    // The chord attribute keeps the cursor on the note, where b finds it.
    const CliResult r = script("char C\nkey F4\nchar b\nchar c\nkey F5\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0]["accidental"], 2);
    EXPECT_EQ(e[0]["hiddenAccidental"], false);
    EXPECT_EQ(e[0]["noteWord"], (4u << 1) | (2u << 9) | automaticStem | (1u << 18) | (3u << 22));
    EXPECT_EQ(e[1]["accidental"], 0);
}

TEST_F(EntryScriptTest, DeleteOnATiedNoteIsRefused) {
    ScoreDocument doc = test::NewDocument(1);
    ElementRecord tied = test::NoteAt(60);
    tied.w0().setTieStarts(true);
    tied.w0().setTieEnds(true);
    doc.pages[0].staves[0].elements.push_back(tied);
    test::MusFileBuilder builder;
    builder.addPage(doc.pages[0]);
    test::WriteBytes(dir / "tied.mus", builder.build());
    const CliResult r = script("key Delete\n", "tied.mus");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("MESSAGE Message 19 Supprimez liaison/groupe avant\n"), std::string::npos) << r.out;
    EXPECT_EQ(elements().size(), 1u);
}

TEST_F(EntryScriptTest, ClefTimeSignatureNotesBarAndRest) {
    const CliResult r = script(
        "cmd 202\nanswer IndMesure Numérateur=3 Dénominateur=4 ok\ncmd 230\nkey F2\nchars \"5.\"\nkey F3\n"
        "char |\nchar S\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto e = elements();
    ASSERT_EQ(e.size(), 6u);
    EXPECT_EQ(e[0]["signWord"], 6u | (3u << 17));                      // F clef on line 4
    EXPECT_EQ(e[0]["param"], 4);
    EXPECT_EQ(e[1]["signWord"], 5u | (1u << 17));                      // numbers shown
    EXPECT_EQ(e[1]["word1"], (3u << 8) | (4u << 16));
    EXPECT_EQ(e[2]["noteWord"], quarterCNoteWord);
    EXPECT_EQ(e[3]["noteWord"], (5u << 1) | (1u << 6) | automaticStem | (2u << 22));  // dotted eighth D
    EXPECT_EQ(e[4]["signWord"], 0u | (124u << 17));                     // bar line
    EXPECT_EQ(e[5]["noteWord"], 1u | (5u << 1) | automaticStem | (7u << 22));  // eighth rest on the bass staff's B line
    for (std::size_t i = 1; i < e.size(); ++i) EXPECT_GT(e[i]["x"].get<int>(), e[i - 1]["x"].get<int>());
}

}  // namespace
}  // namespace notavera
