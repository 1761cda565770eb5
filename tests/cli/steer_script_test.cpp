// The keys steer the free-slur tool and a manipulable curve just placed, end to end. The staff reads as a line:
// "140:D4" a quarter D at x 140, "140:S9(0,-1 160,3)" a free slur with its two ends and "S8(...)" a curve with its
// four control points, the points in half-spaces upwards, counted from the first point.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

constexpr int halfSpace = 10;  // of a new score

std::string Token(const nlohmann::json& e) {
    std::string token = std::to_string(e["x"].get<int>()) + ":";
    if (e["kind"] != "sign") return token + "CDEFGAB"[e["step"].get<int>() - 1] + std::to_string(e["octave"].get<int>());
    token += "S" + std::to_string(e["signType"].get<int>()) + "(";
    const auto& bytes = e["payload"];
    const auto word = [&](int i) {
        unsigned v = 0;
        for (int b = 3; b >= 0; --b) v = v << 8 | bytes[static_cast<std::size_t>(4 * i + b)].get<unsigned>();
        return static_cast<int>(v);
    };
    std::string separator;
    for (int p = 0; p < 4; ++p) {
        if (e["signType"] == 9 && (p == 1 || p == 2)) continue;
        token += std::exchange(separator, " ") + std::to_string(word(2 * p) - word(0)) + "," +
                 std::to_string((word(2 * p + 1) - word(1)) / halfSpace);
    }
    return token + ")";
}

struct SteerCase {
    const char* name;
    const char* script;
    const char* staff;
};

class SteerScript : public ::testing::TestWithParam<SteerCase> {
protected:
    test::TempDir dir;
};

TEST_P(SteerScript, LeavesTheStaff) {
    ASSERT_EQ(test::RunCli(dir.path(), {"new", "opus.mus"}).status, 0);
    test::WriteText(dir / "s.txt", std::string("key F2\nkey F3\nkey Left\n") + GetParam().script + "dump d.json\n");
    const test::CliResult r = test::RunCli(dir.path(), {"script", "opus.mus", "s.txt"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto dump = nlohmann::json::parse(test::ReadText(dir / "d.json"));
    std::string line, separator;
    for (const auto& e : dump["pages"][0]["staves"][0]["elements"]) line += std::exchange(separator, " ") + Token(e);
    EXPECT_EQ(line, GetParam().staff);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SteerScript,
    ::testing::Values(
        SteerCase{"FreeSlurByKeys", "cmd 72\nkey Enter\nkey Right\nkey Ctrl+Right\nkey Up\nkey F5\nkey Enter\n"
                  "key Enter\nkey Right\nkey F5\n", "60:C4 140:D4 140:S9(0,0 11,1) 200:F4"},
        SteerCase{"FreeSlurEscape", "cmd 72\nkey Enter\nkey Right\nkey Escape\nkey Right\nkey F5\n",
                  "60:C4 140:D4 200:F4"},
        SteerCase{"FreeSlurUndo", "cmd 72\nkey Enter\nkey Right\nkey Enter\nundo\nkey Enter\n", "60:C4 140:D4"},
        SteerCase{"CurveByKeys", "char {\nkey Right\nkey Up\nkey Enter\nkey Down\nkey F5\nkey Enter\nkey Ctrl+Left\n"
                  "key Enter\nkey Right\nkey F5\n", "60:C4 140:D4 140:S8(0,0 41,2 121,2 171,1) 200:F4"},
        // One undo takes back the whole steering and leaves the curve as placed.
        SteerCase{"CurveEscapeAndUndo", "char {\nkey Up\nkey Enter\nkey Up\nkey Escape\nkey Right\nkey F5\nundo\n"
                  "undo\n", "60:C4 140:D4 140:S8(0,0 40,3 120,3 160,0)"}),
    [](const ::testing::TestParamInfo<SteerCase>& info) { return info.param.name; });

}  // namespace
}  // namespace notavera
