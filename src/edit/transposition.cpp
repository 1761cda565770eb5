// Transposition walks the passage once, element by element, carrying the key in effect along.
#include "edit/transposition.h"

#include <algorithm>
#include <cstdlib>

#include "edit/region_attributes.h"
#include "platform/ui_services.h"
#include "render/staff_groupings.h"
#include "score/accidental_context.h"

namespace notavera {

namespace {

constexpr unsigned nameE = 3, nameF = 4, nameB = 7, nameC = 1;
constexpr int lastOctave = 7;
constexpr int longestValue = 0, shortestValue = 10;
constexpr unsigned multiBarRest = NoteWordView<std::uint32_t>::multiBarRestCode;
constexpr unsigned shortestUnbeamed = 5;  // an eighth: a quarter or longer cannot be beamed
constexpr int longestFlagged = 1;         // a breve: the flag bit means nothing on longer values
constexpr unsigned flagBit = 16;
constexpr int longestInterval = 14;       // a fifteenth

// The semitone steps (E–F, B–C) a diatonic interval of n degrees spans in the major scale from its tonic,
// which is what a key transposition keeps: counting more or fewer on the way means an accidental must make up.
int SemitoneStepsOf(int n) {
    if (n == 2 || n == 3) return 0;
    if (n >= 11) return 3;
    if (n >= 8) return 2;
    return 1;
}

Accidental KeyAccidental(const KeyInEffect& key) {
    return key.kind == KeyKind::Sharps ? Accidental::Sharp : key.kind == KeyKind::Flats ? Accidental::Flat
                                                                                        : Accidental::None;
}

Accidental Raised(Accidental a) {
    switch (a) {
    case Accidental::None:
    case Accidental::Natural: return Accidental::Sharp;
    case Accidental::Sharp: return Accidental::DoubleSharp;
    case Accidental::Flat: return Accidental::None;
    case Accidental::DoubleFlat: return Accidental::Flat;
    default: return a;
    }
}

Accidental Lowered(Accidental a) {
    switch (a) {
    case Accidental::None:
    case Accidental::Natural: return Accidental::Flat;
    case Accidental::Sharp: return Accidental::None;
    case Accidental::Flat: return Accidental::DoubleFlat;
    case Accidental::DoubleSharp: return Accidental::Sharp;
    default: return a;
    }
}

struct DegreeWalk {
    unsigned name = 0;
    int octaves = 0;
    int semitoneSteps = 0;
};

DegreeWalk WalkDegrees(unsigned name, int degrees, bool up) {
    DegreeWalk w{name, 0, 0};
    for (int i = 0; i < degrees; ++i) {
        if (up) {
            if (w.name == nameE || w.name == nameB) ++w.semitoneSteps;
            if (w.name >= nameB) {
                w.name = nameC;
                ++w.octaves;
            } else {
                ++w.name;
            }
        } else {
            if (w.name == nameF || w.name == nameC) ++w.semitoneSteps;
            if (w.name <= nameC) {
                w.name = nameB;
                --w.octaves;
            } else {
                --w.name;
            }
        }
    }
    return w;
}

// A natural stands where the key would alter the name; an accidental the key or the natural state already
// gives is not drawn.
void SettleAccidental(NoteWordView<std::uint32_t> note, const KeyInEffect& key) {
    const bool inKey = StepInKey(key, note.step());
    if (note.accidental() == Accidental::None && inKey) note.setAccidental(Accidental::Natural);
    if (note.accidental() == Accidental::Natural && !inKey) note.setHiddenAccidental(true);
    if (inKey && note.accidental() == KeyAccidental(key)) note.setHiddenAccidental(true);
}

}  // namespace

int TransposePitch(StaffRecord& staff, int first, int last, int count, bool restsToo) {
    const bool byKey = std::abs(count) >= keyTranspositionOffset;
    if (byKey) count -= count > 0 ? keyTranspositionOffset : -keyTranspositionOffset;
    const int n = std::abs(count);
    if (n == 0 || (!byKey && n == 1) || (byKey && n > longestInterval)) return 0;
    // A unison of a key transposition is a chromatic semitone: the name stays and the accidental moves, which
    // the comparison below does the other way round from a real interval.
    const bool up = (count > 0) != (byKey && n == 1);
    const int expected = SemitoneStepsOf(n);
    last = std::min(last, static_cast<int>(staff.elements.size()) - 1);
    first = std::max(first, 0);
    if (first > last) return 0;
    KeyInEffect key = KeyInEffectAt(staff, first, staff.elements[static_cast<std::size_t>(first)].x);
    int changed = 0;
    for (int i = first; i <= last; ++i) {
        ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (e.isSign()) {
            if (e.isSignOfType(SignType::KeyChange)) key = KeyInEffectAt(staff, i, e.x);
            continue;
        }
        if (e.isRest() && !restsToo) continue;
        const auto note = e.noteWord();
        const DegreeWalk w = WalkDegrees(note.step(), n - 1, up);
        note.setStep(w.name);
        const int octave = static_cast<int>(e.w0().octave()) + w.octaves;
        if (octave >= 0 && octave <= lastOctave) e.w0().setOctave(static_cast<unsigned>(octave));
        ++changed;
        if (e.isRest()) continue;
        if (byKey) {
            if (w.semitoneSteps != expected) {
                const bool raise = up == (w.semitoneSteps > expected);
                note.setAccidental(raise ? Raised(note.accidental()) : Lowered(note.accidental()));
            }
            note.setHiddenAccidental(false);
        } else {
            note.setAccidental(StepInKey(key, w.name) ? KeyAccidental(key) : Accidental::None);
            note.setHiddenAccidental(false);
        }
        SettleAccidental(note, key);
    }
    return changed;
}

int TransposeDurations(StaffRecord& staff, int first, int last, int steps, UiServices& ui) {
    if (steps == 0) return 0;
    auto& els = staff.elements;
    last = std::min(last, static_cast<int>(els.size()) - 1);
    int changed = 0;
    bool refused = false;
    for (int i = std::max(first, 0); i <= last; ++i) {
        ElementRecord& e = els[static_cast<std::size_t>(i)];
        if (e.isSign() || e.noteWord().durationCode() == multiBarRest) continue;
        const int code = static_cast<int>(e.noteWord().durationCode()) + steps;
        if (code < longestValue || code > shortestValue) {
            refused = true;
            continue;
        }
        e.noteWord().setDurationCode(static_cast<unsigned>(code));
        if (code > longestFlagged && (e.word0 >> flagBit & 1u) != 0) {
            e.word0 &= ~(1u << flagBit);
            e.noteWord().setBit(flagBit, false);
        }
        if (e.isNote() && e.w0().inBeam() && static_cast<unsigned>(code) < shortestUnbeamed)
            LeaveBeamGroup(els, static_cast<std::size_t>(i));
        ++changed;
    }
    if (refused) ui.beep();
    return changed;
}

int InsertSpaces(PageRecord& page, int staff, int fromX, int count, int step) {
    if (count == 0 || staff < 0 || staff >= static_cast<int>(page.staves.size())) return 0;
    StaffGroup system{staff, staff};
    for (const StaffGroup& g : SystemsOfPage(page, static_cast<int>(page.staves.size())))
        if (g.first <= staff && staff <= g.last) system = g;
    const auto firstMoved = [fromX](const StaffRecord& s) {
        return std::find_if(s.elements.begin(), s.elements.end(), [fromX](const ElementRecord& e) {
            return e.x >= fromX;
        }) - s.elements.begin();
    };
    int steps = std::abs(count);
    if (count < 0) {
        // The room on the tightest staff decides for the whole system.
        for (int s = system.first; s <= system.last; ++s) {
            const StaffRecord& st = page.staves[static_cast<std::size_t>(s)];
            const auto m = static_cast<std::size_t>(firstMoved(st));
            if (m >= st.elements.size()) continue;
            const int room = m == 0 ? st.elements[m].x : st.elements[m].x - st.elements[m - 1].x - (step + 4);
            steps = std::min(steps, std::max(0, room / std::max(step, 1)));
        }
    }
    const int shift = (count < 0 ? -steps : steps) * step;
    if (shift == 0) return 0;
    for (int s = system.first; s <= system.last; ++s) {
        StaffRecord& st = page.staves[static_cast<std::size_t>(s)];
        for (auto i = static_cast<std::size_t>(firstMoved(st)); i < st.elements.size(); ++i) st.elements[i].x += shift;
    }
    return shift;
}

}  // namespace notavera
