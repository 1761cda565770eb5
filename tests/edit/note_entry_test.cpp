// Typing on a staff: note keys, attribute characters, rests and bars, Delete and Insert, Enter with the tools,
// the characters J, \ and {, the Z-symbol mode, slurs and rhythmic groups, and Détruire of their marks.
#include "edit/note_entry.h"

#include <gtest/gtest.h>

#include "shell/entry_cursor.h"
#include "edit/mark_removal.h"
#include "platform/headless/headless_ui.h"
#include "render/curve_signs.h"
#include "score/new_document.h"
#include "shell/cursor_frame.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "edit/entry_place.h"
#include "shell/erase_commands.h"
#include "shell/note_commands.h"

namespace notavera {
namespace {

class NoteEntryTest : public ::testing::Test {
protected:
    NoteEntryTest() {
        SetUpNewDocument(ctx.doc, 1);
        ctx.shell.cursor.x = 60;
    }
    std::vector<ElementRecord>& els() { return ctx.doc.staff()->elements; }
    ElementRecord& el(std::size_t i) { return els().at(i); }
    // Name, octave and duration code of element i.
    std::tuple<unsigned, unsigned, unsigned> pitch(std::size_t i) {
        return {el(i).noteWord().step(), el(i).w0().octave(), el(i).noteWord().durationCode()};
    }
    void key(Key k) { DispatchKey(ctx, k, {}); }
    // Digits are the note keys F1..F9; '#' types the character after it; anything else is typed as it is.
    void type(std::string_view keys) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const char c = keys[i];
            if (c == '#') DispatchChar(ctx, static_cast<char32_t>(keys[++i]));
            else if (c >= '1' && c <= '9') key(static_cast<Key>(static_cast<int>(Key::F1) + (c - '1')));
            else DispatchChar(ctx, static_cast<char32_t>(c));
        }
    }
    void cursorOn(int i) {
        ctx.doc.currentElement = i;
        ctx.shell.cursor.x = el(static_cast<std::size_t>(i)).x;
    }
    std::vector<int> messageIds() const {
        std::vector<int> ids;
        for (const MessageBoxRequest& m : ui.messages()) ids.push_back(m.stringId);
        return ids;
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(NoteEntryTest, NoteKeysGiveTheirNamesTheOuterKeysShiftTheOctaveAndTheEchoSoundsThem) {
    std::vector<unsigned> heard;
    ctx.soundNote = [&](const ElementRecord& note) { heard.push_back(note.noteWord().step()); };
    type("219S");  // C, B below, C above, a rest
    ASSERT_EQ(els().size(), 4u);
    EXPECT_EQ(pitch(0), std::tuple(1u, 4u, 4u));
    EXPECT_EQ(pitch(1), std::tuple(7u, 3u, 4u));
    EXPECT_EQ(pitch(2), std::tuple(1u, 5u, 4u));
    EXPECT_EQ(el(0).x, 60);
    EXPECT_LT(el(0).x, el(1).x);
    EXPECT_LT(el(1).x, el(2).x);
    EXPECT_GT(ctx.shell.cursor.x, el(3).x);
    EXPECT_TRUE(ctx.doc.modified);
    // The alternate action repitches the note at the cursor in place, and is heard too.
    cursorOn(0);
    ctx.shell.input.alternateAction = true;
    ctx.doc.insertion.octave = 3;
    type("6");
    EXPECT_EQ(els().size(), 4u);
    EXPECT_EQ(pitch(0), std::tuple(5u, 3u, 4u));
    EXPECT_EQ(ctx.shell.cursor.x, el(0).x);
    EXPECT_EQ(heard, (std::vector<unsigned>{1, 7, 1, 5}));
    ctx.shell.settings.keyboardEcho = -1;  // "Echo clavier" off
    type("3");
    EXPECT_EQ(heard.size(), 4u);
}

TEST_F(NoteEntryTest, ANoteKeyAtTheEndOfALineContinuesOnTheNextLineWithTheSameAttributes) {
    type("#5");
    ctx.doc.insertion.octave = 5;
    ctx.shell.cursor.x = LineRightLimit(ctx.doc);
    type("4");
    ASSERT_EQ(els().size(), 1u);
    EXPECT_TRUE(ctx.doc.currentStaff != 0 || ctx.doc.currentPage != 1);
    EXPECT_TRUE(ctx.doc.findPage(1)->staves[0].elements.empty());
    EXPECT_EQ(pitch(0), std::tuple(3u, 5u, 5u));
    EXPECT_LT(el(0).x, LineRightLimit(ctx.doc));
}

TEST_F(NoteEntryTest, APercussionStaffTakesOnlyTheMiddleKeys) {
    ctx.doc.staff()->lines().setLayoutFlag(true);
    type("123489");
    EXPECT_TRUE(els().empty());
    EXPECT_FALSE(ctx.doc.modified);
    type("567");
    EXPECT_EQ(els().size(), 3u);
}

TEST_F(NoteEntryTest, TheTieFormTiesEachNoteToTheNextAcrossBarsButNotRestsOrBars) {
    const auto tie = [&](std::size_t i) {
        return std::tuple{el(i).w0().tiedToNext(), el(i).w0().tieStarts(), el(i).w0().tieEnds()};
    };
    type("_3-|3S");
    ASSERT_EQ(els().size(), 4u);
    EXPECT_EQ(tie(0), std::tuple(true, true, false));
    EXPECT_EQ(tie(1), std::tuple(false, false, false)) << "the bar";
    EXPECT_EQ(tie(2), std::tuple(true, false, true));
    EXPECT_EQ(tie(3), std::tuple(false, false, false)) << "the rest";
    els().clear();  // on the note at the cursor the form ties it to the next note entered
    ctx.shell.cursor.x = 60;
    type("3");
    cursorOn(0);
    type("_");
    EXPECT_TRUE(el(0).w0().tieStarts());
    ctx.shell.cursor.x = 200;
    type("-3");
    EXPECT_TRUE(el(1).w0().tieEnds());
}

TEST_F(NoteEntryTest, AccidentalsGoToTheNoteAtTheCursorOrOnceToTheNextNote) {
    type("3");
    cursorOn(0);
    type("b");
    EXPECT_EQ(el(0).noteWord().accidental(), Accidental::Flat);
    EXPECT_FALSE(el(0).noteWord().hiddenAccidental());
    EXPECT_FALSE(ctx.doc.insertion.accidentalForced);
    ctx.shell.cursor.x = 300;
    type("5d55");
    EXPECT_EQ(el(1).noteWord().accidental(), Accidental::None);
    EXPECT_EQ(el(2).noteWord().accidental(), Accidental::Sharp);
    EXPECT_EQ(el(3).noteWord().accidental(), Accidental::Sharp);  // the bar's earlier sharp, not shown
    EXPECT_FALSE(el(2).noteWord().hiddenAccidental());
    EXPECT_TRUE(el(3).noteWord().hiddenAccidental());
}

TEST_F(NoteEntryTest, RestsBarsAndMultiBarRestsMoveTheCursorPastThem) {
    type(".S");
    EXPECT_TRUE(el(0).isRest());
    EXPECT_EQ(std::pair(el(0).noteWord().step(), el(0).noteWord().dots()), std::pair(3u, 1u));
    EXPECT_EQ(ctx.doc.insertion.dots, 0u);
    const int afterRest = ctx.shell.cursor.x;
    type("|");
    EXPECT_TRUE(el(1).isSignOfType(SignType::Bar));
    EXPECT_EQ(el(1).signWord().code(), static_cast<unsigned>('|'));
    EXPECT_EQ(el(1).x, afterRest);
    const int afterBar = ctx.shell.cursor.x;
    EXPECT_GT(afterBar, afterRest);
    type("#5.j");
    ASSERT_EQ(els().size(), 3u);
    EXPECT_TRUE(el(2).isRest());
    EXPECT_EQ(std::pair(el(2).noteWord().durationCode(), el(2).noteWord().dots()), std::pair(15u, 0u));
    EXPECT_EQ(el(2).x, afterBar);
    EXPECT_GT(ctx.shell.cursor.x, afterBar);
    EXPECT_EQ(std::pair(ctx.doc.insertion.durationCode, ctx.doc.insertion.dots), std::pair(5u, 0u));
    DispatchCommand(ctx, cmd::MultiBarRest);
    EXPECT_EQ(ctx.shell.input.mouseMode, multiBarRestMouseMode);
}

TEST_F(NoteEntryTest, TheCAttributeStacksAChordAtOnePlace) {
    type("C24c6");
    ASSERT_EQ(els().size(), 3u);
    EXPECT_EQ(el(0).x, el(1).x);
    EXPECT_TRUE(el(0).noteWord().bit(18));
    EXPECT_GT(el(2).x, el(1).x);
}

TEST_F(NoteEntryTest, BeamsAndTheValueSymbolRefuseValuesLongerThanAnEighth) {
    type("[");
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchBeam, 0u);
    type("#5[2");
    EXPECT_TRUE(el(0).w0().inBeam());
    type("#4=#3=#0=#5=#6=#s=");
    EXPECT_EQ(messageIds(), (std::vector<int>{17, 17, 17, 17}));
    EXPECT_EQ(els().size(), 1u);
}

TEST_F(NoteEntryTest, DeleteRemovesAPlainNoteButNotATiedOrTupletOneNorInsideASlur) {
    type("2345");
    const int secondX = el(1).x;
    cursorOn(1);
    key(Key::Delete);
    ASSERT_EQ(els().size(), 3u);
    EXPECT_EQ(el(1).x, secondX);  // the staff closes up
    EXPECT_EQ(el(1).noteWord().step(), 3u);
    el(0).w0().setTieStarts(true);
    el(0).w0().setTieEnds(true);
    el(1).w1().setNumerator(3);
    el(1).w1().setDenominator(2);
    ctx.doc.modified = false;
    for (const int i : {0, 1}) {
        cursorOn(i);
        key(Key::Delete);
    }
    cursorOn(2);
    type("(");
    key(Key::Delete);
    key(Key::Insert);
    EXPECT_EQ(messageIds(), (std::vector<int>{19, 19, 20, 20}));
    EXPECT_EQ(els().size(), 3u);
    EXPECT_FALSE(ctx.shell.input.insertionOpen);
}

TEST_F(NoteEntryTest, TheInsertionBoxOpensAGapClosingTakesBackWhatWasNotUsedAndTheTemplateStaffWaits) {
    type("23");
    const int secondX = el(1).x;
    cursorOn(1);
    key(Key::Insert);
    EXPECT_TRUE(ctx.shell.input.insertionOpen);
    EXPECT_GT(el(1).x, secondX);
    key(Key::Insert);
    EXPECT_FALSE(ctx.shell.input.insertionOpen);
    EXPECT_EQ(el(1).x, secondX);
    DispatchCommand(ctx, cmd::ButtonInsertionBox);  // the palette button does the same
    EXPECT_TRUE(ctx.shell.input.insertionOpen);
    type("#1");  // a note longer than the gap keeps the music after it clear
    ctx.doc.currentElement = 0;
    type("7");
    ASSERT_EQ(els().size(), 3u);
    EXPECT_EQ(el(1).noteWord().step(), 6u);
    EXPECT_GT(el(2).x, ctx.shell.cursor.x);
    type("\\");
    DispatchCommand(ctx, cmd::TemplateStaff);
    EXPECT_FALSE(ctx.shell.input.templateStaffMode);
    EXPECT_EQ(messageIds(), (std::vector<int>{16, 16}));
}

TEST_F(NoteEntryTest, BackslashAndTheTemplateStaffCommandKeepThePlaceForUpAndDownToComeBackTo) {
    ctx.doc.currentStaff = 2;
    ctx.doc.currentElement = -1;
    type("\\");
    EXPECT_TRUE(ctx.shell.input.templateStaffMode);
    EXPECT_EQ(std::pair(ctx.shell.cursor.templateSavedStaff, ctx.shell.cursor.templateSavedElement), std::pair(2, -1));
    ctx.doc.currentStaff = 5;
    DispatchCommand(ctx, cmd::TemplateStaff);  // a second one keeps the first place
    EXPECT_EQ(ctx.shell.cursor.templateSavedStaff, 2);
    EXPECT_TRUE(ui.messages().empty());
}

// J must leave the document exactly as "Justifier (marqueurX)" does, with and without marker X.
TEST_F(NoteEntryTest, CapitalJJustifiesAsTheMarkerXCommand) {
    for (const int markerX : {0, 1500}) {
        HeadlessUi otherUi{nullptr};
        EditorContext other{otherUi};
        for (EditorContext* c : {&ctx, &other}) {
            SetUpNewDocument(c->doc, 1);
            c->shell.cursor.x = 60;
            for (const Key k : {Key::F2, Key::F3, Key::F4, Key::F5}) DispatchKey(*c, k, {});
            c->shell.cursor.markerX = markerX;
        }
        const int beepsBefore = ui.beeps();
        type("J");
        DispatchCommand(other, cmd::JustifyToMarkerX);
        ASSERT_EQ(els().size(), other.doc.staff()->elements.size());
        for (std::size_t i = 0; i < els().size(); ++i) EXPECT_EQ(el(i).x, other.doc.staff()->elements[i].x) << i;
        EXPECT_EQ(ui.beeps() - beepsBefore, otherUi.beeps());
    }
}

TEST_F(NoteEntryTest, EnterAppliesAPendingHeadShapeOrTheToolToTheNoteAtTheCursorOnly) {
    type("5");
    cursorOn(0);
    const auto enterWith = [&](int tool, int hideKind = 1) {
        ctx.shell.input.currentTool = tool;
        ctx.shell.input.hideKind = hideKind;
        key(Key::Enter);
    };
    enterWith(302);  // the head side, but never on a chord note
    EXPECT_TRUE(el(0).noteWord().bit(20));
    el(0).noteWord().setBit(18, true);
    enterWith(302);
    EXPECT_TRUE(el(0).noteWord().bit(20));
    el(0).noteWord().setBit(18, false);
    ctx.doc.insertion.headShape = 3;
    enterWith(300);
    EXPECT_EQ(el(0).noteWord().headShape(), 3u);
    EXPECT_FALSE(el(0).w0().hidden()) << "the shape took the key, not the tool";
    ctx.doc.insertion.headShape = 0;
    enterWith(300);
    EXPECT_TRUE(el(0).w0().hidden());
    enterWith(300);
    EXPECT_FALSE(el(0).w0().hidden());
    enterWith(300, 2);
    EXPECT_TRUE(el(0).noteWord().hiddenAccidental());
    enterWith(300, 3);
    EXPECT_TRUE(el(0).w0().hiddenDots());
    ctx.doc.modified = false;
    ctx.shell.cursor.x = 90;  // away from the note: nothing
    enterWith(300);
    EXPECT_FALSE(el(0).w0().hidden() || ctx.doc.modified);
    el(0).noteWord().setStep(7);  // tool 301 respells a B sharp as the C an octave up
    el(0).noteWord().setAccidental(Accidental::Sharp);
    cursorOn(0);
    enterWith(301);
    EXPECT_EQ(pitch(0), std::tuple(1u, 5u, 4u));
    EXPECT_EQ(el(0).noteWord().accidental(), Accidental::None);
}

TEST_F(NoteEntryTest, TheCurveOfBraceIsAnArcAboveTheStaffAtTheCursor) {
    ctx.shell.cursor.x = 200;
    type("{");
    ASSERT_EQ(els().size(), 1u);
    EXPECT_TRUE(el(0).isSignOfType(SignType::Curve));
    EXPECT_EQ(el(0).x, 200);
    const std::optional<CurvePoints> p = DecodeCurvePoints(el(0).blob.payload());
    ASSERT_TRUE(p);
    // Both ends above the top line (a staff height below the reference), the middle points higher still.
    EXPECT_EQ((*p)[0].x, 0);
    EXPECT_GT((*p)[0].y, -CursorFrameOf(ctx.doc)->staffHeight);
    EXPECT_EQ((*p)[0].y, (*p)[3].y);
    EXPECT_GT((*p)[1].y, (*p)[0].y);
    EXPECT_EQ((*p)[1].y, (*p)[2].y);
    EXPECT_LT((*p)[0].x, (*p)[1].x);
    EXPECT_LT((*p)[2].x, (*p)[3].x);
    EXPECT_EQ(ctx.shell.cursor.x, 200);
    EXPECT_TRUE(ctx.doc.modified);
}

TEST_F(NoteEntryTest, TheZSymbolModePlacesOneChosenSymbolAtTheHeightOfANoteKey) {
    const auto startMode = [&](bool ok) {
        ui.queueDialogAnswer({"ZSymbole", {}, ok});
        type("z");
    };
    startMode(true);
    EXPECT_EQ(ctx.shell.input.zSymbolMode, 1);
    type("5");  // no symbol chosen yet: a beep
    EXPECT_EQ(ui.beeps(), 1);
    type("d");
    EXPECT_EQ(ctx.doc.insertion.accidental, Accidental::None);
    type("55");  // the sharp on F, then a note again
    ASSERT_EQ(els().size(), 2u);
    EXPECT_TRUE(el(0).isSignOfType(SignType::FreeAccidental));
    EXPECT_EQ(el(0).signWord().subValue(), static_cast<unsigned>(Accidental::Sharp));
    EXPECT_EQ(std::tuple(el(0).signWord().code(), el(0).w0().octave(), el(0).x), std::tuple(4u, 4u, 60));
    EXPECT_TRUE(el(1).isNote());
    startMode(true);
    type(":");
    EXPECT_EQ(ctx.doc.insertion.dots, 0u);
    type("9");  // double dots on the key above the octave go to C above
    EXPECT_TRUE(el(2).isSignOfType(SignType::FreeDot));
    EXPECT_TRUE(el(2).signWord().flag16());
    EXPECT_EQ(std::pair(el(2).signWord().code(), el(2).w0().octave()), std::pair(1u, 5u));
    startMode(true);
    type("(");  // the opening slur chooses the free slur tool
    EXPECT_EQ(ctx.shell.input.currentTool, 'l');
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchSlur, 0u);
    EXPECT_EQ(ctx.doc.insertion.word0Once, 0u);
    type("b");
    key(Key::Escape);
    startMode(false);
    EXPECT_EQ(ctx.shell.input.zSymbolMode, 0);
    type("5");  // after Escape and a cancelled prompt the note keys are notes
    EXPECT_TRUE(els().back().isNote());
    EXPECT_EQ(els().size(), 4u);
}

