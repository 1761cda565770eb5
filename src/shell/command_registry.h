// The handlers that commands, keys and characters reach: each subsystem registers its own by number, and the
// dispatch finds them here. A number without a handler is simply not built yet, and the menus grey it.
#pragma once

#include <functional>
#include <map>

namespace notavera {

struct EditorContext;

// Every handler receives the number it was reached by (one handler may serve several commands).
using CommandHandler = std::function<void(EditorContext&, int)>;

class CommandRegistry {
public:
    void addCommand(int command, CommandHandler handler) { store(commands_, command, std::move(handler)); }
    void addKey(int key, CommandHandler handler) { store(keys_, key, std::move(handler)); }
    void addChar(char32_t character, CommandHandler handler) { store(chars_, character, std::move(handler)); }

    // How many registrations replaced an earlier handler of the same number: two subsystems claiming one
    // command would leave one of them silently unreachable.
    int replacedCount() const { return replaced_; }

    // Null when nothing is registered for that number.
    const CommandHandler* findCommand(int command) const { return find(commands_, command); }
    const CommandHandler* findKey(int key) const { return find(keys_, key); }
    const CommandHandler* findChar(char32_t character) const { return find(chars_, character); }

private:
    template <typename Map, typename Key>
    void store(Map& map, Key key, CommandHandler handler) {
        const auto [it, added] = map.try_emplace(key, std::move(handler));
        if (!added) {
            ++replaced_;
            it->second = std::move(handler);
        }
    }

    template <typename Map, typename Key>
    static const CommandHandler* find(const Map& map, Key key) {
        const auto it = map.find(key);
        return it == map.end() ? nullptr : &it->second;
    }

    std::map<int, CommandHandler> commands_;
    std::map<int, CommandHandler> keys_;
    std::map<char32_t, CommandHandler> chars_;
    int replaced_ = 0;
};

// The handlers of the core, the same for every window: filled once, on first use, by each subsystem's
// registration function.
const CommandRegistry& CoreCommands();

// The shell's own handlers (tools, durations, palette, zoom, files, dialogs that exist).
void RegisterShellCommands(CommandRegistry& registry);

}  // namespace notavera
