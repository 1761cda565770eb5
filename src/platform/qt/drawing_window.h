// The drawing window "Dessin": the current page in a view of its own, the menus "&Catégorie" and "DESSIN", the
// cursor, the recording under way, the selection and the marked region drawn over the page, and the keys (with
// their releases, which end a held key's acceleration) and the mouse handed to the drawing layer.
#pragma once

#include <QMainWindow>
#include <optional>

#include "platform/qt/command_menus.h"
#include "shell/editor_context.h"

class QMenu;

namespace notavera {

class ScoreView;

class DrawingWindow final : public QMainWindow {
public:
    DrawingWindow(EditorContext& ctx, std::function<void()> changed, QWidget* parent = nullptr);

    ScoreView& view() { return *view_; }
    void refresh();
    std::optional<int> popupCategories();

protected:
    void closeEvent(QCloseEvent* event) override;
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