constexpr std::uint32_t startBits = (1u << 1) | (1u << 2);
constexpr std::uint32_t endBits = (1u << 1) | (1u << 3);
using Ratio = std::pair<unsigned, unsigned>;

// Slurs typed with ( and ), rhythmic groups typed with G and g, and Détruire of a slur, beam or group.
class MarkTest : public NoteEntryTest {
protected:
    std::uint32_t curve(std::size_t i) { return el(i).word0 & (startBits | endBits); }
    // The curve bits, group marks and proportions of the staff's elements.
    template <typename Of>
    auto each(Of of) {
        std::vector<decltype(of(std::size_t{}))> out;
        for (std::size_t i = 0; i < els().size(); ++i) out.push_back(of(i));
        return out;
    }
    std::vector<std::uint32_t> curves() { return each([&](std::size_t i) { return curve(i); }); }
    std::vector<unsigned> groups() { return each([&](std::size_t i) { return el(i).w0().groupMark(); }); }
    std::vector<Ratio> ratios() {
        return each([&](std::size_t i) { return Ratio{el(i).w1().numerator(), el(i).w1().denominator()}; });
    }
    void fraction(const std::string& num, const std::string& den, bool ok = true) {
        ui.queueDialogAnswer({"Fraction", {{"Numérateur", num}, {"Dénominateur", den}}, ok});
    }
    bool open(std::uint32_t switchBit) const { return (ctx.doc.insertion.switches & switchBit) != 0; }
    // Typing `keys` shows message 18 and leaves every word of the staff as it was.
    void expectRefused(std::string_view keys) {
        const std::vector<std::uint32_t> before = each([&](std::size_t i) { return el(i).word0; });
        const bool modified = ctx.doc.modified;
        type(keys);
        EXPECT_EQ(messageIds().back(), 18);
        EXPECT_EQ(each([&](std::size_t i) { return el(i).word0; }), before);
        EXPECT_EQ(ctx.doc.modified, modified);
    }
};

