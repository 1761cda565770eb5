// Time slices of the timing pass: where the next entry comes when the notes of a slice differ in length,
// and how rests and gaps keep the staff's length.
#include "midi/event_timing.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

PlaybackEvent note(std::uint32_t duration, std::int32_t position, std::uint8_t key, std::uint8_t kind = 0) {
    return PlaybackEvent{duration, position, kind, key};
}

using Times = std::vector<std::tuple<std::uint32_t, std::uint8_t, std::uint8_t>>;  // time, kind, key
constexpr std::uint8_t on = event_kind::noteOn, off = event_kind::noteOff, fill = event_kind::filler;
constexpr std::uint8_t shortened = event_kind::shortened, grace = event_kind::appoggiatura;

struct Slice {
    const char* name;
    std::vector<PlaybackEvent> events;
    int tolerance;
    Times timed;
};

TEST(EventTiming, SlicesFollowOneAnother) {
    const Slice cases[] = {
        {"positions within the tolerance share a slice",
         {note(256, 100, 60), note(256, 110, 64), note(256, 200, 67)}, 13,
         {{0, on, 60}, {0, on, 64}, {256, off, 60}, {256, off, 64}, {256, on, 67}, {512, off, 67}}},
        // A half and a quarter together, then a half: the next entry comes at the first half's end.
        {"a pending note-off of another voice opens the next slice earlier",
         {note(512, 100, 60), note(256, 100, 64), note(512, 200, 65), note(256, 300, 67)}, 0,
         {{0, on, 60}, {0, on, 64}, {256, off, 64}, {256, on, 65}, {512, off, 60}, {512, on, 67}, {768, off, 65},
          {768, off, 67}}},
        {"records are sorted by position first", {note(256, 200, 62), note(256, 100, 60)}, 0,
         {{0, on, 60}, {256, off, 60}, {256, on, 62}, {512, off, 62}}},
        {"a final rest leaves a filler at its end", {note(256, 100, 60), {512, 200, event_kind::rest, 0}}, 0,
         {{0, on, 60}, {256, off, 60}, {256, fill, 0}, {768, fill, 0}}},
        {"a final staccato leaves a filler after its gap", {note(256, 100, 60, shortened)}, 0,
         {{0, on, 60}, {128, off, 60}, {256, fill, 0}}},
        {"a staccato appoggiatura loses no articulation", {note(128, 100, 62, grace + shortened), note(256, 200, 60)},
         0, {{0, on, 62}, {32, off, 62}, {32, on, 60}, {256, off, 60}}},
        {"a note with nothing left to sound writes no note", {note(1, 100, 62, grace), note(256, 200, 60)}, 0,
         {{0, fill, 0}, {0, on, 60}, {256, off, 60}}},
        {"nothing gives nothing", {}, 13, {}},
    };
    for (const Slice& c : cases) {
        Times timed;
        for (const auto& e : TimeEvents(c.events, c.tolerance))
            timed.emplace_back(e.time, e.kind, e.kind == fill ? 0 : e.key);
        EXPECT_EQ(timed, c.timed) << c.name;
    }
    EXPECT_EQ(TimeEvents({note(256, 100, 60, shortened)}, 0)[1].position, noteOffWithGap);
}

}  // namespace
}  // namespace notavera
