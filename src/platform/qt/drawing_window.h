// The drawing window "Dessin": the current page in a view of its own, the menus "&Catégorie" and "DESSIN", the
// cursor, the recording under way, the selection and the marked region drawn over the page, and the keys (with
// their releases, which end a held key's acceleration) and the mouse handed to the drawing layer.
#pragma once

#include <QMainWindow>
#include <optional>
#include <unordered_map>

#include "shell/editor_context.h"

class QAction;
class QMenu;

namespace notavera {

class ScoreView;
struct Menu;

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
    QMenu* buildMenu(const Menu& menu, QWidget* parent);
    void prepareMenus();
    void run(int command);
    void after();

    EditorContext& ctx_;
    std::function<void()> changed_;
    ScoreView* view_ = nullptr;
    QMenu* categoryPopup_ = nullptr;
    std::unordered_map<int, std::vector<QAction*>> actions_;
};

}  // namespace notavera
