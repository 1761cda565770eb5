// A keyboard on the ALSA sequencer: notes sent through a virtual port reach the editor's input ports and are
// entered in the score. Skipped where the machine has no sequencer.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "midi/midi_devices.h"
#include "platform/audio/audio_midi_services.h"
#include "platform/audio/rtmidi_ports.h"
#include "platform/headless/headless_ui.h"
#include "shell/midi_step_entry.h"
#include "support/fake_midi_services.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

TEST(AlsaKeyboard, NotesThroughAVirtualPortAreEntered) {
    if (!std::filesystem::exists("/dev/snd/seq")) GTEST_SKIP() << "no ALSA sequencer here (/dev/snd/seq is absent)";
    OpenedDevice<MidiOutput> keyboard = OpenRtMidiVirtualOutput("Clavier de test");
    ASSERT_TRUE(keyboard.device) << keyboard.status.text;
    AudioMidiServices services;
    HeadlessUi ui(nullptr);
    test::ManualTimers timers;
    test::FakeWindow window;
    MidiDevices devices(services, ui, timers);
    ASSERT_EQ(devices.OpenMidiInputs(window), 1);

    keyboard.device->send(PackShortMessage(0x90, 60, 80));
    keyboard.device->send(PackShortMessage(0x80, 60, 0));
    keyboard.device->send(PackShortMessage(0x90, 64, 80));
    // The sequencer delivers on its own thread; a few seconds is far more than it ever needs.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (window.inputNotices < 3 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));

    test::ScoreBuilder score;
    EditorContext& ctx = score.ctx();
    devices.DrainMidiInput([&ctx](const MidiInputEvent& e) { HandleMidiInputEvent(ctx, e); });
    std::vector<unsigned> steps;
    for (const ElementRecord& e : ctx.doc.staff()->elements)
        if (e.isNote()) steps.push_back(e.noteWord().step());
    EXPECT_EQ(steps, (std::vector<unsigned>{1, 3}));
}

}  // namespace
}  // namespace notavera
