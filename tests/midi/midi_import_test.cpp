// Reading and importing MIDI files: the grid's rounding, the reader's tolerance of odd chunks, the dump's lines,
// and the staves an import writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit/midi_import.h"
#include "edit/midi_voice_writer.h"
#include "midi/import_grid.h"
#include "midi/midi_dump.h"
#include "midi/midi_note_collector.h"
#include "platform/headless/headless_ui.h"
#include "score/group_marks.h"
#include "score/new_document.h"

namespace notavera {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& b, std::uint32_t v, int size) {
    for (int i = size - 1; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A file of the given tracks (their event bytes), with a header of `headerLength` bytes.
Bytes Smf(unsigned format, unsigned division, const std::vector<Bytes>& tracks, std::uint32_t headerLength = 6) {
    Bytes b{'M', 'T', 'h', 'd'};
    Append(b, headerLength, 4);
    Append(b, format, 2);
    Append(b, static_cast<std::uint32_t>(tracks.size()), 2);
    Append(b, division, 2);
    b.resize(b.size() + headerLength - 6, 0);
    for (const Bytes& t : tracks) {
        b.insert(b.end(), {'M', 'T', 'r', 'k'});
        Append(b, static_cast<std::uint32_t>(t.size()), 4);
        b.insert(b.end(), t.begin(), t.end());
    }
    return b;
}

// Note on and off of `key` on `channel`, from `on` ticks after the event before, lasting `length` (< 128 each).
Bytes Note(unsigned channel, int key, std::uint8_t on, std::uint8_t length) {
    const auto c = static_cast<std::uint8_t>(channel);
    const auto k = static_cast<std::uint8_t>(key);
    return {on, static_cast<std::uint8_t>(0x90 | c), k, 64, length, static_cast<std::uint8_t>(0x80 | c), k, 0};
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

const Bytes endOfTrack{0, 0xFF, 0x2F, 0};

TEST(ImportGrid, RoundsTimesAsTheGridOfDivision480AndRounding64) {
    const ImportGrid grid(480, 64);
    EXPECT_EQ(grid.at(0), 30);
    const std::pair<int, int> cases[] = {{40, 30}, {45, 60}, {710, 708}, {20, 30}, {2, 0}, {1920 + 40, 1950},
                                         {1920 + 15, 1950}, {1920 + 14, 1920}, {1920 + 45, 1980},
                                         {160, 160}, {3840, 3840}};
    for (const auto& [time, rounded] : cases) EXPECT_EQ(grid.quantise(time), rounded) << time;
    EXPECT_EQ(grid.place(241), 240);
    EXPECT_EQ(grid.place(158), 160);  // a triplet eighth keeps its place
}

TEST(ImportGrid, WritesLengthsInPlainTripletDottedAndQuintupletValues) {
    const ImportGrid grid(480, 64);
    struct Case {
        int ticks;
        unsigned code, dots, tupletNum;
    } cases[] = {{480, 4, 0, 1}, {720, 4, 1, 1}, {320, 4, 0, 3}, {192, 5, 0, 5}, {840, 4, 2, 1}};
    for (const Case& c : cases) {
        const auto values = *MidiWrittenValues(c.ticks, GmnRational(c.ticks, 1920), grid, 64);
        ASSERT_EQ(values.size(), 1u) << c.ticks;
        EXPECT_EQ(values[0].code, c.code) << c.ticks;
        EXPECT_EQ(values[0].dots, c.dots) << c.ticks;
        EXPECT_EQ(values[0].tupletNum, c.tupletNum) << c.ticks;
    }
    // 708 ticks: the plain values taken off, tied, then a quintuplet value; together exactly the length.
    GmnRational total;
    const auto values = MidiWrittenValues(708, GmnRational(708, 1920), grid, 64);
    ASSERT_TRUE(values);
    for (const auto& v : *values) total = total + v.length;
    EXPECT_EQ(total, GmnRational(708, 1920));
}

TEST(MidiDump, ReadsOddChunksAsFarAsTheyGo) {
    // A header of 10 bytes; running status after a meta event; a meta text of 200 bytes; a track that claims more
    // than the file holds.
    const Bytes text(200, 'a');
    Bytes meta{0, 0xFF, 0x01, 0x81, 0x48};
    meta.insert(meta.end(), text.begin(), text.end());
    const Bytes track = Cat({{0, 0x90, 60, 64}, {0, 0xFF, 0x58, 4, 3, 3, 24, 8}, {10, 61, 0}, meta, endOfTrack});
    Bytes file = Smf(1, 96, {track}, 10);
    file[file.size() - track.size() - 2] += 1;  // the chunk length lies by 256 bytes
    const auto dump = DumpMidiBytes("f.mid", file, false);
    ASSERT_TRUE(dump);
    EXPECT_NE(dump->text.find("NOTE ON:\t\t note 61 - vel 0 - chan 0 - 10\n"), std::string::npos);
    EXPECT_NE(dump->text.find("TEXTE:\t\t\t " + std::string(128, 'a') + "\n"), std::string::npos);
    EXPECT_NE(dump->text.find("FIN DE PISTE\n"), std::string::npos);
    ASSERT_TRUE(dump->meter);
    EXPECT_EQ(dump->meter->first, 3u);
}

TEST(MidiDump, EndsWithTheErrorLineOrRefusesWhatIsNoMidiFile) {
    const auto running = DumpMidiBytes("f", Smf(1, 96, {{0, 60, 64}}), false);
    ASSERT_TRUE(running);
    EXPECT_TRUE(running->text.ends_with("Bad file - unexpected running status\n"));
    const auto message = DumpMidiBytes("f", Smf(1, 96, {Cat({Note(0, 60, 0, 5), {0, 0xF4}})}), false);
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->text.ends_with("Bad file - unexpected message"));
    EXPECT_FALSE(DumpMidiBytes("f", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0}, false));
    // A chunk of another kind ends the reading; only the first track is read when asked.
    Bytes two = Smf(1, 96, {Cat({Note(0, 60, 0, 5), endOfTrack}), Cat({Note(1, 62, 0, 5), endOfTrack})});
    EXPECT_EQ(DumpMidiBytes("f", two, true)->text.find("note 62"), std::string::npos);
    two[two.size() - 20] = 'X';
    EXPECT_EQ(DumpMidiBytes("f", two, false)->text.find("note 62"), std::string::npos);
}

TEST(MidiDump, StopsGrowingNearFourKilobytes) {
    Bytes track;
    for (int i = 0; i < 400; ++i) track = Cat({track, Note(0, 60, 1, 1)});
    const auto dump = DumpMidiBytes("f", Smf(1, 96, {Cat({track, endOfTrack})}), false);
    ASSERT_TRUE(dump);
    EXPECT_LT(dump->text.size(), midiDumpLimit - 128);
    EXPECT_GT(dump->text.size(), midiDumpLimit - 200);
}

class MidiImport : public ::testing::Test {
protected:
    void SetUp() override { SetUpNewDocument(doc, 1); }
    int import(const Bytes& file, bool layOut = false) { return ImportMidiBytes(doc, file, params, ui, {}, layOut); }
    const StaffRecord& staff(int i) const { return doc.findPage(1)->staves[static_cast<std::size_t>(i)]; }
    std::vector<const ElementRecord*> notes(int i) const {
        std::vector<const ElementRecord*> found;
        for (const ElementRecord& e : staff(i).elements)
            if (!e.isSign() && !e.isRest()) found.push_back(&e);
        return found;
    }

