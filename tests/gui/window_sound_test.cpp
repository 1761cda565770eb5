// The editor window with sound: the "Son" items come alive with the MIDI services, the devices are checked after
// the first paint without ever holding the window, playing writes the score privately and the end notice from
// the sequencer's thread closes it on the window's thread, driver input is drained there, and notes entered are
// heard with the keyboard echo.
#include "platform/qt/window_sound.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "shell/playback_commands.h"
#include "shell/playback_menu_commands.h"
#include "platform/audio/audio_midi_services.h"
#include "platform/qt/main_window.h"
#include "platform/qt/menu_bar.h"
#include "platform/qt/score_view.h"
#include "shell/dispatch.h"
#include "support/fake_midi_services.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

namespace fs = std::filesystem;

constexpr int soundItems[] = {cmd::Play, cmd::PlayCurrentVoice, cmd::PlayMidiFile, cmd::StopMidi};

std::size_t CountScoreElements(const ScoreDocument& doc) {
    std::size_t n = 0;
    for (const PageRecord& page : doc.pages)
        for (const StaffRecord& staff : page.staves) n += staff.elements.size();
    return n;
}

// The device boxes standing open beside the windows.
std::vector<QMessageBox*> OpenBoxes() {
    std::vector<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) boxes.push_back(box);
    return boxes;
}

// Lets the event loop run until `done` holds or two seconds have passed.
template <typename Condition>
bool ProcessEventsUntil(Condition done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

struct WindowSoundTest : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("notavera_sound_" + std::to_string(getpid()));
    fs::path demo = dir / "demo.mus";
    std::unique_ptr<MainWindow> window;
    test::FakeMidiServices* services = nullptr;  // owned by the window once attached

    void SetUp() override {
        fs::create_directories(dir);
        const std::string import = test::CliProgram().string() + " import-gmn '" + test::SourceDir().string() +
                                   "/demo/demo.gmn' '" + demo.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(import.c_str()), 0);
        window = std::make_unique<MainWindow>(demo.string());
    }
    void TearDown() override {
        for (QMessageBox* box : OpenBoxes()) box->close();
        window.reset();
        fs::remove_all(dir);
    }
    void attachFake() {
        auto fake = std::make_unique<test::FakeMidiServices>();
        services = fake.get();
        window->attachSound(std::move(fake));
    }
    void paint() {
        window->show();
        window->view().grab();
        QApplication::processEvents();
    }
    bool soundEnabled() {
        return std::all_of(std::begin(soundItems), std::end(soundItems),
                           [&](int command) { return window->menus().commandAction(command)->isEnabled(); });
    }
};

TEST_F(WindowSoundTest, TheSoundItemsComeAliveWithTheServicesWhoseDevicesAreCheckedOnceAfterTheFirstPaint) {
    window->menus().prepare();
    for (const int command : soundItems) EXPECT_FALSE(window->menus().commandAction(command)->isEnabled()) << command;
    attachFake();  // every item comes alive
    EXPECT_TRUE(soundEnabled());
    services->inputs = 2;
    EXPECT_TRUE(services->openedOutputs.empty());
    paint();
    EXPECT_EQ(services->openedOutputs, std::vector<int>{0});
    EXPECT_TRUE(window->sound()->devices().inputsOpen());
    paint();
    EXPECT_EQ(services->openedOutputs.size(), 1u);
}

TEST_F(WindowSoundTest, WithoutAudioOutputTheWindowStartsAndReportsOnceInABoxBesideIt) {
    SynthOptions noOutput;
    noOutput.audioDrivers.clear();  // as on a machine where no sound server or card answers
    window->attachSound(std::make_unique<AudioMidiServices>(noOutput));
    paint();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_EQ(OpenBoxes().size(), 1u);
    EXPECT_EQ(OpenBoxes()[0]->windowTitle(), "Message");
    EXPECT_TRUE(OpenBoxes()[0]->text().startsWith("Initialisation midi, erreur no 3,\n"));
    DispatchCommand(window->context(), cmd::ZoomLarge);  // the editor goes on working
    EXPECT_EQ(window->context().shell.view.zoom, (ZoomFraction{2, 1}));
    window->sound()->checkDevices();
    EXPECT_EQ(OpenBoxes().size(), 1u);
}

