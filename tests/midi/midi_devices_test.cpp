// The MIDI devices against scripted devices: the start-up check, the input ports and their ring, playback
// of files, the stop command, the note preview, and the messages shown when devices fail.
#include <gtest/gtest.h>

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

const DeviceStatus noSound{3, "Aucune sortie audio ne fonctionne"};

class MidiDevicesTest : public testing::Test {
protected:
    // The shown texts, each as "caption|text".
    std::vector<std::string> shown() const {
        std::vector<std::string> lines;
        for (const auto& m : ui.messages()) {
            EXPECT_EQ(m.icon, MessageIcon::Information);
            lines.push_back(m.caption + "|" + m.text);
        }
        return lines;
    }
    void preview(unsigned letter, unsigned octave = 4) {
        ElementRecord e;
        e.w0().setOctave(octave);
        e.noteWord().setStep(letter);
        devices.PreviewNote(e);
    }
    std::vector<ShortMessage> sent() { return services.log.messages(); }
    test::FakeMidiServices services;
    HeadlessUi ui{nullptr};
    test::ManualTimers timers;
    test::FakeWindow window;
    MidiDevices devices{services, ui, timers};
};

TEST_F(MidiDevicesTest, StartUpProbesOutputZeroAtFullVolumeAndReportsErrors) {
    services.capabilities = {true, true};
    devices.CheckMidiOutput(window);
    EXPECT_EQ(services.openedOutputs, std::vector<int>{0});
    EXPECT_EQ(services.log.closes, 1);
    services.capabilities = {true, false};
    devices.CheckMidiOutput(window);
    EXPECT_EQ(services.log.volumes, (std::vector<std::uint32_t>{0xFFFFFFFFu, 0xFFFFu}));
    EXPECT_TRUE(ui.messages().empty());
    services.outputOpenResult = noSound;
    EXPECT_EQ(devices.CheckMidiOutput(window), 0);  // no input device either
    services.outputOpenResult = {};
    services.volumeResult = {7, "volume refusé"};
    services.closeResult = {9, "fermeture refusée"};
    devices.CheckMidiOutput(window);
    services.outputOpenResult = {3, std::string(1000, 'x')};
    devices.CheckMidiOutput(window);
    const auto lines = shown();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Message|Initialisation midi, erreur no 3,\nAucune sortie audio ne fonctionne");
    EXPECT_EQ(lines[1], "Message|Volume midi, erreur no  7,\nvolume refusé");
    EXPECT_EQ(lines[2], "Message|Initialisation midi, erreur no  9,\nfermeture refusée");
    EXPECT_LT(lines[3].size(), 256u + 8);  // a very long device text is cut to its buffer
}

