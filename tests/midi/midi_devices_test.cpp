// The MIDI devices against scripted devices: the start-up check, the input ports and their ring, playback
// of files, the stop command, the note preview, and the messages shown when devices fail.
#include <gtest/gtest.h>

#include <thread>

#include "midi/midi_devices.h"
#include "platform/headless/headless_ui.h"
#include "support/fake_midi_services.h"

namespace notavera {
namespace {

using test::FakeMidiServices;
using test::FakeWindow;
using test::ManualTimers;

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

    static ElementRecord noteAt(unsigned letter, unsigned octave) {
        ElementRecord e;
        e.w0().setOctave(octave);
        e.noteWord().setStep(letter);
        return e;
    }

    FakeMidiServices services;
    HeadlessUi ui{nullptr};
    ManualTimers timers;
    FakeWindow window;
    MidiDevices devices{services, ui, timers};
};

TEST_F(MidiDevicesTest, StartUpProbesOutputZeroAtFullVolumeAndClosesIt) {
    services.capabilities = {true, true};
    devices.CheckMidiOutput(window);
    EXPECT_EQ(services.openedOutputs, std::vector<int>{0});
    EXPECT_EQ(services.log.volumes, std::vector<std::uint32_t>{0xFFFFFFFFu});
    EXPECT_EQ(services.log.closes, 1);
    EXPECT_TRUE(ui.messages().empty());

    services.capabilities = {true, false};
    devices.CheckMidiOutput(window);
    EXPECT_EQ(services.log.volumes.back(), 0xFFFFu);
}

TEST_F(MidiDevicesTest, OutputErrorsShowTheirNumberAndTheDeviceText) {
    services.outputOpenResult = {3, "Aucune sortie audio ne fonctionne"};
    EXPECT_EQ(devices.CheckMidiOutput(window), 0);  // no input device either

    services.outputOpenResult = {};
    services.capabilities = {true, false};
    services.volumeResult = {7, "volume refusé"};
    services.closeResult = {9, "fermeture refusée"};
    devices.CheckMidiOutput(window);

    EXPECT_EQ(shown(), (std::vector<std::string>{"Message|Initialisation midi, erreur no 3,\nAucune sortie audio ne fonctionne",
                                                 "Message|Volume midi, erreur no  7,\nvolume refusé",
                                                 "Message|Initialisation midi, erreur no  9,\nfermeture refusée"}));
}

TEST_F(MidiDevicesTest, AVeryLongDeviceTextIsCutToItsBuffer) {
    services.outputOpenResult = {3, std::string(1000, 'x')};
    devices.CheckMidiOutput(window);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_LT(ui.messages()[0].text.size(), 256u);
}

TEST_F(MidiDevicesTest, WithoutInputDeviceNothingOpensAndNoQueueExists) {
    EXPECT_EQ(devices.OpenMidiInputs(window), 0);
    EXPECT_FALSE(devices.inputsOpen());
    EXPECT_EQ(devices.inputQueue(), nullptr);
}

TEST_F(MidiDevicesTest, OnlyTheFirstEightInputsOpenAndAFailedOneIsSkipped) {
    services.inputs = 11;
    services.failingInputs[2] = {5, "Port MIDI indisponible"};
    EXPECT_EQ(devices.OpenMidiInputs(window), 1);
    EXPECT_EQ(services.openedInputs, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(shown(), std::vector<std::string>{"Message|Port MIDI indisponible"});
    EXPECT_EQ(services.ports.size(), 7u);
    for (const auto& [index, port] : services.ports) EXPECT_TRUE(port->started) << index;
    EXPECT_TRUE(devices.inputsOpen());
    ASSERT_NE(devices.inputQueue(), nullptr);
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
    ASSERT_EQ(handled.size(), 5u);
    EXPECT_EQ(handled[0], (MidiInputEvent{1, 10, PackShortMessage(0x90, 60, 100)}));
    EXPECT_EQ(handled[1].timeStamp, 13u);
    EXPECT_EQ(handled[2].timeStamp, 15u);
    EXPECT_EQ(handled[3].timeStamp, 16u);
    EXPECT_EQ(handled[4].timeStamp, 17u);
    EXPECT_EQ(devices.inputQueue()->count(), 0u);
}

TEST_F(MidiDevicesTest, InputIsEchoedOnThePreviewOutputItWasOpenedWith) {
    devices.PreviewNote(noteAt(1, 4));  // opens the preview output
    services.inputs = 1;
    devices.OpenMidiInputs(window);
    services.ports[0]->deliver(0, PackShortMessage(0x90, 62, 90));
    EXPECT_EQ(services.log.messages().back(), PackShortMessage(0x90, 62, 90));
}

TEST_F(MidiDevicesTest, ClosingStopsThePortsThePreviewAndTheQueue) {
    services.inputs = 3;
    devices.OpenMidiInputs(window);
    devices.PreviewNote(noteAt(1, 4));
    devices.CloseMidiDevices();
    EXPECT_EQ(services.inputCloses, 3);
    EXPECT_FALSE(devices.inputsOpen());
    EXPECT_EQ(devices.inputQueue(), nullptr);
    EXPECT_FALSE(devices.previewOutputOpen());
    devices.DrainMidiInput([](const MidiInputEvent&) { FAIL(); });  // a late notice finds nothing
    devices.CloseMidiDevices();                                    // twice is harmless
}

TEST_F(MidiDevicesTest, ReopeningTheInputsClosesTheOldOnesFirst) {
    services.inputs = 1;
    devices.OpenMidiInputs(window);
    devices.OpenMidiInputs(window);
    EXPECT_EQ(services.inputCloses, 1);
    EXPECT_EQ(services.openedInputs, (std::vector<int>{0, 0}));
    EXPECT_TRUE(services.ports[0]->started);
}

TEST_F(MidiDevicesTest, PlayingAFileAndItsEndNotice) {
    EXPECT_EQ(devices.PlayMidiFile("a.mid", window), 1);
    EXPECT_TRUE(services.fakeSequencer.isOpen);
    services.fakeSequencer.finish();  // on the sequencer's thread: only a notice
    ASSERT_EQ(window.endedPlaybacks.size(), 1u);
    EXPECT_TRUE(services.fakeSequencer.isOpen);

    devices.OnPlaybackEnded(window.endedPlaybacks[0]);  // on the interface thread
    EXPECT_FALSE(services.fakeSequencer.isOpen);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MidiDevicesTest, ALateEndNoticeDoesNotStopANewerPlayback) {
    devices.PlayMidiFile("a.mid", window);
    services.fakeSequencer.finish();
    devices.PlayMidiFile("b.mid", window);
    devices.OnPlaybackEnded(window.endedPlaybacks[0]);
    EXPECT_TRUE(services.fakeSequencer.isOpen);
}

TEST_F(MidiDevicesTest, PlaybackErrorsShowTheSequencerText) {
    services.fakeSequencer.openResult = {4, "Fichier MIDI illisible : a.mid"};
    EXPECT_EQ(devices.PlayMidiFile("a.mid", window), 0);

    services.fakeSequencer.openResult = {};
    services.fakeSequencer.playResult = {5, "Le synthétiseur ne peut pas jouer ce fichier"};
    const int closesBefore = services.fakeSequencer.closes;
    EXPECT_EQ(devices.PlayMidiFile("b.mid", window), 0);
    EXPECT_EQ(services.fakeSequencer.closes, closesBefore + 1);
    EXPECT_FALSE(services.fakeSequencer.isOpen);

    EXPECT_EQ(shown(), (std::vector<std::string>{"Message|Fichier MIDI illisible : a.mid",
                                                 "Message|Le synthétiseur ne peut pas jouer ce fichier"}));
}

TEST_F(MidiDevicesTest, PlayingAFileClosesThePreviewOutputFirst) {
    devices.PreviewNote(noteAt(1, 4));
    ASSERT_TRUE(devices.previewOutputOpen());
    devices.PlayMidiFile("a.mid", window);
    EXPECT_FALSE(devices.previewOutputOpen());
    EXPECT_EQ(services.log.closes, 1);
}

TEST_F(MidiDevicesTest, StopIsHarmlessWhenNothingPlays) {
    devices.StopMidi();
    devices.StopMidi();
    EXPECT_FALSE(services.fakeSequencer.isOpen);
    EXPECT_TRUE(ui.messages().empty());

    devices.PlayMidiFile("a.mid", window);
    devices.StopMidi();
    EXPECT_FALSE(services.fakeSequencer.isOpen);
    EXPECT_FALSE(services.fakeSequencer.end);  // a stopped file reports no end
}

TEST_F(MidiDevicesTest, PlayAFileCommandAsksForAMidiFile) {
    devices.PlayMidiFileCommand(window);  // cancelled
    EXPECT_TRUE(services.fakeSequencer.opened.empty());
    ASSERT_EQ(ui.fileDialogs().size(), 1u);
    ASSERT_EQ(ui.fileDialogs()[0].filters.size(), 1u);
    EXPECT_EQ(ui.fileDialogs()[0].filters[0].patterns, "*.mid");

    ui.queueFileName(std::string("/tmp/morceau.mid"));
    devices.PlayMidiFileCommand(window);
    EXPECT_EQ(services.fakeSequencer.opened, std::vector<std::filesystem::path>{"/tmp/morceau.mid"});
    EXPECT_TRUE(services.fakeSequencer.isOpen);
}

TEST_F(MidiDevicesTest, PreviewSoundsTheNoteAndReleasesItFromATimer) {
    devices.preview.echoInstrument = 19;
    devices.preview.inputCycles = 40;
    devices.PreviewNote(noteAt(6, 4));  // A 440

    EXPECT_EQ(services.openedOutputs, std::vector<int>{midiMapper});
    // PreviewNote has returned with the note still sounding: the interface was never held.
    EXPECT_EQ(services.log.messages(),
              (std::vector<ShortMessage>{PackShortMessage(0xC0, 19, 0), PackShortMessage(0x90, 69, 64)}));
    ASSERT_EQ(timers.pending.size(), 1u);
    EXPECT_EQ(timers.pending[0].delay, std::chrono::milliseconds(400));

    timers.fireAll();
    EXPECT_EQ(services.log.messages().back(), PackShortMessage(0x80, 69, 0));
}

TEST_F(MidiDevicesTest, PreviewHoldFollowsTheInputCyclesWithinTheirRange) {
    EXPECT_EQ(PreviewHold(1), std::chrono::milliseconds(10));
    EXPECT_EQ(PreviewHold(127), std::chrono::milliseconds(1270));
    EXPECT_EQ(PreviewHold(0), std::chrono::milliseconds(10));
    EXPECT_EQ(PreviewHold(500), std::chrono::milliseconds(1270));
}

TEST_F(MidiDevicesTest, ARepeatedNoteIsReleasedByItsOwnTimer) {
    devices.PreviewNote(noteAt(1, 4));
    devices.PreviewNote(noteAt(1, 4));
    ASSERT_EQ(timers.pending.size(), 2u);
    auto first = std::move(timers.pending[0].action);
    auto second = std::move(timers.pending[1].action);
    const std::size_t sentBefore = services.log.messages().size();
    first();  // the first release must not cut the second note short
    EXPECT_EQ(services.log.messages().size(), sentBefore);
    second();
    EXPECT_EQ(services.log.messages().back(), PackShortMessage(0x80, 60, 0));
}

TEST_F(MidiDevicesTest, ClosingThePreviewReleasesHeldNotesAndLateTimersDoNothing) {
    devices.PreviewNote(noteAt(3, 5));  // E, key 76
    devices.StopMidi();
    devices.PlayMidiFile("a.mid", window);
    EXPECT_EQ(services.log.messages().back(), PackShortMessage(0x80, 76, 0));
    const std::size_t sent = services.log.messages().size();
    timers.fireAll();
    EXPECT_EQ(services.log.messages().size(), sent);
}

TEST_F(MidiDevicesTest, PreviewSilentCases) {
    devices.preview.echoInstrument = -1;
    devices.PreviewNote(noteAt(1, 4));
    EXPECT_TRUE(services.openedOutputs.empty());  // echo off opens no output

    devices.preview.echoInstrument = 0;
    ElementRecord rest = noteAt(1, 4);
    rest.noteWord().setRest(true);
    devices.PreviewNote(rest);
    ElementRecord tooHigh = noteAt(7, 7);
    tooHigh.w1().setOctaveShift(2);
    devices.PreviewNote(tooHigh);
    EXPECT_TRUE(services.openedOutputs.empty());

    services.outputOpenResult = {3, "Aucune sortie audio ne fonctionne"};
    devices.PreviewNote(noteAt(1, 4));
    EXPECT_FALSE(devices.previewOutputOpen());
    EXPECT_TRUE(ui.messages().empty());  // a failed preview is silent
    EXPECT_TRUE(timers.pending.empty());
}

// Opening the synthesizer takes long enough to be felt: without sound it is not tried again at every note.
TEST_F(MidiDevicesTest, AFailedPreviewOutputIsRetriedOnlyOnceTheSoundWorks) {
    services.outputOpenResult = {3, "Aucune sortie audio ne fonctionne"};
    devices.PreviewNote(noteAt(1, 4));
    devices.PreviewNote(noteAt(2, 4));
    EXPECT_EQ(services.openedOutputs, std::vector<int>{midiMapper});

    services.outputOpenResult = {};  // a sound server has started meanwhile
    devices.PreviewNote(noteAt(3, 4));
    EXPECT_FALSE(devices.previewOutputOpen());
    devices.PlayMidiFile("a.mid", window);
    devices.PreviewNote(noteAt(3, 4));
    EXPECT_TRUE(devices.previewOutputOpen());

    devices.StopMidi();
    devices.PlayMidiFile("a.mid", window);  // closes the preview output
    services.outputOpenResult = {3, "Aucune sortie audio ne fonctionne"};
    devices.PreviewNote(noteAt(1, 4));
    services.outputOpenResult = {};
    devices.CheckMidiOutput(window);  // the probe finds the output again
    devices.PreviewNote(noteAt(1, 4));
    EXPECT_TRUE(devices.previewOutputOpen());
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MidiDevicesTest, TheTopEchoInstrumentStaysAValidDataByte) {
    devices.preview.echoInstrument = 128;
    devices.PreviewNote(noteAt(1, 4));
    EXPECT_EQ(services.log.messages().front(), PackShortMessage(0xC0, 127, 0));
}

// A machine without sound card or MIDI port: every step reports and the session goes on.
TEST_F(MidiDevicesTest, WithoutAnyDeviceEverythingKeepsWorking) {
    services.outputs = 0;
    services.outputOpenResult = {3, "Aucune sortie audio ne fonctionne (pulseaudio, pipewire, alsa)"};
    services.fakeSequencer.openResult = services.outputOpenResult;
    EXPECT_EQ(devices.CheckMidiOutput(window), 0);
    devices.PreviewNote(noteAt(1, 4));
    EXPECT_EQ(devices.PlayMidiFile("a.mid", window), 0);
    devices.StopMidi();
    devices.DrainMidiInput([](const MidiInputEvent&) { FAIL(); });
    devices.CloseMidiDevices();
    EXPECT_EQ(ui.messages().size(), 2u);
}

}  // namespace
}  // namespace notavera
