// The editor window's sound: devices, "Son" commands, keyboard echo, and the thread notices turned into calls on
// the window's thread.
#include "platform/qt/window_sound.h"

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QTimer>
#include <utility>

#include "shell/midi_step_entry.h"
#include "shell/playback_menu_commands.h"

namespace notavera {

namespace {

// Runs an action on the event loop once the watched widget's first paint is over.
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(QWidget& widget, std::function<void()> action) : action_(std::move(action)) {
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && action_) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, std::exchange(action_, nullptr));
        }
        return false;
    }

private:
    std::function<void()> action_;
};

}  // namespace

WindowSound::WindowSound(EditorContext& ctx, UiServices& ui, QWidget* owner, std::unique_ptr<MidiServices> services)
    : ctx_(ctx), services_(std::move(services)), ui_(ui, owner), devices_(*services_, ui_, timers_) {
    RegisterPlaybackCommands(commands_, devices_, *this, playback_);
}

int WindowSound::checkDevices() { return devices_.CheckMidiOutput(*this); }

void WindowSound::checkDevicesAfterFirstPaint(QWidget& page) {
    startCheck_ = std::make_unique<AfterFirstPaint>(page, [this] { checkDevices(); });
}

void WindowSound::preview(const ElementRecord& note) {
    // The settings dialogs may have changed them since the last note.
    devices_.preview.echoInstrument = ctx_.shell.settings.keyboardEcho;
    devices_.preview.inputCycles = ctx_.shell.settings.midiInputCycles;
    devices_.PreviewNote(note);
}

void WindowSound::postInputReady() {
    // One queued notice serves every event that arrives before the window empties the ring.
    if (drainQueued_.exchange(true)) return;
    QMetaObject::invokeMethod(&receiver_, [this] { drainInput(); }, Qt::QueuedConnection);
}

void WindowSound::drainInput() {
    // Cleared before draining: an event pushed meanwhile either is drained now or queues a new notice.
    drainQueued_ = false;
    bool any = false;
    // While a dialog holds the window, keys played go nowhere, as typed keys would: entering them behind the
    // dialog, or once it closes, would write notes the player did not see placed.
    const bool held = QApplication::activeModalWidget() != nullptr;
    devices_.DrainMidiInput([this, &any, held](const MidiInputEvent& event) {
        if (held) return;
        HandleMidiInputEvent(ctx_, event);
        any = true;
    });
    if (any && inputHandled) inputHandled();
}

void WindowSound::postPlaybackEnded(unsigned playback) {
    QMetaObject::invokeMethod(
        &receiver_,
        [this, playback] {
            // A late notice of an earlier playback leaves the region a newer one is playing highlighted.
            if (devices_.OnPlaybackEnded(playback)) EndRegionPlayback(ctx_, playback_);
            if (playbackEnded) playbackEnded();
        },
        Qt::QueuedConnection);
}

}  // namespace notavera
