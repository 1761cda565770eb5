// The menus of a second window (text, drawing) built from its menu table: each item runs its command through the
// window, and every menu asks the window for the state of its items as it opens. An item may stand in several
// menus (the menu bar and a popup): all its actions follow one state.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "shell/menu_state.h"
#include "shell/menu_table.h"

class QAction;
class QMenu;
class QWidget;

namespace notavera {

// Menu labels keep their '&' as Qt's access-key mark.
QString MenuLabel(std::string_view label);

class CommandMenus {
public:
    using StateOf = std::function<CommandState(int)>;
    using Run = std::function<void(int)>;

    // `owner` outlives the menus: their connections go with it.
    CommandMenus(QWidget* owner, StateOf state, Run run);

    QMenu* build(const Menu& menu, QWidget* parent);
    void prepare();
    // Shows `menu` at the mouse: the command chosen, nothing when the user closed it.
    std::optional<int> popup(QMenu* menu);

private:
    QWidget* owner_;
    StateOf state_;
    Run run_;
    std::unordered_map<int, std::vector<QAction*>> actions_;
};

}  // namespace notavera
