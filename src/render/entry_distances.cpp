// Cursor distances for note entry.
#include "render/entry_distances.h"

#include <algorithm>

#include "render/document_spacing.h"
#include "render/note_advance.h"
#include "score/score_document.h"

namespace notavera {

namespace {

int Step(const ScoreDocument& doc) { return std::max(doc.spacingStep, 1); }

AdvanceRules RulesOf(const ScoreDocument& doc) {
    AdvanceRules r;
    r.aesthetic = doc.settings.aestheticCorrection ? 1 : 0;
    r.polyphony = doc.settings.polyphonyCorrection ? 1 : 0;
    return r;
}

}  // namespace

int CursorAdvanceAfterNote(const ScoreDocument& doc, const ElementRecord& e) {
    if (e.isSign()) return DefaultElementSpacing(doc);
    return NoteAdvance(e, RulesOf(doc), Step(doc));
}

int DefaultElementSpacing(const ScoreDocument& doc) { return 3 * Step(doc); }

int DistanceAfterBar(const ScoreDocument& doc, const SignDistances& steps) { return steps.afterBar * Step(doc); }

int DistanceAfterClef(const ScoreDocument& doc, const SignDistances& steps) { return steps.afterClef * Step(doc); }

int DistanceAfterTimeSignature(const ScoreDocument& doc, const SignDistances& steps, const PageRecord& page,
                               const StaffRecord& staff, int index) {
    const int distance = steps.afterMeter * Step(doc);
    if (index < 0 || static_cast<std::size_t>(index) >= staff.elements.size()) return distance;
    const ElementRecord& e = staff.elements[static_cast<std::size_t>(index)];
    if (!e.isSignOfType(SignType::TimeSignature) || e.w0().hidden()) return distance;
    DocumentSpacing source(doc, steps);
    const SpacingSettings s = source.forStaff(page, staff);
    return std::max(s.timeSignatureEnd(staff, index) - e.x, 0) + distance;
}

int InsertionBoxGap(const ScoreDocument& doc) {
    ElementRecord note;
    note.noteWord().setDurationCode(std::min(doc.insertion.durationCode, 10u));
    note.noteWord().setDots(std::min(doc.insertion.dots, 3u));
    return CursorAdvanceAfterNote(doc, note);
}

}  // namespace notavera
