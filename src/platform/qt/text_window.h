// The text window "Texte": the current page in a view of its own, the menus "&Catégorie" and "TEXTE", the text
// being typed drawn over the page in the selection colour with its insertion point, and the keys, characters and
// mouse handed to the text editor.
#pragma once

#include <QMainWindow>
#include <optional>

#include "platform/qt/command_menus.h"
#include "shell/editor_context.h"

class QMenu;

namespace notavera {

class ScoreView;

class TextWindow final : public QMainWindow {
public:
    // `changed` is called after everything the window did, for the main window to show the new state too.
    TextWindow(EditorContext& ctx, std::function<void()> changed, QWidget* parent = nullptr);

    ScoreView& view() { return *view_; }
    // Shows the state the editor is in: menus, title, page.
    void refresh();
    // The "&Catégorie" menu at the mouse: the item chosen.
    std::optional<int> popupCategories();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run(int command);
    void after();

    EditorContext& ctx_;
    std::function<void()> changed_;
    ScoreView* view_ = nullptr;
    QMenu* categoryPopup_ = nullptr;
    CommandMenus menus_;
};

}  // namespace notavera