TEST_F(MidiDevicesTest, OnlyTheFirstEightInputsOpenAndAFailedOneIsSkipped) {
    EXPECT_EQ(devices.OpenMidiInputs(window), 0);  // no input device: nothing opens, no queue
    EXPECT_EQ(devices.inputQueue(), nullptr);
    services.inputs = 11;
    services.failingInputs[2] = {5, "Port MIDI indisponible"};
    EXPECT_EQ(devices.OpenMidiInputs(window), 1);
    EXPECT_EQ(services.openedInputs, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(shown(), std::vector<std::string>{"Message|Port MIDI indisponible"});
    EXPECT_EQ(services.ports.size(), 7u);
    for (const auto& [index, port] : services.ports) EXPECT_TRUE(port->started) << index;
    EXPECT_TRUE(devices.inputsOpen());
    ASSERT_NE(devices.inputQueue(), nullptr);
    devices.OpenMidiInputs(window);  // reopening closes the old ones first
    EXPECT_EQ(services.inputCloses, 7);
}

// An unplugged keyboard is said once and its port closed; the other ports go on being watched.
TEST_F(MidiDevicesTest, AVanishedInputIsSaidOnceAndClosed) {
    services.inputs = 2;
    devices.OpenMidiInputs(window);
    timers.fireAll();
    EXPECT_TRUE(shown().empty());
    services.ports[1]->unplugged = true;
    timers.fireAll();
    timers.fireAll();
    EXPECT_EQ(shown().size(), 1u);
    EXPECT_EQ(services.inputCloses, 1);
    EXPECT_FALSE(services.ports[0]->closed);
    ASSERT_EQ(timers.pending.size(), 1u);
    devices.CloseMidiDevices();
    timers.fireAll();  // the watch finds the inputs closed
    EXPECT_EQ(shown().size(), 1u);
}

// A keyboard on the ALSA sequencer: notes sent through a virtual port reach the inputs and enter the score.
TEST_F(MidiDevicesTest, NotesThroughAnAlsaVirtualPortAreEntered) {
    if (!std::filesystem::exists("/dev/snd/seq")) GTEST_SKIP() << "no ALSA sequencer here (/dev/snd/seq is absent)";
    OpenedDevice<MidiOutput> keyboard = OpenRtMidiVirtualOutput("Clavier de test");
    ASSERT_TRUE(keyboard.device) << keyboard.status.text;
    AudioMidiServices alsa;
    MidiDevices inputs(alsa, ui, timers);
    ASSERT_EQ(inputs.OpenMidiInputs(window), 1);
    for (const ShortMessage m : {PackShortMessage(0x90, 60, 80), PackShortMessage(0x90, 64, 80)}) keyboard.device->send(m);
    // Delivery is on the sequencer's thread; five seconds is far more than it ever needs.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (window.inputNotices < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    test::ScoreBuilder score;
    inputs.DrainMidiInput([&score](const MidiInputEvent& e) { HandleMidiInputEvent(score.ctx(), e); });
    std::vector<unsigned> steps;
    for (const ElementRecord& e : score.doc().staff()->elements) steps.push_back(e.noteWord().step());
    EXPECT_EQ(steps, (std::vector<unsigned>{1, 3}));
}

TEST_F(MidiDevicesTest, DriverEventsReachTheHandlerInOrderAndOtherEventsAreDropped) {
    services.inputs = 2;
    devices.OpenMidiInputs(window);
    std::thread driver([&] {
        services.ports[1]->deliver(10, PackShortMessage(0x90, 60, 100));  // note on
        services.ports[1]->deliver(11, PackShortMessage(0xC0, 5, 0));     // program change: dropped
        services.ports[1]->deliver(12, PackShortMessage(0xF8, 0, 0));     // clock: dropped
        services.ports[1]->deliver(13, PackShortMessage(0xB0, 64, 127));  // sustain pedal
        services.ports[1]->deliver(14, PackShortMessage(0xA0, 60, 20));   // key pressure: dropped
        services.ports[1]->deliver(15, PackShortMessage(0xD0, 0, 0));     // channel pressure
        services.ports[1]->deliver(16, PackShortMessage(0xE1, 0, 70));    // pitch bend
        services.ports[1]->deliver(17, PackShortMessage(0x80, 60, 0));    // note off
    });
    driver.join();
    EXPECT_EQ(window.inputNotices, 8);
    std::vector<MidiInputEvent> handled;
    devices.DrainMidiInput([&](const MidiInputEvent& e) { handled.push_back(e); });
    std::vector<std::uint32_t> times;
    for (const auto& e : handled) times.push_back(e.timeStamp);
    EXPECT_EQ(times, (std::vector<std::uint32_t>{10, 13, 15, 16, 17}));
    EXPECT_EQ(handled.at(0), (MidiInputEvent{1, 10, PackShortMessage(0x90, 60, 100)}));
    EXPECT_EQ(devices.inputQueue()->count(), 0u);
}

TEST_F(MidiDevicesTest, PlayingAFileItsEndNoticeAndStop) {
    devices.StopMidi();  // harmless when nothing plays
    preview(1);
    EXPECT_EQ(devices.PlayMidiFile("a.mid", window), 1);
    EXPECT_FALSE(devices.previewOutputOpen());  // playing closes the preview output first
    EXPECT_EQ(sent().back(), PackShortMessage(0x80, 60, 0));  // releasing the note it held
    timers.fireAll();  // the late release finds nothing to do
    EXPECT_EQ(sent().size(), 3u);
    EXPECT_TRUE(services.fakeSequencer.isOpen);
    services.fakeSequencer.finish();  // on the sequencer's thread: only a notice
    ASSERT_EQ(window.endedPlaybacks.size(), 1u);
    EXPECT_TRUE(services.fakeSequencer.isOpen);
    devices.PlayMidiFile("b.mid", window);
    EXPECT_FALSE(devices.OnPlaybackEnded(window.endedPlaybacks[0]));  // a late notice does not stop a newer playback
    EXPECT_TRUE(services.fakeSequencer.isOpen);
    services.fakeSequencer.finish();
    EXPECT_TRUE(devices.OnPlaybackEnded(window.endedPlaybacks[1]));  // on the interface thread
    EXPECT_FALSE(services.fakeSequencer.isOpen);
    devices.PlayMidiFile("c.mid", window);
    devices.StopMidi();
    EXPECT_FALSE(services.fakeSequencer.isOpen);
    EXPECT_FALSE(services.fakeSequencer.end);  // a stopped file reports no end
    EXPECT_TRUE(ui.messages().empty());
    services.fakeSequencer.openResult = {4, "Fichier MIDI illisible : d.mid"};
    EXPECT_EQ(devices.PlayMidiFile("d.mid", window), 0);
    EXPECT_EQ(shown(), std::vector<std::string>{"Message|Fichier MIDI illisible : d.mid"});
}

TEST_F(MidiDevicesTest, PreviewSoundsTheNoteAndReleasesItFromItsOwnTimer) {
    devices.preview.echoInstrument = 19;
    devices.preview.inputCycles = 40;
    preview(6);  // A 440
    EXPECT_EQ(services.openedOutputs, std::vector<int>{midiMapper});
    // PreviewNote has returned with the note still sounding: the interface was never held.
    EXPECT_EQ(sent(), (std::vector<ShortMessage>{PackShortMessage(0xC0, 19, 0), PackShortMessage(0x90, 69, 64)}));
    ASSERT_EQ(timers.pending.size(), 1u);
    EXPECT_EQ(timers.pending[0].delay, std::chrono::milliseconds(400));
    preview(6);
    auto first = std::move(timers.pending[0].action);
    auto second = std::move(timers.pending[1].action);
    const std::size_t before = sent().size();
    first();  // the first release must not cut the repeated note short
    EXPECT_EQ(sent().size(), before);
    second();
    EXPECT_EQ(sent().back(), PackShortMessage(0x80, 69, 0));
    for (const auto& [cycles, ms] : {std::pair{1, 10}, {127, 1270}, {0, 10}, {500, 1270}})
        EXPECT_EQ(PreviewHold(cycles), std::chrono::milliseconds(ms)) << cycles;
    devices.preview.echoInstrument = 128;
    devices.CloseMidiDevices();
    preview(1);
    EXPECT_EQ(sent()[sent().size() - 2], PackShortMessage(0xC0, 127, 0));  // still a valid data byte
}

}  // namespace
}  // namespace notavera
