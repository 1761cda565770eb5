// MIDI keyboard events turned into the requests of the note keys, the characters and the cursor keys.
#include "shell/midi_step_entry.h"

#include <algorithm>
#include <array>
#include <utility>

#include "shell/dispatch.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr std::uint32_t chordWindowMs = 30;  // keys struck closer together than this make a chord
constexpr unsigned quarterCode = 4;
constexpr int sustainPedal = 64, allSoundOff = 120;
constexpr int pitchBendCentre = 64;
constexpr std::uint32_t beamFollowsBit = 1u << 5;  // insertion word0 flag: the next notes join a beam group

enum AccidentalRequest { NoAccidental = 0, SharpRequest = 1, FlatRequest = 2, NaturalRequest = 3 };

// The note name (1 C … 7 B) of each pitch class, written with sharps and with flats.
constexpr std::array<int, 12> sharpNames{1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6, 7};
constexpr std::array<int, 12> flatNames{1, 2, 2, 3, 3, 4, 5, 5, 6, 6, 7, 7};
constexpr std::array<bool, 12> blackKey{false, true, false, true, false, false, true, false, true, false, true, false};

bool KeyHasSharps(const KeyInEffect& key) { return !key.cancelled && key.kind == KeyKind::Sharps && key.count > 0; }

MidiEntryState& StateOf(EditorContext& ctx) { return ctx.shell.midiEntry; }

// The entered note is still where it was put: on the current staff of the current page, at its x.
bool IsLastEnteredCurrentAt(EditorContext& ctx, const MidiEnteredNote& n) {
    const StaffRecord* staff = ctx.doc.staff();
    return staff && n.page == ctx.doc.currentPage && n.staff == ctx.doc.currentStaff && n.element >= 0 &&
           n.element < static_cast<int>(staff->elements.size()) &&
           staff->elements[static_cast<std::size_t>(n.element)].x == n.x &&
           staff->elements[static_cast<std::size_t>(n.element)].isNote();
}

// Puts the cursor back on the last note entered, which a chord or a legato group starts from. False when that
// note is no longer there (the user moved away or changed the staff).
bool BackOnLastEntered(EditorContext& ctx) {
    const auto& last = StateOf(ctx).lastEntered;
    if (!last || !IsLastEnteredCurrentAt(ctx, *last)) return false;
    ctx.shell.cursor.x = last->x;
    ctx.doc.currentElement = last->element;
    return true;
}

// A character that opens or closes a group on the last note entered; the cursor then returns where the next note
// goes. Without that note the character acts at the cursor.
void CharacterOnLastEntered(EditorContext& ctx, char32_t c) {
    const int cursorX = ctx.shell.cursor.x;
    const int current = ctx.doc.currentElement;
    if (!BackOnLastEntered(ctx)) {
        DispatchChar(ctx, c);
        return;
    }
    DispatchChar(ctx, c);
    ctx.shell.cursor.x = cursorX;
    ctx.doc.currentElement = current;
}

// The accidental that an earlier note of this name and octave in the bar gives the next note, looking back from
// the cursor's element.
std::optional<Accidental> BarAccidentalAtCursor(EditorContext& ctx, unsigned step, unsigned octave) {
    const StaffRecord* staff = ctx.doc.staff();
    if (!staff) return std::nullopt;
    int i = std::min(ctx.doc.currentElement, static_cast<int>(staff->elements.size()) - 1);
    while (i >= 0 && staff->elements[static_cast<std::size_t>(i)].x > ctx.shell.cursor.x) --i;
    for (; i >= 0; --i) {
        const ElementRecord& e = staff->elements[static_cast<std::size_t>(i)];
        if (DividesBars(e)) break;
        if (!e.isNote() || e.noteWord().step() != step || e.w0().octave() != octave) continue;
        if (e.noteWord().accidental() != Accidental::None) return e.noteWord().accidental();
    }
    return std::nullopt;
}

