// The command table: menu order, unique ids and access keys, the tool table and the "Val" durations.
#include "shell/menu_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace notavera {
namespace {

// The access key of a label: the UTF-8 character after the single '&', ASCII letters folded to lower case.
std::string AccessKey(std::string_view label) {
    const auto amp = label.find('&');
    if (amp == std::string_view::npos || amp + 1 >= label.size()) return {};
    std::size_t length = 1;
    const auto lead = static_cast<unsigned char>(label[amp + 1]);
    if (lead >= 0xF0) length = 4;
    else if (lead >= 0xE0) length = 3;
    else if (lead >= 0xC0) length = 2;
    std::string key(label.substr(amp + 1, length));
    if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') key[0] = static_cast<char>(key[0] - 'A' + 'a');
    return key;
}

void ExpectUniqueKeys(std::string_view where, std::span<const MenuEntry> entries) {
    std::set<std::string> keys;
    for (const MenuEntry& entry : entries) {
        if (entry.kind == MenuEntryKind::Separator) continue;
        EXPECT_EQ(std::count(entry.label.begin(), entry.label.end(), '&'), 1) << where << ": " << entry.label;
        const std::string key = AccessKey(entry.label);
        EXPECT_FALSE(key.empty()) << where << ": " << entry.label;
        EXPECT_TRUE(keys.insert(key).second) << where << ": key '" << key << "' used twice (" << entry.label << ")";
        if (entry.kind == MenuEntryKind::Submenu) {
            EXPECT_FALSE(entry.submenu.empty()) << entry.label;
            ExpectUniqueKeys(entry.label, entry.submenu);
        }
    }
}

TEST(MenuTable, MenuBarInOrder) {
    std::vector<std::string_view> titles;
    for (const Menu& menu : MainMenus()) titles.push_back(menu.title);
    const std::vector<std::string_view> expected = {"&Fichier", "&Editer", "&Page",  "&Zoom",    "&Clefs",
                                                    "&Armure",  "&Détruire", "&Insérer", "&Outils", "&Son",
                                                    "Op&tions", "Dive&rs", "&Val",   "&?"};
    EXPECT_EQ(titles, expected);
}

TEST(MenuTable, AccessKeysAreUniqueWithinEveryMenu) {
    std::set<std::string> titleKeys{AccessKey(LeaveMaskLabel)};
    for (const Menu& menu : MainMenus()) {
        EXPECT_TRUE(titleKeys.insert(AccessKey(menu.title)).second) << menu.title;
        ExpectUniqueKeys(menu.title, menu.entries);
    }
}

TEST(MenuTable, CommandIdsAreUniqueAndDistinctFromTheMaskItem) {
    const std::vector<int> commands = MainMenuCommands();
    const std::set<int> unique(commands.begin(), commands.end());
    EXPECT_EQ(unique.size(), commands.size());
    EXPECT_EQ(unique.count(LeaveMaskCommand), 0u);
    // Palette buttons are commands 20..42 of their own: no menu item may take one of their numbers.
    for (int id = 20; id <= 42; ++id) EXPECT_EQ(unique.count(id), 0u) << id;
}

TEST(MenuTable, SeparatorsNeverStartEndOrDouble) {
    auto check = [](auto& self, std::span<const MenuEntry> entries) -> void {
        ASSERT_FALSE(entries.empty());
        EXPECT_NE(entries.front().kind, MenuEntryKind::Separator);
        EXPECT_NE(entries.back().kind, MenuEntryKind::Separator);
        for (std::size_t i = 1; i < entries.size(); ++i) {
            EXPECT_FALSE(entries[i].kind == MenuEntryKind::Separator &&
                         entries[i - 1].kind == MenuEntryKind::Separator);
            if (entries[i].kind == MenuEntryKind::Submenu) self(self, entries[i].submenu);
        }
    };
    for (const Menu& menu : MainMenus()) check(check, menu.entries);
}

TEST(MenuTable, LabelsKeepTheWordsTheUserKnows) {
    EXPECT_EQ(CommandLabel(15), "Sauver fichier &METAFILE");
    EXPECT_EQ(CommandLabel(284), "Recalc&uler Distances");
    EXPECT_EQ(CommandLabel(239), "Page &justifiée");
    EXPECT_EQ(CommandLabel(72), "Liai&sons libres");
    EXPECT_EQ(CommandLabel(85), "\\-&Portée chablon");
    EXPECT_EQ(CommandLabel(51), "&NORMAL 1/1");
    EXPECT_EQ(CommandLabel(583), "&Sextuple-Cr");
    EXPECT_FALSE(CommandLabel(LeaveMaskCommand).has_value());
    EXPECT_FALSE(CommandLabel(30).has_value());
}

TEST(MenuTable, EveryToolHasAMenuItem) {
    for (const ToolEntry& tool : ToolTable()) EXPECT_TRUE(CommandLabel(tool.command).has_value()) << tool.command;
}

// The tools that take the check mark are exactly the ones the tool selection treats: 70..79, 86..90, 93..97.
TEST(MenuTable, ToolsTakingTheCheckMarkMatchTheSelectionRanges) {
    for (const ToolEntry& tool : ToolTable()) {
        const int id = tool.command;
        const bool selected = (id >= 70 && id <= 79) || (id >= 86 && id <= 90) || (id >= 93 && id <= 97);
        EXPECT_EQ(tool.takesCheckMark, selected) << id;
    }
}

TEST(MenuTable, FindToolGivesCurrentToolAndHideKind) {
    ASSERT_TRUE(FindTool(72));
    EXPECT_EQ(FindTool(72)->currentTool, 'l');
    EXPECT_EQ(FindTool(90)->currentTool, '|');
    EXPECT_EQ(FindTool(92)->currentTool, 'u');
    EXPECT_FALSE(FindTool(92)->takesCheckMark);
    EXPECT_EQ(FindTool(97)->currentTool, 300);
    EXPECT_EQ(FindTool(97)->hideKind, HideKind::Accidental);
    EXPECT_EQ(FindTool(96)->hideKind, HideKind::Dot);
    EXPECT_EQ(FindTool(88)->hideKind, HideKind::Element);
    EXPECT_FALSE(FindTool(95)->hideKind.has_value());
    EXPECT_EQ(FindTool(95)->currentTool, 304);
    EXPECT_FALSE(FindTool(84));  // sends a character, chooses no tool
    EXPECT_FALSE(FindTool(85));
    EXPECT_FALSE(FindTool(0));
}

TEST(MenuTable, DurationCommandsGiveCodesInOrder) {
    const int commands[] = {530, 531, 532, 533, 534, 535, 536, 537, 538, 539, 583};
    for (unsigned code = 0; code <= 10; ++code) {
        EXPECT_EQ(DurationForCommand(commands[code]), code);
        EXPECT_EQ(CommandForDuration(code), commands[code]);
    }
    EXPECT_FALSE(DurationForCommand(540));
    EXPECT_FALSE(DurationForCommand(529));
    EXPECT_FALSE(DurationForCommand(584));
    EXPECT_FALSE(CommandForDuration(11));
}

TEST(MenuTable, ValMenuListsTheDurationsOnly) {
    const Menu& val = DurationMenu();
    EXPECT_EQ(val.title, "&Val");
    ASSERT_EQ(val.entries.size(), 11u);
    for (unsigned code = 0; code < val.entries.size(); ++code) {
        EXPECT_EQ(DurationForCommand(val.entries[code].command), code);
    }
    EXPECT_EQ(val.entries[2].label, "&Ronde");
}

}  // namespace
}  // namespace notavera
