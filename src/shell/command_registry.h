// The handlers that commands, keys and characters reach: each subsystem registers its own by number, and the
// dispatch finds them here. A number without a handler is simply not built yet, and the menus grey it.
#pragma once

#include <functional>
#include <map>

namespace notavera {

struct EditorContext;

// Every handler receives the number it was reached by (one handler may serve several commands).
using CommandHandler = std::function<void(EditorContext&, int)>;

// What the dispatch saves before a handler runs, so that no edit can forget its undo step.
enum class UndoPolicy {
    None,                   // changes nothing worth a step (views, cursor, dialogs of settings)
    Step,                   // a step, except in the template-staff mode
    StepInTemplateMode,     // a step even in the template-staff mode
    Typing,                 // a step for the first of a run of typed edits on one staff
};

class CommandRegistry {
public:
    void addCommand(int command, CommandHandler handler, UndoPolicy policy = UndoPolicy::None) {
        store(commands_, command, {std::move(handler), policy});
    }
    void addKey(int key, CommandHandler handler, UndoPolicy policy = UndoPolicy::None) {
        store(keys_, key, {std::move(handler), policy});
    }
    void addChar(char32_t character, CommandHandler handler, UndoPolicy policy = UndoPolicy::None) {
        store(chars_, character, {std::move(handler), policy});
    }

    // How many registrations replaced an earlier handler of the same number: two subsystems claiming one
    // command would leave one of them silently unreachable.
    int replacedCount() const { return replaced_; }

    // A handler with the undo policy it was registered with.
    struct Entry {
        CommandHandler handler;
        UndoPolicy policy = UndoPolicy::None;
    };

    // Null when nothing is registered for that number.
    const Entry* findCommand(int command) const { return find(commands_, command); }
    const Entry* findKey(int key) const { return find(keys_, key); }
    const Entry* findChar(char32_t character) const { return find(chars_, character); }

private:
    template <typename Map, typename Key>
    void store(Map& map, Key key, Entry entry) {
        const auto [it, added] = map.try_emplace(key, std::move(entry));
        if (!added) {
            ++replaced_;
            it->second = std::move(entry);
        }
    }

    template <typename Map, typename Key>
    static const Entry* find(const Map& map, Key key) {
        const auto it = map.find(key);
        return it == map.end() ? nullptr : &it->second;
    }

    std::map<int, Entry> commands_;
    std::map<int, Entry> keys_;
    std::map<char32_t, Entry> chars_;
    int replaced_ = 0;
};

// The handlers of the core, the same for every window: filled once, on first use, by each subsystem's
// registration function.
const CommandRegistry& CoreCommands();

// The shell's own handlers (tools, durations, palette, zoom, files, dialogs that exist).
void RegisterShellCommands(CommandRegistry& registry);

}  // namespace notavera