    ScoreDocument doc;
    HeadlessUi ui{nullptr};
    MidiImportParameters params;
};

TEST_F(MidiImport, TiesANoteFromBeatFourToBeatTwo) {
    // Division 96: one rest of three quarters, then a half note over the bar line.
    const Bytes track = Cat({{0x82, 0x20, 0x90, 67, 64}, {0x81, 0x40, 0x80, 67, 0}, endOfTrack});
    ASSERT_EQ(import(Smf(0, 96, {track})), 1);
    const auto n = notes(0);
    ASSERT_EQ(n.size(), 2u);
    EXPECT_EQ(n[0]->noteWord().durationCode(), 4u);
    EXPECT_EQ(n[1]->noteWord().durationCode(), 4u);
    EXPECT_TRUE(n[0]->w0().tieStarts());
    EXPECT_TRUE(n[1]->w0().tieEnds());
    EXPECT_LT(n[0]->x, n[1]->x);
}

TEST_F(MidiImport, TakesEveryChannelOfOneTrackAsAVoice) {
    const Bytes track = Cat({Note(0, 72, 0, 96), Note(3, 48, 0, 96), Note(9, 40, 0, 96), endOfTrack});
    ASSERT_EQ(import(Smf(1, 96, {track})), 1);
    for (int s = 0; s < 3; ++s) EXPECT_EQ(notes(s).size(), 1u) << s;
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MidiImport, WritesAKeyboardPartOfOneVoiceOnTwoStaves) {
    // Chords from C3 to E5, then a middle C: both hands at once, split at middle C. On the percussion channel the
    // same keys are instruments and stay on one staff.
    for (const std::uint8_t channel : {0, 9}) {
        SetUpNewDocument(doc, 1);
        const auto on = static_cast<std::uint8_t>(0x90 | channel), off = static_cast<std::uint8_t>(0x80 | channel);
        const Bytes chord{0, on, 48, 64, 0, on, 76, 64, 96, off, 48, 0, 0, off, 76, 0};
        ASSERT_EQ(import(Smf(0, 96, {Cat({chord, chord, Note(channel, 60, 0, 96), endOfTrack})})), 1);
        const std::size_t second = doc.findPage(1)->staves.size() > 1 ? notes(1).size() : 0;
        EXPECT_EQ(notes(0).size(), channel == 9 ? 5u : 3u) << int{channel};
        EXPECT_EQ(second, channel == 9 ? 0u : 2u) << int{channel};
    }
}

TEST_F(MidiImport, GivesEachTrackWithNotesAStaffAndATempoTrackNone) {
    const Bytes tempo = Cat({{0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20}, endOfTrack});
    const Bytes high = Cat({Note(0, 72, 0, 96), endOfTrack});
    const Bytes low = Cat({Note(0, 48, 0, 96), Note(0, 50, 0, 96), endOfTrack});
    const std::vector<std::vector<Bytes>> files = {{tempo, high, low}, {high, low}};
    for (const auto& tracks : files) {
        SetUpNewDocument(doc, 1);
        ASSERT_EQ(import(Smf(1, 96, tracks)), 1);
        EXPECT_EQ(notes(0).size(), 1u) << tracks.size() << " tracks";
        EXPECT_EQ(notes(1).size(), 2u) << tracks.size() << " tracks";
    }
}

TEST_F(MidiImport, RestsAVoiceThatEndsEarlyUntilThePiecesLastBarEnds) {
    // Division 96: six quarters against one quarter.
    Bytes longer;
    for (int i = 0; i < 6; ++i) longer = Cat({longer, Note(0, 72, 0, 96)});
    ASSERT_EQ(import(Smf(1, 96, {Cat({longer, endOfTrack}), Cat({Note(1, 48, 0, 96), endOfTrack})})), 1);
    const auto bars = [&](int i) {
        return std::count_if(staff(i).elements.begin(), staff(i).elements.end(),
                             [](const ElementRecord& e) { return e.isSignOfType(SignType::Bar); });
    };
    EXPECT_EQ(bars(0), 1);
    EXPECT_EQ(bars(1), 1);
    EXPECT_TRUE(staff(0).elements.back().isRest()) << "the second bar is filled";
    EXPECT_TRUE(staff(1).elements.back().isRest());
}

TEST_F(MidiImport, PagesDealtBarByBarBeginWithTheClef) {
    params.barsPerPage.fill(1);
    Bytes track;
    for (int i = 0; i < 8; ++i) track = Cat({track, Note(0, 40, 0, 96)});
    ASSERT_EQ(import(Smf(0, 96, {Cat({track, endOfTrack})})), 1);
    for (int p = 1; p <= 2; ++p) {
        ASSERT_NE(doc.findPage(p), nullptr) << p;
        const auto& els = doc.findPage(p)->staves[0].elements;
        ASSERT_FALSE(els.empty()) << p;
        EXPECT_TRUE(els.front().isSignOfType(SignType::Clef)) << "page " << p;
    }
}

TEST_F(MidiImport, JoinsEighthsByTheBeat) {
    Bytes track;
    for (int i = 0; i < 4; ++i) track = Cat({track, Note(0, 60 + i, 0, 48)});
    ASSERT_EQ(import(Smf(0, 96, {Cat({track, endOfTrack})})), 1);
    const auto n = notes(0);
    ASSERT_EQ(n.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(n[i]->w0().opensBeam(), i % 2 == 0) << i;
        EXPECT_EQ(n[i]->w0().closesBeam(), i % 2 == 1) << i;
    }
}

TEST_F(MidiImport, EndsTheUpbeatAfterOneQuarter) {
    params.upbeat = 4;
    Bytes track;
    for (int i = 0; i < 6; ++i) track = Cat({track, Note(0, 60 + i, 0, 96)});
    ASSERT_EQ(import(Smf(0, 96, {Cat({track, endOfTrack})})), 1);
    const auto& els = staff(0).elements;
    const auto bar = std::find_if(els.begin(), els.end(), [](const ElementRecord& e) { return e.isSignOfType(SignType::Bar); });
    ASSERT_NE(bar, els.end());
    const auto before = std::count_if(els.begin(), bar, [](const ElementRecord& e) { return !e.isSign(); });
    EXPECT_EQ(before, 1);
}

TEST_F(MidiImport, WritesPlayedValuesAsAnEngraverWould) {
    // Division 64, whose triplet places fall between ticks. A quarter held for 0.8 of its time, then an eighth: a
    // quarter and an eighth rest, not ties of short values.
    ASSERT_EQ(import(Smf(0, 64, {Cat({Note(0, 67, 0, 51), Note(0, 62, 45, 32), endOfTrack})})), 1);
    std::vector<unsigned> codes;
    for (const ElementRecord& e : staff(0).elements)
        if (!e.isSign()) codes.push_back(e.noteWord().durationCode() + (e.isRest() ? 100 : 0));
    EXPECT_EQ(codes, (std::vector<unsigned>{4, 105, 5, 103}));
    // Three sixteenth triplets, an eighth, three more: ratio 3:2 filling each eighth exactly, in two groups.
    SetUpNewDocument(doc, 1);
    const Bytes triplets = Cat({Note(0, 60, 0, 10), Note(0, 62, 1, 10), Note(0, 64, 0, 11)});
    ASSERT_EQ(import(Smf(0, 64, {Cat({triplets, Note(0, 65, 0, 32), triplets, endOfTrack})})), 1);
    const auto n = notes(0);
    ASSERT_EQ(n.size(), 7u);
    const unsigned marks[] = {groupFirstMark, 0, groupLastMark, 0, groupFirstMark, 0, groupLastMark};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(n[i]->noteWord().durationCode(), i == 3 ? 5u : 6u) << i;
        EXPECT_EQ(n[i]->w1().numerator(), i == 3 ? 1u : 3u) << i;
        EXPECT_EQ(n[i]->w0().groupMark(), marks[i]) << i;
    }
}

