// The `na_` callbacks that write a GUIDO piece into a score: each sequence goes to the staff of page 1 of
// the same rank; notes, rests, clefs, keys, meters, bars, beams, ties, slurs and staccatos become elements
// laid out from left to right at steps that follow the durations.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "guido/gmn_callbacks.h"
#include "guido/gmn_piece_layout.h"
#include "guido/gmn_rational.h"
#include "guido/gmn_texts.h"
#include "score/score_document.h"

namespace notavera {

struct GmnWrittenValue;

class GmnScoreBuilder : public GmnCallbacks {
public:
    // With `addStaves`, a sequence beyond the staves of page 1 gets a staff of its own, added below the others;
    // without, it writes nothing.
    explicit GmnScoreBuilder(ScoreDocument& doc, bool addStaves = false) : doc_(doc), addStaves_(addStaves) {}

    void na_segmInit() override;
    void na_segmExit() override;
    void na_seqInit() override;
    void na_seqExit() override;
    void na_seqAppendNote(int pc, int oct, int acc, long durN, long durD, int dots, long durPosN,
                          long durPosD) override;
    void na_chordInit(long durPosN, long durPosD) override;
    void na_seqAppendChord(int voices, long durN, long durD, int dots, long durPosN, long durPosD) override;
    void na_tagStart(const std::string& s, int no, int tagno, long durPosN, long durPosD) override;
    void na_tagIntArg(long) override {}
    void na_tagIntArg(double) override {}
    void na_tagStrArg(const std::string&) override {}
    void na_tagAdd(int tagno, int nargs, const GmnTagArguments& args) override;
    void na_tagEnd(int tagno, long durPosN, long durPosD, long beforeDurPosN, long beforeDurPosD) override;

    // Leaves the document on the first staff of page 1, also after a reading that stopped half-way.
    void finish();
    // Each sequence written into page 1: the staff number it asked for with \\staff (else its own rank), and the
    // times of its bar lines and notes.
    std::vector<GmnSequenceTimes> sequenceTimes() const;
    // The \\title and \\composer lines, in the order of the file, for the head of the first page.
    const std::vector<GmnText>& headings() const { return headings_; }

private:
    // The element indices of one note (its pieces, in order of time) on the current staff.
    struct NoteSpan {
        std::vector<int> pieces;
        int first() const { return pieces.empty() ? -1 : pieces.front(); }
        int last() const { return pieces.empty() ? -1 : pieces.back(); }
    };
    // A note event: one note, or the notes of a chord.
    using NoteEvent = std::vector<NoteSpan>;
    struct OpenTag {
        std::string name;
        std::vector<NoteEvent> notes;  // the note events written inside the tag's range
        int number = 0;                // the number written after ':' (pairs a Begin tag with its End)
        std::optional<bool> above;     // the side the file asks a curve to take (true above)
        bool heavy = false;            // \\stacc<type="heavy">: a staccatissimo
        GmnRational at;                // where it starts
    };
    struct TupletRun {
        bool open = false;
        GmnRational start;
        unsigned num = 1;
        unsigned den = 1;
        int lastIndex = -1;
    };

    bool writing() const { return staffReady_ && !overflow_; }
    ElementRecord* elementAt(int index);
    int placeX() const;
    // The time of the piece at a position the reader counts, which includes the grace notes written so far.
    GmnRational timeAt(long num, long den) const;
    void markGrace(ElementRecord& e);
    void advance(const GmnRational& wholeNotes);
    void addSign(int param, int code, SignType type, unsigned subValue, int advanceBy);
    int writePiece(const GmnWrittenValue& value, bool rest, int pc, int oct, int acc, int dots);
    void markTuplet(const GmnWrittenValue& value, int index, const GmnRational& start, const GmnRational& end);
    void closeTupletRun();
    void fillAfterShortestMember(const GmnRational& start);
    void applyOpenTags(const NoteEvent& event);
    void inserted(int index);
    void tie(const NoteEvent& from, const NoteEvent& to);
    void closeBeam();
    void barLinesUpTo(const GmnRational& position, bool before = false);
    void beamByTheBeat();
    void endSpanningCurve(const OpenTag& end);
    void closeChord();
    void takeCurveSide(const GmnTagArguments& args);
    void setStemDirection(std::optional<bool> up);
    void moveToStaff(int number);
    void closeCurve(const OpenTag& tag);
    void writeKey(const GmnTagArguments& args);
    void writeKeyChange(const StaffRecord& staff, int count);
    void leaveRoomForLineStartKey(int count);
    void writeMeter(const GmnTagArguments& args);
    void barWrittenAt(const GmnRational& time);
    bool isOpen(const char* name) const;
    int space() const;
    ElementRecord* writeText(const GmnText& text, int x, std::optional<int> after = std::nullopt);
    void writeSyllable();
    void writeEventTexts();
    void writeChordTexts();
    void beginEvent();

    ScoreDocument& doc_;
    InsertionState savedInsertion_;
    bool begun_ = false;
    int sequences_ = 0;
    bool overflow_ = false;
    bool staffReady_ = false;
    GmnRational x_;  // page units, kept exact so that tuplets do not drift
    bool beamOpen_ = false;
    bool beamFirst_ = false;
    int lastNote_ = -1;
    std::string lastTag_;
    std::vector<OpenTag> openTags_;
    TupletRun tuplet_;
    std::vector<OpenTag> spanningCurves_;  // \\tieBegin and \\slurBegin waiting for their End
    std::vector<OpenTag> chordCurveEnds_;  // ends written in the chord under way
    int lastTagNumber_ = 0;
    // The staff each sequence asks for with \\staff (0: none), and where its notes are placed meanwhile: 0 on their
    // own staff, 1 on the staff above, 2 below.
    std::vector<int> staffOfSequence_;
    std::vector<GmnSequenceTimes> times_;
    bool addStaves_ = false;
    unsigned crossStaff_ = 0;
    // Bars and beats of the sequence, for the bar lines and beams the file leaves out.
    struct WrittenPiece {
        int index = -1;
        GmnRational start;
        GmnRational beat;       // where the beat the piece starts in starts
        bool beamable = false;  // an eighth or shorter, in no beam of the file, while beams are automatic
    };
    int octaveLine_ = 0;  // \\oct: the octaves the notes sound above where they are written (8va 1, 8vb -1)
    bool autoBars_ = true;  // the meter draws the bar lines the file leaves out
    bool beamsOff_ = false;  // \\beamsOff: the file leaves the notes after it unbeamed
    GmnRational barLength_;  // 0 without a meter
    GmnRational barEnd_;
    GmnRational beat_;
    GmnRational barStart_;  // where the bar under way started (at the meter, or at its last bar line)
    GmnRational tagPosition_;  // where the last tag started
    GmnRational graceTime_;    // the written length of the sequence's grace notes so far: they take no time
    std::vector<WrittenPiece> written_;
    bool inChord_ = false;
    GmnRational chordX_;
    GmnRational chordEndX_;
    NoteEvent chord_;
    int chordMembers_ = 0;
    GmnRational chordShortest_;  // the lengths of the shortest and the longest note of the chord
    GmnRational chordLongest_;
    // Texts of the tags met since the last event, for the next one; the syllables of the open \\lyrics.
    std::vector<GmnText> pendingTexts_;
    std::vector<GmnText> eventTexts_;  // the texts of the event under way
    std::vector<std::string> syllables_;
    std::size_t nextSyllable_ = 0;
    std::vector<GmnText> headings_;
    int titles_ = 0;
    int composers_ = 0;
};

}  // namespace notavera
