// The cursor and markers driven by a script through notavera-cli: the page marker in the title and Escape after
// the region marking.
#include <gtest/gtest.h>

#include "support/cli_runner.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::CliResult;
using test::RunCli;
using test::TempDir;
using test::WriteText;

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

}  // namespace
}  // namespace notavera
