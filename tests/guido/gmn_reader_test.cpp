// The GUIDO reader through its trace: note names, accidentals, octaves, durations, dots, chords, tags and
// their arguments, comments, bars, segments, the reading modes and the error reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guido/gmn_reader.h"
#include "guido/gmn_trace.h"
#include "platform/headless/headless_ui.h"

namespace notavera {
namespace {

struct Reading {
    int status = 0;
    std::vector<std::string> lines;   // trace lines without their "\n"
    std::vector<GmnError> errors;

    // The lines that start with a prefix, e.g. "na_seqAppendNote".
    std::vector<std::string> only(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& l : lines)
            if (l.rfind(prefix, 0) == 0) out.push_back(l);
        return out;
    }
};

Reading Read(std::string_view gmn, GmnMode mode = GmnMode::All) {
    Reading r;
    GmnTrace trace([&r](const std::string& line) { r.lines.push_back(line.substr(0, line.size() - 1)); });
    r.status = ReadGmnText(gmn, mode, trace, [&r](const GmnError& e) { r.errors.push_back(e); });
    return r;
}

std::string Note(int pc, int oct, int acc, long n, long d, int dots, long pn, long pd) {
    return "na_seqAppendNote(pc=" + std::to_string(pc) + ",oct=" + std::to_string(oct) + ",acc=" +
           std::to_string(acc) + ", durN=" + std::to_string(n) + ",durD=" + std::to_string(d) +
           ",dots=" + std::to_string(dots) + ", durPosN=" + std::to_string(pn) + ",durPosD=" + std::to_string(pd) + ")";
}

using Lines = std::vector<std::string>;

// ---- Notes ----

TEST(GmnReader, BareNotesAreQuartersOfOctaveOneOneAfterTheOther) {
    const Reading r = Read("[c d e]");
    EXPECT_EQ(r.status, gmnReadOk);
    EXPECT_EQ(r.lines,
              (Lines{"na_segmInit()", "na_seqInit()", Note(0, 1, 0, 1, 4, 0, 0, 1), Note(2, 1, 0, 1, 4, 0, 1, 4),
                     Note(4, 1, 0, 1, 4, 0, 1, 2), "na_seqExit()", "na_segmExit()"}));
    EXPECT_TRUE(r.errors.empty());
}

TEST(GmnReader, DurationCarriesOverUntilWrittenAgain) {
    EXPECT_EQ(Read("[c/8 d e*3/4 f]").only("na_seqAppendNote"),
              (Lines{Note(0, 1, 0, 1, 8, 0, 0, 1), Note(2, 1, 0, 1, 8, 0, 1, 8), Note(4, 1, 0, 3, 4, 0, 1, 4),
                     Note(5, 1, 0, 3, 4, 0, 1, 1)}));
}

TEST(GmnReader, TheThreeDurationFormsAreReducedFractions) {
    EXPECT_EQ(Read("[c*3/8 d*2 e/16 f*2/8 g*6/4]").only("na_seqAppendNote"),
              (Lines{Note(0, 1, 0, 3, 8, 0, 0, 1), Note(2, 1, 0, 2, 1, 0, 3, 8), Note(4, 1, 0, 1, 16, 0, 19, 8),
                     Note(5, 1, 0, 1, 4, 0, 39, 16), Note(7, 1, 0, 3, 2, 0, 43, 16)}));
}

TEST(GmnReader, DotsLengthenThePositionAndCarryOverUntilADurationIsWritten) {
    // c.. lasts 7/16; d keeps both dots; e/8 clears them; f keeps none; g. takes one without a duration.
    EXPECT_EQ(Read("[c.. d e/8 f g.]").only("na_seqAppendNote"),
              (Lines{Note(0, 1, 0, 1, 4, 2, 0, 1), Note(2, 1, 0, 1, 4, 2, 7, 16), Note(4, 1, 0, 1, 8, 0, 7, 8),
                     Note(5, 1, 0, 1, 8, 0, 1, 1), Note(7, 1, 0, 1, 8, 1, 9, 8)}));
}

TEST(GmnReader, OctavesCarryOverAndMayBeSigned) {
    EXPECT_EQ(Read("[c2 d e-1 f+1 g0*1/2 a]").only("na_seqAppendNote"),
              (Lines{Note(0, 2, 0, 1, 4, 0, 0, 1), Note(2, 2, 0, 1, 4, 0, 1, 4), Note(4, -1, 0, 1, 4, 0, 1, 2),
                     Note(5, 1, 0, 1, 4, 0, 3, 4), Note(7, 0, 0, 1, 2, 0, 1, 1), Note(9, 0, 0, 1, 2, 0, 3, 2)}));
}

TEST(GmnReader, AccidentalsAreCountedUpForSharpsAndDownForFlats) {
    EXPECT_EQ(Read("[cis# e&& a#& f##]").only("na_seqAppendNote"),
              (Lines{Note(1, 1, 1, 1, 4, 0, 0, 1), Note(4, 1, -2, 1, 4, 0, 1, 4), Note(9, 1, 0, 1, 4, 0, 1, 2),
                     Note(5, 1, 2, 1, 4, 0, 3, 4)}));
}

TEST(GmnReader, UnknownNoteNameIsReportedAndReadAsARest) {
    const Reading r = Read("[c x/8 d]");
    EXPECT_EQ(r.status, gmnReadOk);
    EXPECT_EQ(r.only("na_seqAppendNote"),
              (Lines{Note(0, 1, 0, 1, 4, 0, 0, 1), Note(-1, 1, 0, 1, 8, 0, 1, 4), Note(2, 1, 0, 1, 8, 0, 3, 8)}));
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].message, "Unknown notename, replaced by rest.");
    EXPECT_EQ(r.errors[0].line, 1);
    EXPECT_EQ(r.errors[0].column, 4);
    EXPECT_FALSE(r.errors[0].endsReading);
}

