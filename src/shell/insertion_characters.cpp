// The shell's character table: what a character does to the insertion attributes, the current tool or the
// command dispatch before the editing code sees it.
#include "shell/insertion_characters.h"

#include <array>
#include <optional>
#include <utility>

#include "shell/command_ids.h"
#include "shell/dispatch.h"
#include "shell/duration_commands.h"
#include "shell/editor_context.h"
#include "shell/tool_commands.h"

namespace notavera {

namespace {

constexpr unsigned shortestDuration = 10;  // 's'
constexpr char32_t freeSlurTool = 'l';

struct CharacterCommand {
    char32_t character;
    int command;
};
constexpr std::array<CharacterCommand, 4> characterCommands{{
    {'P', cmd::GoToStaff}, {'X', cmd::MarkerX}, {'Y', cmd::MarkerY}, {'w', cmd::ButtonMidiInput}}};

// In the Z-symbol mode the symbol characters choose the symbol to place, and the attribute they would
// otherwise set stays clear.
bool SymbolCharacter(EditorContext& ctx, char32_t c) {
    InsertionState& ins = ctx.doc.insertion;
    if (AccidentalOfCharacter(c)) {
        ChooseToolWithoutCheckMark(ctx, static_cast<int>(c));
        ins.accidental = Accidental::None;
        ins.accidentalForced = false;
        return true;
    }
    if (c == '.' || c == ':') {
        ChooseToolWithoutCheckMark(ctx, static_cast<int>(c));
        ins.dots = 0;
        return true;
    }
    if (c == '(') {
        ChooseToolWithoutCheckMark(ctx, static_cast<int>(freeSlurTool));
        return true;
    }
    return false;
}

bool AttributeCharacter(EditorContext& ctx, char32_t c) {
    InsertionState& ins = ctx.doc.insertion;
    if (c >= '0' && c <= '9') {
        ChooseDuration(ctx, static_cast<unsigned>(c - '0'));
        return true;
    }
    if (c == 's') {
        ChooseDuration(ctx, shortestDuration);
        return true;
    }
    if (const std::optional<Accidental> a = AccidentalOfCharacter(c)) {
        ins.accidental = *a;
        ins.accidentalForced = true;
        return true;
    }
    if (c == '.' || c == ':') {
        ins.dots = c == '.' ? 1 : 2;
        return true;
    }
    return false;
}

// The slur and the rhythmic group open and close through the editing handlers: they may ask for a fraction or
// refuse, and a refusal leaves the switch as it was.
bool LeftToEditing(unsigned bit) { return bit == SwitchSlur || bit == SwitchGroup; }

bool SwitchCharacter(EditorContext& ctx, char32_t c) {
    SwitchChange change;
    if (!PairedSwitch(c, change) || LeftToEditing(change.bit)) return false;
    unsigned& switches = ctx.doc.insertion.switches;
    switches = change.on ? (switches | change.bit) : (switches & ~change.bit);
    return true;
}

bool CommandCharacter(EditorContext& ctx, char32_t c) {
    for (const CharacterCommand& entry : characterCommands) {
        if (entry.character != c) continue;
        DispatchCommand(ctx, static_cast<std::uint32_t>(entry.command));
        return true;
    }
    return false;
}

}  // namespace

std::optional<Accidental> AccidentalOfCharacter(char32_t c) {
    switch (c) {
    case 'd': return Accidental::Sharp;
    case 'b': return Accidental::Flat;
    case 'h': return Accidental::Natural;
    case 'D': return Accidental::DoubleSharp;
    case 'B': return Accidental::DoubleFlat;
    case 'U': return Accidental::QuarterSharp;
    case 'u': return Accidental::QuarterFlat;
    default: return std::nullopt;
    }
}

bool PairedSwitch(char32_t c, SwitchChange& change) {
    switch (c) {
    case 'G': change = {SwitchGroup, true}; return true;
    case 'g': change = {SwitchGroup, false}; return true;
    case 'M': change = {SwitchM, true}; return true;
    case 'm': change = {SwitchM, false}; return true;
    case 'C': change = {SwitchC, true}; return true;
    case 'c': change = {SwitchC, false}; return true;
    case 'L': change = {SwitchL, true}; return true;
    case 'l': change = {SwitchL, false}; return true;
    case 'T': change = {SwitchT, true}; return true;
    case 't': change = {SwitchT, false}; return true;
    case '_': change = {SwitchTie, true}; return true;
    case '-': change = {SwitchTie, false}; return true;
    case '(': change = {SwitchSlur, true}; return true;
    case ')': change = {SwitchSlur, false}; return true;
    case '[': change = {SwitchBeam, true}; return true;
    case ']': change = {SwitchBeam, false}; return true;
    default: return false;
    }
}

bool TakeValueEntryDigit(EditorContext& ctx, char32_t c) {
    if (!std::exchange(ctx.shell.input.valueEntry, false)) return false;
    if (c == 's') ChooseReferenceValue(ctx, shortestDuration);
    else if (c >= '0' && c <= '9') ChooseReferenceValue(ctx, static_cast<unsigned>(c - '0'));
    else return false;
    return true;
}

bool DispatchInsertionCharacter(EditorContext& ctx, char32_t c) {
    if (ctx.shell.input.zSymbolMode != 0 && SymbolCharacter(ctx, c)) return true;
    return AttributeCharacter(ctx, c) || SwitchCharacter(ctx, c) || CommandCharacter(ctx, c);
}

}  // namespace notavera
