// The text window "Texte": the current page in a view of its own, the menus "&Catégorie" and "TEXTE", the text
// being typed drawn over the page in the selection colour with its insertion point, and the keys, characters and
// mouse handed to the text editor.
#pragma once

#include "platform/qt/page_window.h"

namespace notavera {

class TextWindow final : public PageWindow {
public:
    TextWindow(EditorContext& ctx, std::function<void()> changed, QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace notavera
