// Qt's keys in the numbering the key dispatch speaks (virtual-key numbers), and the character a key event types.
#pragma once

#include <QKeyEvent>
#include <optional>
#include <string>

#include "shell/dispatch.h"

namespace notavera {

// The key-down the dispatch knows for a Qt key; nothing for keys it has no use for (letters come as characters).
std::optional<Key> KeyFromQt(int qtKey);
KeyModifiers ModifiersFromQt(Qt::KeyboardModifiers modifiers);
// The characters the event types, as the system's character messages carry them: Space, Backspace (8), Enter
// (13), Escape (27), and Ctrl+letter as its control character even where the platform gives no text for it.
std::u32string CharactersOf(const QKeyEvent& event);

}  // namespace notavera
