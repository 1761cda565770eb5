// What must hold of the menu table whatever its entries: one access key per item and no key twice in a menu, no
// command number twice nor on a palette button, separators only between items, a menu item for every tool, and
// the "Val" menu giving the durations in order.
#include "shell/menu_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace notavera {
namespace {

// The access key of a label: the UTF-8 character after the '&', ASCII letters folded to lower case.
std::string AccessKey(std::string_view label) {
    const auto amp = label.find('&');
    if (amp == std::string_view::npos || amp + 1 >= label.size()) return {};
    const auto lead = static_cast<unsigned char>(label[amp + 1]);
    std::string key(label.substr(amp + 1, lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1));
    if (key.size() == 1) key[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])));
    return key;
}

void ExpectWellFormed(std::string_view where, std::span<const MenuEntry> entries) {
    ASSERT_FALSE(entries.empty()) << where;
    EXPECT_NE(entries.front().kind, MenuEntryKind::Separator) << where;
    EXPECT_NE(entries.back().kind, MenuEntryKind::Separator) << where;
    std::set<std::string> keys;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MenuEntry& entry = entries[i];
        if (entry.kind == MenuEntryKind::Separator) {
            EXPECT_NE(entries[i - 1].kind, MenuEntryKind::Separator) << where;
            continue;
        }
        EXPECT_EQ(std::count(entry.label.begin(), entry.label.end(), '&'), 1) << where << ": " << entry.label;
        EXPECT_TRUE(keys.insert(AccessKey(entry.label)).second) << where << ": key used twice by " << entry.label;
        if (entry.kind == MenuEntryKind::Submenu) ExpectWellFormed(entry.label, entry.submenu);
    }
}

TEST(MenuTable, EveryMenuIsWellFormedAndTheTitlesHaveDistinctKeys) {
    std::set<std::string> titleKeys{AccessKey(LeaveMaskLabel)};
    for (const Menu& menu : MainMenus()) {
        EXPECT_TRUE(titleKeys.insert(AccessKey(menu.title)).second) << menu.title;
        ExpectWellFormed(menu.title, menu.entries);
    }
}

TEST(MenuTable, CommandNumbersAreUniqueAndLeaveThePaletteAndMaskItemsAlone) {
    const std::vector<int> commands = MainMenuCommands();
    const std::set<int> unique(commands.begin(), commands.end());
    EXPECT_EQ(unique.size(), commands.size());
    EXPECT_EQ(unique.count(LeaveMaskCommand), 0u);
    for (int id = 20; id <= 42; ++id) EXPECT_EQ(unique.count(id), 0u) << id;  // the palette buttons
    EXPECT_FALSE(CommandLabel(LeaveMaskCommand).has_value());
    for (const ToolEntry& tool : ToolTable()) {
        EXPECT_TRUE(CommandLabel(tool.command).has_value()) << tool.command;
        EXPECT_EQ(FindTool(tool.command)->currentTool, tool.currentTool);
    }
    EXPECT_FALSE(FindTool(0));
}

TEST(MenuTable, TheValMenuGivesTheDurationsInOrder) {
    const Menu& val = DurationMenu();
    ASSERT_EQ(val.entries.size(), 11u);
    for (unsigned code = 0; code < val.entries.size(); ++code) {
        EXPECT_EQ(DurationForCommand(val.entries[code].command), code);
        EXPECT_EQ(CommandForDuration(code), val.entries[code].command);
    }
    EXPECT_FALSE(CommandForDuration(11));
    EXPECT_FALSE(DurationForCommand(val.entries[0].command - 1));
}

}  // namespace
}  // namespace notavera
