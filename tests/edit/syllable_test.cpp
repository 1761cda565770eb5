// Lyrics in the model: which note takes a syllable, how a clipboard text is cut, and the room the syllable
// commands make between syllables.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "edit/syllable_spacing.h"
#include "edit/syllables.h"
#include "support/guido_document.h"

namespace notavera {
namespace {

ElementRecord Note(int x, std::uint32_t word0Bits, bool rest = false) {
    ElementRecord e;
    e.x = x;
    e.word0 = word0Bits;
    e.noteWord().setRest(rest);
    return e;
}

constexpr std::uint32_t tied = 1u << 1, tieStart = 1u << 2, cue = 1u << 11, beam = 1u << 5, beamOpen = 1u << 6;

struct NoteCase {
    const char* name;
    SyllableRules rules;
    std::vector<int> expected;  // the notes met walking from the staff's start
};

class NextSyllableNoteTest : public ::testing::TestWithParam<NoteCase> {};

TEST_P(NextSyllableNoteTest, WalksTheStaff) {
    StaffRecord staff;
    staff.elements = {Note(100, 0),         Note(150, 0, true),    Note(200, tied | tieStart), Note(300, tied),
                      Note(400, cue),       Note(500, beam | beamOpen), Note(600, beam),       Note(700, 0)};
    std::vector<int> met;
    for (int x = 0; (x = NextSyllableNote(staff, x, GetParam().rules, 2000)) < 2000;) met.push_back(x);
    EXPECT_EQ(met, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, NextSyllableNoteTest,
    ::testing::Values(NoteCase{"Lyrics", {true, true, true}, {100, 200, 500, 700}},
                      NoteCase{"EveryTiedNote", {true, true, false}, {100, 200, 300, 500, 700}},
                      NoteCase{"EveryBeamedNote", {true, false, true}, {100, 200, 500, 600, 700}},
                      NoteCase{"OtherCategories", {false, true, true}, {100, 200, 300, 400, 500, 600, 700}}),
    [](const ::testing::TestParamInfo<NoteCase>& info) { return info.param.name; });

TEST(PreviousNote, NearestNoteLeftOrTheSameX) {
    StaffRecord staff;
    staff.elements = {Note(100, 0), Note(150, 0, true), Note(200, 0)};
    EXPECT_EQ(PreviousNote(staff, 190), 100);
    EXPECT_EQ(PreviousNote(staff, 250), 200);
    EXPECT_EQ(PreviousNote(staff, 100), 100);
}

std::string Pieces(std::string_view text) {
    std::string out;
    for (const ClipboardSyllable& s : SplitSyllables(text))
        out += s.text + (s.separator == '_' ? "_" : s.separator == '\0' ? "." : "|");
    return out;
}

TEST(SplitSyllables, CutsAtUnderscoresTabsAndLineEnds) {
    EXPECT_EQ(Pieces("Glo_ri_a\tin"), "Glo_ri_a|in.");
    EXPECT_EQ(Pieces("Kyrie e_lei_son\r\nChris_te"), "Kyrie e_lei_son|Chris_te.");
    EXPECT_EQ(Pieces("a\nb\n"), "a|b|");
    EXPECT_EQ(Pieces("a__b\t\tc"), "a_b|c.");
}

TextAttributes Lyric() {
    TextAttributes a;
    a.category = TextCategory::Lyrics;
    a.size = 30;
    a.fontIndex = TimesFontIndex;
    return a;
}

// Syllables on the notes of a staff, each as wide as its characters.
ScoreDocument LyricsOn(std::string_view gmn, const std::vector<std::string>& syllables) {
    ScoreDocument doc = DocumentFromGuido(gmn);
    doc.currentStaff = 0;
    const TextAttributes lyric = Lyric();
    std::vector<int> notes;
    for (const ElementRecord& e : doc.page()->staves[0].elements)
        if (e.isNote()) notes.push_back(e.x);
    auto& els = doc.page()->staves[0].elements;
    for (std::size_t i = 0; i < syllables.size() && i < notes.size(); ++i) {
        const auto at = std::find_if(els.begin(), els.end(), [&](const ElementRecord& e) { return e.x > notes[i]; });
        els.insert(at, MakeTextElement(notes[i], -100, lyric, syllables[i]));
    }
    return doc;
}

std::vector<std::pair<int, int>> SyllableSpans(const ScoreDocument& doc) {
    std::vector<std::pair<int, int>> spans;
    for (const ElementRecord& e : doc.findPage(doc.currentPage)->staves[0].elements) {
        if (!IsLyric(e) || IsHyphen(e)) continue;
        const TextAttributes a = TextAttributesOf(e);
        const int width = MeasureTextWidth(doc.fonts, a, TextCharacters(e));
        spans.emplace_back(TextLeftOf(a, e.x, width), TextLeftOf(a, e.x, width) + width);
    }
    return spans;
}

TEST(SyllableSpacing, LongSyllablesPushTheirNotesApart) {
    ScoreDocument doc = LyricsOn("[ c1/16 d e f g a ]", {"Wolf", "gan", "gus", "Amadeus", "Mo", "zart"});
    EXPECT_GT(SpaceSyllablesOfLine(doc), 0);
    const auto spans = SyllableSpans(doc);
    ASSERT_EQ(spans.size(), 6u);
    for (std::size_t i = 1; i < spans.size(); ++i) EXPECT_GE(spans[i].first, spans[i - 1].second + 10) << i;
    EXPECT_EQ(SpaceSyllablesOfLine(doc), 0);  // spaced once, nothing more to move
}

TEST(SyllableSpacing, HyphenCentredBetweenItsSyllables) {
    ScoreDocument doc = LyricsOn("[ c1/1 d ]", {"ab", "cd"});
    auto& els = doc.page()->staves[0].elements;
    const TextAttributes lyric = Lyric();
    const auto first = std::find_if(els.begin(), els.end(), [](const ElementRecord& e) { return IsLyric(e); });
    els.insert(first + 1, MakeTextElement(first->x + 5, -100, lyric, "-"));
    EXPECT_EQ(CentreHyphensOfPage(doc), 1);
    const auto spans = SyllableSpans(doc);
    const auto hyphen = std::find_if(els.begin(), els.end(), [](const ElementRecord& e) { return IsHyphen(e); });
    EXPECT_EQ(hyphen->x, (spans[0].second + spans[1].first) / 2);
    EXPECT_EQ(CentreHyphensOfPage(doc), 0);
}

}  // namespace
}  // namespace notavera