struct NoteName {
    const char* name;
    int pc;
};

class GmnNoteNames : public ::testing::TestWithParam<NoteName> {};

TEST_P(GmnNoteNames, GiveTheirPitchClass) {
    const Reading r = Read("[" + std::string(GetParam().name) + "]");
    EXPECT_TRUE(r.errors.empty());
    EXPECT_EQ(r.only("na_seqAppendNote"), (Lines{Note(GetParam().pc, 1, 0, 1, 4, 0, 0, 1)}));
}

INSTANTIATE_TEST_SUITE_P(
    EveryName, GmnNoteNames,
    ::testing::Values(NoteName{"c", 0}, NoteName{"do", 0}, NoteName{"ut", 0}, NoteName{"cis", 1}, NoteName{"d", 2},
                      NoteName{"re", 2}, NoteName{"dis", 3}, NoteName{"e", 4}, NoteName{"mi", 4}, NoteName{"f", 5},
                      NoteName{"fa", 5}, NoteName{"fis", 6}, NoteName{"g", 7}, NoteName{"sol", 7}, NoteName{"so", 7},
                      NoteName{"gis", 8}, NoteName{"a", 9}, NoteName{"la", 9}, NoteName{"ais", 10}, NoteName{"h", 11},
                      NoteName{"b", 11}, NoteName{"si", 11}, NoteName{"ti", 11}, NoteName{"_", -1},
                      NoteName{"rest", -1}, NoteName{"empty", -2}));

// ---- Chords ----

TEST(GmnReader, ChordNotesShareThePositionAndTheChordLastsAsLongAsItsLongestNote) {
    const Reading r = Read("[{c, e/2, g/8} a]");
    EXPECT_EQ(r.lines, (Lines{"na_segmInit()", "na_seqInit()", "na_chordInit(durPosN=0,durPosD=1)",
                              Note(0, 1, 0, 1, 4, 0, 0, 1), Note(4, 1, 0, 1, 2, 0, 0, 1), Note(7, 1, 0, 1, 8, 0, 0, 1),
                              "na_seqAppendChord(voices=3, durN=1,durD=2,dots=0, durPosN=0,durPosD=1)",
                              Note(9, 1, 0, 1, 8, 0, 1, 2), "na_seqExit()", "na_segmExit()"}));
}

