// The respacing commands on the open document, and the respacing of a marked region within its line.
#include "render/line_respacing.h"

#include <algorithm>
#include <climits>

#include "score/score_document.h"

namespace notavera {

namespace {

// The elements of one staff that lie in the region: [from, to).
struct StaffSlice {
    std::size_t from = 0;
    std::size_t to = 0;
};

StaffSlice SliceOf(const StaffRecord& staff, const SpacingRegion& r) {
    const auto& els = staff.elements;
    StaffSlice s;
    while (s.from < els.size() && els[s.from].x < r.fromX) ++s.from;
    s.to = s.from;
    while (s.to < els.size() && els[s.to].x <= r.toX) ++s.to;
    return s;
}

// Respaces only the region's elements: they are copied into staves of their own, spaced from the region's start,
// and written back; what follows the region moves by the change of the region's last element.
SpacingResult SpaceRegion(std::span<StaffRecord* const> staves, SpacingMode mode, SpacingSettings& s,
                          const SpacingRegion& r) {
    std::vector<StaffSlice> slices;
    std::vector<StaffRecord> parts;
    bool musicFollows = false;
    int lastOldX = INT_MIN;
    for (StaffRecord* staff : staves) {
        const StaffSlice slice = SliceOf(*staff, r);
        StaffRecord part;
        part.voiceWord = staff->voiceWord;
        part.keyWord = staff->keyWord;
        part.lineWord = staff->lineWord;
        part.elements.assign(staff->elements.begin() + static_cast<std::ptrdiff_t>(slice.from),
                             staff->elements.begin() + static_cast<std::ptrdiff_t>(slice.to));
        if (slice.to > slice.from) lastOldX = std::max(lastOldX, part.elements.back().x);
        musicFollows = musicFollows || slice.to < staff->elements.size();
        slices.push_back(slice);
        parts.push_back(std::move(part));
    }
    std::vector<StaffRecord*> partPointers;
    for (StaffRecord& p : parts) partPointers.push_back(&p);
    // Inside a marked region the aesthetic correction, when on, takes its stronger variant.
    if (s.rules.aesthetic == 1) s.rules.aesthetic = 2;
    const int start = std::max(r.fromX, LineStartColumn(s.leftEdge, s.stepUnit));
    s.leftEdge += start - LineStartColumn(s.leftEdge, s.stepUnit);
    // A region with music after it is fitted into its own width, not into the rest of the line.
    if (musicFollows && lastOldX != INT_MIN) s.lineLength = lastOldX;
    const SpacingResult result = SpaceLines(partPointers, mode, s);
    if (lastOldX == INT_MIN) return result;

    int lastNewX = INT_MIN;
    for (const StaffRecord& p : parts)
        for (const ElementRecord& e : p.elements) lastNewX = std::max(lastNewX, e.x);
    const int shift = lastNewX - lastOldX;
    for (std::size_t k = 0; k < staves.size(); ++k) {
        auto& els = staves[k]->elements;
        for (std::size_t i = slices[k].from; i < slices[k].to; ++i) els[i].x = parts[k].elements[i - slices[k].from].x;
        for (std::size_t i = slices[k].to; i < els.size(); ++i) els[i].x += shift;
    }
    return result;
}

bool AllEmpty(std::span<StaffRecord* const> staves) {
    return std::all_of(staves.begin(), staves.end(), [](const StaffRecord* s) { return s->elements.empty(); });
}

// The staves the target names: those of the region when one is marked, else the current one.
std::optional<LineRange> TargetStaves(const ScoreDocument& doc, const PageRecord& page,
                                      const std::optional<SpacingRegion>& region) {
    const int count = static_cast<int>(page.staves.size());
    if (region && region->staves) {
        const LineRange r = *region->staves;
        if (r.first < 0 || r.last >= count || r.first > r.last) return std::nullopt;
        return r;
    }
    const int current = doc.currentStaff;
    if (current < 0 || current >= count) return std::nullopt;
    return LineRange{current, current};
}

}  // namespace

SpacingResult SpaceLineOfPage(ScoreDocument& doc, PageRecord& page, LineRange line, SpacingMode mode,
                              DocumentSpacing& source, std::optional<SpacingRegion> region) {
    const std::vector<StaffRecord*> staves = StavesOf(page, line);
    if (staves.empty() || AllEmpty(staves)) return SpacingResult{0, 0, 0};
    SpacingSettings s = source.forStaff(page, *staves.front());
    const SpacingResult result = region ? SpaceRegion(staves, mode, s, *region) : SpaceLines(staves, mode, s);
    doc.spacingStep = std::clamp(s.step, 1, 99);
    doc.settings.polyphonyCorrection = s.rules.polyphony != 0;
    doc.markModified();
    return result;
}

int SpaceLines(ScoreDocument& doc, const SignDistances& distances, SpacingTarget target, SpacingMode mode,
               std::optional<SpacingRegion> region) {
    PageRecord* page = doc.page();
    if (page == nullptr) return 0;
    const std::optional<LineRange> staves = TargetStaves(doc, *page, region);
    if (!staves) return 0;
    DocumentSpacing source(doc, distances);
    // A line is one staff; the block commands take the whole block of the first staff.
    const LineRange block = BlockOfStaff(*page, staves->first);
    if (target == SpacingTarget::CurrentBlock) return SpaceLineOfPage(doc, *page, block, mode, source, region).step;
    const LineRange each = target == SpacingTarget::CurrentLine ? *staves : block;
    int step = 0;
    for (int i = each.first; i <= each.last; ++i) {
        const int used = SpaceLineOfPage(doc, *page, LineRange{i, i}, mode, source, region).step;
        if (used != 0) step = used;
    }
    return step;
}

}  // namespace notavera
