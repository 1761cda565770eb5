// The score as a MIDI file: tracks, conductor events, durations, rests, ties, articulations, keys and
// velocities, read back from the written file.
#include "midi/score_to_midi.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "midi/playback_file.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "support/score_builder.h"
#include "support/smf_test_reader.h"
#include "support/mus_file_builder.h"

namespace notavera {
namespace {

using test::HeardNote;
using test::ScoreBuilder;
using test::SmfFile;

constexpr unsigned C = 1, D = 2, E = 3, F = 4, G = 5, B = 7;
constexpr unsigned half = 3, quarter = 4, eighth = 5, whole = 2;
constexpr unsigned ch15 = 14;  // the channel every voice starts on

SmfFile exportScore(ScoreBuilder& b, int lastPage, const std::optional<MidiRegion>& region = std::nullopt) {
    const test::TempDir dir;
    const auto path = dir / "score.mid";
    EXPECT_EQ(WriteScoreMidi(b.ctx().doc, b.ctx().ui, path, lastPage, region), 1);
    auto file = test::ParseSmf(test::ReadBytes(path));
    EXPECT_TRUE(file.has_value());
    return file.value_or(SmfFile{});
}

std::vector<HeardNote> heard(ScoreBuilder& b, int lastPage = 1, int track = 1) {
    const SmfFile f = exportScore(b, lastPage);
    if (static_cast<int>(f.tracks.size()) <= track) return {};
    return test::HeardNotes(f.tracks[static_cast<std::size_t>(track)]);
}

HeardNote at(std::uint32_t on, std::uint32_t off, std::uint8_t key, std::uint8_t velocity = 64,
             unsigned channel = ch15) {
    return HeardNote{on, off, key, velocity, channel};
}

TEST(ScoreToMidi, DottedQuarterLasts384Ticks) {
    ScoreBuilder b;
    b.on(1, 0).note(100, C, quarter, 1);
    b.note(200, D);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 384, 60), at(384, 640, 62)}));
}

TEST(ScoreToMidi, ThreeTripletEighthsMakeAQuarter) {
    ScoreBuilder b;
    b.on(1, 0);
    b.doc().insertion.proportionNum = 3;
    b.doc().insertion.proportionDen = 2;
    b.notes(100, 50, 3, E, eighth);
    b.doc().insertion.proportionNum = b.doc().insertion.proportionDen = 1;
    b.note(300, F);
    const auto notes = heard(b);
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].off - notes[0].on, 85u);
    EXPECT_EQ(notes[1].on, 85u);
    EXPECT_EQ(notes[2].on, 170u);
    EXPECT_EQ(notes[3].on, 256u);
}

TEST(ScoreToMidi, WholeRestAloneInThreeFourLastsTheBar) {
    ScoreBuilder b;
    b.on(1, 0).meter(60, 3, 4);
    b.rest(100, whole);
    b.bar(200);
    b.note(260, G);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(768, 1024, 67)}));
}

TEST(ScoreToMidi, TwoBarsOfWholeRestAreOneSilence) {
    ScoreBuilder b;
    b.on(1, 0).meter(60, 3, 4);
    b.rest(100, whole);
    b.bar(200);
    b.rest(260, whole);
    b.bar(360);
    b.note(420, G);
    const SmfFile f = exportScore(b, 1);
    EXPECT_EQ(test::HeardNotes(f.tracks[1]), (std::vector<HeardNote>{at(1536, 1792, 67)}));
}

TEST(ScoreToMidi, WholeRestSharingItsBarKeepsItsOwnLength) {
    ScoreBuilder b;
    b.on(1, 0).meter(60, 3, 4);
    b.rest(100, whole);
    b.note(200, C);
    b.bar(300);
    b.note(360, D);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(1024, 1280, 60), at(1280, 1536, 62)}));
}

TEST(ScoreToMidi, BarOnAnotherStaffOfTheSystemDividesTheRests) {
    ScoreBuilder b(1, 2, 2);
    b.setChannel(2, 3);
    b.on(1, 0).meter(60, 3, 4);
    b.bar(200);
    b.bar(360);
    b.on(1, 1).meter(60, 3, 4);
    b.rest(100, whole);
    b.rest(260, whole);
    b.note(420, C);
    const SmfFile f = exportScore(b, 1);
    ASSERT_EQ(f.tracks.size(), 3u);
    EXPECT_EQ(test::HeardNotes(f.tracks[2]), (std::vector<HeardNote>{at(1536, 1792, 60, 64, 3)}));
}