TEST(GmnReader, TagsInsideAChordTakeTheChordsPosition) {
    const Reading r = Read("[c {\\stacc(e), g}]");
    EXPECT_EQ(r.only("na_tagStart"), (Lines{"na_tagStart(s=\\stacc,no=0,tagno=1, durPosN=1,durPosD=4)"}));
    EXPECT_EQ(r.only("na_seqAppendChord"),
              (Lines{"na_seqAppendChord(voices=2, durN=1,durD=4,dots=0, durPosN=1,durPosD=4)"}));
}

// ---- Tags ----

TEST(GmnReader, TagCallbacksComeInOrderWithTheirArguments) {
    const Reading r = Read("[c \\text:3<\"lo\", 5, -1.5cm, dx=-2hs>(d e) f]");
    EXPECT_EQ(r.lines, (Lines{"na_segmInit()", "na_seqInit()", Note(0, 1, 0, 1, 4, 0, 0, 1),
                              "na_tagStart(s=\\text,no=3,tagno=1, durPosN=1,durPosD=4)", "na_tagStrArg(s=lo)",
                              "na_tagIntArg(n=5)", "na_tagIntArg(r=-1.5)", "na_tagIntArg(n=-2)",
                              "na_tagAdd(tagno=1,nargs=4)", Note(2, 1, 0, 1, 4, 0, 1, 4), Note(4, 1, 0, 1, 4, 0, 1, 2),
                              "na_tagEnd(tagno=1, durPosN=3,durPosD=4, beforeDurPosN=1,beforeDurPosD=2)",
                              Note(5, 1, 0, 1, 4, 0, 3, 4), "na_seqExit()", "na_segmExit()"}));
}

TEST(GmnReader, TagsAreNumberedInOrderOfStartAndEndInsideOut) {
    const Reading r = Read("[\\a(\\b(c) \\c) \\d]");
    EXPECT_EQ(r.only("na_tag"),
              (Lines{"na_tagStart(s=\\a,no=0,tagno=1, durPosN=0,durPosD=1)", "na_tagAdd(tagno=1,nargs=0)",
                     "na_tagStart(s=\\b,no=0,tagno=2, durPosN=0,durPosD=1)", "na_tagAdd(tagno=2,nargs=0)",
                     "na_tagEnd(tagno=2, durPosN=1,durPosD=4, beforeDurPosN=0,beforeDurPosD=1)",
                     "na_tagStart(s=\\c,no=0,tagno=3, durPosN=1,durPosD=4)", "na_tagAdd(tagno=3,nargs=0)",
                     "na_tagEnd(tagno=3, durPosN=1,durPosD=4, beforeDurPosN=0,beforeDurPosD=1)",
                     "na_tagEnd(tagno=1, durPosN=1,durPosD=4, beforeDurPosN=0,beforeDurPosD=1)",
                     "na_tagStart(s=\\d,no=0,tagno=4, durPosN=1,durPosD=4)", "na_tagAdd(tagno=4,nargs=0)",
                     "na_tagEnd(tagno=4, durPosN=1,durPosD=4, beforeDurPosN=0,beforeDurPosD=1)"}));
}

// Records what na_tagAdd can query.
class ArgumentProbe : public GmnTrace {
public:
    ArgumentProbe() : GmnTrace([](const std::string&) {}) {}
    void na_tagAdd(int, int nargs, const GmnTagArguments& args) override {
        for (int k = 1; k <= nargs + 1; ++k) {
            seen.push_back(std::string(1, args.type(k)) + "|" + args.name(k) + "|" + std::to_string(args.intValue(k)) +
                           "|" + std::to_string(args.realValue(k)) + "|" + args.stringValue(k) + "|" + args.unit(k));
        }
    }
    std::vector<std::string> seen;
};