TEST_F(MarkTest, ASlurRunsFromItsFirstNoteToItsLastOrBetweenTheNotesAtTheCursorAndARestDoesNotStartIt) {
    type("(S234)5");
    EXPECT_EQ(curves(), (std::vector<std::uint32_t>{0, startBits, 0, endBits, 0}));
    EXPECT_FALSE(open(SwitchSlur));
    EXPECT_TRUE(ui.messages().empty());
    els().clear();
    ctx.shell.cursor.x = 60;
    type("2345");
    cursorOn(1);
    type("(");
    cursorOn(3);
    type(")");
    EXPECT_EQ(curves(), (std::vector<std::uint32_t>{0, startBits, 0, endBits}));
}

TEST_F(MarkTest, AClosingSlurIsRefusedWithoutAStartBeforeIt) {
    type("23");
    expectRefused(")");  // nothing open
    type("(");
    expectRefused(")");  // no note began it yet
    EXPECT_TRUE(open(SwitchSlur));
    type("4)5)");
    EXPECT_EQ(curves(), (std::vector<std::uint32_t>{0, 0, startBits, endBits}));
    cursorOn(3);
    type("(");
    expectRefused(")");  // on its own start
    cursorOn(0);
    expectRefused(")");  // before its start
}

TEST_F(MarkTest, ASlurEndsOnALaterLineOfItsVoiceOnly) {
    type("(2");
    PageRecord& page = *ctx.doc.findPage(1);
    page.staves[1].voice().setVoice(page.staves[0].voice().voice() + 1);
    page.staves[2].voice().setVoice(page.staves[0].voice().voice());
    for (const int staff : {1, 2}) {
        ctx.doc.currentStaff = staff;
        ctx.doc.currentElement = -1;
        ctx.shell.cursor.x = 60;
        type("3");
        if (staff == 1) expectRefused(")");
    }
    type(")");
    EXPECT_EQ(curve(0), endBits);
    EXPECT_FALSE(open(SwitchSlur));
}