TEST(ScoreToMidi, StaccatoQuarterSoundsHalfAndRestsHalf) {
    ScoreBuilder b;
    b.on(1, 0).note(100, C).noteWord().setStaccato(true);
    b.note(200, D);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 128, 60), at(256, 512, 62)}));
}

TEST(ScoreToMidi, TrailingStaccatoGapCarriesIntoTheNextStaff) {
    ScoreBuilder b(1, 2);
    b.on(1, 0).note(100, C).noteWord().setStaccato(true);
    b.on(1, 1).note(100, D);
    b.setVoice(1, 1, 1);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 128, 60), at(256, 512, 62)}));
}

void tie(ElementRecord& e, bool starts, bool ends) {
    e.w0().setTiedToNext(true);
    e.w0().setTieStarts(starts);
    e.w0().setTieEnds(ends);
}

TEST(ScoreToMidi, TiedNotesOfOneKeySoundOnce) {
    ScoreBuilder b;
    b.on(1, 0);
    tie(b.note(100, C), true, false);
    tie(b.note(200, C), false, true);
    b.note(300, D);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 512, 60), at(512, 768, 62)}));
}

TEST(ScoreToMidi, TieToAnotherKeyLeavesTwoNotesTheSecondShortened) {
    ScoreBuilder b;
    b.on(1, 0);
    tie(b.note(100, C), true, false);
    tie(b.note(200, D), false, true);
    b.note(300, E);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 256, 60), at(256, 384, 62), at(512, 768, 64)}));
}

TEST(ScoreToMidi, ChainOfThreeTiedNotesSoundsOnce) {
    ScoreBuilder b;
    b.on(1, 0);
    tie(b.note(100, C), true, false);
    tie(b.note(200, C), true, true);
    tie(b.note(300, C), false, true);
    b.note(400, D);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 768, 60), at(768, 1024, 62)}));
}

TEST(ScoreToMidi, EveryNoteOfATiedChordFindsItsStart) {
    ScoreBuilder b;
    b.on(1, 0);
    tie(b.note(100, C), true, false);
    tie(b.note(100, E), true, false);
    tie(b.note(200, C), false, true);
    tie(b.note(200, E), false, true);
    b.note(300, G);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 512, 60), at(0, 512, 64), at(512, 768, 67)}));
}

TEST(ScoreToMidi, SmallNoteGroupHoldsRepeatedKeys) {
    constexpr unsigned small = 18, closes = 19;
    ScoreBuilder b;
    b.on(1, 0);
    ElementRecord& first = b.note(100, C, eighth);
    first.noteWord().setBit(small, true);
    first.w0().setTieStarts(true);
    b.note(150, E, eighth).noteWord().setBit(small, true);
    ElementRecord& last = b.note(200, C, eighth);
    last.noteWord().setBit(small, true);
    last.noteWord().setBit(closes, true);
    last.w0().setTieEnds(true);
    b.note(300, G);
    // The second C is held on as the first; the group keeps its length of three eighths.
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 256, 60), at(256, 384, 64), at(384, 640, 67)}));
}

TEST(ScoreToMidi, VoiceTranspositionRaisesEveryNote) {
    ScoreBuilder b;
    b.doc().header.setVoiceTransposition(1, 12);
    b.on(1, 0).note(100, C);
    b.note(200, B);
    const auto notes = heard(b);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].key, 72);
    EXPECT_EQ(notes[1].key, 83);
}

TEST(ScoreToMidi, ChannelVolumeIsTheVelocityOfOnAndOff) {
    ScoreBuilder b;
    b.doc().header.midi().volume(ch15) = 100;
    b.on(1, 0).note(100, C);
    const SmfFile f = exportScore(b, 1);
    int notes = 0;
    for (const auto& e : f.tracks[1]) {
        if (!e.isNoteOn() && !e.isNoteOff()) continue;
        ++notes;
        EXPECT_EQ(e.data[1], 100);
    }
    EXPECT_EQ(notes, 2);
}

