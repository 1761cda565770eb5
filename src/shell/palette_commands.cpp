// Palette buttons 22, 24..29, 32, 33 and 38..40. The buttons that re-enter the dispatch send the same character
// a user would type, so that the keyboard and the palette cannot drift apart.
#include "shell/palette_commands.h"

#include <array>

#include "score/score_document.h"
#include "shell/command_registry.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

struct SwitchButton {
    int button;
    unsigned bit;
    char32_t whenOn;   // the closing or small form, sent while the attribute is on
    char32_t whenOff;  // the opening or capital form
};

constexpr std::array<SwitchButton, 8> switchButtons{{
    {24, SwitchGroup, 'g', 'G'}, {25, SwitchM, 'm', 'M'}, {26, SwitchTie, '-', '_'}, {27, SwitchC, 'c', 'C'},
    {28, SwitchL, 'l', 'L'},     {29, SwitchT, 't', 'T'}, {32, SwitchSlur, ')', '('}, {33, SwitchBeam, ']', '['},
}};

constexpr std::uint32_t stemAutomaticBit = 1u << 13;
constexpr std::uint32_t stemUpBit = 1u << 14;

void ToggleAlternateAction(EditorContext& ctx, int) {
    bool& alternate = ctx.shell.input.alternateAction;
    alternate = !alternate;
}

void NoteFormButton(EditorContext& ctx, int button) {
    int flags = ctx.shell.input.noteFormFlags;
    if (button == 38) flags ^= noteFormA;
    if (button == 39) flags = (flags | noteFormB) & ~noteFormA;
    if (button == 40) flags &= ~(noteFormA | noteFormB);
    SetNoteFormFlags(ctx, flags);
}

}  // namespace

void SetNoteFormFlags(EditorContext& ctx, int flags) {
    ctx.shell.input.noteFormFlags = flags;
    std::uint32_t& word = ctx.doc.insertion.noteWordFlags;
    word &= ~(stemUpBit | stemAutomaticBit);
    if ((flags & noteFormA) != 0) word |= stemUpBit;
    if ((flags & noteFormB) != 0) word |= stemAutomaticBit;
}

void RegisterPaletteCommands(CommandRegistry& registry) {
    registry.addCommand(22, ToggleAlternateAction);
    for (const SwitchButton& b : switchButtons) {
        registry.addCommand(b.button, [b](EditorContext& ctx, int) {
            DispatchChar(ctx, (ctx.doc.insertion.switches & b.bit) != 0 ? b.whenOn : b.whenOff);
        });
    }
    for (int button = 38; button <= 40; ++button) registry.addCommand(button, NoteFormButton);
}

}  // namespace notavera