// The insertion attributes of the request, then its note key through the dispatch. A note left to its context
// (implied by the key, or plain) is forced when an earlier accidental of the bar would give it another pitch:
// the note written must sound the key struck.
void SendNoteRequest(EditorContext& ctx, const MidiSpelling& spelling, const KeyInEffect& key) {
    InsertionState& ins = ctx.doc.insertion;
    ins.octave = static_cast<unsigned>(spelling.octave);
    static constexpr std::array<Accidental, 4> forced{Accidental::None, Accidental::Sharp, Accidental::Flat,
                                                      Accidental::Natural};
    ins.accidental = forced[static_cast<std::size_t>(spelling.accidental)];
    ins.accidentalForced = spelling.accidental != NoAccidental;
    if (spelling.accidental == NoAccidental) {
        const unsigned step = spelling.noteKey == 0 ? 7u : spelling.noteKey == 8 ? 1u : unsigned(spelling.noteKey);
        const int shift = spelling.noteKey == 0 ? -1 : spelling.noteKey == 8 ? 1 : 0;
        const unsigned octave = static_cast<unsigned>(std::clamp(spelling.octave + shift, 0, 7));
        const bool inKey = StepInKey(key, step);
        const Accidental wanted = !inKey ? Accidental::None
                                  : key.kind == KeyKind::Sharps ? Accidental::Sharp
                                                                : Accidental::Flat;
        const std::optional<Accidental> fromBar = BarAccidentalAtCursor(ctx, step, octave);
        if (fromBar && *fromBar != wanted) {
            ins.accidental = wanted == Accidental::None ? Accidental::Natural : wanted;
            ins.accidentalForced = true;
        }
    }
    DispatchKey(ctx, static_cast<Key>(static_cast<int>(Key::F1) + spelling.noteKey), {});
}

void RememberEntered(EditorContext& ctx) {
    const ElementRecord* e = ctx.doc.element();
    if (!e || !e->isNote()) return;
    StateOf(ctx).lastEntered = MidiEnteredNote{ctx.doc.currentPage, ctx.doc.currentStaff, ctx.doc.currentElement, e->x};
}

// The chord characters, as the chord played asks them: a zone the user has marked stays as it is, where typed they
// would give its notes the chord attribute.
void ChordCharacter(EditorContext& ctx, char32_t c) {
    CursorState& cursor = ctx.shell.cursor;
    const ZoneRecord zone = std::exchange(cursor.zone, ZoneRecord{});
    DispatchChar(ctx, c);
    cursor.zone = zone;
}

void EndChord(EditorContext& ctx) {
    MidiEntryState& s = StateOf(ctx);
    if (!s.chordOpen) return;
    s.chordOpen = false;
    ChordCharacter(ctx, 'c');
}

// A key pressed while the previous one is still held: legato playing groups the two notes.
void CheckLegato(EditorContext& ctx) {
    MidiEntryState& s = StateOf(ctx);
    const auto settings = ctx.doc.header.midi();
    const InsertionState& ins = ctx.doc.insertion;
    if (!s.held) return;
    if (settings.legatoMode() == 1) {
        const bool beamOpen = (ins.switches & SwitchBeam) != 0 || (ins.word0Flags & beamFollowsBit) != 0;
        if (s.heldDuration > quarterCode && !beamOpen) {
            CharacterOnLastEntered(ctx, '[');
            s.legatoBeamOpen = (ctx.doc.insertion.word0Flags & beamFollowsBit) != 0;
        }
    } else if (settings.legatoMode() == 2 && (ins.switches & SwitchSlur) == 0) {
        CharacterOnLastEntered(ctx, '(');
        s.legatoSlurOpen = (ctx.doc.insertion.switches & SwitchSlur) != 0;
    }
}

void NoteOn(EditorContext& ctx, int key, int velocity, std::uint32_t time) {
    MidiEntryState& s = StateOf(ctx);
    if (!ctx.doc.staff()) return;
    const bool together = s.lastNoteOn && time - *s.lastNoteOn < chordWindowMs;
    // Keys struck together are a chord, not legato playing.
    if (!together) CheckLegato(ctx);
    bool startChord = false;
    if (together && !s.chordOpen) startChord = true;
    else if (!together) EndChord(ctx);

    s.heldKey = key;
    s.held = true;
    s.heldDuration = ctx.doc.insertion.durationCode;
    s.lastNoteOn = time;

    const auto settings = ctx.doc.header.midi();
    const KeyInEffect keyInForce = KeyInEffectAt(*ctx.doc.staff(), ctx.doc.currentElement, ctx.shell.cursor.x);
    const MidiSpelling spelling =
        SpellMidiKey(key, velocity, settings.minVelocity(), settings.maxVelocity(), keyInForce, s.flatsChosen);
    if (spelling.altered) s.flatsChosen = spelling.flats;

    // The chord goes on from the note struck just before: it becomes the chord's first note, with its dots.
    if (startChord && BackOnLastEntered(ctx)) {
        s.chordOpen = true;
        ChordCharacter(ctx, 'C');
        ctx.doc.insertion.dots = s.savedDots;
    }
    if (!s.chordOpen) s.savedDots = ctx.doc.insertion.dots;
    SendNoteRequest(ctx, spelling, keyInForce);
    RememberEntered(ctx);
}

