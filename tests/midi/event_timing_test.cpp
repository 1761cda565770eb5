// Time slices of the timing pass: where the next entry comes when the notes of a slice differ in length,
// and how rests and gaps keep the staff's length.
#include "midi/event_timing.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

PlaybackEvent note(std::uint32_t duration, std::int32_t position, std::uint8_t key, std::uint8_t kind = 0) {
    return PlaybackEvent{duration, position, kind, key};
}

PlaybackEvent rest(std::uint32_t duration, std::int32_t position) {
    return PlaybackEvent{duration, position, event_kind::rest, 0};
}

std::vector<std::pair<std::uint32_t, std::uint8_t>> times(const std::vector<PlaybackEvent>& timed) {
    std::vector<std::pair<std::uint32_t, std::uint8_t>> out;
    for (const auto& e : timed) out.emplace_back(e.time, e.kind);
    return out;
}

using Times = std::vector<std::pair<std::uint32_t, std::uint8_t>>;
constexpr std::uint8_t on = event_kind::noteOn, off = event_kind::noteOff, fill = event_kind::filler;

TEST(EventTiming, PositionsWithinTheVerticalToleranceShareASlice) {
    const auto timed = TimeEvents({note(256, 100, 60), note(256, 110, 64), note(256, 200, 67)}, 13);
    EXPECT_EQ(times(timed), (Times{{0, on}, {0, on}, {256, off}, {256, off}, {256, on}, {512, off}}));
}

TEST(EventTiming, PendingNoteOffOfAnotherVoiceOpensTheNextSliceEarlier) {
    // A half and a quarter together, then a half at the next position: the slice ends with the quarter;
    // the following entry comes at the end of the second half (768), or earlier at the first half's end.
    const auto timed = TimeEvents({note(512, 100, 60), note(256, 100, 64), note(512, 200, 65), note(256, 300, 67)}, 0);
    EXPECT_EQ(times(timed), (Times{{0, on}, {0, on}, {256, off}, {256, on}, {512, off}, {512, on}, {768, off}, {768, off}}));
}

TEST(EventTiming, RecordsAreSortedByPositionFirst) {
    const auto timed = TimeEvents({note(256, 200, 62), note(256, 100, 60)}, 0);
    ASSERT_EQ(timed.size(), 4u);
    EXPECT_EQ(timed[0].key, 60);
    EXPECT_EQ(timed[2].key, 62);
    EXPECT_EQ(timed[2].time, 256u);
}

TEST(EventTiming, FinalRestLeavesAFillerAtItsEnd) {
    const auto timed = TimeEvents({note(256, 100, 60), rest(512, 200)}, 0);
    EXPECT_EQ(times(timed), (Times{{0, on}, {256, off}, {256, fill}, {768, fill}}));
}

TEST(EventTiming, FinalStaccatoLeavesAFillerAfterItsGap) {
    const auto timed = TimeEvents({note(256, 100, 60, event_kind::shortened)}, 0);
    EXPECT_EQ(times(timed), (Times{{0, on}, {128, off}, {256, fill}}));
    EXPECT_EQ(timed[1].position, noteOffWithGap);
}

TEST(EventTiming, StaccatoAppoggiaturaLosesNoArticulation) {
    const auto timed = TimeEvents({note(128, 100, 62, event_kind::appoggiatura + event_kind::shortened),
                                   note(256, 200, 60)}, 0);
    EXPECT_EQ(times(timed), (Times{{0, on}, {32, off}, {32, on}, {256, off}}));
}

TEST(EventTiming, NoteWithNothingLeftToSoundWritesNoNote) {
    const auto timed = TimeEvents({note(1, 100, 62, event_kind::appoggiatura), note(256, 200, 60)}, 0);
    EXPECT_EQ(times(timed), (Times{{0, fill}, {0, on}, {256, off}}));
}

TEST(EventTiming, NothingCollectedGivesNothing) { EXPECT_TRUE(TimeEvents({}, 13).empty()); }

}  // namespace
}  // namespace notavera