TEST(GmnReader, ArgumentsCanBeQueriedByIndexWithNamesAndUnits) {
    ArgumentProbe probe;
    EXPECT_EQ(ReadGmnText("[\\staffFormat<size=0.93mm, 7, \"two words\", style=\"TAB\", g, +3hs, .5>]", GmnMode::All,
                          probe, {}),
              gmnReadOk);
    EXPECT_EQ(probe.seen, (Lines{"f|size|0|0.930000||mm", "i||7|7.000000||", "s||0|0.000000|two words|",
                                 "s|style|0|0.000000|TAB|", "s||0|0.000000|g|", "i||3|3.000000||hs",
                                 "f||0|0.500000||", "-||0|0.000000||"}));
}

TEST(GmnReader, EmptyArgumentListAndTagNumberWithoutArguments) {
    const Reading r = Read("[\\slurBegin:2<> c \\slurEnd:2 d]");
    EXPECT_EQ(r.only("na_tagStart"), (Lines{"na_tagStart(s=\\slurBegin,no=2,tagno=1, durPosN=0,durPosD=1)",
                                            "na_tagStart(s=\\slurEnd,no=2,tagno=2, durPosN=1,durPosD=4)"}));
    EXPECT_EQ(r.only("na_tagAdd"), (Lines{"na_tagAdd(tagno=1,nargs=0)", "na_tagAdd(tagno=2,nargs=0)"}));
}

TEST(GmnReader, BarShorthandIsTheBarTagWithoutArguments) {
    EXPECT_EQ(Read("[c | d]").only("na_tag"),
              (Lines{"na_tagStart(s=\\bar,no=0,tagno=1, durPosN=1,durPosD=4)", "na_tagAdd(tagno=1,nargs=0)",
                     "na_tagEnd(tagno=1, durPosN=1,durPosD=4, beforeDurPosN=0,beforeDurPosD=1)"}));
}

// ---- Comments ----

TEST(GmnReader, CommentsAreSkippedAndEndAtTheFirstClosingMark) {
    // "(* a (* b *)" is one comment: the first "*)" ends it, so "d" is read.
    const Reading r = Read("% whole line\n[c (* x y *) (* a (* b *) d % to the end ]\n]");
    EXPECT_EQ(r.status, gmnReadOk);
    EXPECT_EQ(r.only("na_seqAppendNote"), (Lines{Note(0, 1, 0, 1, 4, 0, 0, 1), Note(2, 1, 0, 1, 4, 0, 1, 4)}));
    EXPECT_TRUE(r.errors.empty());
}

TEST(GmnReader, UnclosedCommentIsReportedAtTheEndOfTheFile) {
    const Reading r = Read("[c]\n(* never closed\n");
    EXPECT_EQ(r.status, gmnReadOk);
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].message, "'*)' missing.");
    EXPECT_EQ(r.errors[0].line, 3);
    EXPECT_EQ(r.errors[0].column, 1);
}

// ---- Structure ----

TEST(GmnReader, EverySequenceOfASegmentStartsFromTheDefaults) {
    const Reading r = Read("{[c2*1/2. d], [e f], []}");
    EXPECT_EQ(r.status, gmnReadOk);
    EXPECT_EQ(r.only("na_se"),
              (Lines{"na_segmInit()", "na_seqInit()", Note(0, 2, 0, 1, 2, 1, 0, 1), Note(2, 2, 0, 1, 2, 1, 3, 4),
                     "na_seqExit()", "na_seqInit()", Note(4, 1, 0, 1, 4, 0, 0, 1), Note(5, 1, 0, 1, 4, 0, 1, 4),
                     "na_seqExit()", "na_seqInit()", "na_seqExit()", "na_segmExit()"}));
}

