// The layout of an imported piece: systems of its staves with their voices and grouping, a treble clef where a
// staff names none, and music that goes on in the next system of the same voices.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "guido/gmn_import.h"
#include "platform/headless/headless_ui.h"
#include "render/note_geometry.h"
#include "score/new_document.h"
#include "score/text_records.h"

namespace notavera {
namespace {

// A new document with the piece imported and laid out.
ScoreDocument ImportedPiece(const std::string& gmn) {
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    ImportGuidoPieceText(doc, gmn, ui);
    return doc;
}

std::string Bars(const std::string& bar, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += bar + " ";
    return s;
}

struct PieceCase {
    std::string gmn;
    unsigned staffCount;              // staves of one system
    std::vector<unsigned> distances;  // of the staves of the second system
    unsigned block;                   // block grouping of the first staff
    bool brace;
};

class GmnPieceLayout : public ::testing::TestWithParam<PieceCase> {};

TEST_P(GmnPieceLayout, GathersTheStavesIntoSystemsWhoseVoicesAreTheirPlaces) {
    const PieceCase& c = GetParam();
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    ImportGuidoPieceText(doc, c.gmn, ui);
    const PageRecord& page = *doc.findPage(1);
    ASSERT_EQ(page.staves.size() % c.staffCount, 0u);
    ASSERT_GT(page.staves.size(), c.staffCount);
    for (std::size_t i = 0; i < page.staves.size(); ++i) {
        const StaffRecord& staff = page.staves[i];
        EXPECT_EQ(staff.voice().voice(), i % c.staffCount + 1) << i;
        if (i >= c.staffCount && i < 2 * c.staffCount) {
            EXPECT_EQ(staff.key().distance(), c.distances[i - c.staffCount]) << i;
        }
        // Every staff starts with a clef: its own, or the treble clef.
        if (!staff.elements.empty()) {
            EXPECT_TRUE(staff.elements.front().isSignOfType(SignType::Clef)) << i;
        }
    }
    EXPECT_EQ(page.staves[0].key().blockGrouping(), c.block);
    EXPECT_EQ(page.staves[0].lines().brace(), c.brace);
    // The music goes on in the second system of the page.
    EXPECT_FALSE(page.staves[c.staffCount].elements.empty());
}

const std::string quarters = Bars("c1/4 d e f", 24);
INSTANTIATE_TEST_SUITE_P(
    Pieces, GmnPieceLayout,
    ::testing::Values(PieceCase{"[\\meter<\"4/4\"> " + quarters + "]", 1, {13}, 0, false},
                      PieceCase{"{[\\clef<\"g\"> \\meter<\"4/4\"> " + quarters + "], [\\clef<\"f\"> \\meter<\"4/4\"> " +
                                    Bars("c0/1", 24) + "]}",
                                2,
                                {14, 10},
                                1,
                                true},
                      PieceCase{"{[\\staff<1> \\meter<\"4/4\"> " + quarters + "], [\\staff<2> \\meter<\"4/4\"> " +
                                    Bars("c1/2 e", 24) + "], [\\staff<1> \\meter<\"4/4\"> " + Bars("e1/1", 24) + "]}",
                                3,
                                {14, 0, 10},
                                1,
                                false},
                      // A brace of one staff is none: two treble staves are bracketed.
                      PieceCase{"{[\\accol<range=\"1-1\"> \\meter<\"4/4\"> " + quarters + "], [\\meter<\"4/4\"> " +
                                    quarters + "]}",
                                2, {14, 10}, 1, false},
                      // Without bar lines, the lines end where both staves begin a note together.
                      PieceCase{"{[" + Bars("c1/8 d e f", 48) + "], [" + Bars("_/8 c0/4 c0/8", 32) + "]}", 2,
                                {14, 10}, 1, false}));

// A sequence that names no clef reads in the clef of the staff it shares, or else in the treble clef; one that names
// no key takes the key of the staff it shares.
TEST(GmnPieceLayoutStaves, ASequenceWithoutAClefOrKeyTakesThoseOfItsStaff) {
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    ImportGuidoPieceText(doc, "{[\\staff<1> c1 d], [\\staff<2> \\clef<\"f\"> \\key<3> c0 d], [\\staff<2> e0 f]}", ui);
    std::vector<unsigned> clefs, keys;
    for (const StaffRecord& staff : doc.findPage(1)->staves) {
        if (staff.elements.empty()) continue;
        clefs.push_back(staff.elements.front().signWord().code());
        keys.push_back(staff.key().keyCount());
    }
    EXPECT_EQ(clefs, (std::vector<unsigned>{1, 3, 3}));
    EXPECT_EQ(keys, (std::vector<unsigned>{0, 3, 3}));
}

// Two voices on one staff: the upper voice's rests stand two spaces higher than a lone voice's, the lower voice's two
// spaces lower, unless both rest alike.
TEST(GmnPieceLayoutStaves, TheRestsOfTwoVoicesOnOneStaffStandApart) {
    const auto restPlaces = [](const std::string& gmn) {
        const ScoreDocument doc = ImportedPiece(gmn);
        std::vector<int> places;
        for (const StaffRecord& staff : doc.findPage(1)->staves)
            for (const ElementRecord& e : staff.elements)
                if (e.isRest()) places.push_back(static_cast<int>(e.w0().octave() * 7 + e.noteWord().step()));
        return places;
    };
    const std::vector<int> alone = restPlaces("[c1 _]");
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_EQ(restPlaces("{[\\staff<1> c1 _], [\\staff<1> _ e0]}"), (std::vector<int>{alone[0] + 4, alone[0] - 4}));
    // Both voices resting alike show one rest, where a lone voice's stands; the other is hidden.
    EXPECT_EQ(restPlaces("{[\\staff<1> _/1 | c1/1], [\\staff<1> _/1 | e0/1]}"), (std::vector<int>{alone[0], alone[0]}));
    const ScoreDocument doc = ImportedPiece("{[\\staff<1> _/1 | c1/1], [\\staff<1> _/1 | e0/1]}");
    int shown = 0;
    for (const StaffRecord& staff : doc.findPage(1)->staves)
        for (const ElementRecord& e : staff.elements) shown += e.isRest() && !e.w0().hidden();
    EXPECT_EQ(shown, 1);
}

// A rest that fills its bar alone is set as engravers set it: a whole rest in the middle of the bar, in any meter. A
// rest sharing its bar stays as written.
TEST(GmnPieceLayoutStaves, ARestFillingItsBarIsAWholeRestInTheMiddleOfTheBar) {
    using Rest = std::pair<unsigned, bool>;  // the duration code, and whether it stands in the middle of its bar
    const ScoreDocument doc = ImportedPiece("[\\meter<\"2/4\"> c/4 d | _/2 | e/4 _ | f/2 ]");
    const std::vector<ElementRecord>& els = doc.findPage(1)->staves[0].elements;
    std::vector<int> bars;
    for (const ElementRecord& e : els)
        if (e.isSignOfType(SignType::Bar)) bars.push_back(e.x);
    std::vector<Rest> rests;
    for (const ElementRecord& e : els) {
        if (!e.isRest()) continue;
        const auto closing = std::upper_bound(bars.begin(), bars.end(), e.x);
        ASSERT_TRUE(closing != bars.begin() && closing != bars.end());
        rests.emplace_back(e.noteWord().durationCode(), std::abs(2 * e.x - *(closing - 1) - *closing) <= 1);
    }
    EXPECT_EQ(rests, (std::vector<Rest>{{2, true}, {4, false}}));
}

// Voices sharing a staff are stemmed apart whatever their pitches: the first voice up, the other down. A voice that
// only doubles the notes of another (to carry a verse of lyrics) leaves the stems as they come.
TEST(GmnPieceLayoutStaves, VoicesSharingAStaffAreStemmedApart) {
    for (const bool doubled : {false, true}) {
        const ScoreDocument doc =
            ImportedPiece(std::string("{[\\staff<1> c1/2 a2/2], [\\staff<1> c1/2 ") + (doubled ? "a2/2" : "a1/2") + "]}");
        const auto& staves = doc.findPage(1)->staves;
        ASSERT_GE(staves.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i)
            for (const ElementRecord& e : staves[i].elements) {
                if (!e.isNote()) continue;
                if (doubled) EXPECT_TRUE(e.noteWord().stemAutomatic()) << i;
                else EXPECT_TRUE(!e.noteWord().stemAutomatic() && e.noteWord().stemFlag() == (i == 0)) << i;
            }
    }
}

// Two voices' notes at one x: a second, or a unison of different heads, puts the up-stem head beside the other; equal
// flagged values stemmed alike share the stem of the head farther from its end; anything else stays as it is. The
// notes keep their x, and so sound together.
TEST(GmnPieceLayoutStaves, ClashingNotesOfTwoVoicesOnOneStaffAreSetApart) {
    struct Case {
        const char* upper;
        const char* lower;
        const char* marks;  // per voice: "s" head beside, "n" no stem, "-" untouched
    };
    const Case cases[] = {
        {"\\stemsUp d2/4", "\\stemsDown c2/4", "s-"},    // a second
        {"\\stemsUp c2/4", "\\stemsDown c2/2", "s-"},    // a unison of different heads
        {"\\stemsUp c2/4.", "\\stemsDown c2/4", "s-"},   // ... or dots
        {"\\stemsUp c2/4", "\\stemsDown c2/4", "--"},    // one head serves both
        {"\\stemsUp e2/4", "\\stemsDown c2/4", "--"},    // a third
        {"\\stemsDown d2/4", "\\stemsUp c2/4", "-s"},    // the up-stem note is the lower voice's
        {"\\stemsDown e2/8", "\\stemsDown c2/8", "-n"},  // the upper head's stem passes the lower one
        {"\\stemsUp e2/8", "\\stemsUp c2/8", "n-"},
        {"\\stemsDown e2/8", "\\stemsDown c2/16", "--"},
    };
    for (const Case& c : cases) {
        const std::string gmn = std::string("{[\\staff<1> ") + c.upper + "], [\\staff<1> " + c.lower + "]}";
        const ScoreDocument doc = ImportedPiece(gmn);
        std::string marks;
        std::vector<int> xs;
        int longest = 0;  // the stem corrections
        for (int k : {0, 1})
            for (const ElementRecord& e : doc.findPage(1)->staves[static_cast<std::size_t>(k)].elements) {
                if (e.isSign() || e.isRest()) continue;
                xs.push_back(e.x);
                const auto n = e.noteWord();
                marks += n.bit(note_bits::OtherSide) ? 's' : n.headShape() == NoStemShape ? 'n' : '-';
                longest = std::max(longest, NoteBlobWord(e, 0));
            }
        EXPECT_EQ(marks, c.marks) << gmn;
        EXPECT_EQ(longest > 0, marks.find('n') != std::string::npos) << gmn << ": a shared stem reaches past both heads";
        ASSERT_EQ(xs.size(), 2u) << gmn;
        EXPECT_EQ(xs[0], xs[1]) << gmn;
    }
    // The heads set beside each other take their room from the line's distances, not from beyond its end.
    const auto lastX = [](const std::string& gmn) { return ImportedPiece(gmn).findPage(1)->staves[0].elements.back().x; };
    const std::string seconds = Bars(Bars("d2/16 e f g a b c3 d", 2) + "|", 6);
    const std::string thirds = Bars(Bars("e2/16 f g a b c3 d e", 2) + "|", 6);
    const std::string lower = Bars(Bars("c2/16 d e f g a b c3", 2) + "|", 6);
    const std::string up = "{[\\staff<1> \\meter<\"4/4\"> \\stemsUp ", down = "], [\\staff<1> \\meter<\"4/4\"> \\stemsDown ";
    EXPECT_EQ(lastX(up + seconds + down + lower + "]}"), lastX(up + thirds + down + lower + "]}"));
}

// The systems and pages a piece asks for begin where it asks, however much room the line or page had left.
TEST(GmnPieceLayoutStaves, NewSystemAndNewPageBeginWhereThePieceAsks) {
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    ImportGuidoPieceText(doc, "[\\meter<\"4/4\"> c1 d \\newSystem e f | g a \\newPage b c2]", ui);  // inside bars
    std::vector<std::pair<unsigned, int>> notesOfLines;  // (page, notes) of each staff holding music
    for (const PageRecord& page : doc.pages)
        for (const StaffRecord& staff : page.staves) {
            const auto notes = std::count_if(staff.elements.begin(), staff.elements.end(),
                                             [](const ElementRecord& e) { return e.isNote(); });
            if (notes > 0) notesOfLines.push_back({page.number, static_cast<int>(notes)});
        }
    EXPECT_EQ(notesOfLines, (std::vector<std::pair<unsigned, int>>{{1, 2}, {1, 4}, {2, 2}}));
    // No page prints empty staves after its music, which ends on a final bar.
    for (const PageRecord& page : doc.pages) EXPECT_EQ(page.staves.size(), page.number == 1 ? 2u : 1u);
    const ElementRecord& last = doc.pages.back().staves[0].elements.back();
    EXPECT_TRUE(last.isSignOfType(SignType::Bar) && last.signWord().code() == 'E');
}

// A clef change written after the bar line where a line ends begins the next line, as its clef.
// A change of clef written after a bar line stands before it, smaller than a line's first clef, as engravers set it:
// within a line, and at a line's end as the warning of the next line's clef, which that line begins with full size.
TEST(GmnPieceLayoutStaves, AClefChangeAfterTheBarThatEndsALineBeginsTheNextLine) {
    const ScoreDocument doc = ImportedPiece(
        "{[c1/1 | d1/1 | \\newSystem e1/1], [c0/1 | \\clef<\"c3\"> d0/1 | \\clef<\"g\"> e1/1]}");
    const auto& lines = doc.pages.at(0).staves;
    ASSERT_GE(lines.size(), 4u);
    const auto& ending = lines[1].elements;
    ASSERT_GE(ending.size(), 2u);
    EXPECT_TRUE(ending.back().isSignOfType(SignType::Bar));
    EXPECT_TRUE(ending[ending.size() - 2].isSignOfType(SignType::Clef)) << "the warning clef";
    EXPECT_TRUE(ending[ending.size() - 2].w0().cueSize());
    const auto changed = std::find_if(ending.begin() + 1, ending.end(), [](const ElementRecord& e) {
        return e.isSignOfType(SignType::Clef) && e.signWord().code() != 1u;
    });
    ASSERT_NE(changed, ending.end());
    EXPECT_TRUE((changed + 1)->isSignOfType(SignType::Bar)) << "the alto clef before the first bar line";
    EXPECT_TRUE(changed->w0().cueSize());
    const auto& next = lines[3].elements;
    const auto firstNote = std::find_if(next.begin(), next.end(), [](const ElementRecord& e) { return e.isNote(); });
    const auto isClef = [](const ElementRecord& e) { return e.isSignOfType(SignType::Clef); };
    ASSERT_EQ(std::count_if(next.begin(), firstNote, isClef), 1);
    EXPECT_EQ(std::find_if(next.begin(), firstNote, isClef)->signWord().code(), 1u) << "the treble clef";
    EXPECT_FALSE(std::find_if(next.begin(), firstNote, isClef)->w0().cueSize());
}

// A piece ends on one bar line, final unless the file writes another kind, with the texts written after it in front.
TEST(GmnPieceLayoutStaves, APieceEndsOnOneFinalBarAfterItsTexts) {
    const std::pair<const char*, unsigned> endings[] = {
        {"c d", 'E'}, {"c d \\bar", 'E'}, {"c d \\bar \\text<\"...\">", 'E'}, {"c d \\doubleBar", 'D'}};
    for (const auto& [music, code] : endings) {
        const ScoreDocument doc = ImportedPiece(std::string("[\\meter<\"2/4\"> ") + music + "]");
        const auto& els = doc.pages.back().staves[0].elements;
        ASSERT_FALSE(els.empty()) << music;
        EXPECT_TRUE(els.back().isSignOfType(SignType::Bar) && els.back().signWord().code() == code) << music;
        const auto lastNote = std::find_if(els.rbegin(), els.rend(), [](const ElementRecord& e) { return e.isNote(); });
        EXPECT_EQ(std::count_if(els.rbegin(), lastNote, [](const ElementRecord& e) { return e.isSignOfType(SignType::Bar); }),
                  1)
            << music;
    }
}

// Grace notes that begin a bar go with it to the line it begins.
TEST(GmnPieceLayoutStaves, GraceNotesBeginningALineGoWithItsFirstNote) {
    const ScoreDocument doc = ImportedPiece("[\\meter<\"2/4\"> " + Bars("\\grace(c/16 d/16) e/8 f g a", 30) + "]");
    int lines = 0;
    for (const PageRecord& page : doc.pages)
        for (const StaffRecord& staff : page.staves) {
            const auto last = std::find_if(staff.elements.rbegin(), staff.elements.rend(),
                                           [](const ElementRecord& e) { return !e.isSign(); });
            if (last == staff.elements.rend()) continue;
            ++lines;
            EXPECT_FALSE(last->w0().cueSize()) << page.number;
        }
    EXPECT_GT(lines, 1);
}

// A last bar far longer than a line (the file's own bar lines turned off) still flows over as many lines as it needs.
TEST(GmnPieceLayoutStaves, ALastBarLongerThanALineIsBrokenIntoLines) {
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    ImportGuidoPieceText(doc, "[\\meter<\"4/4\", autoBarlines=\"off\"> c1/4 | " + Bars("c1/4 d e f", 24) + "]", ui);
    int lines = 0, notes = 0;
    for (const PageRecord& page : doc.pages)
        for (const StaffRecord& staff : page.staves) {
            lines += staff.elements.empty() ? 0 : 1;
            notes += static_cast<int>(std::count_if(staff.elements.begin(), staff.elements.end(),
                                                    [](const ElementRecord& e) { return e.isNote(); }));
            for (const ElementRecord& e : staff.elements) EXPECT_LE(e.x, static_cast<int>(page.lineLength));
        }
    EXPECT_GE(lines, 3);
    EXPECT_EQ(notes, 97);
}

// Where the top staff's voice has ended, the staves that go on still stand in the order their notes sound.
TEST(GmnPieceLayoutStaves, StavesGoingOnUnderAnEndedVoiceStandInTimeOrder) {
    const ScoreDocument doc = ImportedPiece(
        "{[c1/1], [e1/1 \\newSystem e*3/4 e/1 e/1], [g1/1 \\newSystem g/2 g g g g g]}");
    const PageRecord& page = *doc.findPage(1);
    ASSERT_EQ(page.staves.size(), 6u);
    std::vector<std::pair<int, double>> placed;  // x and time of the notes of the second system
    for (std::size_t staff : {4u, 5u}) {
        double time = 0;
        for (const ElementRecord& e : page.staves[staff].elements) {
            if (!e.isNote()) continue;
            placed.push_back({e.x, time});
            time += staff == 4 ? (time == 0 ? 0.75 : 1.0) : 0.5;
        }
    }
    ASSERT_EQ(placed.size(), 9u);
    for (const auto& [x, time] : placed)
        for (const auto& [otherX, otherTime] : placed)
            if (time < otherTime) {
                EXPECT_LT(x, otherX) << time << " before " << otherTime;
            }
}

TEST(GmnPieceLayoutStaves, APieceOfMoreSequencesThanThePageHasStavesGetsAStaffForEachInOneSmallerSystemThatFits) {
    std::string gmn = "{";
    for (int i = 0; i < 16; ++i)
        gmn += std::string(i ? ", " : "") + "[\\staff<" + std::to_string(i + 1) + "> \\intens<\"f\"> c1/1]";
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    ImportGuidoPieceText(doc, gmn + "}", ui);
    const PageRecord& page = *doc.findPage(1);
    ASSERT_EQ(page.staves.size(), 16u);
    unsigned height = 0;
    for (std::size_t i = 0; i < page.staves.size(); ++i) {
        EXPECT_EQ(page.staves[i].voice().voice(), i + 1) << i;
        EXPECT_EQ(std::count_if(page.staves[i].elements.begin(), page.staves[i].elements.end(),
                                [](const ElementRecord& e) { return e.isNote(); }),
                  1)
            << i;
        height += page.staves[i].key().distance();
        // Drawn smaller, the staves keep room between them for what stands above and below.
        if (i > 0) {
            EXPECT_GE(page.staves[i].key().distance(), 8u) << i;
        }
    }
    ScoreDocument fresh;
    SetUpNewDocument(fresh, 1);
    unsigned room = 0;
    for (const StaffRecord& staff : fresh.findPage(1)->staves) room += staff.key().distance();
    const unsigned size = page.layoutWord().staffSize(), freshSize = fresh.findPage(1)->layoutWord().staffSize();
    EXPECT_LT(size, freshSize);
    EXPECT_LE(height * size, room * freshSize) << "no higher than the staves of a new page";
    EXPECT_GE(4 * height * size, 3 * room * freshSize) << "and no smaller than the page needs";
    // Its dynamics shrink with the staves.
    const auto textSize = [](const StaffRecord& staff) {
        const auto text = std::find_if(staff.elements.begin(), staff.elements.end(), IsText);
        return text == staff.elements.end() ? 0 : TextAttributesOf(*text).size;
    };
    const int plain = textSize(ImportedPiece("[\\intens<\"f\"> c1/1]").findPage(1)->staves[0]);
    EXPECT_NEAR(textSize(page.staves[0]) * static_cast<int>(freshSize), plain * static_cast<int>(size), freshSize);
}

TEST(GmnPieceLayoutStaves, AChamberPieceIsSetALittleSmallerWhenThatGivesThePageOneMoreSystem) {
    // Five staves take two systems at the usual size and three a quarter smaller; a piano's two staves, and staves
    // shared by two voices, keep the usual size.
    struct Case {
        int staves;
        bool shared, smaller;
    } cases[] = {{5, false, true}, {2, false, false}, {5, true, false}};
    std::string bars;
    for (int i = 0; i < 60; ++i) bars += " c1/1";
    ScoreDocument fresh;
    SetUpNewDocument(fresh, 1);
    const unsigned freshSize = fresh.findPage(1)->layoutWord().staffSize();
    for (const Case& c : cases) {
        std::string gmn = "{";
        for (int i = 0; i < c.staves; ++i)
            gmn += std::string(i ? ", " : "") + "[\\staff<" + std::to_string(i + 1) + ">" + bars + "]";
        if (c.shared) gmn += ", [\\staff<1>" + bars + "]";
        HeadlessUi ui(nullptr);
        ScoreDocument doc;
        SetUpNewDocument(doc, 1);
        ImportGuidoPieceText(doc, gmn + "}", ui);
        const PageRecord& page = *doc.findPage(1);
        EXPECT_EQ(page.layoutWord().staffSize() < freshSize, c.smaller) << c.staves << c.shared;
        if (c.smaller) {
            EXPECT_EQ(page.staves.size(), 3u * static_cast<unsigned>(c.staves));
            EXPECT_GE(4 * page.layoutWord().staffSize(), 3 * freshSize);
        }
    }
}

}  // namespace
}  // namespace notavera
