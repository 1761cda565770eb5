// Block alignment: which staves take part, the cue-note question and the report of unfinished staves.
#include "render/space_blocks.h"

#include <algorithm>
#include <array>

#include "platform/messages.h"
#include "render/document_spacing.h"
#include "render/line_respacing.h"
#include "render/page_layout.h"
#include "score/score_document.h"

namespace notavera {

namespace {

bool HasCueNotes(std::span<StaffRecord* const> staves) {
    for (const StaffRecord* staff : staves)
        for (const ElementRecord& e : staff->elements)
            if (!e.isSign() && e.w0().cueSize()) return true;
    return false;
}

// Whether cue notes count as full values: asked while the document's choice is open; a refusal closes it.
bool CueNotesAsFull(ScoreDocument& doc, UiServices& ui, std::span<StaffRecord* const> staves,
                    std::optional<bool>& asked) {
    if (doc.cueNotesRefused || !HasCueNotes(staves)) return false;
    if (!asked) {
        asked = AskYesNo(ui, 48, "");
        if (!*asked) doc.cueNotesRefused = true;
    }
    return *asked;
}

AlignSettings AlignSettingsOf(const ScoreDocument& doc, const PageRecord& page, bool afterRespacing, bool cueAsFull) {
    AlignSettings s;
    s.stepUnit = std::max(doc.stepUnit, 1);
    s.tolerance = static_cast<signed char>(doc.settings.alignmentResolution);
    s.lineLength = doc.lineEnd(page);
    s.afterRespacing = afterRespacing;
    s.cueAsFull = cueAsFull;
    return s;
}

void ReportUnfinished(UiServices& ui, const std::string& list) {
    if (!list.empty()) ShowNotice(ui, 14, list);
}

// Aligns one block of the current page; its first staff leads. The caller reports the unfinished staves.
AlignResult AlignLine(ScoreDocument& doc, UiServices& ui, LineRange line, bool afterRespacing,
                      std::optional<bool>& cueAnswer, std::string& report) {
    PageRecord& page = *doc.page();
    const std::vector<StaffRecord*> staves = StavesOf(page, line);
    const bool cue = CueNotesAsFull(doc, ui, staves, cueAnswer);
    const AlignResult r = AlignBlock(staves, 0, AlignSettingsOf(doc, page, afterRespacing, cue));
    report += UnfinishedStavesText(staves, r.unfinished);
    if (r.aligned) doc.markModified();
    return r;
}

// Mode 1 on one block: each line spaced on its own, then the block aligned on the slots.
AlignResult SpaceAndAlign(ScoreDocument& doc, UiServices& ui, LineRange line, DocumentSpacing& source,
                          std::optional<bool>& cueAnswer, std::string& report) {
    PageRecord& page = *doc.page();
    for (int i = line.first; i <= line.last; ++i) SpaceLineOfPage(doc, page, LineRange{i, i}, SpacingMode::Raw, source);
    if (line.size() < 2) return {};  // a staff alone has nothing to align with
    return AlignLine(doc, ui, line, true, cueAnswer, report);
}

}  // namespace

AlignResult AlignBlock(ScoreDocument& doc, UiServices& ui, std::optional<int> markedStaff) {
    PageRecord* page = doc.page();
    if (page == nullptr || doc.staff() == nullptr) return {};
    const LineRange block = BlockOfStaff(*page, doc.currentStaff);
    doc.currentStaff = block.first;
    std::optional<bool> cueAnswer;
    std::string report;
    if (!markedStaff) {
        const AlignResult r = AlignLine(doc, ui, block, false, cueAnswer, report);
        ReportUnfinished(ui, report);
        return r;
    }
    const int marked = *markedStaff;
    if (marked < 0 || marked >= static_cast<int>(page->staves.size()) || marked == block.first) return {};
    std::vector<StaffRecord*> pair{&page->staves[static_cast<std::size_t>(block.first)],
                                   &page->staves[static_cast<std::size_t>(marked)]};
    const bool cue = CueNotesAsFull(doc, ui, pair, cueAnswer);
    AlignResult r = AlignBlock(pair, 0, AlignSettingsOf(doc, *page, false, cue));
    // Only the marked staff was meant to move; the current one leads and is reported by its number too.
    for (int k : r.unfinished) report += FormatText("Portée %d - ", std::array<MessageArg, 1>{
                                                        static_cast<long>((k == 0 ? block.first : marked) + 1)},
                                                    messageSlotCapacity);
    if (r.aligned) doc.markModified();
    ReportUnfinished(ui, report);
    return r;
}

int SpaceBlocks(ScoreDocument& doc, UiServices& ui, const SignDistances& distances, BlockSpacing mode) {
    PageRecord* page = doc.page();
    if (page == nullptr || doc.staff() == nullptr) return 0;
    if (mode == BlockSpacing::AlignOnly) return AlignBlock(doc, ui).aligned ? 1 : 0;
    DocumentSpacing source(doc, distances);
    std::optional<bool> cueAnswer;
    std::string report;
    bool aligned = false;
    if (mode == BlockSpacing::LinesThenAlign) {
        const LineRange block = BlockOfStaff(*page, doc.currentStaff);
        doc.currentStaff = block.first;
        aligned = SpaceAndAlign(doc, ui, block, source, cueAnswer, report).aligned;
    } else {
        for (const LineRange& line : LinesOfPage(*page))
            aligned = SpaceAndAlign(doc, ui, line, source, cueAnswer, report).aligned || aligned;
    }
    ReportUnfinished(ui, report);
    if (mode == BlockSpacing::WholePage) LayOutPage(doc, ui, distances, PageLayoutMode::JustifyPage);
    return aligned ? 1 : 0;
}

}  // namespace notavera
