// Rests and notes of voices that share a staff.
#include "render/shared_staff_voices.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "render/document_spacing.h"
#include "render/note_geometry.h"
#include "render/recalculate_distances.h"
#include "score/accidental_context.h"

namespace notavera {

namespace {

// A staff superposed on the one before it stands at its height.
bool SharesStaffAbove(const PageRecord& page, std::size_t i) { return i > 0 && page.staves[i].key().distance() == 0; }

// Diatonic steps from the lowest C.
int Height(const ElementRecord& e) {
    return static_cast<int>(e.w0().octave()) * 7 + static_cast<int>(e.noteWord().step()) - 1;
}

// A note drawn at its own staff's height: cross-staff notes and rests do not meet the other voice's heads.
bool HeadOnStaff(const ElementRecord& e) {
    return !e.isSign() && !e.isRest() && !e.w0().hidden() && e.w0().crossStaff() == 0;
}

bool Flagged(const ElementRecord& e) {
    const int value = DrawnNoteValue(e);
    return !e.w0().inBeam() && HasStem(e, value) && FlagCount(value) > 0;
}

struct Voiced {
    const StaffRecord* staff;
    const ElementRecord* note;
    bool up() const { return SingleStemUpOnStaff(*staff, *note); }
};

// What two voices' notes at one x need: nothing, the up-stem head beside the other (a second, or a unison of
// different heads or dots), or one stem for both (equal flagged values stemmed the same way, whose flags would
// otherwise cross).
enum class Meeting { Apart, SideBySide, OneStem };

bool SameValue(const ElementRecord& a, const ElementRecord& b) {
    return DrawnNoteValue(a) == DrawnNoteValue(b) && a.noteWord().dots() == b.noteWord().dots();
}

Meeting MeetingOf(const Voiced& a, const Voiced& b) {
    const int apart = std::abs(Height(*a.note) - Height(*b.note));
    if (a.up() != b.up()) {
        if (apart == 1) return Meeting::SideBySide;
        const bool sameHead = HeadCode(*a.note, DrawnNoteValue(*a.note)) == HeadCode(*b.note, DrawnNoteValue(*b.note));
        return apart == 0 && !(sameHead && SameValue(*a.note, *b.note)) ? Meeting::SideBySide : Meeting::Apart;
    }
    if (apart == 0 || apart > 7) return Meeting::Apart;
    return Flagged(*a.note) && Flagged(*b.note) && SameValue(*a.note, *b.note) ? Meeting::OneStem : Meeting::Apart;
}

// The stem's manual correction (the first word of the note's blob) grows by `by`.
void LengthenStem(ElementRecord& note, int by) {
    const auto stored = note.blob.payload();
    std::vector<std::uint8_t> payload(stored.begin(), stored.end());
    if (payload.size() < 2) payload.resize(2, 0);
    const auto length = static_cast<std::uint16_t>(std::clamp(NoteBlobWord(note, 0) + by, -32768, 32767));
    payload[0] = static_cast<std::uint8_t>(length & 0xFF);
    payload[1] = static_cast<std::uint8_t>(length >> 8);
    note.attachBlob(payload);
}

// A lone note of its staff at its x: a chord arranges its own heads.
bool Lone(const StaffRecord& staff, const ElementRecord& note) {
    return std::count_if(staff.elements.begin(), staff.elements.end(),
                         [&](const ElementRecord& e) { return e.x == note.x && HeadOnStaff(e); }) == 1;
}

// How far the next element of the two staves stands after x, an accidental of it counting as part of it.
int RoomAfter(const StaffRecord& a, const StaffRecord& b, int x, int stepUnit) {
    int room = INT_MAX;
    for (const StaffRecord* staff : {&a, &b})
        for (const ElementRecord& e : staff->elements)
            if (e.x > x) room = std::min(room, e.x - x - (!e.isSign() && HasDrawnAccidental(e) ? 3 * stepUnit : 0));
    return room;
}

// The x of the line's last element.
std::optional<int> LastX(const PageRecord& page, LineRange line) {
    std::optional<int> last;
    for (int i = line.first; i <= line.last; ++i)
        for (const ElementRecord& e : page.staves[static_cast<std::size_t>(i)].elements)
            last = std::max(last.value_or(e.x), e.x);
    return last;
}

// A clef change of a staff, made after its music has begun: the clef number, the bar it stands in (counted from the
// line's start) and the clef itself.
struct ClefChange {
    unsigned code;
    int bar;
    ElementRecord* clef;
};

std::vector<ClefChange> ClefChangesOf(StaffRecord& staff) {
    std::vector<ClefChange> changes;
    int bar = 0;
    bool begun = false;
    for (ElementRecord& e : staff.elements) {
        if (DividesBars(e)) ++bar;
        begun = begun || !e.isSign();
        if (begun && e.isSignOfType(SignType::Clef)) changes.push_back({e.signWord().code(), bar, &e});
    }
    return changes;
}

}  // namespace

void HideClefChangesRepeatedOnSharedStaves(PageRecord& page) {
    std::size_t first = 0;  // the staff of the first voice at this height
    for (std::size_t i = 1; i < page.staves.size(); ++i) {
        if (!SharesStaffAbove(page, i)) {
            first = i;
            continue;
        }
        const auto shown = ClefChangesOf(page.staves[first]);
        for (const ClefChange& c : ClefChangesOf(page.staves[i]))
            if (std::any_of(shown.begin(), shown.end(),
                            [&](const ClefChange& s) { return s.code == c.code && s.bar == c.bar; }))
                c.clef->w0().setHidden(true);
    }
}

// The rest of `other` that stands at `rest`'s x with its value, if any.
ElementRecord* SameRest(StaffRecord& other, const ElementRecord& rest) {
    for (ElementRecord& e : other.elements)
        if (e.x == rest.x && e.isRest() && e.noteWord().durationCode() == rest.noteWord().durationCode() &&
            e.noteWord().dots() == rest.noteWord().dots())
            return &e;
    return nullptr;
}

void SeparateRestsOfSharedStaves(PageRecord& page) {
    constexpr int shift = 4;  // diatonic steps: two staff spaces
    for (std::size_t i = 1; i < page.staves.size(); ++i) {
        if (!SharesStaffAbove(page, i)) continue;
        StaffRecord& upper = page.staves[i - 1];
        StaffRecord& lower = page.staves[i];
        // Where both voices rest alike, one rest stands for both, in a lone voice's place.
        std::vector<const ElementRecord*> shared;
        for (const ElementRecord& e : upper.elements) {
            if (!e.isRest() || e.w0().hidden()) continue;
            if (ElementRecord* twin = SameRest(lower, e)) {
                twin->w0().setHidden(true);
                shared.push_back(&e);
            }
        }
        for (const auto& [staff, steps] : {std::pair{&upper, shift}, std::pair{&lower, -shift}})
            for (ElementRecord& e : staff->elements) {
                if (!e.isRest() || e.w0().hidden() || std::find(shared.begin(), shared.end(), &e) != shared.end())
                    continue;
                const int place = std::clamp(Height(e) + steps, 0, 7 * 8 - 1);
                e.w0().setOctave(static_cast<unsigned>(place / 7));
                e.noteWord().setStep(static_cast<unsigned>(place % 7 + 1));
            }
    }
}

namespace {

// Whether every note of `voice` doubles a note of `other` (the same place, pitch and value): a voice written only to
// carry a verse of lyrics under the notes of another.
bool Doubles(const StaffRecord& voice, const StaffRecord& other) {
    return std::all_of(voice.elements.begin(), voice.elements.end(), [&](const ElementRecord& e) {
        return !HeadOnStaff(e) || std::any_of(other.elements.begin(), other.elements.end(), [&](const ElementRecord& o) {
                   return o.x == e.x && HeadOnStaff(o) && Height(o) == Height(e) && SameValue(o, e);
               });
    });
}

bool HasNotes(const StaffRecord& staff) { return std::any_of(staff.elements.begin(), staff.elements.end(), HeadOnStaff); }

void SetStems(StaffRecord& staff, bool up) {
    for (ElementRecord& e : staff.elements) {
        if (e.isSign() || e.isRest() || e.w0().crossStaff() != 0 || !e.noteWord().stemAutomatic()) continue;
        e.noteWord().setStemAutomatic(false);
        e.noteWord().setStemFlag(up);
    }
}

}  // namespace

void StemSharedStaffVoicesApart(PageRecord& page) {
    for (std::size_t first = 0; first < page.staves.size();) {
        std::size_t end = first + 1;
        while (end < page.staves.size() && SharesStaffAbove(page, end)) ++end;
        // Each voice with notes either doubles an earlier one, and is stemmed as that one, or stands on its own.
        std::vector<std::optional<std::size_t>> doubled(end - first);
        std::vector<std::size_t> own;
        for (std::size_t k = first; k < end; ++k) {
            if (!HasNotes(page.staves[k])) continue;
            for (std::size_t j : own)
                if (Doubles(page.staves[k], page.staves[j])) doubled[k - first] = j;
            if (!doubled[k - first]) own.push_back(k);
        }
        if (own.size() > 1) {
            for (std::size_t k = first; k < end; ++k) {
                const std::size_t leader = doubled[k - first].value_or(k);
                SetStems(page.staves[k], leader == own.front());
            }
        }
        first = end;
    }
}

int SetClashingNotesApart(PageRecord& page, int stepUnit) {
    const int head = std::max(static_cast<int>(std::lround(2.6 * stepUnit)), 1);  // a notehead and a little air
    int changed = 0;
    for (const LineRange& line : LinesOfPage(page)) {
        const std::optional<int> end = LastX(page, line);
        bool pushed = false;
        for (int lower = line.first + 1; lower <= line.last; ++lower) {
            if (!SharesStaffAbove(page, static_cast<std::size_t>(lower))) continue;
            for (int upper = lower - 1; upper >= line.first; --upper) {
                StaffRecord& a = page.staves[static_cast<std::size_t>(upper)];
                StaffRecord& b = page.staves[static_cast<std::size_t>(lower)];
                for (ElementRecord& eb : b.elements) {
                    if (!HeadOnStaff(eb) || !Lone(b, eb)) continue;
                    const auto ea = std::find_if(a.elements.begin(), a.elements.end(),
                                                 [&](const ElementRecord& e) { return e.x == eb.x && HeadOnStaff(e); });
                    if (ea == a.elements.end() || !Lone(a, *ea)) continue;
                    const Voiced va{&a, &*ea}, vb{&b, &eb};
                    const Meeting meeting = MeetingOf(va, vb);
                    if (meeting == Meeting::Apart) continue;
                    ++changed;
                    if (meeting == Meeting::OneStem) {
                        // The stem of the head farther from the stem's end passes the other head and keeps its
                        // length beyond it.
                        const bool aFarther = (Height(*ea) < Height(eb)) == va.up();
                        (aFarther ? eb : *ea).noteWord().setHeadShape(NoStemShape);
                        LengthenStem(aFarther ? *ea : eb, std::abs(Height(*ea) - Height(eb)) * stepUnit);
                        continue;
                    }
                    (va.up() ? *ea : eb).noteWord().setBit(note_bits::OtherSide, true);
                    // The music after the pair moves on when it leaves no room for the second head.
                    if (const int missing = 2 * head - RoomAfter(a, b, eb.x, stepUnit); missing > 0) {
                        MoveBlockToX(page, line, eb.x + 1, eb.x + 1 + missing);
                        pushed = true;
                    }
                }
                if (!SharesStaffAbove(page, static_cast<std::size_t>(upper))) break;
            }
        }
        // The line keeps its length: what the heads took is taken back from all its distances.
        if (pushed && end) JustifyBlockToX(page, line, *end);
    }
    return changed;
}

}  // namespace notavera
