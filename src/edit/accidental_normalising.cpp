// The three passes of a normalising over a staff: accidentals shown, accidentals read against the key, and
// accidentals read against the earlier notes of their bar.
#include "edit/accidental_normalising.h"

#include <algorithm>
#include <climits>
#include <optional>

#include "score/accidental_context.h"

namespace notavera {

namespace {

using namespace normalise_mode;

bool IsPitchedNote(const ElementRecord& e) { return e.isNote(); }

Accidental KeyAccidentalOf(KeyKind kind) { return kind == KeyKind::Sharps ? Accidental::Sharp : Accidental::Flat; }

// Pass 1: accidentals become visible, except a tied continuation of the same note, whose accidental the tie
// already carries.
void ShowAccidentals(StaffRecord& staff, unsigned mode) {
    const ElementRecord* tieStart = nullptr;
    for (ElementRecord& e : staff.elements) {
        if (!IsPitchedNote(e)) continue;
        auto n = e.noteWord();
        if ((mode & unloadKey) && n.accidental() != Accidental::None && n.hiddenAccidental()) {
            n.setAccidental(Accidental::None);
            n.setHiddenAccidental(false);
        }
        const auto w0 = e.w0();
        const bool keep = w0.tieEnds() && (!tieStart || (tieStart->noteWord().step() == n.step() &&
                                                         tieStart->w0().octave() == w0.octave()));
        if (!keep) n.setHiddenAccidental(false);
        if (w0.tieStarts())
            tieStart = &e;
        else if (w0.tieEnds())
            tieStart = nullptr;
    }
}

// Pass 2: the key in effect decides which accidentals are implied and which naturals are needed.
void ReadKey(StaffRecord& staff, unsigned mode) {
    // The key found for a note holds for the notes after it until a key change: looking it up again at every note
    // would read a long staff back as many times as it has notes.
    std::optional<KeyInEffect> found;
    int previousX = INT_MIN;
    for (int i = 0; i < static_cast<int>(staff.elements.size()); ++i) {
        ElementRecord& e = staff.elements[static_cast<std::size_t>(i)];
        if (e.isSignOfType(SignType::KeyChange) || e.x < previousX) found.reset();
        previousX = e.x;
        if (!IsPitchedNote(e)) continue;
        if (!found) found = KeyInEffectAt(staff, i, e.x);
        const KeyInEffect key = *found;
        if (key.count == 0) continue;
        auto n = e.noteWord();
        const bool inKey = StepInKey(key, n.step());
        if (n.accidental() == Accidental::None && inKey) {
            if (mode & loadKey) {
                n.setAccidental(KeyAccidentalOf(key.kind));
                n.setHiddenAccidental(true);
            } else {
                n.setAccidental(Accidental::Natural);
                n.setHiddenAccidental(false);
            }
        } else if (n.accidental() == Accidental::Natural && !inKey && !(mode & inclusiveBars)) {
            n.setHiddenAccidental(true);
        } else if (n.accidental() == Accidental::Natural && inKey) {
            n.setHiddenAccidental(false);
        }
        if (key.kind != KeyKind::None && n.accidental() == KeyAccidentalOf(key.kind) && inKey && !(mode & inclusiveBars))
            n.setHiddenAccidental(true);
    }
}

// Pass 3: a visible accidental holds to the end of its bar. The notes of the same name after it in the bar are
// read against it, the latest of them in the same octave becoming the reference.
void ReadBars(StaffRecord& staff, std::span<const BarEntry> bars, unsigned mode) {
    auto& els = staff.elements;
    const int count = static_cast<int>(els.size());
    for (int i = 0; i + 1 < count; ++i) {
        const ElementRecord& note = els[static_cast<std::size_t>(i)];
        if (!IsPitchedNote(note)) continue;
        if (note.noteWord().accidental() == Accidental::None || note.noteWord().hiddenAccidental()) continue;
        const auto after = std::find_if(bars.begin(), bars.end(), [&](const BarEntry& b) { return b.x >= note.x; });
        const bool toEnd = after == bars.end();
        const int barEnd = toEnd ? 0 : after->x;
        int ref = i;
        // The staff is in x order: what N's bar holds after it begins with N's chord.
        int first = i;
        while (first > 0 && els[static_cast<std::size_t>(first - 1)].x >= note.x) --first;
        for (int j = first; j < count; ++j) {
            ElementRecord& m = els[static_cast<std::size_t>(j)];
            if (!toEnd && m.x >= barEnd) break;
            // After N: further right, or another member of N's chord.
            if (!IsPitchedNote(m) || j == i || m.x < note.x) continue;
            const ElementRecord& r = els[static_cast<std::size_t>(ref)];
            auto mn = m.noteWord();
            const auto rn = r.noteWord();
            if (mn.step() != rn.step()) continue;
            const bool sameOctave = m.w0().octave() == r.w0().octave();
            if (mode & exclusiveBars) {
                if (mn.accidental() == Accidental::None) {
                    if (rn.accidental() == Accidental::Natural && sameOctave) continue;
                    mn.setAccidental(Accidental::Natural);
                    if (sameOctave) mn.setHiddenAccidental(false);
                    ref = j;
                } else if (mn.accidental() != rn.accidental()) {
                    mn.setHiddenAccidental(false);
                    if (sameOctave) ref = j;
                } else if (sameOctave) {
                    mn.setHiddenAccidental(true);
                }
            } else if (mode & inclusiveBars) {
                if (mn.accidental() != Accidental::None && mn.accidental() != rn.accidental() &&
                    !mn.hiddenAccidental()) {
                    ref = j;
                } else {
                    mn.setAccidental(rn.accidental());
                    if (sameOctave) mn.setHiddenAccidental(true);
                }
            }
        }
    }
}

}  // namespace

void NormaliseStaff(StaffRecord& staff, std::span<const BarEntry> bars, unsigned mode) {
    if (staff.elements.size() < 2) return;
    const bool keyless = staff.key().keyKind() == KeyKind::None;
    // Unloading takes the key's accidentals back off whatever the staff's own key: without it a staff with a key
    // would keep the pitches that loading gave it.
    if (mode == showAll || ((mode & showAll) && (keyless || (mode & unloadKey)))) ShowAccidentals(staff, mode);
    if (mode & (readKey | loadKey)) ReadKey(staff, mode);
    if (!bars.empty() && mode >= 6) ReadBars(staff, bars, mode);
}

int NormaliseGroup(PageRecord& page, int staff, unsigned mode, bool staffAlone) {
    const int count = static_cast<int>(page.staves.size());
    if (staff < 0 || staff >= count) return 0;
    if (mode == showAll) {
        NormaliseStaff(page.staves[static_cast<std::size_t>(staff)], {}, mode);
        return 1;
    }
    int first = staff;
    while (first > 0 && page.staves[static_cast<std::size_t>(first)].voice().positionInGroup() > 1) --first;
    int last = first;
    while (last + 1 < count) {
        const auto v = page.staves[static_cast<std::size_t>(last)].voice();
        if (v.positionInGroup() >= v.groupSize()) break;
        ++last;
    }
    const std::vector<BarEntry> bars = BuildBarTable(page, first);
    if (staffAlone)
        NormaliseStaff(page.staves[static_cast<std::size_t>(staff)], bars, mode);
    else
        for (int s = first; s <= last; ++s) NormaliseStaff(page.staves[static_cast<std::size_t>(s)], bars, mode);
    return last - first + 1;
}

void NormalisePage(PageRecord& page, unsigned mode) {
    for (int s = 0; s < static_cast<int>(page.staves.size());) s += std::max(1, NormaliseGroup(page, s, mode));
}

}  // namespace notavera
