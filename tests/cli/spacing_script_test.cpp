// The spacing commands end to end: a GUIDO score imported, laid out by a script through "Recalculer Distances"
// and "Page justifiée", then read back from the dump: lines broken at bars, clefs at line starts, justified ends.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <fstream>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::CliResult;
using test::RunCli;

constexpr unsigned signClef = 6;
constexpr unsigned signBar = 0;
constexpr int stepUnit = 10;  // the half space of the normal staff of a new score
constexpr const char* lineTooLong =
    "MESSAGE Message 51 Ligne trop longue. Essayez avec fonction Ligne supérieure.\n";

// Sixteen bars of four quarter notes on one voice, far longer than a line; without bars when `bars` is false.
std::string LongVoice(bool bars) {
    std::string music = "{ [ \\clef<\"treble\"> \\meter<\"4/4\"> ";
    for (int bar = 0; bar < 16; ++bar) music += bars ? "c1/4 d1 e1 f1 | " : "c1/4 d1 e1 f1 ";
    return music + "] }\n";
}

class SpacingScriptTest : public ::testing::TestWithParam<int> {
protected:
    // Imports `gmn`, runs `command` and returns the dump of the document after it.
    nlohmann::json layOut(const std::string& gmn, int command) {
        test::WriteText(dir / "score.gmn", gmn);
        const CliResult imported = RunCli(dir.path(), {"import-gmn", "score.gmn", "score.mus"});
        EXPECT_EQ(imported.status, 0) << imported.err;
        test::WriteText(dir / "script.txt", "cmd " + std::to_string(command) + "\ndump after.json\n");
        result = RunCli(dir.path(), {"script", "score.mus", "script.txt"});
        EXPECT_EQ(result.status, 0) << result.err;
        std::ifstream file(dir / "after.json");
        return nlohmann::json::parse(file, nullptr, false);
    }
    // The staves of voice 1, the one voice of the imported score, page after page.
    static std::vector<nlohmann::json> Lines(const nlohmann::json& dump) {
        std::vector<nlohmann::json> lines;
        for (const auto& page : dump["pages"])
            for (const auto& staff : page["staves"])
                if (!staff["elements"].empty()) lines.push_back(staff);
        return lines;
    }
    static int Notes(const nlohmann::json& staff) {
        int count = 0;
        for (const auto& e : staff["elements"]) count += e["kind"] == "note";
        return count;
    }

    test::TempDir dir;
    CliResult result;
};

TEST_P(SpacingScriptTest, ALongLineIsBrokenAtBarsIntoLinesThatStartWithAClefAndFitTheLine) {
    const nlohmann::json dump = layOut(LongVoice(true), GetParam());
    ASSERT_FALSE(dump.is_discarded());
    EXPECT_EQ(result.out, "") << "nothing to complain about";
    const std::vector<nlohmann::json> lines = Lines(dump);
    ASSERT_GE(lines.size(), 3u) << "sixteen bars do not fit on one or two lines";
    const int lineLength = dump["pages"][0]["lineLength"];
    int notes = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& elements = lines[i]["elements"];
        EXPECT_EQ(elements.front()["signType"], signClef) << "line " << i;
        EXPECT_LE(elements.back()["x"].get<int>(), lineLength) << "line " << i;
        for (std::size_t k = 1; k < elements.size(); ++k)
            EXPECT_LE(elements[k - 1]["x"].get<int>(), elements[k]["x"].get<int>()) << "line " << i << " at " << k;
        notes += Notes(lines[i]);
        if (i + 1 == lines.size()) continue;
        // Every line but the last ends on the bar it was broken at, at the end of the line.
        EXPECT_EQ(elements.back()["signType"], signBar) << "line " << i;
        EXPECT_GE(elements.back()["x"].get<int>(), lineLength - 3 * stepUnit) << "line " << i;
    }
    EXPECT_EQ(notes, 64) << "no note is lost or doubled by the breaking";
}

INSTANTIATE_TEST_SUITE_P(RecalculateAndJustifiedPage, SpacingScriptTest, ::testing::Values(284, 239));

TEST_F(SpacingScriptTest, ALineWithoutABarToBreakAtIsReportedAndKeepsItsMusic) {
    const nlohmann::json dump = layOut(LongVoice(false), 284);
    ASSERT_FALSE(dump.is_discarded());
    const std::size_t shown = result.out.find(lineTooLong);
    ASSERT_NE(shown, std::string::npos) << result.out;
    EXPECT_EQ(result.out.find(lineTooLong, shown + 1), std::string::npos) << "reported once: " << result.out;
    const std::vector<nlohmann::json> lines = Lines(dump);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Notes(lines[0]), 64);
}

TEST_F(SpacingScriptTest, TheRawPageBreaksWithoutStretchingTheLines) {
    const nlohmann::json dump = layOut(LongVoice(true), 238);
    ASSERT_FALSE(dump.is_discarded());
    const std::vector<nlohmann::json> lines = Lines(dump);
    ASSERT_GE(lines.size(), 3u);
    const int lineLength = dump["pages"][0]["lineLength"];
    EXPECT_EQ(lines.front()["elements"].back()["signType"], signBar);
    EXPECT_LT(lines.front()["elements"].back()["x"].get<int>(), lineLength - 3 * stepUnit);
}

}  // namespace
}  // namespace notavera