TEST(GmnReader, EmptySegmentIsAPiece) {
    EXPECT_EQ(Read("{}").lines, (Lines{"na_segmInit()", "na_segmExit()"}));
}

TEST(GmnReader, AByteOrderMarkIsNotACharacterOfTheNotation) {
    const Reading r = Read("\xEF\xBB\xBF[c]");
    EXPECT_EQ(r.status, gmnReadOk);
    EXPECT_TRUE(r.errors.empty());
}

// ---- Modes ----

constexpr std::string_view mixed =
    "[\\clef<\"g\"> \\key<2> \\meter<\"4/4\"> \\slur(c d) | \\title<\"t\"> {e, g} \\tieBegin f]";

TEST(GmnReader, ModeElevenPassesOnlyLayoutTags) {
    const Reading r = Read(mixed, GmnMode::Layout);
    EXPECT_TRUE(r.only("na_seqAppend").empty());
    EXPECT_TRUE(r.only("na_chord").empty());
    EXPECT_EQ(r.only("na_tagStart"), (Lines{"na_tagStart(s=\\meter,no=0,tagno=3, durPosN=0,durPosD=1)",
                                            "na_tagStart(s=\\bar,no=0,tagno=5, durPosN=1,durPosD=2)"}));
    EXPECT_EQ(r.only("na_tagStrArg"), (Lines{"na_tagStrArg(s=4/4)"}));
}

TEST(GmnReader, ModeThirteenPassesOnlyClefAndKeyTags) {
    const Reading r = Read(mixed, GmnMode::ClefKey);
    EXPECT_TRUE(r.only("na_seqAppend").empty());
    EXPECT_EQ(r.only("na_tagStart"), (Lines{"na_tagStart(s=\\clef,no=0,tagno=1, durPosN=0,durPosD=1)",
                                            "na_tagStart(s=\\key,no=0,tagno=2, durPosN=0,durPosD=1)"}));
}

TEST(GmnReader, ModeTwoPassesNotesAndMusicalTags) {
    const Reading r = Read(mixed, GmnMode::Musical);
    EXPECT_EQ(r.only("na_seqAppendNote").size(), 5u);
    EXPECT_EQ(r.only("na_seqAppendChord").size(), 1u);
    EXPECT_EQ(r.only("na_tagStart"), (Lines{"na_tagStart(s=\\slur,no=0,tagno=4, durPosN=0,durPosD=1)",
                                            "na_tagStart(s=\\title,no=0,tagno=6, durPosN=1,durPosD=2)"}));
    EXPECT_EQ(r.only("na_tagEnd").size(), 2u);
}

TEST(GmnReader, ModeZeroPassesEverything) {
    const Reading r = Read(mixed, GmnMode::All);
    EXPECT_EQ(r.only("na_tagStart").size(), 7u);
    EXPECT_EQ(r.only("na_tagEnd").size(), 7u);
    EXPECT_EQ(r.only("na_seqAppendNote").size(), 5u);
}

TEST(GmnReader, ModeNumbers) {
    EXPECT_EQ(GmnModeFromNumber(0), GmnMode::All);
    EXPECT_EQ(GmnModeFromNumber(2), GmnMode::Musical);
    EXPECT_EQ(GmnModeFromNumber(11), GmnMode::Layout);
    EXPECT_EQ(GmnModeFromNumber(13), GmnMode::ClefKey);
    EXPECT_FALSE(GmnModeFromNumber(1));
}

// ---- Errors ----

TEST(GmnReader, UnknownCharacterIsReportedWithItsLineAndColumnAndSkipped) {
    const Reading r = Read("[c\n  d $ é e]");
    EXPECT_EQ(r.status, gmnReadOk);
    ASSERT_EQ(r.errors.size(), 2u);
    EXPECT_EQ(r.errors[0].message, "Unknown character");
    EXPECT_EQ(r.errors[0].line, 2);
    EXPECT_EQ(r.errors[0].column, 5);
    EXPECT_EQ(r.errors[1].line, 2);
    EXPECT_EQ(r.errors[1].column, 7);
    EXPECT_EQ(r.only("na_seqAppendNote").size(), 3u);
}

