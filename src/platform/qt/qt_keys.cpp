// Qt's keys in the numbering the key dispatch speaks (virtual-key numbers), and the character a key event types.
#include "platform/qt/qt_keys.h"

namespace notavera {

std::optional<Key> KeyFromQt(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Backspace: return Key::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Enter;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_Space: return Key::Space;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    case Qt::Key_End: return Key::End;
    case Qt::Key_Home: return Key::Home;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Insert: return Key::Insert;
    case Qt::Key_Delete: return Key::Delete;
    default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F9)
        return static_cast<Key>(static_cast<int>(Key::F1) + (qtKey - Qt::Key_F1));
    return std::nullopt;
}

KeyModifiers ModifiersFromQt(Qt::KeyboardModifiers modifiers) {
    return {modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::ShiftModifier)};
}

std::u32string CharactersOf(const QKeyEvent& event) {
    // Ctrl+Shift+Z is the other redo key: it types what Ctrl+Y types.
    const Qt::KeyboardModifiers held = event.modifiers();
    if (event.key() == Qt::Key_Z && held.testFlag(Qt::ControlModifier) && held.testFlag(Qt::ShiftModifier))
        return std::u32string(1, U'\x19');
    const QString text = event.text();
    if (!text.isEmpty()) {
        std::u32string characters;
        for (const char32_t c : text.toUcs4()) {
            // Delete types 127 on some platforms; it is a key, not a character, for the dispatch.
            if (c != 127) characters.push_back(c);
        }
        return characters;
    }
    const int key = event.key();
    if (event.modifiers().testFlag(Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return std::u32string(1, static_cast<char32_t>(key - Qt::Key_A + 1));
    return {};
}

}  // namespace notavera