TEST_F(WindowSoundTest, PlayingWritesTheScorePrivatelyAndTheEndNoticeClosesTheSequencer) {
    attachFake();
    paint();
    window->menus().commandAction(cmd::Play)->trigger();
    test::FakeSequencer& sequencer = services->fakeSequencer;
    ASSERT_EQ(sequencer.opened.size(), 1u);
    const fs::path file = sequencer.opened[0];  // a MIDI file in a folder of the user's alone
    EXPECT_EQ(file.filename(), "nv$$$.mid");
    EXPECT_NE(fs::absolute(file.parent_path()), fs::current_path());
    EXPECT_EQ(fs::status(file.parent_path()).permissions() & (fs::perms::group_all | fs::perms::others_all),
              fs::perms::none);
    std::string head(4, '\0');
    std::ifstream(file, std::ios::binary).read(head.data(), 4);
    EXPECT_EQ(head, "MThd");
    EXPECT_TRUE(sequencer.isOpen);
    const int closesBefore = sequencer.closes;
    std::thread([&] { sequencer.finish(); }).join();  // the sequencer's own thread reports the end
    EXPECT_TRUE(sequencer.isOpen);                    // nothing happens off the window's thread
    ASSERT_TRUE(ProcessEventsUntil([&] { return !sequencer.isOpen; }));
    EXPECT_EQ(sequencer.closes, closesBefore + 1);
    EXPECT_TRUE(soundEnabled());
    EXPECT_TRUE(OpenBoxes().empty());
}

TEST_F(WindowSoundTest, DriverInputIsDrainedOnTheWindowThread) {
    attachFake();
    services->inputs = 1;
    paint();
    ASSERT_TRUE(window->sound()->devices().inputsOpen());
    std::thread([&] {
        for (std::uint32_t i = 0; i < 100; ++i) services->ports[0]->deliver(i, PackShortMessage(0x90, 60, 64));
    }).join();
    const MidiInputRing& ring = *window->sound()->devices().inputQueue();
    EXPECT_EQ(ring.count(), 100u);
    ASSERT_TRUE(ProcessEventsUntil([&] { return ring.count() == 0; }));
    EXPECT_FALSE(ring.overflowed());
}

TEST_F(WindowSoundTest, KeysPlayedWhileADialogIsOpenEnterNothing) {
    attachFake();
    services->inputs = 1;
    paint();
    ASSERT_TRUE(window->sound()->devices().inputsOpen());
    const auto notes = [&] { return CountScoreElements(window->context().doc); };
    const std::size_t before = notes();
    QDialog dialog(window.get());
    dialog.open();
    ASSERT_TRUE(ProcessEventsUntil([] { return QApplication::activeModalWidget() != nullptr; }));
    services->ports[0]->deliver(0, PackShortMessage(0x90, 60, 64));
    const MidiInputRing& ring = *window->sound()->devices().inputQueue();
    ASSERT_TRUE(ProcessEventsUntil([&] { return ring.count() == 0; }));
    EXPECT_EQ(notes(), before);
}

TEST_F(WindowSoundTest, ANoteEnteredIsHeardAndReleasedByATimer) {
    attachFake();
    paint();
    window->context().shell.settings.midiInputCycles = 1;  // a 10 ms hold
    DispatchKey(window->context(), Key::F5, {});
    const auto notes = [&](std::uint32_t command) {
        int count = 0;
        for (const ShortMessage m : services->log.messages()) count += (m & 0xF0) == command;
        return count;
    };
    EXPECT_EQ(notes(0xC0), 1);  // the echo instrument
    EXPECT_EQ(notes(0x90), 1);
    EXPECT_TRUE(ProcessEventsUntil([&] { return notes(0x80) == 1; }));
    window->context().shell.settings.keyboardEcho = -1;
    DispatchKey(window->context(), Key::F6, {});
    EXPECT_EQ(notes(0x90), 1);
}

}  // namespace
}  // namespace notavera
