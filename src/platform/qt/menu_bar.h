// The main window's menu bar built from the command table, its items enabled and checked by menu preparation
// each time a menu opens, and the "Val" menu as a popup for the palette's duration buttons.
#pragma once

#include <QMenuBar>
#include <functional>
#include <optional>
#include <span>
#include <unordered_map>

#include "shell/editor_context.h"
#include "shell/menu_state.h"
#include "shell/menu_table.h"

class QAction;
class QMenu;

namespace notavera {

class MenuBar : public QMenuBar {
    Q_OBJECT

public:
    using CommandHandler = std::function<void(int)>;
    using InputsSource = std::function<MenuInputs()>;
    using BuiltTest = std::function<bool(int)>;

    // `inputs` gives the undo, copy-buffer and ghost-model facts at each preparation; `isBuilt` tells which
    // commands have a handler; `onCommand` receives the id of every item the user chooses.
    MenuBar(EditorContext& ctx, InputsSource inputs, BuiltTest isBuilt, CommandHandler onCommand,
            QWidget* parent = nullptr);

    // Prepares the items now: the window calls it after commands that may start or end mask editing, so the
    // extra "&Quitter" item comes and goes at once; every menu also does it as it opens.
    void prepare();

    // The item of a command; null for an id no menu carries.
    QAction* commandAction(int command) const;
    QAction* leaveMaskAction() const { return leaveMask_; }

private:
    void addEntries(QMenu* menu, std::span<const MenuEntry> entries);
    void apply(const MenuPreparation& prepared);
    void showRecentFiles();

    EditorContext& ctx_;
    InputsSource inputs_;
    BuiltTest isBuilt_;
    CommandHandler onCommand_;
    std::unordered_map<int, QAction*> actions_;
    QAction* leaveMask_ = nullptr;
    QMenu* recentFiles_ = nullptr;  // "Fichiers récents", whose items name the files
};

// Shows the "Val" menu as a popup whose top right corner is the top right of `client`, and waits for the
// choice: the duration command chosen, nothing when the user closed it.
std::optional<int> ChooseFromDurationMenu(QWidget* client);

}  // namespace notavera