TEST_F(MarkTest, AGroupIsMarkedOnItsFirstAndLastElementsWithItsProportionOnEach) {
    fraction("3", "2");
    type("#5GS34g5");
    EXPECT_TRUE(el(0).isRest());
    EXPECT_EQ(groups(), (std::vector<unsigned>{1, 0, 2, 0}));
    EXPECT_EQ(ratios(), (std::vector<Ratio>{{3, 2}, {3, 2}, {3, 2}, {1, 1}}));
    EXPECT_FALSE(open(SwitchGroup));
    EXPECT_EQ(ui.dialogs(), std::vector<std::string>{"Fraction"});
    els().clear();  // over notes already written the proportion goes to every note between
    type("523456");
    cursorOn(1);
    fraction("5", "4");
    type("G");
    cursorOn(5);
    type("g");
    EXPECT_EQ(groups(), (std::vector<unsigned>{0, 1, 0, 0, 0, 2}));
    EXPECT_EQ(ratios(), (std::vector<Ratio>{{1, 1}, {5, 4}, {5, 4}, {5, 4}, {5, 4}, {5, 4}}));
}

TEST_F(MarkTest, ACancelledFractionOrAnEmptyGroupMarksNothing) {
    fraction("3", "2", false);
    type("G2");
    EXPECT_FALSE(open(SwitchGroup));
    fraction("3", "2");
    type("Gg3");
    EXPECT_EQ(groups(), (std::vector<unsigned>{0, 0}));
    EXPECT_EQ(ratios(), (std::vector<Ratio>{{1, 1}, {1, 1}}));
}

