// The GUIDO reader through its trace: note names, accidentals, octaves, durations, dots, chords, tags and
// their arguments, comments, bars, segments, the reading modes and the error reports.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "guido/gmn_reader.h"
#include "guido/gmn_trace.h"

namespace notavera {
namespace {

using Lines = std::vector<std::string>;

struct Reading {
    int status = 0;
    Lines lines;  // trace lines without their "\n"
    std::vector<GmnError> errors;

    // The lines that start with a prefix, e.g. "na_tagStart".
    Lines only(const std::string& prefix) const {
        Lines out;
        for (const auto& l : lines)
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        return out;
    }
    // The notes, each "pc:oct:acc n/d(dots) @posN/posD", joined by " | ".
    std::string notes() const {
        std::string out;
        for (const auto& l : only("na_seqAppendNote")) {
            int pc, oct, acc, dots;
            long n, d, pn, pd;
            const char* format =
                "na_seqAppendNote(pc=%d,oct=%d,acc=%d, durN=%ld,durD=%ld,dots=%d, durPosN=%ld,durPosD=%ld";
            std::sscanf(l.c_str(), format, &pc, &oct, &acc, &n, &d, &dots, &pn, &pd);
            std::ostringstream s;
            s << pc << ":" << oct << ":" << acc << " " << n << "/" << d << std::string(dots, '.') << " @" << pn << "/"
              << pd;
            out += (out.empty() ? "" : " | ") + s.str();
        }
        return out;
    }
    std::string error(std::size_t i) const {
        if (i >= errors.size()) return "none";
        const GmnError& e = errors[i];
        const std::string at = std::to_string(e.line) + ":" + std::to_string(e.column);
        return e.message + " " + at + (e.endsReading ? " ends" : "");
    }
};

Reading Read(std::string_view gmn, GmnMode mode = GmnMode::All) {
    Reading r;
    GmnTrace trace([&r](const std::string& line) { r.lines.push_back(line.substr(0, line.size() - 1)); });
    r.status = ReadGmnText(gmn, mode, trace, [&r](const GmnError& e) { r.errors.push_back(e); });
    return r;
}

TEST(GmnReader, NotesTakeTheirPitchOctaveAccidentalDurationAndPosition) {
    const std::pair<const char*, const char*> cases[] = {
        // Bare notes are quarters of octave 1, one after the other.
        {"[c d e]", "0:1:0 1/4 @0/1 | 2:1:0 1/4 @1/4 | 4:1:0 1/4 @1/2"},
        // A duration carries over until written again; the three forms are reduced fractions.
        {"[c/8 d e*3/4 f]", "0:1:0 1/8 @0/1 | 2:1:0 1/8 @1/8 | 4:1:0 3/4 @1/4 | 5:1:0 3/4 @1/1"},
        {"[c*3/8 d*2 e/16 f*2/8 g*6/4]",
         "0:1:0 3/8 @0/1 | 2:1:0 2/1 @3/8 | 4:1:0 1/16 @19/8 | 5:1:0 1/4 @39/16 | 7:1:0 3/2 @43/16"},
        // Dots lengthen the position and carry over until a duration is written.
        {"[c.. d e/8 f g.]",
         "0:1:0 1/4.. @0/1 | 2:1:0 1/4.. @7/16 | 4:1:0 1/8 @7/8 | 5:1:0 1/8 @1/1 | 7:1:0 1/8. @9/8"},
        {"[c2 d e-1 f+1 g0*1/2 a]",
         "0:2:0 1/4 @0/1 | 2:2:0 1/4 @1/4 | 4:-1:0 1/4 @1/2 | 5:1:0 1/4 @3/4 | 7:0:0 1/2 @1/1 | 9:0:0 1/2 @3/2"},
        {"[cis# e&& a#& f##]", "1:1:1 1/4 @0/1 | 4:1:-2 1/4 @1/4 | 9:1:0 1/4 @1/2 | 5:1:2 1/4 @3/4"},
        // An unknown note name is read as a rest (and reported).
        {"[c x/8 d]", "0:1:0 1/4 @0/1 | -1:1:0 1/8 @1/4 | 2:1:0 1/8 @3/8"},
        // Comments end at the first closing mark: "(* a (* b *)" is one comment, so "d" is read.
        {"% whole line\n[c (* x y *) (* a (* b *) d % to the end ]\n]", "0:1:0 1/4 @0/1 | 2:1:0 1/4 @1/4"},
        {"\xEF\xBB\xBF[c]", "0:1:0 1/4 @0/1"},  // a byte order mark is no character of the notation
        {"[c*99999999999/3 d]", "0:1:0 2147483647/3 @0/1 | 2:1:0 2147483647/3 @2147483647/3"},  // clamped
    };
    for (const auto& [gmn, notes] : cases) {
        const Reading r = Read(gmn);
        EXPECT_EQ(r.status, gmnReadOk) << gmn;
        EXPECT_EQ(r.notes(), notes) << gmn;
    }
}

TEST(GmnReader, SegmentsSequencesAndChords) {
    EXPECT_EQ(Read("[c d e]").lines.front(), "na_segmInit()");
    EXPECT_EQ(Read("{}").lines, (Lines{"na_segmInit()", "na_segmExit()"}));
    // Every sequence of a segment starts from the defaults.
    const Reading segment = Read("{[c2*1/2. d], [e f], []}");
    EXPECT_EQ(segment.only("na_seq").size(), 10u);
    EXPECT_EQ(segment.notes(), "0:2:0 1/2. @0/1 | 2:2:0 1/2. @3/4 | 4:1:0 1/4 @0/1 | 5:1:0 1/4 @1/4");
    // Chord notes share the position and the chord lasts as long as its longest note.
    const Reading chord = Read("[{c, e/2, g/8} a]");
    EXPECT_EQ(chord.only("na_chord"), Lines{"na_chordInit(durPosN=0,durPosD=1)"});
    EXPECT_EQ(chord.only("na_seqAppendChord"),
              Lines{"na_seqAppendChord(voices=3, durN=1,durD=2,dots=0, durPosN=0,durPosD=1)"});
    EXPECT_EQ(chord.notes(), "0:1:0 1/4 @0/1 | 4:1:0 1/2 @0/1 | 7:1:0 1/8 @0/1 | 9:1:0 1/8 @1/2");
    // Tags inside a chord take the chord's position.
    EXPECT_EQ(Read("[c {\\stacc(e), g}]").only("na_tagStart"),
              Lines{"na_tagStart(s=\\stacc,no=0,tagno=1, durPosN=1,durPosD=4)"});
}

TEST(GmnReader, TagCallbacksComeInOrderWithTheirArguments) {
    const Reading r = Read("[c \\text:3<\"lo\", 5, -1.5cm, dx=-2hs>(d e) f]");
    EXPECT_EQ(r.only("na_tag"), (Lines{"na_tagStart(s=\\text,no=3,tagno=1, durPosN=1,durPosD=4)", "na_tagStrArg(s=lo)",
                                       "na_tagIntArg(n=5)", "na_tagIntArg(r=-1.5)", "na_tagIntArg(n=-2)",
                                       "na_tagAdd(tagno=1,nargs=4)",
                                       "na_tagEnd(tagno=1, durPosN=3,durPosD=4, beforeDurPosN=1,beforeDurPosD=2)"}));
    EXPECT_EQ(r.lines[8], "na_tagAdd(tagno=1,nargs=4)");  // before the notes it encloses
    EXPECT_EQ(r.lines[9].rfind("na_seqAppendNote(pc=2,", 0), 0u);
    // Tags are numbered in order of start and end inside out; a bar is the bar tag without arguments.
    EXPECT_EQ(Read("[\\a(\\b(c) \\c) | \\slurEnd:2<>]").only("na_tag"),
              (Lines{"na_tagStart(s=\\a,no=0,tagno=1, durPosN=0,durPosD=1)", "na_tagAdd(tagno=1,nargs=0)",
                     "na_tagStart(s=\\b,no=0,tagno=2, durPosN=0,durPosD=1)", "na_tagAdd(tagno=2,nargs=0)",
                     "na_tagEnd(tagno=2, durPosN=1,durPosD=4, beforeDurPosN=0,beforeDurPosD=1)",
                     "na_tagStart(s=\\c,no=0,tagno=3, durPosN=1,durPosD=4)", "na_tagAdd(tagno=3,nargs=0)",
                     "na_tagEnd(tagno=3, durPosN=1,durPosD=4, beforeDurPosN=0,beforeDurPosD=1)",
                     "na_tagEnd(tagno=1, durPosN=1,durPosD=4, beforeDurPosN=0,beforeDurPosD=1)",
                     "na_tagStart(s=\\bar,no=0,tagno=4, durPosN=1,durPosD=4)", "na_tagAdd(tagno=4,nargs=0)",
                     "na_tagEnd(tagno=4, durPosN=1,durPosD=4, beforeDurPosN=0,beforeDurPosD=1)",
                     "na_tagStart(s=\\slurEnd,no=2,tagno=5, durPosN=1,durPosD=4)", "na_tagAdd(tagno=5,nargs=0)",
                     "na_tagEnd(tagno=5, durPosN=1,durPosD=4, beforeDurPosN=0,beforeDurPosD=1)"}));
}

TEST(GmnReader, ModesPassOnlyTheirCallbacks) {
    constexpr std::string_view mixed =
        "[\\clef<\"g\"> \\key<2> \\meter<\"4/4\"> \\slur(c d) | \\title<\"t\"> {e, g} \\tieBegin f]";
    // The tags each mode passes, and whether notes and chords pass.
    const std::tuple<GmnMode, int, const char*, bool> modes[] = {
        {GmnMode::Layout, 11, "\\meter \\bar", false},
        {GmnMode::ClefKey, 13, "\\clef \\key", false},
        {GmnMode::Musical, 2, "\\slur \\title", true},
        {GmnMode::All, 0, "\\clef \\key \\meter \\slur \\bar \\title \\tieBegin", true}};
    for (const auto& [mode, number, tags, notes] : modes) {
        const Reading r = Read(mixed, mode);
        std::string started;
        for (const auto& line : r.only("na_tagStart"))
            started += (started.empty() ? "" : " ") + line.substr(14, line.find(',') - 14);
        EXPECT_EQ(started, tags) << number;
        EXPECT_EQ(r.only("na_seqAppendNote").size(), notes ? 5u : 0u) << number;
        EXPECT_EQ(r.only("na_seqAppendChord").size(), notes ? 1u : 0u) << number;
        EXPECT_EQ(GmnModeFromNumber(number), mode);
    }
    EXPECT_EQ(Read(mixed, GmnMode::Layout).only("na_tagStrArg"), Lines{"na_tagStrArg(s=4/4)"});
    EXPECT_FALSE(GmnModeFromNumber(1));
}

TEST(GmnReader, ErrorsAreReportedWithTheirLineAndColumn) {
    struct Case {
        const char* gmn;
        bool ok;
        std::size_t notes;
        Lines errors;
    };
    std::string deep = "[";
    for (int i = 0; i < 2000; ++i) deep += "\\t(";
    const Case cases[] = {
        {"[c x/8 d]", true, 3, {"Unknown notename, replaced by rest. 1:4"}},
        // Names run together are read one by one only when the whole run falls apart into names; the column of
        // what follows a split run stays right.
        {"[gx/8 gf x]", true, 4,
         {"Unknown notename, replaced by rest. 1:2", "Unknown notename, replaced by rest. 1:10"}},
        {"[c]\n(* never closed\n", true, 1, {"'*)' missing. 3:1"}},
        {"[c\n  d $ é e]", true, 3, {"Unknown character 2:5", "Unknown character 2:7"}},  // skipped
        {"[c d\n  e ] f", false, 3, {"parse error 2:7 ends"}},  // the callbacks made are kept
        {"[c d", false, 2, {"parse error 1:5 ends"}},
        {"[c/0 d]", false, 0, {"parse error 1:4 ends"}},
        {"", false, 0, {"parse error 1:1 ends"}},
    };
    for (const Case& c : cases) {
        const Reading r = Read(c.gmn);
        EXPECT_EQ(r.status == gmnReadOk, c.ok) << c.gmn;
        EXPECT_EQ(r.only("na_seqAppendNote").size(), c.notes) << c.gmn;
        Lines errors;
        for (std::size_t i = 0; i < r.errors.size(); ++i) errors.push_back(r.error(i));
        EXPECT_EQ(errors, c.errors) << c.gmn;
    }
    const Reading r = Read(deep + "c");  // nesting deeper than the parser stack
    EXPECT_NE(r.status, gmnReadOk);
    EXPECT_EQ(r.errors.back().message, "parser stack overflow");
    GmnTrace trace([](const std::string&) {});
    std::vector<GmnError> errors;
    EXPECT_EQ(ReadGmnFile("/nonexistent/piece.gmn", GmnMode::All, trace,
                          [&errors](const GmnError& e) { errors.push_back(e); }),
              gmnCannotOpen);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].message, "Could not open file");
}

}  // namespace
}  // namespace notavera
