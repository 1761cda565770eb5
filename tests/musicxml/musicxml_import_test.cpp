// MusicXML imported into a score: the notes, voices, staves, signs and texts that come in, what is reported left
// out, and the files that cannot be read.
#include <gtest/gtest.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "musicxml/musicxml_import.h"
#include "platform/headless/headless_ui.h"
#include "platform/xml/xml_file_reader.h"
#include "score/new_document.h"
#include "score/text_records.h"
#include "shell/command_ids.h"
#include "shell/dispatch.h"
#include "shell/musicxml_import_command.h"
#include "support/score_builder.h"
#include "support/test_files.h"

namespace notavera {
namespace {

std::string Partwise(const std::string& parts, const std::string& head = {}) {
    return "<?xml version=\"1.0\"?>\n<score-partwise version=\"4.0\">" + head + "<part-list/>" + parts +
           "</score-partwise>";
}

// One part of the given measures, which start with a 4/4 treble staff of `divisions` per quarter.
std::string Part(const std::vector<std::string>& measures, int staves = 1, const std::string& divisions = "1") {
    std::string s = "<part id=\"P1\">";
    for (std::size_t i = 0; i < measures.size(); ++i) {
        s += "<measure number=\"" + std::to_string(i + 1) + "\">";
        if (i == 0)
            s += "<attributes><divisions>" + divisions +
                 "</divisions><key><fifths>0</fifths></key><time><beats>4</beats><beat-type>4</beat-type></time>"
                 "<staves>" + std::to_string(staves) + "</staves><clef><sign>G</sign><line>2</line></clef></attributes>";
        s += measures[i] + "</measure>";
    }
    return s + "</part>";
}

// A note of `duration` divisions; without one (a grace note) for 0.
std::string Note(const std::string& step, int octave, int duration, const std::string& extra = {}) {
    return "<note><pitch><step>" + step + "</step><octave>" + std::to_string(octave) + "</octave></pitch>" +
           (duration > 0 ? "<duration>" + std::to_string(duration) + "</duration>" : "") + extra + "</note>";
}

struct Imported {
    ScoreDocument doc;
    std::vector<MessageBoxRequest> messages;
    int status = 0;
};

Imported Import(const std::string& xml) {
    Imported r;
    HeadlessUi ui(nullptr);
    SetUpNewDocument(r.doc, 1);
    r.status = ImportMusicXml(r.doc, ReadXmlOrContainerBytes(xml), "f.musicxml", ui);
    r.messages = ui.messages();
    return r;
}

struct Seen {
    int staff;
    const ElementRecord* e;
};

// The elements of page 1 that `keep` keeps, staff by staff.
std::vector<Seen> Elements(const ScoreDocument& doc, const std::function<bool(const ElementRecord&)>& keep) {
    std::vector<Seen> seen;
    const PageRecord& page = *doc.findPage(1);
    for (std::size_t s = 0; s < page.staves.size(); ++s)
        for (const ElementRecord& e : page.staves[s].elements)
            if (keep(e)) seen.push_back({static_cast<int>(s), &e});
    return seen;
}

std::vector<Seen> Notes(const ScoreDocument& doc) {
    return Elements(doc, [](const ElementRecord& e) { return e.isNote() && !e.w0().hidden(); });
}

std::vector<std::string> Texts(const ScoreDocument& doc) {
    std::vector<std::string> texts;
    for (const Seen& s : Elements(doc, [](const ElementRecord& e) { return e.isSignOfType(SignType::Text); }))
        texts.push_back(TextCharacters(*s.e));
    return texts;
}

struct ImportCase {
    const char* name;
    std::string xml;
    std::function<void(const Imported&)> check;
};

class MusicXmlImport : public ::testing::TestWithParam<ImportCase> {};

TEST_P(MusicXmlImport, BringsInWhatTheFileHolds) {
    const Imported r = Import(GetParam().xml);
    ASSERT_EQ(r.status, 1);
    GetParam().check(r);
}

const std::string chord = Note("C", 4, 2) + Note("E", 4, 2, "<chord/>") + Note("G", 4, 2, "<chord/>") + Note("A", 4, 2);
const std::string twoVoices = Note("E", 5, 4, "<voice>1</voice>") + "<backup><duration>4</duration></backup>" +
                              "<forward><duration>2</duration></forward>" + Note("C", 4, 2, "<voice>2</voice>");

// Three measures, a system break asked before the second: another program's breaks are its layout, and the score is
// laid out afresh; a score this program wrote keeps them.
const std::string brokenLine = Part({Note("C", 4, 4), "<print new-system=\"yes\"/>" + Note("D", 4, 4), Note("E", 4, 4)});
const std::string writtenHere = "<identification><encoding><software>Notavera</software></encoding></identification>";
std::vector<int> StavesOfNotes(const Imported& r) {
    std::vector<int> staves;
    for (const Seen& s : Notes(r.doc)) staves.push_back(s.staff);
    return staves;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MusicXmlImport,
    ::testing::Values(
        ImportCase{"BreaksOfAnotherProgramAreItsLayout", Partwise(brokenLine),
                   [](const Imported& r) { EXPECT_EQ(StavesOfNotes(r), (std::vector{0, 0, 0})); }},
        ImportCase{"BreaksOfAScoreWrittenHereAreKept", Partwise(brokenLine, writtenHere),
                   [](const Imported& r) { EXPECT_EQ(StavesOfNotes(r), (std::vector{0, 1, 1})); }},
        ImportCase{"ChordAtOneX", Partwise(Part({chord})),
                   [](const Imported& r) {
                       const auto n = Notes(r.doc);
                       ASSERT_EQ(n.size(), 4u);
                       EXPECT_EQ(n[0].e->x, n[2].e->x);
                       EXPECT_LT(n[2].e->x, n[3].e->x);
                       EXPECT_EQ(n[3].e->noteWord().step(), 6u);
                   }},
        ImportCase{"TieOverTheBarAndFlatSpelling",
                   Partwise(Part({"<note><rest/><duration>3</duration></note>" +
                                      Note("D", 4, 1, "<tie type=\"start\"/>"),
                                  Note("D", 4, 4, "<tie type=\"stop\"/>") +
                                      "<note><pitch><step>D</step><alter>-1</alter><octave>5</octave></pitch>"
                                      "<duration>4</duration></note>"})),
                   [](const Imported& r) {
                       const auto n = Notes(r.doc);
                       ASSERT_EQ(n.size(), 3u);
                       EXPECT_TRUE(n[0].e->w0().tieStarts());
                       EXPECT_TRUE(n[1].e->w0().tieEnds());
                       EXPECT_FALSE(n[2].e->w0().tieEnds());
                       EXPECT_EQ(n[2].e->noteWord().step(), 2u);
                       EXPECT_EQ(n[2].e->noteWord().accidental(), Accidental::Flat);
                       EXPECT_EQ(n[2].e->w0().octave(), 5u);
                   }},
        ImportCase{"VoicesOfOneStaffAndTheStavesOfAPart",
                   Partwise(Part({twoVoices + "<backup><duration>4</duration></backup>" +
                                  Note("C", 3, 4, "<voice>5</voice><staff>2</staff>")},
                                 2)),
                   [](const Imported& r) {
                       const auto n = Notes(r.doc);
                       ASSERT_EQ(n.size(), 3u);
                       EXPECT_EQ(n[0].staff, 0);
                       EXPECT_EQ(n[1].staff, 1);  // the second voice, on a staff of its own at the first's height
                       EXPECT_EQ(n[2].staff, 2);
                       EXPECT_GT(n[1].e->x, n[2].e->x);  // it comes in after the half note it leaves free
                   }},
        ImportCase{"TripletsAndGraceNotes",
                   Partwise(Part({Note("C", 4, 0, "<grace/><type>eighth</type>") +
                                  Note("C", 4, 2) + Note("D", 4, 2) + Note("E", 4, 2) + Note("F", 4, 6)},
                                 1, "3")),
                   [](const Imported& r) {
                       const auto n = Notes(r.doc);
                       ASSERT_EQ(n.size(), 5u);
                       EXPECT_TRUE(n[0].e->w0().cueSize());
                       EXPECT_EQ(n[1].e->w1().numerator(), 3u);
                       EXPECT_EQ(n[1].e->w1().denominator(), 2u);
                       EXPECT_EQ(n[4].e->w1().numerator(), 1u);
                   }},
        ImportCase{"LyricsDynamicsAndHeadings",
                   Partwise(Part({"<direction><direction-type><dynamics><ff/></dynamics></direction-type></direction>" +
                                  Note("C", 4, 2, "<lyric><syllabic>begin</syllabic><text>Hel</text></lyric>") +
                                  Note("D", 4, 2, "<lyric><syllabic>end</syllabic><text>lo</text></lyric>")}),
                            "<work><work-title>Air</work-title></work>"
                            "<identification><creator type=\"composer\">Anon</creator></identification>"),
                   [](const Imported& r) {
                       const auto t = Texts(r.doc);
                       for (const char* want : {"Hel-", "lo", "ff", "Air", "Anon"})
                           EXPECT_NE(std::find(t.begin(), t.end(), want), t.end()) << want;
                   }},
        ImportCase{"FurtherVersesOnLinesOfTheirOwnUnderTheirNotesSevenAtMost",
                   Partwise(Part({Note("C", 4, 1, "<lyric><syllabic>begin</syllabic><text>Hel</text></lyric>"
                                                  "<lyric number=\"2\"><text>Good</text></lyric>" + [] {
                                                      std::string more;  // verses 4 to 8: the eighth is one too many
                                                      for (int v = 4; v <= 8; ++v)
                                                          more += "<lyric number=\"" + std::to_string(v) +
                                                                  "\"><text>v</text></lyric>";
                                                      return more;
                                                  }()) +
                                  "<note><rest/><duration>1</duration></note>" +
                                  Note("D", 4, 2, "<lyric number=\"3\"><text>three</text></lyric>"
                                                  "<lyric><syllabic>end</syllabic><text>lo</text></lyric>")})),
                   [](const Imported& r) {
                       const auto n = Notes(r.doc);
                       ASSERT_EQ(n.size(), 2u);
                       std::map<std::string, Seen> lyrics;
                       for (const Seen& s : Elements(r.doc, [](const ElementRecord& e) { return IsText(e); }))
                           lyrics.emplace(TextCharacters(*s.e), s);
                       const std::vector<std::tuple<std::string, int, std::size_t>> want = {
                           {"Hel-", 0, 0}, {"lo", 0, 1}, {"Good", 1, 0}, {"three", 2, 1}};
                       const PageRecord& page = *r.doc.findPage(1);
                       for (const auto& [text, staff, note] : want) {
                           ASSERT_TRUE(lyrics.contains(text)) << text;
                           EXPECT_EQ(lyrics.at(text).staff, staff) << text;
                           EXPECT_EQ(page.staves[static_cast<std::size_t>(staff)].y, page.staves[0].y) << text;
                           EXPECT_NEAR(lyrics.at(text).e->x, n[note].e->x, 20) << text;
                       }
                       ASSERT_EQ(r.messages.size(), 1u);
                       EXPECT_NE(r.messages[0].text.find(": lyric (1)"), std::string::npos) << r.messages[0].text;
                   }},
        // The lower staff, without notes, comes in all the same.
        ImportCase{"ThePartOfTwoTrebleStavesIsBraced", Partwise(Part({Note("E", 5, 4, "<staff>1</staff>")}, 2)),
                   [](const Imported& r) {
                       const PageRecord& page = *r.doc.findPage(1);
                       ASSERT_GE(page.staves.size(), 2u);
                       EXPECT_EQ(page.staves[0].key().blockGrouping(), 1u);
                       EXPECT_TRUE(page.staves[0].lines().brace());
                       EXPECT_EQ(page.staves[1].key().blockGrouping(), 2u);
                   }},
        ImportCase{"RepeatsKeysAndClefs",
                   Partwise(Part({"<barline location=\"left\"><repeat direction=\"forward\"/></barline>" +
                                      Note("C", 4, 4) +
                                      "<barline><bar-style>light-heavy</bar-style><repeat direction=\"backward\"/>"
                                      "</barline>",
                                  "<attributes><key><fifths>-3</fifths></key><clef><sign>F</sign><line>4</line></clef>"
                                  "</attributes>" + Note("C", 3, 4)})),
                   [](const Imported& r) {
                       std::string bars;
                       for (const Seen& s : Elements(r.doc, [](const ElementRecord& e) { return e.isSign(); })) {
                           const auto sw = s.e->signWord();
                           if (sw.signType() == SignType::Bar) bars += static_cast<char>(sw.code());
                           if (sw.signType() == SignType::KeyChange) {
                               EXPECT_EQ(sw.code(), 3u);
                           }
                       }
                       EXPECT_EQ(bars.find('F') != std::string::npos, true) << bars;
                       EXPECT_EQ(Elements(r.doc, [](const ElementRecord& e) {
                                     return e.isSignOfType(SignType::Clef) && e.signWord().code() == 3;
                                 }).size(), 1u);
                   }},
        ImportCase{"WhatCannotBeHeldIsCountedOnce",
                   Partwise(Part({"<harmony/><harmony/>" +
                                  Note("C", 4, 4, "<notations><fermata/><articulations><tenuto/></articulations>"
                                                  "</notations>")})),
                   [](const Imported& r) {
                       ASSERT_EQ(r.messages.size(), 1u);
                       EXPECT_NE(r.messages[0].text.find("fermata (1), harmony (2), tenuto (1)"), std::string::npos)
                           << r.messages[0].text;
                       EXPECT_EQ(Notes(r.doc).size(), 1u);
                   }},
        ImportCase{"ThirteenNotesInTheTimeOfFourQuarters",
                   Partwise(Part({[] {
                                      std::string notes;
                                      for (int i = 0; i < 13; ++i) notes += Note("C", 5, 4);
                                      return notes;
                                  }(),
                                  Note("D", 5, 52)},
                                 1, "13")),
                   [](const Imported& r) {
                       const auto n = Notes(r.doc);
                       ASSERT_EQ(n.size(), 14u);  // each note whole, none cut into tied pieces
                       EXPECT_EQ(n[0].e->w1().numerator(), 13u);
                       EXPECT_EQ(n[13].e->noteWord().durationCode(), 2u);
                   }},
        ImportCase{"ArticulationsAndOctaveLines",
                   Partwise(Part({Note("C", 5, 1, "<notations><articulations><staccatissimo/></articulations></notations>") +
                                  "<direction><direction-type><octave-shift type=\"down\" size=\"8\"/></direction-type>"
                                  "</direction>" +
                                  Note("C", 7, 1, "<notations><articulations><strong-accent/></articulations></notations>") +
                                  "<direction><direction-type><octave-shift type=\"stop\" size=\"8\"/></direction-type>"
                                  "</direction><direction><direction-type><octave-shift type=\"up\" size=\"15\"/>"
                                  "</direction-type></direction>" +
                                  Note("C", 2, 1) +
                                  "<direction><direction-type><octave-shift type=\"stop\" size=\"15\"/></direction-type>"
                                  "</direction>" +
                                  Note("E", 5, 1)})),
                   [](const Imported& r) {
                       const auto n = Notes(r.doc);
                       ASSERT_EQ(n.size(), 4u);
                       const std::vector<std::array<unsigned, 3>> want = {{3, 5, 0}, {5, 6, 1}, {0, 4, 4}, {0, 5, 0}};
                       for (std::size_t i = 0; i < want.size(); ++i) {
                           const ElementRecord& e = *n[i].e;
                           EXPECT_EQ(e.noteWord().staccato() ? e.noteWord().accentType() : 0u, want[i][0]) << i;
                           EXPECT_EQ(e.w0().octave(), want[i][1]) << i;  // written where the line shows it
                           EXPECT_EQ(e.w1().octaveShift(), want[i][2]) << i;
                       }
                   }},
        ImportCase{"AClefChangeOfTwoVoicesIsDrawnOnce",
                   Partwise(Part({twoVoices, "<attributes><clef><sign>F</sign><line>4</line></clef></attributes>" +
                                                 twoVoices})),
                   [](const Imported& r) {
                       const auto bass = Elements(r.doc, [](const ElementRecord& e) {
                           return e.isSignOfType(SignType::Clef) && e.signWord().code() == 3;
                       });
                       ASSERT_EQ(bass.size(), 2u);  // each voice reads its pitches in it
                       EXPECT_NE(bass[0].e->w0().hidden(), bass[1].e->w0().hidden());
                   }},
        ImportCase{"TheFilesBeamsOnlyAndNoDivisionOfNothing",
                   Partwise(Part({Note("C", 5, 1, "<beam number=\"1\">begin</beam>") +
                                  Note("D", 5, 1, "<beam number=\"1\">end</beam>") + Note("E", 5, 1) + Note("F", 5, 1) +
                                  "<attributes><divisions>0</divisions></attributes>" + Note("G", 5, 4)},
                                 1, "2")),
                   [](const Imported& r) {
                       const auto n = Notes(r.doc);
                       ASSERT_EQ(n.size(), 5u);
                       EXPECT_TRUE(n[0].e->w0().inBeam());
                       EXPECT_FALSE(n[2].e->w0().inBeam());  // the file beams what it beams: no beam is added
                       EXPECT_EQ(n[4].e->noteWord().durationCode(), 3u);  // still two divisions to the quarter
                   }},
        ImportCase{"AnEmptyMeasureLastsItsMeter", Partwise(Part({Note("C", 4, 4), "", Note("D", 4, 4)})),
                   [](const Imported& r) {
                       std::string seen;  // n a note, | a bar, w a hidden whole rest
                       for (const Seen& s : Elements(r.doc, [](const ElementRecord&) { return true; })) {
                           const ElementRecord& e = *s.e;
                           if (e.isNote()) seen += 'n';
                           if (e.isSignOfType(SignType::Bar)) seen += static_cast<char>(e.signWord().code());
                           if (e.isRest() && e.w0().hidden()) seen += e.noteWord().durationCode() == 2 ? 'w' : '?';
                       }
                       EXPECT_EQ(seen, "n|w|nE");
                   }},
        ImportCase{"TimewiseScore",
                   "<score-timewise><part-list/><measure number=\"1\"><part id=\"A\">" + Note("C", 4, 4) +
                       "</part><part id=\"B\">" + Note("G", 3, 4) + "</part></measure><measure number=\"2\"><part id=\"A\">" +
                       Note("D", 4, 4) + "</part><part id=\"B\">" + Note("A", 3, 4) + "</part></measure></score-timewise>",
                   [](const Imported& r) {
                       const auto n = Notes(r.doc);
                       ASSERT_EQ(n.size(), 4u);
                       EXPECT_EQ(n[1].e->noteWord().step(), 2u);
                       EXPECT_EQ(n[2].staff, 1);
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
    std::string bytes;
    const char* where;  // what message 4 says after the file name
};

class MusicXmlBadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(MusicXmlBadInput, GivesMessageFourWithWhereTheReadingStopped) {
    const Imported r = Import(GetParam().bytes);
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].stringId, 4);
    EXPECT_NE(r.messages[0].text.find(std::string("f.musicxml") + GetParam().where), std::string::npos)
        << r.messages[0].text;
}

INSTANTIATE_TEST_SUITE_P(Cases, MusicXmlBadInput,
                         ::testing::Values(BadCase{"<score-partwise>\n<part>\n</score-partwise>", " (ligne 3, colonne"},
                                           BadCase{"<?xml version=\"1.0\"?>\n\n  <html/>", " (ligne 3, colonne 9)"},
                                           BadCase{"", " (ligne 1, colonne 0)"},
                                           BadCase{std::string("PK\x03\x04garbage", 11), " !"}));

// A compressed file: the container names its root file, which is read instead of the first file of the archive.
TEST(MusicXmlContainer, ReadsTheRootFileTheContainerNames) {
    std::string archive;
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
        zip_source_keep(buffer);
        zip_t* z = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
        ASSERT_NE(z, nullptr);
        const std::string decoy = Partwise(Part({Note("C", 4, 4)}));
        const std::string score = Partwise(Part({Note("D", 4, 4) + Note("E", 4, 4)}));
        const std::string container = "<container><rootfiles><rootfile full-path=\"s/score.xml\"/></rootfiles></container>";
        for (const auto& [name, text] : {std::pair{"a.xml", &decoy}, {"s/score.xml", &score},
                                         {"META-INF/container.xml", &container}})
            zip_file_add(z, name, zip_source_buffer(z, text->data(), text->size(), 0), 0);
        ASSERT_EQ(zip_close(z), 0);
        zip_source_open(buffer);
        zip_stat_t st;
        zip_source_stat(buffer, &st);
        archive.resize(st.size);
        zip_source_read(buffer, archive.data(), st.size);
        zip_source_close(buffer);
        zip_source_free(buffer);
    }
    const Imported r = Import(archive);
    const auto n = Notes(r.doc);
    ASSERT_EQ(n.size(), 2u);
    EXPECT_EQ(n[0].e->noteWord().step(), 2u);
}

// The menu command: a score read names the document after its file; a file that cannot be read leaves the
// document untitled and as it was.
TEST(MusicXmlImportCommand, NamesTheDocumentAfterTheFileItRead) {
    test::TempDir dir;
    test::WriteText(dir / "air.musicxml", Partwise(Part({Note("C", 4, 4)})));
    test::WriteText(dir / "bad.musicxml", "<score-partwise>");
    for (const char* name : {"bad.musicxml", "air.musicxml"}) {
        test::ScoreBuilder score;
        score.ui().provideXmlReader(ReadXmlOrContainerFile);
        score.ui().queueFileName((dir / name).string());
        DispatchCommand(score.ctx(), cmd::ImportMusicXml);
        const bool good = std::string(name) == "air.musicxml";
        EXPECT_EQ(Notes(score.doc()).size(), good ? 1u : 0u) << name;
        EXPECT_EQ(score.doc().storage.path, good ? dir / "air.mus" : std::filesystem::path()) << name;
        EXPECT_EQ(score.ui().messages().size(), good ? 0u : 1u) << name;
    }
}

}  // namespace
}  // namespace notavera