TEST(ScoreToMidi, VolumeAbove127IsWrittenAs127) {
    ScoreBuilder b;
    b.doc().header.midi().volume(ch15) = 128;
    b.on(1, 0).note(100, C);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 256, 60, 127)}));
}

TEST(ScoreToMidi, StavesOnDifferentChannelsGetATrackEach) {
    ScoreBuilder b(1, 2, 2);
    b.setChannel(2, 3);
    b.on(1, 0).note(100, C);
    b.on(1, 1).note(100, E, half);
    const SmfFile f = exportScore(b, 1);
    ASSERT_EQ(f.trackCount, 3);
    EXPECT_EQ(test::HeardNotes(f.tracks[1]), (std::vector<HeardNote>{at(0, 256, 60)}));
    EXPECT_EQ(test::HeardNotes(f.tracks[2]), (std::vector<HeardNote>{at(0, 512, 64, 64, 3)}));
}

TEST(ScoreToMidi, StavesOnOneChannelShareOneTrackPerSystem) {
    ScoreBuilder b(1, 4, 2);
    b.on(1, 0).note(100, C);
    b.note(200, D);
    b.on(1, 1).note(100, E, half);
    b.on(1, 2).note(100, F);
    b.on(1, 3).note(100, G);
    const SmfFile f = exportScore(b, 1);
    ASSERT_EQ(f.trackCount, 2);
    EXPECT_EQ(test::HeardNotes(f.tracks[1]),
              (std::vector<HeardNote>{at(0, 256, 60), at(0, 512, 64), at(256, 512, 62), at(512, 768, 65),
                                      at(512, 768, 67)}));
}

TEST(ScoreToMidi, ConductorTrackHasTempoMeterAndKey) {
    ScoreBuilder b;
    b.doc().header.midi().setTempo(400000);
    b.on(1, 0).meter(60, 6, 8);
    b.note(100, C);
    b.doc().staff()->key().setKeyKind(KeyKind::Flats);
    b.doc().staff()->key().setKeyCount(3);
    const SmfFile f = exportScore(b, 1);
    ASSERT_EQ(f.tracks[0].size(), 4u);
    EXPECT_EQ(f.tracks[0][0].data, (std::vector<std::uint8_t>{0x06, 0x1A, 0x80}));
    EXPECT_EQ(f.tracks[0][1].data, (std::vector<std::uint8_t>{6, 3, 36, 8}));
    EXPECT_EQ(f.tracks[0][2].data, (std::vector<std::uint8_t>{0xFD, 0}));
}

TEST(ScoreToMidi, VoiceTrackStartsWithTheNameAndTheProgram) {
    ScoreBuilder b;
    b.doc().header.setTitle("Sonate");
    b.doc().header.midi().program(ch15) = 40;
    b.on(1, 0).note(100, C);
    const SmfFile f = exportScore(b, 1);
    const auto& t = f.tracks[1];
    ASSERT_GE(t.size(), 2u);
    EXPECT_EQ(t[0].metaType, 0x01);
    ASSERT_EQ(t[0].data.size(), 512u);
    EXPECT_EQ(std::string(t[0].data.begin(), t[0].data.begin() + 6), "Sonate");
    EXPECT_EQ(t[0].data[6], 0);
    EXPECT_EQ(t[1].status, 0xC0 | ch15);
    EXPECT_EQ(t[1].data, (std::vector<std::uint8_t>{40}));
}

TEST(ScoreToMidi, NotesWithinTheHorizontalToleranceSoundTogether) {
    ScoreBuilder b;
    b.doc().header.midi().verticalTolerance() = 0;
    b.on(1, 0).note(100, C);
    b.note(115, E);
    b.note(200, G);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 256, 60), at(0, 256, 64), at(256, 512, 67)}));
    b.doc().header.midi().horizontalTolerance() = 10;
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 256, 60), at(256, 512, 64), at(512, 768, 67)}));
}

TEST(ScoreToMidi, LongerNoteOfASliceLetsTheNextEntryComeAtTheShorterOnesEnd) {
    ScoreBuilder b;
    b.on(1, 0).note(100, C, half);
    b.note(100, E);
    b.note(200, F);
    b.note(300, G);
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 512, 60), at(0, 256, 64), at(256, 512, 65), at(512, 768, 67)}));
}