TEST_F(MarkTest, GOnTheLastNoteOfAGroupStartsANewGroupAfterIt) {
    fraction("3", "2");
    type("#5G234g");
    DispatchKey(ctx, Key::Left, {});  // onto the triplet's last note: the group shows as open
    ASSERT_TRUE(open(SwitchGroup));
    ctx.shell.cursor.x = els().back().x + 100;
    fraction("5", "4");
    type("G56g");
    EXPECT_EQ(groups(), (std::vector<unsigned>{1, 0, 2, 1, 2}));
    EXPECT_EQ(ratios(), (std::vector<Ratio>{{3, 2}, {3, 2}, {3, 2}, {5, 4}, {5, 4}}));
}

TEST_F(MarkTest, SmallGOnANoteFoundByTheCursorClosesTheGroupWithItsFraction) {
    fraction("3", "2");
    type("#5G234");
    ctx.doc.insertion.switches &= ~SwitchGroup;  // left open, then found again by the cursor
    ctx.shell.input.groupNum = ctx.shell.input.groupDen = 1;
    cursorOn(2);
    DispatchKey(ctx, Key::Left, {});
    DispatchKey(ctx, Key::Right, {});
    ASSERT_EQ(ctx.doc.currentElement, 2);
    type("g");
    EXPECT_EQ(groups(), (std::vector<unsigned>{1, 0, 2}));
    EXPECT_EQ(ratios(), (std::vector<Ratio>(3, {3, 2})));
}

