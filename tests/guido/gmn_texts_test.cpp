// GUIDO texts read into text signs: the syllables of \lyrics, the tags' categories and fonts, and their places.
#include "guido/gmn_texts.h"

#include <gtest/gtest.h>

#include "edit/text_elements.h"
#include "guido/gmn_import.h"
#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
#include "support/guido_document.h"
#include "support/test_paths.h"

#include <climits>
#include <filesystem>
#include <map>
#include <set>

namespace notavera {
namespace {

struct SyllableCase {
    const char* lyrics;
    std::vector<std::string> syllables;
};

class LyricSyllables : public ::testing::TestWithParam<SyllableCase> {};

TEST_P(LyricSyllables, FallOnTheEventsInOrder) {
    EXPECT_EQ(GmnLyricSyllables(GetParam().lyrics), GetParam().syllables);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LyricSyllables,
    ::testing::Values(SyllableCase{"Glo-ri-a in", {"Glo-", "ri-", "a", "in"}},
                      SyllableCase{"ge-tra---gen", {"ge-", "tra-", "", "", "gen"}},
                      SyllableCase{" dich_ un~der", {"dich", "", "un der"}},
                      SyllableCase{"S\xc3\xbcnd", {"S\xfcnd"}}));

// The text signs of staff 0 after a reading, in staff order, with the element that follows each.
struct WrittenText {
    TextAttributes attributes;
    std::string chars;
    int param;
    bool beforeNote;
};

std::vector<WrittenText> TextsOf(const ScoreDocument& doc) {
    std::vector<WrittenText> out;
    const auto& els = GuidoStaff(doc);
    for (std::size_t i = 0; i < els.size(); ++i)
        if (IsText(els[i]))
            out.push_back({TextAttributesOf(els[i]), TextCharacters(els[i]), els[i].param,
                           i + 1 < els.size() && els[i + 1].isNote()});
    return out;
}

ScoreDocument LaidOut(std::string_view gmn) {
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    HeadlessUi ui(stderr);
    EXPECT_EQ(ImportGuidoPieceText(doc, gmn, ui), gmnReadOk);
    return doc;
}

TEST(GmnTexts, TagsBecomeTextsOfTheirCategory) {
    const ScoreDocument doc = LaidOut(
        R"([\title<"Messe"> \composer<"Anonyme"> \intens<"pp"> c \tempo<"Lento"> d \text<"rall."> e
            \fingering<"3"> f \intens<"cresc."> g \lyrics<"Ky-ri-e">(c _ d e)])");
    std::map<std::string, WrittenText> texts;
    for (const WrittenText& t : TextsOf(doc)) texts.emplace(t.chars, t);
    const std::map<std::string, TextCategory> expected = {
        {"Messe", TextCategory::Miscellaneous}, {"Anonyme", TextCategory::Miscellaneous},
        {"pp", TextCategory::Dynamics},         {"Lento", TextCategory::Tempo},
        {"rall.", TextCategory::Miscellaneous}, {"3", TextCategory::SymbolsOrnaments},
        {"cresc.", TextCategory::Dynamics},     {"Ky-", TextCategory::Lyrics},
        {"ri-", TextCategory::Lyrics},          {"e", TextCategory::Lyrics}};
    ASSERT_EQ(texts.size(), expected.size());
    for (const auto& [chars, category] : expected) EXPECT_EQ(texts.at(chars).attributes.category, category) << chars;
    // Dynamics spelt with the music font's letters are written in it; words in italics.
    EXPECT_EQ(texts.at("pp").attributes.fontIndex, MusicFontIndex);
    EXPECT_EQ(texts.at("cresc.").attributes.fontIndex, TimesFontIndex);
    EXPECT_EQ(texts.at("cresc.").attributes.style, TextStyle::Italic);
    // Syllables stand in front of their notes, under the staff; the rest written between them gets none.
    for (const char* syllable : {"Ky-", "ri-", "e"}) {
        EXPECT_TRUE(texts.at(syllable).beforeNote);
        EXPECT_LT(texts.at(syllable).param, -40);
    }
    // A staff with lyrics under it takes its dynamics over it; the others have them under it.
    EXPECT_GT(texts.at("pp").param, 0);
    EXPECT_GT(texts.at("Lento").param, 0);
    const ScoreDocument plain = LaidOut(R"([\intens<"f"> c])");
    EXPECT_LT(TextsOf(plain).front().param, 0);
    // A slur from the marked note leaves the mark where it stands without one: the room under its arch is free.
    const auto clarinet = [](const char* slur, const char* end) {
        return LaidOut(std::string(R"({[\key<"A"> \meter<"3/4"> \i<"p"> )") + slur +
                       R"(a1/8 c#2 | e c# a/4 )" + end + R"( e/8 c# | h1 d2 f#/4], [\key<"A"> \meter<"3/4"> _/4 | _ a a]})");
    };
    EXPECT_NEAR(TextsOf(clarinet("\\sl(", ")")).front().param, TextsOf(clarinet("", "")).front().param, 4);
    // The title and the composer stand at the head of the page, over the texts of the staff.
    EXPECT_GT(texts.at("Messe").param, texts.at("Lento").param + 20);
    EXPECT_GT(texts.at("Anonyme").param, texts.at("Lento").param + 20);
}

// The texts of a chord, written before it, among its notes or as its syllable, stand at its x (also when a longer note
// holds on after the shorter ones), and leave its notes together.
TEST(GmnTexts, TextsOfChordsStandAtTheChordAndKeepItWhole) {
    const ScoreDocument doc = LaidOut(
        R"([\intens<"p">({c,e,g}) \text<"pizz.">({c/8, e/4}) {d, \fingering<"3"> f} \lyrics<"la">({c,e}) c])");
    const auto& els = GuidoStaff(doc);
    std::map<int, std::vector<std::size_t>> notesAt;
    for (std::size_t i = 0; i < els.size(); ++i)
        if (els[i].isNote()) notesAt[els[i].x].push_back(i);
    for (const auto& [x, notes] : notesAt) EXPECT_EQ(notes.back() - notes.front() + 1, notes.size()) << x;
    std::set<std::string> written;
    for (const ElementRecord& e : els) {
        if (!IsText(e)) continue;
        written.insert(TextCharacters(e));
        EXPECT_GT(notesAt[e.x].size(), 1u) << TextCharacters(e);
    }
    EXPECT_EQ(written, (std::set<std::string>{"p", "pizz.", "3", "la"}));
}

// An instrument's name stands at the left of the first system, which is indented to hold it; the later systems have
// none.
TEST(GmnTexts, InstrumentNamesStandBeforeTheFirstSystem) {
    std::string gmn = "[\\instr<\"Violino I\"> \\meter<\"2/4\"> ";
    for (int bar = 0; bar < 40; ++bar) gmn += "c/8 d e f ";
    const ScoreDocument doc = LaidOut(gmn + "]");
    const PageRecord& page = *doc.findPage(1);
    ASSERT_GT(page.staves.size(), 1u);
    for (std::size_t s = 0; s < page.staves.size(); ++s) {
        const auto& els = page.staves[s].elements;
        const auto name = std::find_if(els.begin(), els.end(), [](const ElementRecord& e) {
            return IsText(e) && TextAttributesOf(e).category == TextCategory::Instrument;
        });
        EXPECT_EQ(page.staves[s].key().indented(), s == 0) << s;
        EXPECT_EQ(name != els.end(), s == 0) << s;
        if (name == els.end()) continue;
        EXPECT_EQ(TextCharacters(*name), "Violino I");
        const int width = MeasureTextWidth(doc.fonts, TextAttributesOf(*name), TextCharacters(*name));
        EXPECT_GE(name->x, 0);
        EXPECT_LT(name->x + width, static_cast<int>(page.indent));
    }
}

// Syllables longer than their notes are wide push the notes apart and keep clear of the bar lines, on a line that is
// justified and on the last, shorter one, and the line still ends where the line ends.
TEST(GmnTexts, SyllablesUnderShortNotesGetRoomWithinTheLine) {
    const std::string shortNotes = "\\lyrics<\"Wonderful-ly Wonderful-ly Wonderful-ly Wonderful-ly\">(c1/16 d e f g a b c2)";
    const std::string lastOfBars = "\\lyrics<\"a Wonderfully\">(c/4 d) | \\lyrics<\"Wonderfully a\">(e/4 f)";
    for (const auto& [words, bars] : {std::pair{shortNotes, 1}, {shortNotes, 12}, {lastOfBars, 1}, {lastOfBars, 6}}) {
        std::string gmn = "[\\meter<\"2/4\"> ";
        for (int bar = 0; bar < bars; ++bar) gmn += words + " ";
        const ScoreDocument doc = LaidOut(gmn + "]");
        for (const StaffRecord& staff : doc.findPage(1)->staves) {
            int right = INT_MIN;
            for (const ElementRecord& e : staff.elements) {
                EXPECT_LE(e.x, static_cast<int>(doc.findPage(1)->lineLength)) << bars;
                if (e.isSignOfType(SignType::Bar)) {
                    EXPECT_GT(e.x, right) << bars;
                    right = e.x;
                }
                if (!IsLyric(e) || IsHyphen(e)) continue;
                const TextAttributes a = TextAttributesOf(e);
                const int width = MeasureTextWidth(doc.fonts, a, TextCharacters(e));
                const int left = TextLeftOf(a, e.x + e.shift, width);
                EXPECT_GT(left, right) << bars << " " << TextCharacters(e);
                right = left + width;
            }
        }
    }
}

// Laid out, the lyric pieces of the corpus keep every text clear of the others and of the notes' heads.
TEST(GmnTexts, CorpusLyricsStandClearOfEachOtherVerseByVerse) {
    if (!std::filesystem::is_directory(test::CorpusDir() / "gmn")) GTEST_SKIP() << "no corpus beside the sources";
    for (const char* name : {"guidolib_lyrics_bach_lyrics.gmn", "guidolib_lyrics_lyrics_with_3_verse.gmn"}) {
        ScoreDocument doc;
        SetUpNewDocument(doc, 1);
        HeadlessUi ui(stderr);
        ASSERT_EQ(ImportGuidoPiece(doc, test::CorpusDir() / "gmn" / name, ui), gmnReadOk);
        const PageRecord& page = *doc.findPage(1);
        std::map<int, std::set<int>> linesOfHeight;  // the lyric lines under each staff height
        for (const StaffRecord& staff : page.staves) {
            std::set<int> params;
            for (const ElementRecord& e : staff.elements)
                if (IsText(e) && TextAttributesOf(e).category == TextCategory::Lyrics) params.insert(e.param);
            // One line a verse.
            EXPECT_LE(params.size(), 1u) << name;
            if (!params.empty()) linesOfHeight[static_cast<int>(staff.y)].insert(*params.begin());
        }
        for (const auto& [height, lines] : linesOfHeight) {
            std::vector<int> sorted(lines.begin(), lines.end());
            for (std::size_t k = 1; k < sorted.size(); ++k) EXPECT_GE(sorted[k] - sorted[k - 1], 10) << name;
        }
    }
}

}  // namespace
}  // namespace notavera
