// The region walk and the per-element changes of the region commands and attribute forms.
#include "edit/region_attributes.h"

#include <algorithm>
#include <utility>

namespace notavera {

namespace {

constexpr unsigned chordBit = 18;
constexpr unsigned companionBit = 16;  // kept with the C attribute on values shorter than a whole
constexpr unsigned word0FlagBit16 = 16;
constexpr unsigned word0FlagBit20 = 20;
constexpr unsigned stemAutomaticBit = 13;
constexpr unsigned shortestUnbeamed = 5;  // an eighth: anything longer leaves its beam group
constexpr unsigned longestFlagged = 1;   // a breve: the flags of short values mean nothing at or above it

// The index of the first element at or after x, and of the last at or before it.
int FirstAtOrAfter(const std::vector<ElementRecord>& els, int x) {
    const auto it = std::find_if(els.begin(), els.end(), [x](const ElementRecord& e) { return e.x >= x; });
    return static_cast<int>(it - els.begin());
}
int LastAtOrBefore(const std::vector<ElementRecord>& els, int x) {
    const auto it = std::find_if(els.rbegin(), els.rend(), [x](const ElementRecord& e) { return e.x <= x; });
    return static_cast<int>(els.rend() - it) - 1;
}

bool NoteOrRest(const ElementRecord& e) { return !e.isSign(); }


void SetDuration(std::vector<ElementRecord>& els, std::size_t i, unsigned code) {
    ElementRecord& e = els[i];
    const auto note = e.noteWord();
    if (code < shortestUnbeamed && e.w0().inBeam()) LeaveBeamGroup(els, i);
    if (code <= longestFlagged && note.durationCode() > longestFlagged) note.setBit(companionBit, false);
    note.setDurationCode(code);
    if (code > longestFlagged) {
        note.setBit(companionBit, false);
        note.setStaccatoOtherSide(false);
        e.word0 &= ~(1u << word0FlagBit16 | 1u << word0FlagBit20);
    }
}

// The change of one id to one element.
void Change(std::vector<ElementRecord>& els, std::size_t i, int id, unsigned value, const AttributeSource& src) {
    ElementRecord& e = els[i];
    const auto w0 = e.w0();
    const auto note = e.noteWord();
    const bool on = value != 0;
    switch (id) {
    case region_id::CueSize: w0.setCueSize(on); return;
    case region_id::Duration:
        if (NoteOrRest(e)) SetDuration(els, i, value);
        return;
    case region_id::Placement:
        if (NoteOrRest(e)) w0.setCrossStaff(value);
        return;
    case region_id::HideRests:
    case region_id::RevealRests:
        if (e.isRest()) w0.setHidden(id == region_id::HideRests);
        return;
    case region_id::HideAccidentals:
        if (e.isNote() && note.accidental() != Accidental::None) note.setHiddenAccidental(true);
        return;
    case region_id::RevealAccidentals:
        if (NoteOrRest(e)) note.setHiddenAccidental(false);
        return;
    case region_id::HideDots:
        if (NoteOrRest(e) && note.dots() != 0) w0.setHiddenDots(true);
        return;
    case region_id::RevealDots:
        if (NoteOrRest(e)) w0.setHiddenDots(false);
        return;
    case region_id::FlipGroupMarks:
        if (NoteOrRest(e) && w0.groupMark() == 1) w0.setGroupMarkSide(w0.groupMarkSide() == 1 ? 0 : 1);
        return;
    case region_id::ChordAttribute:
        if (!e.isNote()) return;
        note.setBit(chordBit, on);
        if (note.durationCode() > longestFlagged)
            note.setBit(companionBit, on && (src.noteWordFlags >> companionBit & 1u) != 0);
        return;
    case region_id::FlipStaccatos:
        if (e.isNote() && note.staccato() && note.durationCode() > longestFlagged)
            note.setStaccatoOtherSide(!note.staccatoOtherSide());
        return;
    case region_id::StemAutomatic:
    case region_id::StemUp:
    case region_id::StemDown:
        if (!e.isNote()) return;
        note.setStemAutomatic((src.noteWordFlags >> stemAutomaticBit & 1u) != 0);
        if (id != region_id::StemAutomatic) note.setStemFlag(id == region_id::StemUp);
        return;
    case region_id::Staccato:
        if (!e.isNote()) return;
        note.setStaccato(on);
        note.setAccentType(src.accentType);
        if (!on) note.setStaccatoOtherSide(false);
        return;
    default: return;
    }
}

}  // namespace

// A value longer than an eighth cannot stay beamed: the group closes before it and opens again after it.
void LeaveBeamGroup(std::vector<ElementRecord>& els, std::size_t i) {
    const auto w = els[i].w0();
    if (!w.closesBeam() && i + 1 < els.size() && els[i + 1].w0().inBeam()) els[i + 1].w0().setOpensBeam(true);
    if (!w.opensBeam() && i > 0 && els[i - 1].w0().inBeam()) els[i - 1].w0().setClosesBeam(true);
    w.setInBeam(false);
    w.setOpensBeam(false);
    w.setClosesBeam(false);
}

std::vector<RegionSpan> RegionSpans(const PageRecord& page, const RegionBounds& bounds) {
    auto [from, to] = std::minmax(bounds.a, bounds.b);
    std::vector<RegionSpan> spans;
    const int staves = static_cast<int>(page.staves.size());
    for (int s = std::max(from.staff, 0); s <= std::min(to.staff, staves - 1); ++s) {
        const auto& els = page.staves[static_cast<std::size_t>(s)].elements;
        const int count = static_cast<int>(els.size());
        RegionSpan span{s, s == from.staff ? std::max(from.element, 0) : 0, s == to.staff ? to.element : count - 1};
        span.last = std::min(span.last, count - 1);
        if (bounds.xRange) {
            span.first = std::max(span.first, FirstAtOrAfter(els, bounds.xRange->left));
            span.last = std::min(span.last, LastAtOrBefore(els, bounds.xRange->right));
        }
        if (span.first <= span.last) spans.push_back(span);
    }
    return spans;
}

int ApplyToRegion(PageRecord& page, const RegionBounds& bounds,
                  const std::function<void(StaffRecord&, const RegionSpan&)>& operation) {
    const std::vector<RegionSpan> spans = RegionSpans(page, bounds);
    for (const RegionSpan& span : spans) operation(page.staves[static_cast<std::size_t>(span.staff)], span);
    return static_cast<int>(spans.size());
}

void RegionAttribute(StaffRecord& staff, const RegionSpan& span, int id, unsigned value,
                     const AttributeSource& source) {
    auto& els = staff.elements;
    const int last = std::min(span.last, static_cast<int>(els.size()) - 1);
    for (int i = std::max(span.first, 0); i <= last; ++i) Change(els, static_cast<std::size_t>(i), id, value, source);
}

void SetHeadShapes(StaffRecord& staff, const RegionSpan& span, unsigned shape) {
    auto& els = staff.elements;
    const int last = std::min(span.last, static_cast<int>(els.size()) - 1);
    for (int i = std::max(span.first, 0); i <= last; ++i) {
        ElementRecord& e = els[static_cast<std::size_t>(i)];
        if (e.isNote()) e.noteWord().setHeadShape(shape);
    }
}

}  // namespace notavera