TEST_F(MarkTest, AGroupOpenFromAnEarlierLineStopsAtTheGroupClosedBeforeIt) {
    ctx.shell.documentReady = true;
    fraction("3", "2");
    type("#5G");
    EXPECT_NE(ui.title().find("[3:2]"), std::string::npos) << ui.title();
    type("234g");
    ctx.doc.insertion.switches |= SwitchGroup;
    ctx.doc.insertion.proportionNum = ctx.shell.input.groupNum = 5;
    ctx.doc.insertion.proportionDen = ctx.shell.input.groupDen = 4;
    type("56g");
    EXPECT_EQ(groups(), (std::vector<unsigned>{1, 0, 2, 0, 2}));
    EXPECT_EQ(ratios(), (std::vector<Ratio>{{3, 2}, {3, 2}, {3, 2}, {5, 4}, {5, 4}}));
}

// Six eighths; marks set on chosen notes, then erased from the note at the cursor.
class MarkRemovalTest : public MarkTest {
protected:
    MarkRemovalTest() {
        type("#5234567");
        ctx.doc.modified = false;
    }
    void slur(std::size_t from, std::size_t to) {
        el(from).word0 |= startBits;
        el(to).word0 |= endBits;
    }
    void beam(std::size_t from, std::size_t to) {
        for (std::size_t i = from; i <= to; ++i) el(i).w0().setInBeam(true);
        el(from).w0().setOpensBeam(true);
        el(to).w0().setClosesBeam(true);
    }
    void tuplet(std::size_t from, std::size_t to) {
        for (std::size_t i = from; i <= to; ++i) {
            el(i).w1().setNumerator(3);
            el(i).w1().setDenominator(2);
        }
        el(from).w0().setGroupMark(1);
        el(to).w0().setGroupMark(el(to).w0().groupMark() | 2);
    }
};

