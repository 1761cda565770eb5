// The cursor and markers driven by a script through notavera-cli: the page marker in the title and in the
// rendered page, Escape after the region marking, Aller Mesure no across pages and Détruire to the line's end.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "shell/marker_drawing.h"
#include "support/cli_runner.h"
#include "support/score_builder.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::CliResult;
using test::ReadText;
using test::RunCli;
using test::ScoreBuilder;
using test::TempDir;
using test::WriteText;

CliResult RunScript(const TempDir& dir, const std::string& script) {
    WriteText(dir / "script.txt", script);
    return RunCli(dir.path(), {"script", (dir / "opus.mus").string(), "script.txt"});
}

nlohmann::json ReadJson(const std::filesystem::path& path) { return nlohmann::json::parse(ReadText(path)); }

// The drawing calls of a rendered page that mark a page marker or invert a region.
int MarkerCalls(const nlohmann::json& calls) {
    int n = 0;
    for (const auto& c : calls) {
        if (c["op"] == "polygon" && c["fill"] == PageMarkerColour) ++n;
        if (c["op"] == "rasterOp" && c["mode"] == "invert") ++n;
    }
    return n;
}

TEST(CursorScriptTest, EscapeAfterMarkRegionLeavesNoPageMarker) {
    TempDir dir;
    ASSERT_EQ(RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    WriteText(dir / "script.txt", "cmd 598\ntitle\ncmd 233\nkey Escape\ntitle\n");
    const CliResult r = RunCli(dir.path(), {"script", (dir / "opus.mus").string(), "script.txt"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string marked = "TITLE Notavera v.6.5d - opus.mus (p.1/1) - {0,1} 1 - Voix 1  [1:1] (mqPage: 1)\n";
    const std::string cleared = "TITLE Notavera v.6.5d - opus.mus (p.1/1) - {0,1} 1 - Voix 1  [1:1]\n";
    EXPECT_EQ(r.out, marked + cleared);
}

TEST(CursorScriptTest, TheRenderedPageShowsThePageMarkerUntilEscape) {
    TempDir dir;
    ASSERT_EQ(RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    const CliResult r = RunScript(dir, "cmd 598\nrender 1 avant.json\ncmd 233\nkey Escape\nrender 1 apres.json\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(MarkerCalls(ReadJson(dir / "avant.json")), 1);
    EXPECT_EQ(MarkerCalls(ReadJson(dir / "apres.json")), 0);
}

TEST(CursorScriptTest, AllerMesureFindsTheMeasureOnTheNextPage) {
    TempDir dir;
    ScoreBuilder b{2, 1, 1};
    for (int page = 1; page <= 2; ++page) {
        b.on(page, 0);
        const std::string number = page == 1 ? "1" : "4";
        const std::span<const std::uint8_t> text(reinterpret_cast<const std::uint8_t*>(number.data()), 1);
        CreateSign(b.doc(), 80, 5, 20, SignType::Text, 1, text)->signWord().setTriple(3);
        b.note(150, 1);
        for (const int x : {300, 500, 700}) b.bar(x);
    }
    b.setCurrent(1, 0, 0);
    ASSERT_TRUE(b.saveAs(dir / "opus.mus"));
    const CliResult r = RunScript(dir, "answer MesNo 48=5 ok\ncmd 49\ntitle\nanswer MesNo 48=9 ok\ncmd 49\ntitle\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto second = r.out.find('\n');
    ASSERT_NE(second, std::string::npos);
    EXPECT_NE(r.out.substr(0, second).find("(p.2/2)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.substr(second).find("(p.2/2)"), std::string::npos) << r.out;  // 9 is nowhere: back on page 2
}

TEST(CursorScriptTest, EraseToLineEndKeepsWhatLiesBeforeTheCursor) {
    TempDir dir;
    ASSERT_EQ(RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    const CliResult r =
        RunScript(dir, "key F2\nkey F3\nkey F4\nkey Home\nkey Left\nkey Right\nkey Right\ncmd 213\ndump d.json\n");
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json doc = ReadJson(dir / "d.json");
    EXPECT_EQ(doc["pages"][0]["staves"][0]["elements"].size(), 1u);
}

}  // namespace
}  // namespace notavera
