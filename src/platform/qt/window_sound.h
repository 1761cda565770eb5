// The editor window's sound: the machine's MIDI services and the devices over them, the "Son" commands, the
// keyboard echo, and the notices the input drivers and the sequencer post from their own threads, answered on
// the window's thread.
#pragma once

#include <QObject>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>

#include "midi/midi_devices.h"
#include "platform/midi_services.h"
#include "platform/qt/device_message_ui.h"
#include "platform/qt/qt_timer_services.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/playback_menu_commands.h"

namespace notavera {

class WindowSound final : public MidiWindow {
public:
    // `ui` is the main window's own user interface and `owner` the window the device boxes stand beside.
    WindowSound(EditorContext& ctx, UiServices& ui, QWidget* owner, std::unique_ptr<MidiServices> services);
    WindowSound(const WindowSound&) = delete;
    WindowSound& operator=(const WindowSound&) = delete;

    // The start-up check: probes the output and opens the inputs. Its errors are shown modeless.
    int checkDevices();
    // The check as the editor starts: once `page` has first been painted, so that loading the synthesizer
    // never delays the first sight of the score.
    void checkDevicesAfterFirstPaint(QWidget& page);
    // Play, play the current voice, play a MIDI file, stop: the handlers the window adds to the core's.
    const CommandRegistry& commands() const { return commands_; }
    MidiDevices& devices() { return devices_; }
    // Sounds a note with the echo instrument and the hold of the settings dialogs.
    void preview(const ElementRecord& note);

    // Called on the window's thread once a playback has ended and the sequencer is closed.
    std::function<void()> playbackEnded;
    // Called on the window's thread after the notes of a MIDI keyboard went into the score.
    std::function<void()> inputHandled;

    // From the input drivers' and the sequencer's threads.
    void postInputReady() override;
    void postPlaybackEnded(unsigned playback) override;

private:
    void drainInput();

    // Declared in the order they must be built. They go in reverse: the devices stop playback and close every
    // port first, so no thread posts a notice once the receiver and the services are gone.
    EditorContext& ctx_;
    std::unique_ptr<MidiServices> services_;
    DeviceMessageUi ui_;
    QtTimerServices timers_;
    QObject receiver_;  // lives on the window's thread; notices still queued die with it
    std::atomic<bool> drainQueued_{false};
    MidiDevices devices_;
    PlaybackState playback_;
    CommandRegistry commands_;
    std::unique_ptr<QObject> startCheck_;  // watches the first paint; the check is cancelled with it
};

}  // namespace notavera
