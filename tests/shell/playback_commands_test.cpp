// The last page of the play and save commands and what becomes of the page marker.
#include "shell/playback_commands.h"

#include <gtest/gtest.h>

#include <vector>

#include "midi/midi_devices.h"
#include "platform/headless/headless_ui.h"
#include "shell/command_registry.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/playback_menu_commands.h"
#include "support/fake_midi_services.h"
#include "support/midi_csv.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

struct Case {
    int command, markerPage;
    bool region;
    int lastPage, markerAfter;
};

class LastPage : public ::testing::TestWithParam<Case> {};

TEST_P(LastPage, IsChosenForTheCommand) {
    const Case& c = GetParam();
    const LastPageChoice choice = ChooseLastPage(c.command, 5, c.markerPage, c.region);
    EXPECT_EQ(choice.lastPage, c.lastPage);
    EXPECT_EQ(choice.markerPage, c.markerAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, LastPage,
    ::testing::Values(Case{cmd::Play, 0, false, 5, 0}, Case{cmd::Play, 3, false, 3, 0},
                      Case{cmd::Play, 9, false, 5, 0}, Case{cmd::Play, 3, true, 5, 3},
                      Case{cmd::PlayCurrentVoice, 0, false, -5, 0}, Case{cmd::PlayCurrentVoice, 2, false, -2, 0},
                      Case{cmd::PlayCurrentVoice, 2, true, 5, 2}, Case{cmd::SaveMidiFile, 3, false, 5, 3},
                      Case{cmd::SaveMidiFile, 0, true, 5, 0}));


// Playing a marked region: the sequencer gets the region's notes alone, the region stays highlighted while they
// play and is unmarked once playback has ended (false) or was stopped (true).
class RegionPlayback : public ::testing::TestWithParam<bool> {};

TEST_P(RegionPlayback, PlaysTheRegionAloneAndThenUnmarksIt) {
    HeadlessUi ui(nullptr);
    test::FakeMidiServices services;
    test::FakeWindow window;
    test::ManualTimers timers;
    MidiDevices devices(services, ui, timers);
    PlaybackState state;
    CommandRegistry registry;
    RegisterPlaybackCommands(registry, devices, window, state);
    test::ScoreBuilder score(1, 2, 2);
    score.on(1, 0).notes(100, 100, 4, 1);
    score.on(1, 1).notes(100, 100, 4, 5);
    EditorContext& ctx = score.ctx();
    ctx.platformCommands = &registry;
    ctx.shell.cursor.zone = {.lastStaff = 1, .start = 1, .last = 2, .page = 1, .startStaff = 1};
    ctx.shell.cursor.zoneRect = {.left = 200, .bottom = 0, .right = 300, .top = 2000, .shown = true};

    DispatchCommand(ctx, cmd::Play);
    ASSERT_EQ(services.fakeSequencer.opened.size(), 1u);
    const test::MidiCsv csv = test::ReadMidiCsv(services.fakeSequencer.opened[0]);
    std::vector<int> keys;
    for (std::size_t t = 1; t < csv.tracks.size(); ++t)
        for (const test::HeardNote& n : test::HeardNotes(csv.tracks[t])) keys.push_back(n.key);
    EXPECT_EQ(keys, (std::vector<int>{67, 67}));
    EXPECT_TRUE(ctx.shell.cursor.zoneRect.shown);
    if (GetParam()) DispatchCommand(ctx, cmd::StopMidi);
    else EndRegionPlayback(ctx, state);
    EXPECT_FALSE(ctx.shell.cursor.zoneRect.shown);
}

INSTANTIATE_TEST_SUITE_P(EndedOrStopped, RegionPlayback, ::testing::Bool());

}  // namespace
}  // namespace notavera
