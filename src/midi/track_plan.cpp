// The number of tracks, the first voice, the starting staff and the staff merging of a MIDI file.
#include "midi/track_plan.h"

#include <algorithm>
#include <cstdlib>

namespace notavera {

namespace {

int positionOf(const StaffRecord& s) { return static_cast<int>(s.voice().positionInGroup()); }

// Staves of one system share a track only when every one of them plays on the first one's channel.
bool systemChannelsAgree(ScoreDocument& doc, const PageRecord& page) {
    const StaffRecord& first = page.staves.front();
    const int size = std::max(1, static_cast<int>(first.voice().groupSize()) - positionOf(first) + 1);
    const int last = std::min(size, static_cast<int>(page.staves.size())) - 1;
    const unsigned channel = VoiceChannel(doc, first.voice().voice());
    for (int i = 1; i <= last; ++i)
        if (VoiceChannel(doc, page.staves[i].voice().voice()) != channel) return false;
    return true;
}

TrackPlan regionPlan(const PageRecord& page, const ScoreDocument& doc, MidiRegion r) {
    const int lastIndex = static_cast<int>(page.staves.size()) - 1;
    r.firstStaff = std::clamp(r.firstStaff, 0, lastIndex);
    r.lastStaff = std::clamp(r.lastStaff, 0, lastIndex);
    if (r.lastStaff < r.firstStaff) std::swap(r.firstStaff, r.lastStaff);
    if (r.rightX < r.leftX) std::swap(r.leftX, r.rightX);
    TrackPlan plan;
    plan.mode = PlaybackMode::Region;
    const int span = positionOf(page.staves[r.lastStaff]) - positionOf(page.staves[r.firstStaff]);
    plan.trackCount = std::max(span, 0) + 2;
    plan.firstVoice = page.staves[r.firstStaff].voice().voice();
    plan.firstPage = plan.lastPage = doc.currentPage;
    plan.startStaff = r.firstStaff;
    plan.lastStaff = r.lastStaff;
    plan.range = XRange{r.leftX, r.rightX};
    return plan;
}

}  // namespace

unsigned VoiceChannel(ScoreDocument& doc, unsigned voice) {
    return doc.header.midi().channelOfVoice(static_cast<int>(voice & 0x7F)) & 0x0F;
}

std::optional<TrackPlan> PlanTracks(ScoreDocument& doc, int lastPage, const std::optional<MidiRegion>& region) {
    const PageRecord* page = doc.page();
    if (!page || page->staves.empty()) return std::nullopt;
    if (region) return regionPlan(*page, doc, *region);

    TrackPlan plan;
    plan.firstPage = doc.currentPage;
    plan.lastPage = std::min(std::abs(lastPage), doc.pageCount);
    if (lastPage < 0) {
        plan.mode = PlaybackMode::OneVoice;
        plan.startStaff = std::clamp(doc.currentStaff, 0, static_cast<int>(page->staves.size()) - 1);
        plan.firstVoice = page->staves[plan.startStaff].voice().voice();
        return plan;
    }
    const StaffRecord& reference = page->staves.front();
    plan.firstVoice = reference.voice().voice();
    plan.trackCount = std::max(static_cast<int>(reference.voice().groupSize()) - positionOf(reference), 0) + 2;
    // Played as appoggiaturas, ornaments need the timing of their own staff: no merging then.
    if (!doc.header.midi().ornamentsAsAppoggiaturas() && systemChannelsAgree(doc, *page)) {
        plan.trackCount = 2;
        plan.mergeStaves = true;
    }
    return plan;
}

}  // namespace notavera
