// The keys written on staves and the key changes within lines.
#include "edit/key_entry.h"

#include <algorithm>
#include <span>

#include "edit/element_deletion.h"
#include "edit/entry_place.h"
#include "platform/ui_services.h"
#include "render/document_spacing.h"
#include "render/key_signature_layout.h"
#include "render/line_start_signs.h"
#include "score/accidental_context.h"
#include "score/element_creation.h"

namespace notavera {

namespace {

constexpr int maxCount = 7;

void WriteStaffKey(StaffRecord& staff, const KeyInEffect& key, bool erase) {
    staff.key().setKeyKind(erase ? KeyKind::None : key.kind);
    staff.key().setKeyCount(erase ? 0 : std::min(key.count, static_cast<unsigned>(maxCount)));
}

void WriteKeyChange(ElementRecord& e, const KeyInEffect& key) {
    e.signWord().setSubValue(static_cast<unsigned>(key.kind));
    e.signWord().setCode(key.count);
    e.signWord().setHigh7(key.count);
    e.signWord().setFlag16(key.cancelled);
}

// How many accidentals a key change shows: its own, and the naturals of what it takes away from the key before
// it (the places beyond its count under the same kind, every place under another kind).
int ShownAccidentals(const KeyInEffect& before, const KeyInEffect& key) {
    const int count = static_cast<int>(key.count);
    if (key.cancelled || before.cancelled || before.kind == KeyKind::None) return count;
    const int keep = before.kind == key.kind ? count : 0;
    return count + std::max(static_cast<int>(before.count) - keep, 0);
}

// The staff's own key: written on the staff, and on the rest of its block when the staff heads one.
int PlaceStaffKey(ScoreDocument& doc, UiServices& ui, bool erase, const SpacingSettings& s) {
    PageRecord& page = *doc.page();
    const KeyInEffect& key = doc.insertion.key;
    WriteStaffKey(*doc.staff(), key, erase);
    const LineRange block = BlockOfStaff(page, doc.currentStaff);
    if (block.first == doc.currentStaff)
        for (int i = block.first + 1; i <= block.last; ++i)
            WriteStaffKey(page.staves[static_cast<std::size_t>(i)], key, erase);
    doc.markModified();
    ui.invalidate();
    const StaffRecord& staff = *doc.staff();
    const int start = s.staffKeyStart.value_or(LineStartKeyX(s.leftEdge, s.stepUnit, staff.key().oldNotation()));
    const int count = staff.key().keyKind() == KeyKind::None ? 0 : static_cast<int>(staff.key().keyCount());
    return LineStartKeyEnd(start, count, KeyAccidentalAdvance(s.accidentalWidth, 2 * s.stepUnit), s.stepUnit);
}

int PlaceKeyChange(ScoreDocument& doc, UiServices& ui, int x, const SpacingSettings& s) {
    const KeyInEffect& key = doc.insertion.key;
    ElementRecord* e = ElementAtX(doc, x);
    if (!e || !e->isSignOfType(SignType::KeyChange)) {
        e = CreateSign(doc, x, 0, static_cast<int>(key.count), SignType::KeyChange, static_cast<unsigned>(key.kind));
        if (!e) return x;
    }
    WriteKeyChange(*e, key);
    doc.markModified();
    ui.invalidate();
    const KeyInEffect before = KeyInEffectAt(*doc.staff(), doc.currentElement - 1, x);
    const int advance = KeyAccidentalAdvance(s.accidentalWidth, 2 * s.stepUnit);
    return x + ShownAccidentals(before, key) * advance + 6 * s.stepUnit;
}

// A key typed right after the clef that opens the line, before any music, is the staff's own key even when the
// cursor has moved past the clef's room: it must reach the other staves of the block and the following lines.
bool OnlyLineStartSignsBefore(const StaffRecord& staff, int x) {
    const std::size_t music = AfterLineStartSigns(staff);
    if (music == 0) return false;
    const auto isKeyChange = [](const ElementRecord& e) { return e.isSignOfType(SignType::KeyChange); };
    const auto signs = std::span(staff.elements).first(music);
    if (std::any_of(signs.begin(), signs.end(), isKeyChange)) return false;
    return music >= staff.elements.size() || staff.elements[music].x >= x;
}

}  // namespace

int PlaceKey(ScoreDocument& doc, UiServices& ui, bool erase, int x, const SpacingSettings& s) {
    const StaffRecord* staff = doc.staff();
    if (!doc.page() || !staff) return x;
    const int lineStartEnd = LineStartColumn(s.leftEdge, s.stepUnit) + s.afterClef * s.stepUnit;
    if (x <= lineStartEnd || OnlyLineStartSignsBefore(*staff, x)) return PlaceStaffKey(doc, ui, erase, s);
    if (!erase) return PlaceKeyChange(doc, ui, x, s);
    // Only a key change is erased here: the command must not take a note or another sign with it.
    if (const ElementRecord* e = ElementAtX(doc, x); e && e->isSignOfType(SignType::KeyChange)) DeleteAtCursor(doc, ui);
    return x;
}

}  // namespace notavera
