// Menus of a second window built from its menu table.
#include "platform/qt/command_menus.h"

#include <QCursor>
#include <QMenu>

namespace notavera {

QString MenuLabel(std::string_view label) {
    return QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()));
}

CommandMenus::CommandMenus(QWidget* owner, StateOf state, Run run)
    : owner_(owner), state_(std::move(state)), run_(std::move(run)) {}

QMenu* CommandMenus::build(const Menu& menu, QWidget* parent) {
    auto* qmenu = new QMenu(MenuLabel(menu.title), parent);
    QObject::connect(qmenu, &QMenu::aboutToShow, owner_, [this] { prepare(); });
    for (const MenuEntry& e : menu.entries) {
        if (e.kind == MenuEntryKind::Separator) {
            qmenu->addSeparator();
        } else if (e.kind == MenuEntryKind::Submenu) {
            qmenu->addMenu(build(Menu{e.label, e.submenu}, qmenu));
        } else {
            QAction* action = qmenu->addAction(MenuLabel(e.label));
            action->setCheckable(true);
            const int command = e.command;
            QObject::connect(action, &QAction::triggered, owner_, [this, command] { run_(command); });
            actions_[command].push_back(action);
        }
    }
    return qmenu;
}

void CommandMenus::prepare() {
    for (auto& [command, actions] : actions_) {
        const CommandState state = state_(command);
        for (QAction* a : actions) {
            a->setEnabled(state.enabled);
            a->setChecked(state.checked);
        }
    }
}

std::optional<int> CommandMenus::popup(QMenu* menu) {
    prepare();
    QAction* chosen = menu->exec(QCursor::pos());
    if (chosen == nullptr) return std::nullopt;
    for (const auto& [command, actions] : actions_)
        for (QAction* a : actions)
            if (a == chosen) return command;
    return std::nullopt;
}

}  // namespace notavera