TEST_F(MidiImport, WritesTheHighestKeysUnderOctaveLines) {
    ASSERT_EQ(import(Smf(0, 96, {Cat({Note(0, 100, 0, 96), Note(0, 108, 0, 96), Note(0, 120, 0, 96), endOfTrack})})), 1);
    const auto n = notes(0);
    ASSERT_EQ(n.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(n[i]->w1().octaveShift(), static_cast<unsigned>(i)) << i;
}

TEST_F(MidiImport, SpellsBlackKeysAsFlatsInAFlatKey) {
    const Bytes track = Cat({{0, 0xFF, 0x59, 2, 0xFE, 0}, Note(0, 61, 0, 96), endOfTrack});
    ASSERT_EQ(import(Smf(0, 96, {track})), 1);
    ASSERT_EQ(notes(0).size(), 1u);
    EXPECT_EQ(notes(0)[0]->noteWord().step(), 2u);  // D flat, not C sharp
}

TEST_F(MidiImport, ShowsTheFilesErrorsAndKeepsWhatWasRead) {
    EXPECT_EQ(import(Bytes{'n', 'o', 'p', 'e'}), 0);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].stringId, 9);
    EXPECT_EQ(import(Smf(1, 96, {Cat({Note(0, 60, 0, 96), endOfTrack}), {0, 50, 60}})), 1);
    EXPECT_EQ(ui.messages().back().stringId, 37);
    EXPECT_EQ(notes(0).size(), 1u);
}

TEST_F(MidiImport, RefusesMoreNotesThanTheTableHolds) {
    Bytes track;
    for (int i = 0; i < 40; ++i) track = Cat({track, Note(0, 60, 1, 1)});
    EXPECT_EQ(ImportMidiBytes(doc, Smf(0, 96, {track}), params, ui, {}, false), 1);
    // The table's limit, met by a smaller one here.
    EXPECT_EQ(ReadMidiForImport(Smf(0, 96, {track}), 64, 10).status, MidiReadStatus::TooManyNotes);
}

}  // namespace
}  // namespace notavera
