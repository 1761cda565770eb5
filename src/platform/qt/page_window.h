// A second window of the editor over the current page (the text and drawing windows): a view of the page of its own,
// its menu bar and "&Catégorie" popup built from its menu tables, and the close box as its Quitter.
#pragma once

#include <QMainWindow>
#include <functional>
#include <optional>
#include <span>

#include "platform/qt/command_menus.h"
#include "shell/editor_context.h"

class QMenu;

namespace notavera {

class ScoreView;

class PageWindow : public QMainWindow {
public:
    // What the window's layer of the shell offers it.
    struct Layer {
        std::span<const Menu> menus;
        const Menu& categories;
        CommandState (*state)(const EditorContext&, int command);
        void (*dispatch)(EditorContext&, int command);
        bool (*open)(const EditorContext&);
        void (*close)(EditorContext&);
    };

    ScoreView& view() { return *view_; }
    // Shows the state the editor is in: menus, title, page.
    void refresh();
    // The "&Catégorie" menu at the mouse: the item chosen.
    std::optional<int> popupCategories();
    // Brings the window up over the page from its top, with the keyboard.
    void present();

protected:
    // `changed` is called after everything the window did, for the main window to show the new state too.
    PageWindow(EditorContext& ctx, const char* name, const Layer& layer, std::function<void()> changed, QWidget* parent);

    void closeEvent(QCloseEvent* event) override;
    void after();

    EditorContext& ctx_;
    ScoreView* view_ = nullptr;

private:
    Layer layer_;
    std::function<void()> changed_;
    CommandMenus menus_;
    QMenu* categoryPopup_ = nullptr;
};

}  // namespace notavera