// The release of the last key pressed ends legato playing: the group it opened is closed on the last note.
void NoteOff(EditorContext& ctx, int key) {
    MidiEntryState& s = StateOf(ctx);
    s.savedDots = 0;
    if (key != s.heldKey || !s.held) return;
    s.held = false;
    const auto settings = ctx.doc.header.midi();
    if (settings.legatoMode() == 1 && s.legatoBeamOpen && ctx.doc.insertion.durationCode > quarterCode) {
        s.legatoBeamOpen = false;
        CharacterOnLastEntered(ctx, ']');
    } else if (settings.legatoMode() == 2 && s.legatoSlurOpen) {
        s.legatoSlurOpen = false;
        CharacterOnLastEntered(ctx, ')');
    }
}

// The sustain pedal pressed down, or All Sound Off: a bar line, or a rest in the other pedal mode. A chord
// still open ends first.
void Pedal(EditorContext& ctx) {
    if (!ctx.doc.staff()) return;
    EndChord(ctx);
    DispatchChar(ctx, ctx.doc.header.midi().pedalMode() == 1 ? U'|' : U'S');
}

}  // namespace

MidiSpelling SpellMidiKey(int key, int velocity, int lowerVelocity, int upperVelocity, const KeyInEffect& keyInForce,
                          bool flatsBefore) {
    const int pc = key % 12;
    const bool flats =
        velocity < upperVelocity && (velocity <= lowerVelocity || (!KeyHasSharps(keyInForce) && flatsBefore));
    MidiSpelling sp;
    sp.octave = std::clamp(key / 12 - 5 + 4, 0, 7);
    sp.noteKey = flats ? flatNames[static_cast<std::size_t>(pc)] : sharpNames[static_cast<std::size_t>(pc)];
    if (blackKey[static_cast<std::size_t>(pc)]) sp.accidental = flats ? FlatRequest : SharpRequest;
    const auto inKey = [&](int step, KeyKind kind) {
        return keyInForce.kind == kind && StepInKey(keyInForce, static_cast<unsigned>(step));
    };
    // White keys the key signature spells as altered neighbours: F-flat, C-flat (next octave's), E-sharp,
    // B-sharp (previous octave's). The note keys F9 and F1 carry the octave change.
    if (flats && pc == 4 && inKey(4, KeyKind::Flats)) sp = {4, sp.octave, FlatRequest};
    if (flats && pc == 11 && inKey(1, KeyKind::Flats)) sp = {8, sp.octave, FlatRequest};
    if (!flats && pc == 5 && inKey(3, KeyKind::Sharps)) sp = {3, sp.octave, SharpRequest};
    if (!flats && pc == 0 && inKey(7, KeyKind::Sharps)) sp = {0, sp.octave, SharpRequest};
    sp.altered = sp.accidental != NoAccidental;
    sp.flats = sp.accidental == FlatRequest;

    const int step = sp.noteKey == 0 ? 7 : sp.noteKey == 8 ? 1 : sp.noteKey;
    if (StepInKey(keyInForce, static_cast<unsigned>(step))) {
        const int signature = keyInForce.kind == KeyKind::Sharps ? SharpRequest : FlatRequest;
        if (sp.accidental == signature) sp.accidental = NoAccidental;
        else if (sp.accidental == NoAccidental) sp.accidental = NaturalRequest;
    }
    return sp;
}

void HandleMidiInputEvent(EditorContext& ctx, const MidiInputEvent& event) {
    const int status = static_cast<int>(event.message & 0xFF);
    const int d1 = static_cast<int>((event.message >> 8) & 0xFF);
    const int d2 = static_cast<int>((event.message >> 16) & 0xFF);
    // Data bytes have their top bit clear; an event that says otherwise is not from a keyboard.
    if (d1 > 127 || d2 > 127) return;
    int kind = status & 0xF0;
    if (kind == 0x90 && d2 == 0) kind = 0x80;
    switch (kind) {
    case 0x80: NoteOff(ctx, d1); break;
    case 0x90: NoteOn(ctx, d1, d2, event.timeStamp); break;
    case 0xB0:
        if ((d1 == sustainPedal && d2 == 127) || (d1 == allSoundOff && d2 == 0)) Pedal(ctx);
        break;
    // Channel pressure has one data byte: its value is data 1.
    case 0xD0:
        if (d1 == 0) DispatchChar(ctx, 'S');
        break;
    case 0xE0:
        if (d2 > pitchBendCentre) DispatchKey(ctx, Key::Space, {});
        else if (d2 < pitchBendCentre) DispatchKey(ctx, Key::Backspace, {});
        break;
    default: break;
    }
}

}  // namespace notavera
