// Qt menus from the command table: one QAction per command, enabled and checked from menu preparation.
#include "platform/qt/menu_bar.h"

#include <QAction>
#include <QMenu>
#include <QPoint>
#include <QString>

#include "shell/command_ids.h"
#include "shell/recent_files.h"

namespace notavera {
namespace {

QString Text(std::string_view label) { return QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())); }

}  // namespace

MenuBar::MenuBar(EditorContext& ctx, InputsSource inputs, BuiltTest isBuilt, CommandHandler onCommand,
                 QWidget* parent)
    : QMenuBar(parent), ctx_(ctx), inputs_(std::move(inputs)), isBuilt_(std::move(isBuilt)),
      onCommand_(std::move(onCommand)) {
    for (const Menu& menu : MainMenus()) {
        QMenu* qmenu = addMenu(Text(menu.title));
        addEntries(qmenu, menu.entries);
        connect(qmenu, &QMenu::aboutToShow, this, &MenuBar::prepare);
    }
    leaveMask_ = addAction(Text(LeaveMaskLabel));
    connect(leaveMask_, &QAction::triggered, this, [this] {
        if (onCommand_) onCommand_(cmd::LeaveMask);
    });
    prepare();
}

void MenuBar::addEntries(QMenu* menu, std::span<const MenuEntry> entries) {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntryKind::Separator: menu->addSeparator(); break;
        case MenuEntryKind::Submenu: {
            QMenu* submenu = menu->addMenu(Text(entry.label));
            addEntries(submenu, entry.submenu);
            if (!entry.submenu.empty() && entry.submenu.front().command == cmd::FirstRecentFile) recentFiles_ = submenu;
            connect(submenu, &QMenu::aboutToShow, this, &MenuBar::prepare);
            break;
        }
        case MenuEntryKind::Command: {
            QAction* action = menu->addAction(Text(entry.label));
            const int command = entry.command;
            connect(action, &QAction::triggered, this, [this, command] {
                if (onCommand_) onCommand_(command);
            });
            actions_[command] = action;
            break;
        }
        }
    }
}

void MenuBar::prepare() {
    const MenuInputs inputs = inputs_ ? inputs_() : MenuInputs{};
    const MenuPreparation prepared = PrepareMenus(ctx_.doc, ctx_.shell, inputs, isBuilt_);
    ctx_.shell.stickyModified = prepared.stickyModified;
    apply(prepared);
}

void MenuBar::apply(const MenuPreparation& prepared) {
    for (auto& [command, action] : actions_) {
        const CommandState state = prepared[command];
        action->setEnabled(state.enabled);
        // Only items that show a mark are checkable, so that the others draw no empty check box.
        action->setCheckable(state.checked);
        action->setChecked(state.checked);
    }
    leaveMask_->setVisible(prepared.showLeaveMask);
    leaveMask_->setEnabled(prepared[cmd::LeaveMask].enabled);
    showRecentFiles();
}

// The items past the files remembered are hidden, and the submenu is grey while there are none.
void MenuBar::showRecentFiles() {
    const std::vector<std::string>& recent = ctx_.shell.settings.recentFiles;
    for (int n = 0; n < cmd::RecentFileCount; ++n) {
        QAction* action = commandAction(cmd::FirstRecentFile + n);
        if (action == nullptr) continue;
        const auto index = static_cast<std::size_t>(n);
        action->setVisible(index < recent.size());
        if (index < recent.size()) action->setText(QString::fromStdString(RecentFileLabel(index, recent[index])));
    }
    if (recentFiles_ != nullptr) recentFiles_->menuAction()->setEnabled(!recent.empty());
}

QAction* MenuBar::commandAction(int command) const {
    const auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

std::optional<int> ChooseFromDurationMenu(QWidget* client) {
    QMenu popup(client);
    for (const MenuEntry& entry : DurationMenu().entries) {
        QAction* action = popup.addAction(Text(entry.label));
        action->setData(entry.command);
    }
    const QPoint topRight = client->mapToGlobal(QPoint(client->width(), 0));
    const QAction* chosen = popup.exec(topRight - QPoint(popup.sizeHint().width(), 0));
    if (!chosen) return std::nullopt;
    return chosen->data().toInt();
}

}  // namespace notavera