TEST(ScoreToMidi, OrnamentPlayedAsAppoggiaturaTakesAQuarterOfItsValueFromTheNote) {
    ScoreBuilder b;
    b.doc().header.midi().ornamentsAsAppoggiaturas() = 1;
    b.on(1, 0).note(100, D, eighth).w0().setCueSize(true);
    b.note(200, C);
    b.note(300, E);
    // 128 ÷ 4 = 32 ticks, less a tenth (3) of articulation; the quarter keeps 256 − 32.
    EXPECT_EQ(heard(b), (std::vector<HeardNote>{at(0, 29, 62), at(32, 256, 60), at(256, 512, 64)}));
}

TEST(ScoreToMidi, MetersAsProportionsScaleTheNotes) {
    ScoreBuilder b;
    b.doc().header.midi().metersAsProportions() = 1;
    b.on(1, 0).meter(60, 3, 4);
    b.notes(100, 50, 3, C);
    const auto notes = heard(b);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].off, 341u);   // 256 × 4 ÷ 3, the fraction carried
    EXPECT_EQ(notes[2].off, 1024u);  // three beats of 3/4 fill a whole
}

TEST(ScoreToMidi, PagesFollowOneAnotherWithTheirTrailingRests) {
    ScoreBuilder b(2, 1);
    b.on(1, 0).note(100, C);
    b.rest(200, quarter);
    b.on(2, 0).note(100, D);
    b.setCurrent(1, 0);
    EXPECT_EQ(heard(b, 2), (std::vector<HeardNote>{at(0, 256, 60), at(512, 768, 62)}));
    b.setCurrent(1, 0);
    EXPECT_EQ(heard(b, 1), (std::vector<HeardNote>{at(0, 256, 60)}));
}

TEST(ScoreToMidi, NegativeLastPagePlaysTheCurrentVoiceFromTheCurrentStaff) {
    ScoreBuilder b(1, 4, 2);
    b.setChannel(2, 3);
    b.on(1, 0).note(100, C);
    b.on(1, 1).note(100, D);
    b.on(1, 2).note(100, E);
    b.on(1, 3).note(100, F);
    b.setCurrent(1, 3);
    const SmfFile f = exportScore(b, -1);
    ASSERT_EQ(f.trackCount, 2);
    EXPECT_EQ(test::HeardNotes(f.tracks[1]), (std::vector<HeardNote>{at(0, 256, 65, 64, 3)}));
    b.setCurrent(1, 1);
    EXPECT_EQ(test::HeardNotes(exportScore(b, -1).tracks[1]),
              (std::vector<HeardNote>{at(0, 256, 62, 64, 3), at(256, 512, 65, 64, 3)}));
}

TEST(ScoreToMidi, RegionPlaysItsStavesBetweenItsEdges) {
    ScoreBuilder b(1, 3, 3);
    b.on(1, 0).notes(100, 100, 4, C);
    b.on(1, 1).notes(100, 100, 4, E);
    b.on(1, 2).notes(100, 100, 4, G);
    const SmfFile f = exportScore(b, 1, MidiRegion{1, 2, 200, 300});
    ASSERT_EQ(f.trackCount, 3);
    EXPECT_EQ(test::HeardNotes(f.tracks[1]), (std::vector<HeardNote>{at(0, 256, 64), at(256, 512, 64)}));
    EXPECT_EQ(test::HeardNotes(f.tracks[2]), (std::vector<HeardNote>{at(0, 256, 67), at(256, 512, 67)}));
}

TEST(ScoreToMidi, LastPageBeforeTheCurrentPageBeepsAndWritesNoNotes) {
    ScoreBuilder b(2, 1);
    b.on(2, 0).note(100, C);
    const SmfFile f = exportScore(b, 1);
    EXPECT_EQ(b.ui().beeps(), 1);
    ASSERT_EQ(f.tracks.size(), 2u);
    EXPECT_EQ(f.tracks[1].size(), 3u);  // name, program, end of track
}

TEST(ScoreToMidi, CurrentPositionIsRestoredAfterWriting) {
    ScoreBuilder b(2, 2);
    b.on(2, 1).note(100, C);
    b.note(200, D);
    b.setCurrent(1, 1, -1);
    b.doc().modified = false;
    exportScore(b, 2);
    EXPECT_EQ(b.doc().currentPage, 1);
    EXPECT_EQ(b.doc().currentStaff, 1);
    EXPECT_EQ(b.doc().currentElement, -1);
    EXPECT_FALSE(b.doc().modified);
}

