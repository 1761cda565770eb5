// The script reader: words and quotes, the actions each line gives, UTF-8 characters, and the first bad line.
#include <gtest/gtest.h>

#include "platform/headless/script_reader.h"

namespace notavera {
namespace {

std::vector<ScriptLine> Read(const std::string& text) {
    auto result = ReadScript(text);
    EXPECT_TRUE(std::holds_alternative<std::vector<ScriptLine>>(result));
    return std::holds_alternative<std::vector<ScriptLine>>(result) ? std::get<std::vector<ScriptLine>>(result)
                                                                   : std::vector<ScriptLine>{};
}

TEST(ScriptReader, QuotesGroupWordsAndTheFirstEqualsOutsideThemSplitsAField) {
    const auto words = SplitScriptLine("answer Format \"Hauteur = moyenne\"=50 \"\" ok");
    ASSERT_TRUE(words);
    ASSERT_EQ(words->size(), 5u);
    EXPECT_EQ((*words)[2].text, "Hauteur = moyenne=50");
    EXPECT_EQ((*words)[2].equals, 17u);
    EXPECT_EQ((*words)[3].text, "");
    EXPECT_FALSE(SplitScriptLine("chars \"abc"));
}

TEST(ScriptReader, LinesBecomeActionsWithTheirNumbers) {
    const auto lines = Read("# essai\n\nkey Ctrl+Shift+F9\nchar é\nchar Ctrl+V\ncmd 4294967295\n"
                            "answer \"Fraction\" \"Numérateur\"=3 cancel\nsave\ntitle\r\n");
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0].number, 3);
    const auto& key = std::get<KeyAction>(lines[0].action);
    EXPECT_EQ(key.key, Key::F9);
    EXPECT_TRUE(key.modifiers.ctrl && key.modifiers.shift);
    EXPECT_EQ(std::get<CharsAction>(lines[1].action).characters, U"é");
    EXPECT_EQ(std::get<CharsAction>(lines[2].action).characters, std::u32string(1, char32_t{22}));
    EXPECT_EQ(std::get<CommandAction>(lines[3].action).command, 0xFFFFFFFFu);
    const auto& answer = std::get<DialogAnswerAction>(lines[4].action).answer;
    EXPECT_EQ(answer.name, "Fraction");
    EXPECT_FALSE(answer.ok);
    ASSERT_EQ(answer.fields.size(), 1u);
    EXPECT_EQ(answer.fields[0], (std::pair<std::string, std::string>{"Numérateur", "3"}));
    EXPECT_FALSE(std::get<SaveAction>(lines[5].action).path);
    EXPECT_TRUE(std::holds_alternative<TitleAction>(lines[6].action));
}

TEST(ScriptReader, TheFirstBadLineIsReported) {
    const auto result = ReadScript("title\ncmd 99999999999\nfrobnicate\n");
    ASSERT_TRUE(std::holds_alternative<ScriptError>(result));
    EXPECT_EQ(std::get<ScriptError>(result).line, 2);
    EXPECT_EQ(std::get<ScriptError>(result).problem, "numéro de commande attendu");
}

TEST(ScriptReader, Utf8IsAcceptedAsWholeSequencesOnly) {
    const std::pair<std::string, std::optional<std::u32string>> cases[] = {
        {"a", U"a"}, {"\xC3\xA9", U"é"}, {"\xE2\x82\xAC", U"€"}, {"\xF0\x9D\x84\x9E", U"𝄞"}, {"", U""},
        {"\xC3", std::nullopt}, {"\xE2\x82", std::nullopt}, {"\x80", std::nullopt}, {"\xC3(", std::nullopt}};
    for (const auto& [bytes, chars] : cases) EXPECT_EQ(DecodeUtf8(bytes), chars) << bytes;
}

TEST(ScriptReader, MouseLinesGivePagePointsAndTheirModifiers) {
    const auto lines = Read("click 100 -20 shift\ndblclick 5 6\nrclick 0 0\ndrag 1 2 3 4 quick ctrl\n");
    ASSERT_EQ(lines.size(), 4u);
    const auto& click = std::get<MouseAction>(lines[0].action);
    EXPECT_EQ(click.kind, MouseAction::Kind::Click);
    EXPECT_EQ(click.at, (Point{100, -20}));
    EXPECT_TRUE(click.modifiers.shift && !click.modifiers.ctrl);
    EXPECT_EQ(std::get<MouseAction>(lines[1].action).kind, MouseAction::Kind::DoubleClick);
    EXPECT_EQ(std::get<MouseAction>(lines[2].action).kind, MouseAction::Kind::RightClick);
    const auto& drag = std::get<MouseAction>(lines[3].action);
    EXPECT_EQ(drag.to, (Point{3, 4}));
    EXPECT_TRUE(drag.quick && drag.modifiers.ctrl);
}

TEST(ScriptReader, BadMouseLinesAreRefused) {
    for (const char* line : {"click 1", "click 1 2 alt", "dblclick 1 2 ctrl", "rclick x 2", "drag 1 2 3",
                             "drag 1 2 3 4 quick quick", "click 1 2000000000", "drag 0 0 -1000001 0"}) {
        EXPECT_TRUE(std::holds_alternative<ScriptError>(ReadScript(line))) << line;
    }
}

}  // namespace
}  // namespace notavera
