// The "Son" commands registered by a window with MIDI devices: the score is written and played, the page marker
// is used up, and without the window's registry the commands are not built.
#include <gtest/gtest.h>

#include "midi/midi_devices.h"
#include "midi/playback_menu_commands.h"
#include "shell/command_registry.h"
#include "shell/dispatch.h"
#include "support/fake_midi_services.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

class PlaybackMenuCommands : public ::testing::Test {
protected:
    PlaybackMenuCommands() {
        score.on(1, 0).notes(100, 40, 4, 3);
        score.on(2, 0).notes(100, 40, 4, 5);
        score.setCurrent(1, 0);
        RegisterPlaybackCommands(registry, devices, window);
        score.ctx().platformCommands = &registry;
    }

    test::ScoreBuilder score{3};
    test::FakeMidiServices services;
    test::ManualTimers timers;
    test::FakeWindow window;
    MidiDevices devices{services, score.ui(), timers};
    CommandRegistry registry;
};

TEST_F(PlaybackMenuCommands, PlayWritesTheScoreAndUsesUpThePageMarker) {
    score.ctx().shell.markerPage = 2;
    DispatchCommand(score.ctx(), 240);
    ASSERT_EQ(services.fakeSequencer.opened.size(), 1u);
    EXPECT_EQ(services.fakeSequencer.opened[0].filename(), "nv$$$.mid");
    EXPECT_GT(std::filesystem::file_size(services.fakeSequencer.opened[0]), 0u);
    EXPECT_EQ(score.ctx().shell.markerPage, 0);
    EXPECT_TRUE(score.ui().messages().empty());
}

TEST_F(PlaybackMenuCommands, BuiltOnlyWhereTheWindowHasDevices) {
    EXPECT_FALSE(CommandIsBuilt(240));
    EXPECT_TRUE(CommandIsBuilt(score.ctx(), 240));
    EXPECT_TRUE(CommandIsBuilt(score.ctx(), commandPlayMidiFile));
    HeadlessUi other(nullptr);
    EditorContext withoutSound(other);
    EXPECT_FALSE(CommandIsBuilt(withoutSound, 245));
}

}  // namespace
}  // namespace notavera