TEST(GmnReader, ParseErrorStopsTheReadingAndKeepsTheCallbacksMade) {
    const Reading r = Read("[c d\n  e ] f");
    EXPECT_NE(r.status, gmnReadOk);
    EXPECT_EQ(r.only("na_seqAppendNote").size(), 3u);
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].message, "parse error");
    EXPECT_EQ(r.errors[0].line, 2);
    EXPECT_EQ(r.errors[0].column, 7);
    EXPECT_TRUE(r.errors[0].endsReading);
}

TEST(GmnReader, MissingEndIsAParseErrorAtTheEndOfTheText) {
    const Reading r = Read("[c d");
    EXPECT_NE(r.status, gmnReadOk);
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].message, "parse error");
    EXPECT_EQ(r.errors[0].column, 5);
}

TEST(GmnReader, EmptyTextAndZeroDenominatorAreParseErrors) {
    EXPECT_NE(Read("").status, gmnReadOk);
    const Reading r = Read("[c/0 d]");
    EXPECT_NE(r.status, gmnReadOk);
    EXPECT_TRUE(r.only("na_seqAppendNote").empty());
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_EQ(r.errors[0].column, 4);
}

TEST(GmnReader, NestingDeeperThanTheParserStackIsReportedNotCrashed) {
    std::string deep = "[";
    for (int i = 0; i < 2000; ++i) deep += "\\t(";
    const Reading r = Read(deep + "c");
    EXPECT_NE(r.status, gmnReadOk);
    ASSERT_FALSE(r.errors.empty());
    EXPECT_EQ(r.errors.back().message, "parser stack overflow");
}

TEST(GmnReader, HugeNumbersAreClampedNotWrapped) {
    const Reading r = Read("[c*99999999999/3 d]");
    EXPECT_EQ(r.status, gmnReadOk);
    const auto notes = r.only("na_seqAppendNote");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], Note(0, 1, 0, 2147483647, 3, 0, 0, 1));
    EXPECT_EQ(notes[1], Note(2, 1, 0, 2147483647, 3, 0, 2147483647, 3));
}

TEST(GmnReader, FileThatCannotBeOpened) {
    GmnTrace trace([](const std::string&) {});
    std::vector<GmnError> errors;
    EXPECT_EQ(ReadGmnFile("/nonexistent/piece.gmn", GmnMode::All, trace,
                          [&errors](const GmnError& e) { errors.push_back(e); }),
              gmnCannotOpen);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].message, "Could not open file");
}

TEST(GmnReader, ErrorBoxTextAndCaption) {
    HeadlessUi ui(nullptr);
    ShowGmnError(ui, GmnError{"parse error", 12, 7, true});
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].caption, "Erreur");
    EXPECT_EQ(ui.messages()[0].text,
              "Erreur lors de l'analyse du fichier Guido\nErreur: 'parse error' (ligne 12, caractère 7)\n");
}

TEST(GmnReader, ErrorBoxesShowEveryFailureButOnlyTheFirstOfManyUnknownCharacters) {
    HeadlessUi ui(nullptr);
    GmnTrace trace([](const std::string&) {});
    EXPECT_NE(ReadGmnText("[c $$$$$$$$$$$$$$$$$$$$ d", GmnMode::All, trace, GmnErrorBoxes(ui)), gmnReadOk);
    ASSERT_EQ(ui.messages().size(), static_cast<std::size_t>(maxGmnErrorBoxes) + 1);
    EXPECT_NE(ui.messages().back().text.find("'parse error'"), std::string::npos);
}

}  // namespace
}  // namespace notavera