TEST_F(MarkRemovalTest, TheSlurOverTheCursorGoesFromBothItsNotesOnly) {
    slur(0, 2);
    slur(2, 4);  // note 2 ends one slur and starts the next
    cursorOn(1);
    DispatchCommand(ctx, cmd::EraseSlur);
    EXPECT_EQ(curves(), (std::vector<std::uint32_t>{0, 0, startBits, 0, endBits, 0}));
    EXPECT_TRUE(ctx.doc.modified);
    cursorOn(2);  // the slur starting at the cursor
    DispatchCommand(ctx, cmd::EraseSlur);
    el(1).word0 |= endBits;  // a slur from the previous line
    cursorOn(0);
    EXPECT_TRUE(EraseSlur(ctx.doc, ctx.ui));
    EXPECT_EQ(curves(), std::vector<std::uint32_t>(6, 0));
}

TEST_F(MarkRemovalTest, TheBeamGroupOfTheCursorGoesAndTheNextStays) {
    beam(0, 2);
    beam(3, 5);
    cursorOn(1);
    DispatchCommand(ctx, cmd::EraseBeam);
    EXPECT_EQ(each([&](std::size_t i) { return (el(i).word0 & 0xE0u) != 0; }),
              (std::vector<bool>{false, false, false, true, true, true}));
}

TEST_F(MarkRemovalTest, TheRhythmicGroupGoesAndItsNotesCanBeDeletedAgain) {
    tuplet(1, 3);
    cursorOn(2);
    DispatchKey(ctx, Key::Delete, {});
    EXPECT_EQ(messageIds(), std::vector<int>{19});
    DispatchCommand(ctx, cmd::EraseGroup);
    EXPECT_EQ(groups(), std::vector<unsigned>(6, 0));
    EXPECT_EQ(ratios(), std::vector<Ratio>(6, {1, 1}));
    DispatchKey(ctx, Key::Delete, {});
    EXPECT_EQ(els().size(), 5u);
    el(3).w0().setGroupMark(1);  // a group still open at the line's end goes to the end
    el(3).w1().setNumerator(3);
    cursorOn(4);
    EXPECT_TRUE(EraseGroup(ctx.doc, ctx.ui));
    EXPECT_EQ(std::pair(el(3).w0().groupMark(), el(3).w1().numerator()), std::pair(0u, 1u));
}

TEST_F(MarkRemovalTest, WithNothingUnderTheCursorEachOnlyBeeps) {
    tuplet(0, 1);  // marks that close before the cursor
    beam(0, 1);
    slur(0, 1);
    cursorOn(3);
    for (const auto erase : {&EraseSlur, &EraseBeam, &EraseGroup}) {
        const int beeps = ui.beeps();
        EXPECT_FALSE(erase(ctx.doc, ctx.ui));
        EXPECT_EQ(ui.beeps(), beeps + 1);
    }
    EXPECT_FALSE(ctx.doc.modified);
}

}  // namespace
}  // namespace notavera
