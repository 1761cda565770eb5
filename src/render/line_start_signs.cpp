// Line-start clefs and carried time signatures.
#include "render/line_start_signs.h"

#include <algorithm>
#include <vector>

#include "render/document_spacing.h"
#include "score/score_document.h"

namespace notavera {

namespace {

ElementRecord NewClef(unsigned number) {
    ElementRecord clef;
    clef.w0().setKind(ElementKind::Sign);
    clef.signWord().setSignType(SignType::Clef);
    clef.signWord().setCode(number);
    return clef;
}

// Index of the first note or rest, or the staff's size when it has none.
std::size_t FirstNote(const StaffRecord& staff) {
    const auto& els = staff.elements;
    const auto note = std::find_if(els.begin(), els.end(), [](const ElementRecord& e) { return !e.isSign(); });
    return static_cast<std::size_t>(note - els.begin());
}

bool StartsWithClef(const StaffRecord& staff) {
    const std::size_t music = FirstNote(staff);
    for (std::size_t i = 0; i < music; ++i) {
        const ElementRecord& e = staff.elements[i];
        if (e.isSignOfType(SignType::Clef)) return true;
        if (e.isSignOfType(SignType::Bar)) return false;  // a bar before the clef: the clef is not the line's
    }
    return false;
}

// Rank of a sign among the signs a line begins with: clef, key, time signature, then the others.
int StartRank(const ElementRecord& e) {
    if (e.isSignOfType(SignType::Clef)) return 0;
    if (e.isSignOfType(SignType::KeyChange)) return 1;
    if (e.isSignOfType(SignType::TimeSignature)) return 2;
    return 3;
}

// The signs before a line's music stand in the order they are read in: a time signature entered before the
// clef still comes after it. The places they had are handed out again in that order.
void OrderLineStartSigns(StaffRecord& staff) {
    auto& els = staff.elements;
    std::size_t end = 0;
    while (end < els.size() && els[end].isSign() && !els[end].isSignOfType(SignType::Bar)) ++end;
    const auto last = els.begin() + static_cast<std::ptrdiff_t>(end);
    if (std::is_sorted(els.begin(), last, [](const ElementRecord& a, const ElementRecord& b) {
            return StartRank(a) < StartRank(b);
        }))
        return;
    std::vector<int> places;
    for (auto it = els.begin(); it != last; ++it) places.push_back(it->x);
    std::stable_sort(els.begin(), last,
                     [](const ElementRecord& a, const ElementRecord& b) { return StartRank(a) < StartRank(b); });
    for (std::size_t i = 0; i < end; ++i) els[i].x = places[i];
}

}  // namespace

VoiceClefs VoiceClefs::before(const ScoreDocument& doc, int number) {
    VoiceClefs clefs;
    for (const PageRecord& page : doc.pages) {
        if (static_cast<int>(page.number) >= number) break;
        for (const StaffRecord& staff : page.staves) clefs.enter(staff);
    }
    return clefs;
}

void VoiceClefs::enter(const StaffRecord& staff) {
    for (auto it = staff.elements.rbegin(); it != staff.elements.rend(); ++it) {
        if (!it->isSignOfType(SignType::Clef)) continue;
        ElementRecord clef = *it;
        clef.blob = ElementBlob();
        clef.w0().setHidden(false);
        clef.w0().setCueSize(false);  // a line begins with a clef of full size, whatever size the change had
        clef.shift = 0;
        last_[staff.voice().voice()] = clef;
        return;
    }
}

void VoiceClefs::enterLine(const PageRecord& page, LineRange line) {
    for (int i = line.first; i <= line.last; ++i) enter(page.staves.at(static_cast<std::size_t>(i)));
}

ElementRecord VoiceClefs::clefOf(unsigned voice) const {
    const auto it = last_.find(voice);
    return it != last_.end() ? it->second : NewClef(altoClefNumber);
}

int EnsureLineStartClefs(PageRecord& page, LineRange line, const VoiceClefs& clefs, int stepUnit) {
    int inserted = 0;
    for (StaffRecord* staff : StavesOf(page, line)) {
        OrderLineStartSigns(*staff);
        if (!staff->elements.empty() && !StartsWithClef(*staff)) {
            ElementRecord clef = clefs.clefOf(staff->voice().voice());
            const int start = StartColumnOf(page, *staff, stepUnit);
            clef.x = start;
            // The music makes room for the clef; the respacing that follows gives the final distances.
            const int room = std::max(0, start + 10 * stepUnit - staff->elements.front().x);
            for (ElementRecord& e : staff->elements) e.x += room;
            staff->elements.insert(staff->elements.begin(), clef);
            ++inserted;
        }
    }
    return inserted;
}

void EnsurePageLineClefs(PageRecord& page, VoiceClefs& clefs, int stepUnit) {
    for (const LineRange& line : LinesOfPage(page)) {
        EnsureLineStartClefs(page, line, clefs, stepUnit);
        clefs.enterLine(page, line);
    }
}

std::size_t AfterLineStartSigns(const StaffRecord& staff) {
    std::size_t i = 0;
    const auto& els = staff.elements;
    while (i < els.size() && (els[i].isSignOfType(SignType::Clef) || els[i].isSignOfType(SignType::KeyChange))) ++i;
    return i;
}

int CarryTimeSignatures(PageRecord& page, LineRange line, PageRecord& nextPage, LineRange next, int stepUnit) {
    if (line.size() != next.size()) return 0;
    int moved = 0;
    for (int k = 0; k < line.size(); ++k) {
        StaffRecord& from = page.staves.at(static_cast<std::size_t>(line.first + k));
        StaffRecord& to = nextPage.staves.at(static_cast<std::size_t>(next.first + k));
        auto& els = from.elements;
        std::size_t lastNote = els.size();
        for (std::size_t i = 0; i < els.size(); ++i)
            if (!els[i].isSign()) lastNote = i;
        if (lastNote == els.size()) continue;
        const auto meter = std::find_if(els.begin() + static_cast<std::ptrdiff_t>(lastNote) + 1, els.end(),
                                        [](const ElementRecord& e) { return e.isSignOfType(SignType::TimeSignature); });
        if (meter == els.end()) continue;
        const std::size_t at = AfterLineStartSigns(to);
        if (at < to.elements.size() && to.elements[at].isSignOfType(SignType::TimeSignature)) continue;  // it has one
        ElementRecord sign = *meter;
        els.erase(meter);
        sign.x = at > 0 ? to.elements[at - 1].x + 10 * stepUnit : StartColumnOf(nextPage, to, stepUnit);
        for (std::size_t i = at; i < to.elements.size(); ++i) to.elements[i].x = std::max(to.elements[i].x, sign.x);
        to.elements.insert(to.elements.begin() + static_cast<std::ptrdiff_t>(at), sign);
        ++moved;
    }
    return moved;
}

}  // namespace notavera