TEST(ScoreToMidi, FileThatCannotBeCreatedFails) {
    ScoreBuilder b;
    b.on(1, 0).note(100, C);
    const test::TempDir dir;
    const auto path = dir / "missing" / "score.mid";
    EXPECT_EQ(WriteScoreMidi(b.ctx().doc, b.ctx().ui, path, 1), 0);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ScoreToMidi, KeysOutsideTheMidiRangeMoveByOctaves) {
    ScoreBuilder b;
    b.doc().header.setVoiceTransposition(1, 48);
    b.on(1, 0).note(100, B, quarter, 0, 7).w1().setOctaveShift(2);
    b.note(200, C, quarter, 0, 0).w1().setOctaveShift(4);
    const auto notes = heard(b);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].key, 119);  // B in octave 7 + 2 + 4 octaves, brought down to the highest B
    EXPECT_EQ(notes[1].key, 36);   // C two octaves below octave 0, then up four
}

TEST(ScoreToMidi, DamagedSettingsStillGiveAWellFormedFile) {
    ScoreBuilder b;
    b.doc().header.midi().setTempo(0);
    b.doc().header.midi().channelOfVoice(1) = 200;  // only 16 channels exist
    b.doc().header.midi().program(200 & 0x0F) = 200;
    b.on(1, 0).note(100, C);
    const SmfFile f = exportScore(b, 1);
    EXPECT_EQ(f.tracks[0][0].data, (std::vector<std::uint8_t>{0x07, 0xA1, 0x20}));  // the usual 500000
    EXPECT_EQ(f.tracks[1][1].status, 0xC8);
    EXPECT_EQ(f.tracks[1][1].data, (std::vector<std::uint8_t>{200 & 0x7F}));
    EXPECT_EQ(test::HeardNotes(f.tracks[1]), (std::vector<HeardNote>{at(0, 256, 60, 64, 8)}));
}

TEST(ScoreToMidi, DocumentWithoutPagesWritesNothing) {
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    const test::TempDir dir;
    EXPECT_EQ(WriteScoreMidi(ctx.doc, ctx.ui, dir / "x.mid", 1), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.mid"));
}

TEST(ScoreToMidi, SavedDocumentIsWalkedThroughThePageWindowAndComesBack) {
    const test::TempDir dir;
    {
        ScoreBuilder b(12, 2);
        for (int p = 1; p <= 12; ++p) b.on(p, 1).note(100, C + (p - 1) % 7);
        ASSERT_TRUE(b.saveAs(dir / "doc.mus"));
    }
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    ASSERT_EQ(ReadDocument(ctx.doc, ctx.ui, dir / "doc.mus"), FileOk);
    ASSERT_EQ(MoveWindowTo(ctx.doc, ctx.ui, 1), FileOk);
    ctx.doc.currentStaff = 1;
    ctx.doc.currentElement = 0;
    const int windowLast = ctx.doc.storage.windowLast;
    ASSERT_LT(windowLast, 12);  // the later pages are loaded on the way
    EXPECT_EQ(WriteScoreMidi(ctx.doc, ctx.ui, dir / "doc.mid", 12), 1);
    EXPECT_EQ(ctx.doc.currentPage, 1);
    EXPECT_EQ(ctx.doc.currentStaff, 1);
    EXPECT_EQ(ctx.doc.currentElement, 0);
    EXPECT_NE(ctx.doc.findPage(1), nullptr);
    const auto f = test::ParseSmf(test::ReadBytes(dir / "doc.mid"));
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(test::HeardNotes(f->tracks[1]).size(), 12u);
    DeleteWorkFiles(ctx.doc);
}

TEST(PlaybackFile, LivesInAPrivateDirectoryOfTheProcess) {
    const auto path = PlaybackFilePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.filename(), "nv$$$.mid");
    EXPECT_EQ(PlaybackFilePath(), path);
    struct stat st {};
    ASSERT_EQ(stat(path.parent_path().c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, geteuid());
    ScoreBuilder b;
    b.on(1, 0).note(100, C);
    EXPECT_EQ(WriteScoreMidi(b.ctx().doc, b.ctx().ui, path, 1), 1);
}

}  // namespace
}  // namespace notavera
