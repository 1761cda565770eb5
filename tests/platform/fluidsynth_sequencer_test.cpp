// Live playback with FluidSynth: the end notice, stop, and the errors of a machine without sound. The
// "file" audio driver stands in for a sound card: it plays in real time into a file.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "platform/audio/fluidsynth_sequencer.h"
#include "support/audio_test_files.h"
#include "support/test_paths.h"

namespace notavera {
namespace {

// The end notice: how often it came and from which thread.
class EndSignal {
public:
    void raise() {
        const std::lock_guard lock(mutex_);
        ++count;
        raisedOn = std::this_thread::get_id();
        cv_.notify_all();
    }
    bool waitFor(std::chrono::seconds limit) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, limit, [this] { return count > 0; });
    }
    int count = 0;  // read once the player is closed
    std::thread::id raisedOn;

private:
    std::mutex mutex_;
    std::condition_variable cv_;
};

class SequencerTest : public testing::Test {
protected:
    SequencerTest() {
        options.audioDrivers = {"file"};
        options.audioFile = dir / "sortie.raw";
        test::WriteBytes(shortFile, test::MelodyMidi({72, 76}, 120));  // a quarter of a second
        test::WriteBytes(longFile, test::MelodyMidi({60, 62, 64, 65, 67, 69, 71, 72}, 960));
    }
    test::TempDir dir;
    SynthOptions options;
    std::filesystem::path shortFile = dir / "court.mid";
    std::filesystem::path longFile = dir / "long.mid";
    EndSignal ended;
};

TEST_F(SequencerTest, ReportsTheEndOfTheFileFromItsOwnThread) {
    FluidSynthSequencer sequencer(options);
    ASSERT_TRUE(sequencer.open(shortFile).ok());
    ASSERT_TRUE(sequencer.play([this] { ended.raise(); }).ok());
    ASSERT_TRUE(ended.waitFor(std::chrono::seconds(20)));
    EXPECT_NE(ended.raisedOn, std::this_thread::get_id());
    sequencer.close();
    EXPECT_EQ(ended.count, 1);
    EXPECT_GT(std::filesystem::file_size(dir / "sortie.raw"), 0u);
}

TEST_F(SequencerTest, StopOpeningAgainAndPlayingWithoutAFile) {
    FluidSynthSequencer sequencer(options);
    EXPECT_FALSE(sequencer.play([this] { ended.raise(); }).ok());  // no open file
    const auto unreadable =
        test::CorpusDir() / "midi/malformed/jazzsoft_test-illegal-message-all.mid";
    EXPECT_EQ(sequencer.open(unreadable).code, audio_error::badMidiFile);  // refused before anything plays
    sequencer.close();  // harmless when nothing plays
    ASSERT_TRUE(sequencer.open(longFile).ok());
    ASSERT_TRUE(sequencer.play([this] { ended.raise(); }).ok());
    sequencer.close();
    EXPECT_FALSE(ended.waitFor(std::chrono::seconds(0)));  // a stopped file reports no end
    ASSERT_TRUE(sequencer.open(longFile).ok());
    ASSERT_TRUE(sequencer.open(shortFile).ok());  // opening again replaces the file
    ASSERT_TRUE(sequencer.play([this] { ended.raise(); }).ok());
    EXPECT_TRUE(ended.waitFor(std::chrono::seconds(20)));
}

TEST_F(SequencerTest, WithoutAWorkingAudioOutputTheErrorNamesWhatWasTried) {
    options.audioDrivers = {"absent-1", "absent-2"};
    FluidSynthSequencer sequencer(options);
    const DeviceStatus status = sequencer.open(shortFile);
    EXPECT_EQ(status.code, audio_error::noAudioOutput);
    EXPECT_EQ(status.text.rfind("Aucune sortie audio ne fonctionne (absent-1, absent-2)", 0), 0u) << status.text;
    EXPECT_FALSE(sequencer.play([this] { ended.raise(); }).ok());
}

}  // namespace
}  // namespace notavera
