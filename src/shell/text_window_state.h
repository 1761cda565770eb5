// The text window's state, kept by the shell while the window exists.
#pragma once

#include "edit/text_editor.h"

namespace notavera {

struct TextWindowState {
    TextEditor editor;
    int checkedCommand = 0;  // the menu item that carries the check mark
    bool dragging = false;   // the edited text follows the mouse vertically
};

}  // namespace notavera
