// The score as a MIDI file: tracks, conductor events, durations, rests, ties, articulations, keys and
// velocities, read back from the written file.
#include "midi/score_to_midi.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "midi/event_timing.h"
#include "midi/playback_file.h"
#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/work_files.h"
#include "shell/editor_context.h"
#include "support/guido_document.h"
#include "support/midi_csv.h"
#include "support/score_builder.h"
#include "support/test_files.h"

namespace notavera {
namespace {

using test::HeardNote;
using test::ScoreBuilder;
using test::MidiCsv;
using Heard = std::vector<HeardNote>;

constexpr unsigned C = 1, D = 2, E = 3, F = 4, G = 5;
constexpr unsigned half = 3, quarter = 4;
constexpr unsigned ch15 = 14;  // the channel every voice starts on

// The written file as midicsv reads it, which must be without complaint.
MidiCsv exportScore(EditorContext& ctx, int lastPage, const std::optional<MidiRegion>& region = std::nullopt) {
    const test::TempDir dir;
    EXPECT_EQ(WriteScoreMidi(ctx.doc, ctx.ui, dir / "score.mid", lastPage, region), 1);
    MidiCsv file = test::ReadMidiCsv(dir / "score.mid");
    EXPECT_EQ(file.errors, "");
    return file;
}

Heard heard(EditorContext& ctx, int lastPage = 1, int track = 1) {
    const MidiCsv f = exportScore(ctx, lastPage);
    return static_cast<int>(f.tracks.size()) <= track ? Heard{} : test::HeardNotes(f.tracks[std::size_t(track)]);
}

HeardNote at(std::uint32_t on, std::uint32_t off, std::uint8_t key, std::uint8_t velocity = 64,
             unsigned channel = ch15) {
    return HeardNote{on, off, key, velocity, channel};
}

ElementRecord& element(ScoreDocument& doc, int i) { return doc.findPage(1)->staves[0].elements[std::size_t(i)]; }

// A piece of one staff in GUIDO, with the settings or marks GUIDO does not write, and what is heard.
struct Played {
    const char* name;
    const char* gmn;
    std::function<void(ScoreDocument&)> setUp;
    Heard notes;
};

const Played played[] = {
    {"DottedQuarter", "[c/4. d/4]", {}, {at(0, 384, 60), at(384, 640, 62)}},
    {"TripletEighthsMakeAQuarter", "[e*1/12 e e f/4]", {},
     {at(0, 85, 64), at(85, 170, 64), at(170, 256, 64), at(256, 512, 65)}},
    {"WholeRestAloneLastsTheBar", "[\\meter<\"3/4\"> _/1 | g/4]", {}, {at(768, 1024, 67)}},
    {"WholeRestSharingItsBarKeepsItsLength", "[\\meter<\"3/4\"> _/1 c/4 | d]", {},
     {at(1024, 1280, 60), at(1280, 1536, 62)}},
    {"StaccatoSoundsHalfAndRestsHalf", "[\\stacc(c) d]", {}, {at(0, 128, 60), at(256, 512, 62)}},
    {"TiedNotesOfOneKeySoundOnce", "[\\tie(c c c) d]", {}, {at(0, 768, 60), at(768, 1024, 62)}},
    // The long note of the chord is a half tied to an eighth, past the hidden rest that holds the music after it.
    {"ChordNoteTiedAcrossItsHiddenRestSoundsOnce", "[{c/8, e*5/8} d/4]", {},
     {at(0, 128, 60), at(0, 640, 64), at(640, 896, 62)}},
    {"TieToAnotherKeyStrikesBoth", "[\\tie(c d) e]", {}, {at(0, 256, 60), at(256, 512, 62), at(512, 768, 64)}},
    // A thirty-second moves x by no more than the tolerance between staves.
    {"CloseNotesOfAStaffFollowOneAnother", "[c1/32 d e f g/4]", {},
     {at(0, 32, 60), at(32, 64, 62), at(64, 96, 64), at(96, 128, 65), at(128, 384, 67)}},
    {"SlurBackToItsFirstPitchStrikesItAgain", "[\\slur(d1/8 h0 a d1) e/4]", {},
     {at(0, 128, 62), at(128, 256, 59), at(256, 384, 57), at(384, 512, 62), at(512, 768, 64)}},
    {"VoiceTransposition", "[c b]", [](ScoreDocument& d) { d.header.setVoiceTransposition(1, 12); },
     {at(0, 256, 72), at(256, 512, 83)}},
    {"VolumeAbove127IsWrittenAs127", "[c]", [](ScoreDocument& d) { d.header.midi().volume(ch15) = 128; },
     {at(0, 256, 60, 127)}},
    // A grace note is an appoggiatura: 128 ÷ 4 = 32 ticks, less a tenth (3) of articulation; the quarter keeps
    // 256 − 32.
    {"GraceNoteAsAppoggiatura", "[\\grace(d/8) c/4 e]", {}, {at(0, 29, 62), at(32, 256, 60), at(256, 512, 64)}},
    {"UnisonOfAChordSoundsOnceForItsLongerNote", "[{c, c/2} d/4]", {}, {at(0, 512, 60), at(512, 768, 62)}},
    {"TieEndsInsideAChordCloseAfterIt", "[{\\tieBegin:1 c, \\tieBegin:2 g} {c \\tieEnd:1, g \\tieEnd:2} e]", {},
     {at(0, 512, 60), at(0, 512, 67), at(512, 768, 64)}},
    // 256 × 4 ÷ 3, the fraction carried: three beats of 3/4 fill a whole.
    {"MetersAsProportionsScaleTheNotes", "[\\meter<\"3/4\"> c c c]",
     [](ScoreDocument& d) { d.header.midi().metersAsProportions() = 1; },
     {at(0, 341, 60), at(341, 682, 60), at(682, 1024, 60)}},
    // B in octave 7 + 2 + 4 octaves comes down to the highest B; C two octaves below octave 0 goes up four.
    {"KeysOutsideTheMidiRangeMoveByOctaves", "[b4 c-3]",
     [](ScoreDocument& d) {
         d.header.setVoiceTransposition(1, 48);
         element(d, 0).w1().setOctaveShift(2);
         element(d, 1).w1().setOctaveShift(4);
     },
     {at(0, 256, 119), at(256, 512, 36)}},
};

class PlayedPiece : public ::testing::TestWithParam<Played> {};

TEST_P(PlayedPiece, SoundsAsWritten) {
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    ctx.doc = DocumentFromGuido(GetParam().gmn);
    if (GetParam().setUp) GetParam().setUp(ctx.doc);
    EXPECT_EQ(heard(ctx), GetParam().notes);
}

INSTANTIATE_TEST_SUITE_P(Pieces, PlayedPiece, ::testing::ValuesIn(played),
                         [](const auto& info) { return std::string(info.param.name); });

void tie(ElementRecord& e, bool starts, bool ends) {
    e.w0().setTiedToNext(true);
    e.w0().setTieStarts(starts);
    e.w0().setTieEnds(ends);
}

TEST(ScoreToMidi, ChordsSlicesAndTheToleranceBetweenStaves) {
    ScoreBuilder b(1, 2, 2);  // one system of two staves, one track
    b.on(1, 0).note(100, C);
    b.note(105, E);
    b.note(200, G);
    b.on(1, 1).note(103, D);
    EXPECT_EQ(heard(b.ctx()), (Heard{at(0, 256, 60), at(0, 256, 62), at(256, 512, 64), at(512, 768, 67)}));
    b.doc().header.midi().horizontalTolerance() = 2;
    EXPECT_EQ(heard(b.ctx()), (Heard{at(0, 256, 60), at(256, 512, 62), at(256, 512, 64), at(512, 768, 67)}));

    // A note of another staff goes with the group of the slice's staff that stands where it stands; notes of
    // two other staves both join the slice.
    ScoreBuilder near(1, 3, 3);
    near.on(1, 0).note(110, G);
    near.on(1, 1).note(100, C, 6);
    near.note(110, E);
    EXPECT_EQ(heard(near.ctx()), (Heard{at(0, 64, 60), at(64, 320, 67), at(64, 320, 64)}));
    near.on(1, 2).note(110, F);
    near.doc().findPage(1)->staves[1].elements[1].x = 120;
    EXPECT_EQ(heard(near.ctx()), (Heard{at(0, 64, 60), at(0, 256, 67), at(0, 256, 65), at(64, 320, 64)}));

    // The longer note of a slice lets the next entry come at the shorter one's end.
    ScoreBuilder slice;
    slice.on(1, 0).note(100, C, half);
    slice.note(100, E);
    slice.note(200, F);
    slice.note(300, G);
    EXPECT_EQ(heard(slice.ctx()), (Heard{at(0, 512, 60), at(0, 256, 64), at(256, 512, 65), at(512, 768, 67)}));

    // A staff that has ended does not call in the next note of another staff before that staff's own note ends.
    ScoreBuilder ended(1, 2, 2);
    ended.on(1, 0).note(100, C);
    ended.on(1, 1).note(100, D, half);
    ended.note(300, E);
    EXPECT_EQ(heard(ended.ctx()), (Heard{at(0, 256, 60), at(0, 512, 62), at(512, 768, 64)}));

    // Every note of a tied chord finds its start.
    ScoreBuilder tied;
    tied.on(1, 0);
    tie(tied.note(100, C), true, false);
    tie(tied.note(100, E), true, false);
    tie(tied.note(200, C), false, true);
    tie(tied.note(200, E), false, true);
    tied.note(300, G);
    EXPECT_EQ(heard(tied.ctx()), (Heard{at(0, 512, 60), at(0, 512, 64), at(512, 768, 67)}));
}

TEST(ScoreToMidi, ChordTiesHoldTheKeysTheChordsShare) {
    constexpr unsigned member = 18, stem = 19;
    ScoreBuilder b;
    b.on(1, 0);
    for (auto [x, name] : {std::pair{100, C}, {100, E}, {200, C}, {200, G}, {300, C}, {400, E}, {500, C}})
        b.note(x, name);
    for (int i : {0, 1, 2, 3}) {
        element(b.doc(), i).noteWord().setBit(member, true);
        element(b.doc(), i).noteWord().setBit(stem, i % 2 == 1);
    }
    // Laid out, a chord keeps a tie start on its first note and a tie end on its last one.
    tie(element(b.doc(), 0), true, false);
    tie(element(b.doc(), 3), false, true);
    // A slur from C to C over another note.
    tie(element(b.doc(), 4), true, false);
    tie(element(b.doc(), 6), false, true);
    EXPECT_EQ(heard(b.ctx()), (Heard{at(0, 512, 60), at(0, 256, 64), at(256, 512, 67), at(512, 768, 60),
                                     at(768, 1024, 64), at(1024, 1280, 60)}));
}

TEST(ScoreToMidi, TiesAcrossALineBreakSoundOnce) {
    ScoreBuilder b(1, 2, 1);  // two lines of the one voice
    b.on(1, 0).note(100, D);
    tie(b.note(200, C), true, false);
    b.on(1, 1);
    tie(b.note(100, C), false, true);
    b.note(200, E);
    EXPECT_EQ(heard(b.ctx()), (Heard{at(0, 256, 62), at(256, 768, 60), at(768, 1024, 64)}));
    // A line that does not go on with the tied key ends it at the break.
    b.doc().findPage(1)->staves[1].elements[0].noteWord().setStep(D);
    EXPECT_EQ(heard(b.ctx()), (Heard{at(0, 256, 62), at(256, 512, 60), at(512, 768, 62), at(768, 1024, 64)}));

    // A line between them with nothing to play leaves the tie sounding.
    ScoreBuilder gap(1, 3, 1);
    tie(gap.on(1, 0).note(100, C), true, false);
    gap.on(1, 1).bar(100);
    tie(gap.on(1, 2).note(100, C), false, true);
    gap.note(200, E);
    EXPECT_EQ(heard(gap.ctx()), (Heard{at(0, 512, 60), at(512, 768, 64)}));

    // A rest opening the next line parts the tie; a hidden one only holds a place, and the tie goes on past it.
    for (const bool hidden : {false, true}) {
        ScoreBuilder rest(1, 2, 1);
        tie(rest.on(1, 0).note(100, C), true, false);
        rest.on(1, 1).rest(100).w0().setHidden(hidden);
        tie(rest.note(200, C), false, true);
        EXPECT_EQ(heard(rest.ctx()), hidden ? (Heard{at(0, 768, 60)}) : (Heard{at(0, 256, 60), at(512, 768, 60)}))
            << hidden;
    }
}

TEST(ScoreToMidi, TupletsRunningOverLineBreaksKeepTheirFractionsOfATick) {
    ScoreBuilder b(1, 3, 1);
    for (int line = 0; line < 3; ++line) {
        ElementRecord& triplet = b.on(1, line).note(100, E, 5);
        triplet.w1().setNumerator(3);
        triplet.w1().setDenominator(2);
    }
    b.note(200, F);
    EXPECT_EQ(heard(b.ctx()), (Heard{at(0, 85, 64), at(85, 170, 64), at(170, 256, 64), at(256, 512, 65)}));
}

void proportion(ElementRecord& e, unsigned notes, unsigned inTimeOf) {
    e.w1().setNumerator(notes);
    e.w1().setDenominator(inTimeOf);
}

TEST(ScoreToMidi, StavesOfUnlikeTupletsMeetOnTheirExactTick) {
    // 74⅔ and 21⅓ ticks reach 96 on the very tick the dotted sixteenth of the other staff does: both staves go on
    // together from there.
    ScoreBuilder b(1, 2, 2);
    proportion(b.on(1, 0).note(100, C, 5), 12, 7);
    proportion(b.note(150, D, 7), 3, 2);
    b.note(200, E);
    b.on(1, 1).note(100, G, 6, 1);
    b.note(200, F);
    EXPECT_EQ(heard(b.ctx()), (Heard{at(0, 74, 60), at(0, 96, 67), at(74, 96, 62), at(96, 352, 64), at(96, 352, 65)}));

    // An end a few ticks after the slice's start is still where the next note of its staff comes in.
    ScoreBuilder close(1, 2, 2);
    close.on(1, 0).note(100, C);
    close.note(300, E);
    proportion(close.on(1, 1).note(100, D), 64, 63);  // 252 ticks
    close.note(250, F);
    EXPECT_EQ(heard(close.ctx()), (Heard{at(0, 256, 60), at(0, 252, 62), at(252, 508, 65), at(256, 512, 64)}));
}

// A voice that ends early in its last bar, written last at the place where another staff's whole rest stands: the
// line still lasts the whole bar, so that the next line does not come in early.
TEST(ScoreToMidi, ALineLastsUntilItsLongestRestEndsWhicheverStaffComesLast) {
    const std::vector<PlaybackEvent> line = {{1024, 100, event_kind::rest, 0, 0, 0, 100},
                                             {768, 100, event_kind::note, 60, 0, 1, 100}};
    std::uint32_t end = 0;
    for (const PlaybackEvent& e : TimeEvents(line, 0)) end = std::max(end, e.time);
    EXPECT_EQ(end, 1024u);
}

// A whole-bar rest drawn in the middle of its bar is heard from the bar's start: the staff played with it keeps its
// time. On the next line the track goes on in the first staff's meter, though the staff played with it states none.
TEST(ScoreToMidi, AWholeBarRestIsHeardFromItsBarsStartWhereverItIsDrawn) {
    ScoreBuilder b(1, 4, 2);  // two systems of two staves, one track
    b.on(1, 0).meter(60, 2, 4);
    b.rest(200, 2);
    b.bar(300);
    b.note(350, C);
    b.on(1, 1).note(100, D);
    b.note(150, E);
    b.bar(300);
    b.note(350, F);
    b.on(1, 2).rest(200, 2);
    b.bar(300);
    b.note(350, G);
    b.on(1, 3).note(100, D, half);
    b.bar(300);
    EXPECT_EQ(heard(b.ctx()), (Heard{at(0, 256, 62), at(256, 512, 64), at(512, 768, 60), at(512, 768, 65),
                                     at(768, 1280, 62), at(1280, 1536, 67)}));
}

// A whole-bar rest of a voice whose rests straddle the bar lines starts when the rest before it ends.
TEST(ScoreToMidi, AWholeBarRestWaitsForItsStaffsRestStillSounding) {
    std::vector<PlaybackEvent> line = {{768, 100, event_kind::rest, 0, 0, 0, 100},
                                       {256, 100, event_kind::note, 60, 0, 1, 100},
                                       {256, 200, event_kind::note, 62, 0, 1, 200},
                                       {512, 300, event_kind::rest, 0, 0, 0, 300},
                                       {256, 300, event_kind::note, 64, 0, 1, 300}};
    line[3].wholeBar = true;
    std::uint32_t end = 0;
    for (const PlaybackEvent& e : TimeEvents(line, 0)) end = std::max(end, e.time);
    EXPECT_EQ(end, 1280u);
}

TEST(ScoreToMidi, StaffOfTheVoiceGoesOnWithTheGapsAndRestsOfTheSystem) {
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    ctx.doc = DocumentFromGuido("{[\\stacc(c)], [d]}");
    ctx.doc.findPage(1)->staves[1].voice().setVoice(1);  // the trailing staccato gap carries into it
    EXPECT_EQ(heard(ctx), (Heard{at(0, 128, 60), at(256, 512, 62)}));

    // A bar on another staff of the system divides the whole rests.
    ScoreBuilder b(1, 2, 2);
    b.setChannel(2, 3);
    b.on(1, 0).meter(60, 3, 4);
    b.bar(200);
    b.bar(360);
    b.on(1, 1).meter(60, 3, 4);
    b.rest(100, 2);
    b.rest(260, 2);
    b.note(420, C);
    const MidiCsv f = exportScore(b.ctx(), 1);
    ASSERT_EQ(f.tracks.size(), 3u);
    EXPECT_EQ(test::HeardNotes(f.tracks[2]), (Heard{at(1536, 1792, 60, 64, 3)}));
}

TEST(ScoreToMidi, TracksFollowTheChannelsTheCurrentVoiceAndTheRegion) {
    ScoreBuilder one(1, 4, 2);  // two systems of two staves, all on one channel: one track
    one.on(1, 0).note(100, C);
    one.note(200, D);
    one.on(1, 1).note(100, E, half);
    one.on(1, 2).note(100, F);
    one.on(1, 3).note(100, G);
    MidiCsv f = exportScore(one.ctx(), 1);
    ASSERT_EQ(f.tracks.size(), 2u);
    EXPECT_EQ(test::HeardNotes(f.tracks[1]),
              (Heard{at(0, 256, 60), at(0, 512, 64), at(256, 512, 62), at(512, 768, 65), at(512, 768, 67)}));
    ScoreBuilder b(1, 4, 2);
    b.setChannel(2, 3);
    b.on(1, 0).note(100, C);
    b.on(1, 1).note(100, D, half);
    b.on(1, 2).note(100, E);
    b.on(1, 3).note(100, F);
    b.setCurrent(1, 0);
    f = exportScore(b.ctx(), 1);
    ASSERT_EQ(f.tracks.size(), 3u);
    EXPECT_EQ(test::HeardNotes(f.tracks[1]), (Heard{at(0, 256, 60), at(256, 512, 64)}));
    EXPECT_EQ(test::HeardNotes(f.tracks[2]), (Heard{at(0, 512, 62, 64, 3), at(512, 768, 65, 64, 3)}));
    // A negative last page plays the current voice from the current staff.
    b.setCurrent(1, 3);
    f = exportScore(b.ctx(), -1);
    ASSERT_EQ(f.tracks.size(), 2u);
    EXPECT_EQ(test::HeardNotes(f.tracks[1]), (Heard{at(0, 256, 65, 64, 3)}));
    ScoreBuilder region(1, 3, 3);
    region.on(1, 0).notes(100, 100, 4, C);
    region.on(1, 1).notes(100, 100, 4, E);
    region.on(1, 2).notes(100, 100, 4, G);
    f = exportScore(region.ctx(), 1, MidiRegion{1, 2, 200, 300});
    ASSERT_EQ(f.tracks.size(), 3u);
    EXPECT_EQ(test::HeardNotes(f.tracks[1]), (Heard{at(0, 256, 64), at(256, 512, 64)}));
    EXPECT_EQ(test::HeardNotes(f.tracks[2]), (Heard{at(0, 256, 67), at(256, 512, 67)}));
}

TEST(ScoreToMidi, TrackHeadsCarryTempoMeterKeyNameProgramAndVolume) {
    ScoreBuilder b;
    b.doc().header.midi().setTempo(400000);
    b.doc().header.setTitle("Sonate");
    b.doc().header.midi().program(ch15) = 40;
    b.doc().header.midi().volume(ch15) = 100;
    b.on(1, 0).meter(60, 6, 8);
    b.note(100, C);
    b.doc().staff()->key().setKeyKind(KeyKind::Flats);
    b.doc().staff()->key().setKeyCount(3);
    MidiCsv f = exportScore(b.ctx(), 1);
    EXPECT_EQ(f.tracks[0], (std::vector<std::string>{"0, Tempo, 400000", "0, Time_signature, 6, 3, 36, 8",
                                                     "0, Key_signature, -3, \"major\""}));
    const auto& t = f.tracks[1];
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].substr(0, 22), "0, Text_t, \"Sonate\\000");  // the title, in a text of 512 bytes:
    EXPECT_EQ(t[0].size(), 12u + 6 + 506 * 4 + 1);                    // the rest are zeros, "\000" each
    EXPECT_EQ(t[1], "0, Program_c, 14, 40");
    EXPECT_EQ(t[2], "0, Note_on_c, 14, 60, 100");  // the channel volume is the velocity of the note's on and off
    EXPECT_EQ(t[3], "256, Note_off_c, 14, 60, 100");
}

