// The drawing window "Dessin": the current page in a view of its own, the menus "&Catégorie" and "DESSIN", the
// cursor, the recording under way, the selection and the marked region drawn over the page, and the keys (with
// their releases, which end a held key's acceleration) and the mouse handed to the drawing layer.
#pragma once

#include "platform/qt/page_window.h"

namespace notavera {

class DrawingWindow final : public PageWindow {
public:
    DrawingWindow(EditorContext& ctx, std::function<void()> changed, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace notavera
