// The palette's alternate-action, attribute-switch and note-form buttons. The buttons that re-enter the dispatch
// send the same character a user would type, so that the keyboard and the palette cannot drift apart.
#include "shell/palette_commands.h"

#include <array>

#include "score/score_document.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/region_commands.h"

namespace notavera {

namespace {

struct SwitchButton {
    int button;
    unsigned bit;
    char32_t whenOn;   // the closing or small form, sent while the attribute is on
    char32_t whenOff;  // the opening or capital form
};

constexpr std::array<SwitchButton, 8> switchButtons{{
    {cmd::ButtonRhythmicGroup, SwitchGroup, 'g', 'G'},
    {cmd::ButtonCueSize, SwitchM, 'm', 'M'},
    {cmd::ButtonTie, SwitchTie, '-', '_'},
    {cmd::ButtonAttributeC, SwitchC, 'c', 'C'},
    {cmd::ButtonAttributeL, SwitchL, 'l', 'L'},
    {cmd::ButtonStaccato, SwitchT, 't', 'T'},
    {cmd::ButtonSlur, SwitchSlur, ')', '('},
    {cmd::ButtonBeam, SwitchBeam, ']', '['},
}};

constexpr std::uint32_t stemAutomaticBit = 1u << 13;
constexpr std::uint32_t stemUpBit = 1u << 14;

void ToggleAlternateAction(EditorContext& ctx, int) {
    bool& alternate = ctx.shell.input.alternateAction;
    alternate = !alternate;
}

void NoteFormButton(EditorContext& ctx, int button) {
    int flags = ctx.shell.input.noteFormFlags;
    if (button == cmd::ButtonNoteFormA) flags ^= noteFormA;
    if (button == cmd::ButtonNoteFormB) flags = (flags | noteFormB) & ~noteFormA;
    if (button == cmd::ButtonNoteFormClear) flags &= ~(noteFormA | noteFormB);
    SetNoteFormFlags(ctx, flags);
    // With marker Y set the notes of the region take the stems just chosen (the button's number is the id).
    ChangeRegion(ctx, button, 0);
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
    registry.addCommand(cmd::ButtonAlternateAction, ToggleAlternateAction);
    for (const SwitchButton& b : switchButtons) {
        registry.addCommand(b.button, [b](EditorContext& ctx, int) {
            DispatchChar(ctx, (ctx.doc.insertion.switches & b.bit) != 0 ? b.whenOn : b.whenOff);
        });
    }
    for (const int button : {cmd::ButtonNoteFormA, cmd::ButtonNoteFormB, cmd::ButtonNoteFormClear})
        registry.addCommand(button, NoteFormButton);
}

}  // namespace notavera