TEST(ScoreToMidi, PagesFollowOneAnotherUpToTheLastPage) {
    ScoreBuilder b(2, 1);
    b.on(1, 0).note(100, C);
    b.rest(200, quarter);
    b.on(2, 0).note(100, D);
    b.setCurrent(1, 0);
    EXPECT_EQ(heard(b.ctx(), 2), (Heard{at(0, 256, 60), at(512, 768, 62)}));
    EXPECT_EQ(heard(b.ctx(), 1), (Heard{at(0, 256, 60)}));
    // A last page before the current page beeps and writes no notes.
    b.setCurrent(2, 0);
    const MidiCsv f = exportScore(b.ctx(), 1);
    EXPECT_EQ(b.ui().beeps(), 1);
    ASSERT_EQ(f.tracks.size(), 2u);
    EXPECT_EQ(f.tracks[1].size(), 2u);  // name and program
}

TEST(ScoreToMidi, NothingIsWrittenWithoutPagesOrWhereTheFileCannotBeMade) {
    const test::TempDir dir;
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    EXPECT_EQ(WriteScoreMidi(ctx.doc, ctx.ui, dir / "x.mid", 1), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.mid"));
    ctx.doc = DocumentFromGuido("[c]");
    EXPECT_EQ(WriteScoreMidi(ctx.doc, ctx.ui, dir / "missing" / "score.mid", 1), 0);
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
}

}  // namespace
}  // namespace notavera
