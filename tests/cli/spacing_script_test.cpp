// The spacing commands end to end: a GUIDO score imported, laid out by a script through "Recalculer Distances",
// "Page justifiée" or the raw page, then read back from the dump: lines broken at bars, clefs at line starts,
// justified ends, no note lost, and the report of a line without a bar to break at.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

constexpr unsigned signClef = 6;
constexpr unsigned signBar = 0;
constexpr int stepUnit = 10;  // the half space of the normal staff of a new score

// Sixteen bars of four quarter notes on one voice, far longer than a line; without bars when `bars` is false.
std::string LongVoice(bool bars) {
    std::string music = "{ [ \\clef<\"treble\"> \\meter<\"4/4\"> ";
    for (int bar = 0; bar < 16; ++bar) music += bars ? "c1/4 d1 e1 f1 | " : "c1/4 d1 e1 f1 ";
    return music + "] }\n";
}

struct Laid {
    std::string out;                   // what the script printed
    std::vector<nlohmann::json> lines;  // the staves holding music, page after page
    int lineLength = 0;
};

Laid LayOut(bool bars, int command) {
    test::TempDir dir;
    test::WriteText(dir / "score.gmn", LongVoice(bars));
    EXPECT_EQ(test::RunCli(dir.path(), {"import-gmn", "score.gmn", "score.mus"}).status, 0);
    test::WriteText(dir / "script.txt", "cmd " + std::to_string(command) + "\ndump after.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "score.mus", "script.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    const nlohmann::json dump = nlohmann::json::parse(test::ReadText(dir / "after.json"), nullptr, false);
    Laid laid{r.out, {}, dump["pages"][0]["lineLength"]};
    for (const auto& page : dump["pages"])
        for (const auto& staff : page["staves"])
            if (!staff["elements"].empty()) laid.lines.push_back(staff);
    return laid;
}

int Notes(const nlohmann::json& staff) {
    int count = 0;
    for (const auto& e : staff["elements"]) count += e["kind"] == "note";
    return count;
}

TEST(SpacingScript, ALongLineIsBrokenAtBarsIntoLinesThatStartWithAClefAndFitTheLine) {
    for (const int command : {284, 239}) {
        const Laid laid = LayOut(true, command);
        EXPECT_EQ(laid.out, "") << "nothing to complain about";
        ASSERT_GE(laid.lines.size(), 3u) << "sixteen bars do not fit on one or two lines";
        int notes = 0;
        for (std::size_t i = 0; i < laid.lines.size(); ++i) {
            const auto& elements = laid.lines[i]["elements"];
            EXPECT_EQ(elements.front()["signType"], signClef) << command << " line " << i;
            EXPECT_LE(elements.back()["x"].get<int>(), laid.lineLength) << command << " line " << i;
            for (std::size_t k = 1; k < elements.size(); ++k)
                EXPECT_LE(elements[k - 1]["x"].get<int>(), elements[k]["x"].get<int>()) << command << " " << i;
            notes += Notes(laid.lines[i]);
            if (i + 1 == laid.lines.size()) continue;
            // Every line but the last ends on the bar it was broken at, at the end of the line.
            EXPECT_EQ(elements.back()["signType"], signBar) << command << " line " << i;
            EXPECT_GE(elements.back()["x"].get<int>(), laid.lineLength - 3 * stepUnit) << command << " line " << i;
        }
        EXPECT_EQ(notes, 64) << "no note is lost or doubled by the breaking";
    }
}

TEST(SpacingScript, TheRawPageBreaksWithoutStretchingTheLines) {
    const Laid laid = LayOut(true, 238);
    ASSERT_GE(laid.lines.size(), 3u);
    EXPECT_EQ(laid.lines.front()["elements"].back()["signType"], signBar);
    EXPECT_LT(laid.lines.front()["elements"].back()["x"].get<int>(), laid.lineLength - 3 * stepUnit);
}

TEST(SpacingScript, ALineWithoutABarToBreakAtIsReportedOnceAndKeepsItsMusic) {
    const Laid laid = LayOut(false, 284);
    const std::string report = "MESSAGE Message 51 Ligne trop longue. Essayez avec fonction Ligne supérieure.\n";
    const std::size_t shown = laid.out.find(report);
    ASSERT_NE(shown, std::string::npos) << laid.out;
    EXPECT_EQ(laid.out.find(report, shown + 1), std::string::npos) << laid.out;
    ASSERT_EQ(laid.lines.size(), 1u);
    EXPECT_EQ(Notes(laid.lines[0]), 64);
}

}  // namespace
}  // namespace notavera
