// The script reader's lexical rules: words and quotes, the field split, UTF-8 characters. The actions and the
// reports of bad lines are seen end to end through notavera-cli script.
#include <gtest/gtest.h>

#include "platform/headless/script_reader.h"

namespace notavera {
namespace {

TEST(ScriptReader, QuotesGroupWordsAndTheFirstEqualsOutsideThemSplitsAField) {
    const auto words = SplitScriptLine("answer Format \"Hauteur = moyenne\"=50 \"\" ok");
    ASSERT_TRUE(words);
    ASSERT_EQ(words->size(), 5u);
    EXPECT_EQ((*words)[2].text, "Hauteur = moyenne=50");
    EXPECT_EQ((*words)[2].equals, 17u);
    EXPECT_EQ((*words)[3].text, "");
    EXPECT_FALSE(SplitScriptLine("chars \"abc"));
    const auto lines = std::get<std::vector<ScriptLine>>(ReadScript("# essai\n\nchar é\ncmd 4294967295\ntitle\r\n"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].number, 3);
    EXPECT_EQ(std::get<CharsAction>(lines[0].action).characters, U"é");
    EXPECT_EQ(std::get<CommandAction>(lines[1].action).command, 0xFFFFFFFFu);
    EXPECT_EQ(std::get<ScriptError>(ReadScript("title\ncmd 99999999999\n")).line, 2);
}

TEST(ScriptReader, Utf8IsAcceptedAsWholeSequencesOnly) {
    const std::pair<std::string, std::optional<std::u32string>> cases[] = {
        {"a", U"a"},  {"\xC3\xA9", U"é"}, {"\xE2\x82\xAC", U"€"}, {"\xF0\x9D\x84\x9E", U"𝄞"}, {"", U""},
        {"\xC3", std::nullopt}, {"\xE2\x82", std::nullopt}, {"\x80", std::nullopt}, {"\xC3(", std::nullopt}};
    for (const auto& [bytes, chars] : cases) EXPECT_EQ(DecodeUtf8(bytes), chars) << bytes;
}

}  // namespace
}  // namespace notavera
