// Slurs typed with ( and ), rhythmic groups typed with G and g, and Détruire of a slur, beam or group: which
// notes carry the marks, and every refusal.
#include "edit/mark_removal.h"
#include "edit/rhythmic_group_entry.h"
#include "edit/slur_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

constexpr std::uint32_t startBits = (1u << 1) | (1u << 2);
constexpr std::uint32_t endBits = (1u << 1) | (1u << 3);

class MarkTest : public ::testing::Test {
protected:
    MarkTest() {
        SetUpNewDocument(ctx.doc, 1);
        ctx.shell.cursor.x = 60;
    }
    std::vector<ElementRecord>& els() { return ctx.doc.staff()->elements; }
    std::uint32_t curve(std::size_t i) { return els()[i].word0 & (startBits | endBits); }
    std::pair<unsigned, unsigned> ratio(std::size_t i) { return {els()[i].w1().numerator(), els()[i].w1().denominator()}; }
    unsigned group(std::size_t i) { return els()[i].w0().groupMark(); }
    std::vector<std::uint32_t> curves() {
        std::vector<std::uint32_t> out;
        for (std::size_t i = 0; i < els().size(); ++i) out.push_back(curve(i));
        return out;
    }
    // Digits are the note keys F1..F9; '#' types the character after it; anything else is typed as it is.
    void type(std::string_view keys) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const char c = keys[i];
            if (c == '#') DispatchChar(ctx, static_cast<char32_t>(keys[++i]));
            else if (c >= '1' && c <= '9') DispatchKey(ctx, static_cast<Key>(static_cast<int>(Key::F1) + (c - '1')), {});
            else DispatchChar(ctx, static_cast<char32_t>(c));
        }
    }
    void cursorOn(int i) {
        ctx.doc.currentElement = i;
        ctx.shell.cursor.x = els()[static_cast<std::size_t>(i)].x;
    }
    void fraction(const std::string& num, const std::string& den, bool ok = true) {
        ui.queueDialogAnswer({"Fraction", {{"Numérateur", num}, {"Dénominateur", den}}, ok});
    }
    bool open(std::uint32_t switchBit) const { return (ctx.doc.insertion.switches & switchBit) != 0; }
    // Typing `keys` shows message 18 and leaves every word of the staff as it was.
    void expectRefused(std::string_view keys) {
        const std::vector<ElementRecord> before = els();
        const bool modified = ctx.doc.modified;
        type(keys);
        ASSERT_FALSE(ui.messages().empty());
        EXPECT_EQ(ui.messages().back().stringId, 18);
        ASSERT_EQ(els().size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(els()[i].word0, before[i].word0) << i;
        EXPECT_EQ(ctx.doc.modified, modified);
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(MarkTest, ASlurRunsFromItsFirstNoteToItsLastAndARestDoesNotStartIt) {
    type("(S234)5");
    EXPECT_EQ(curves(), (std::vector<std::uint32_t>{0, startBits, 0, endBits, 0}));
    EXPECT_FALSE(open(SwitchSlur));
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(MarkTest, ASlurOpensAndClosesOnTheNotesAtTheCursor) {
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
    EXPECT_EQ(curve(2), startBits);
    EXPECT_EQ(curve(3), endBits);
    cursorOn(3);
    type("(");
    expectRefused(")");  // on its own start
    cursorOn(0);
    expectRefused(")");  // before its start
}

TEST_F(MarkTest, ASlurEndsOnALaterLineOfItsVoiceOnly) {
    type("(2");
    PageRecord& page = *ctx.doc.findPage(1);
    page.staves[2].voice().setVoice(page.staves[0].voice().voice());
    ASSERT_NE(page.staves[1].voice().voice(), page.staves[0].voice().voice());
    ctx.doc.currentStaff = 1;
    ctx.doc.currentElement = -1;
    type("3");
    expectRefused(")");
    ctx.doc.currentStaff = 2;
    ctx.doc.currentElement = -1;
    ctx.shell.cursor.x = 60;
    type("3)");
    EXPECT_EQ(curve(0), endBits);
    EXPECT_FALSE(open(SwitchSlur));
}

TEST_F(MarkTest, ATripletIsMarkedOnItsFirstAndLastElementsWithItsProportionOnEach) {
    fraction("3", "2");
    type("#5GS34g5");
    ASSERT_EQ(els().size(), 4u);
    EXPECT_TRUE(els()[0].isRest());
    const unsigned marks[] = {1, 0, 2, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(group(i), marks[i]) << i;
        EXPECT_EQ(ratio(i), i < 3 ? std::pair(3u, 2u) : std::pair(1u, 1u)) << i;
    }
    EXPECT_FALSE(open(SwitchGroup));
    EXPECT_EQ(ui.dialogs(), std::vector<std::string>{"Fraction"});
}

TEST_F(MarkTest, OverNotesAlreadyWrittenTheProportionGoesToEveryNoteBetween) {
    type("523456");
    cursorOn(1);
    fraction("5", "4");
    type("G");
    cursorOn(5);
    type("g");
    EXPECT_EQ(group(1), 1u);
    EXPECT_EQ(group(5), 2u);
    EXPECT_EQ(ratio(0), std::pair(1u, 1u));
    for (std::size_t i = 1; i <= 5; ++i) EXPECT_EQ(ratio(i), std::pair(5u, 4u)) << i;
}

TEST_F(MarkTest, ACancelledFractionOrAnEmptyGroupMarksNothing) {
    fraction("3", "2", false);
    type("G2");
    EXPECT_FALSE(open(SwitchGroup));
    fraction("3", "2");
    type("Gg3");
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(group(i), 0u) << i;
        EXPECT_EQ(ratio(i), std::pair(1u, 1u)) << i;
    }
}

TEST_F(MarkTest, GOnTheLastNoteOfAGroupStartsANewGroupAfterIt) {
    fraction("3", "2");
    type("#5G234g");
    DispatchKey(ctx, Key::Left, {});  // onto the triplet's last note: the group shows as open
    ASSERT_TRUE(open(SwitchGroup));
    ctx.shell.cursor.x = els().back().x + 100;
    fraction("5", "4");
    type("G56g");
    EXPECT_EQ(group(3), 1u);
    EXPECT_EQ(group(4), 2u);
    EXPECT_EQ(ratio(4), std::pair(5u, 4u));
    EXPECT_EQ(ratio(2), std::pair(3u, 2u));
}

TEST_F(MarkTest, SmallGOnANoteFoundByTheCursorClosesTheGroupWithItsFraction) {
    fraction("3", "2");
    type("#5G234");
    ctx.doc.insertion.switches &= ~SwitchGroup;  // left open, then found again by the cursor
    ctx.shell.groupNum = ctx.shell.groupDen = 1;
    cursorOn(2);
    DispatchKey(ctx, Key::Left, {});
    DispatchKey(ctx, Key::Right, {});
    ASSERT_EQ(ctx.doc.currentElement, 2);
    type("g");
    EXPECT_EQ(group(2), 2u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(ratio(i), std::pair(3u, 2u)) << i;
}

TEST_F(MarkTest, AGroupOpenFromAnEarlierLineStopsAtTheGroupClosedBeforeIt) {
    ctx.shell.documentReady = true;
    fraction("3", "2");
    type("#5G");
    EXPECT_NE(ui.title().find("[3:2]"), std::string::npos) << ui.title();
    type("234g");
    ctx.doc.insertion.switches |= SwitchGroup;
    ctx.doc.insertion.proportionNum = ctx.shell.groupNum = 5;
    ctx.doc.insertion.proportionDen = ctx.shell.groupDen = 4;
    type("56g");
    EXPECT_EQ(ratio(2), std::pair(3u, 2u));
    EXPECT_EQ(ratio(3), std::pair(5u, 4u));
    EXPECT_EQ(group(4), 2u);
}

// Six eighths; marks set on chosen notes, then erased from the note at the cursor.
class MarkRemovalTest : public MarkTest {
protected:
    MarkRemovalTest() {
        type("#5234567");
        ctx.doc.modified = false;
    }
    ElementRecord& n(int i) { return els()[static_cast<std::size_t>(i)]; }
    void slur(int from, int to) {
        n(from).word0 |= startBits;
        n(to).word0 |= endBits;
    }
    void beam(int from, int to) {
        for (int i = from; i <= to; ++i) n(i).w0().setInBeam(true);
        n(from).w0().setOpensBeam(true);
        n(to).w0().setClosesBeam(true);
    }
    void tuplet(int from, int to) {
        for (int i = from; i <= to; ++i) {
            n(i).w1().setNumerator(3);
            n(i).w1().setDenominator(2);
        }
        n(from).w0().setGroupMark(1);
        n(to).w0().setGroupMark(n(to).w0().groupMark() | 2);
    }
    unsigned beamBits(int i) { return n(i).word0 & 0xE0u; }
};

TEST_F(MarkRemovalTest, TheSlurOverTheCursorGoesFromBothItsNotesOnly) {
    slur(0, 2);
    slur(2, 4);  // note 2 ends one slur and starts the next
    cursorOn(1);
    DispatchCommand(ctx, eraseSlurCommand);
    EXPECT_EQ(curves(), (std::vector<std::uint32_t>{0, 0, startBits, 0, endBits, 0}));
    EXPECT_TRUE(ctx.doc.modified);
    cursorOn(2);  // the slur starting at the cursor
    DispatchCommand(ctx, eraseSlurCommand);
    EXPECT_EQ(curve(2) | curve(4), 0u);
    n(1).word0 |= endBits;  // a slur from the previous line
    cursorOn(0);
    EXPECT_TRUE(EraseSlur(ctx));
    EXPECT_EQ(curve(1), 0u);
}

TEST_F(MarkRemovalTest, TheBeamGroupOfTheCursorGoesAndTheNextStays) {
    beam(0, 2);
    beam(3, 5);
    cursorOn(1);
    DispatchCommand(ctx, eraseBeamCommand);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(beamBits(i) != 0, i >= 3) << i;
}

TEST_F(MarkRemovalTest, TheRhythmicGroupGoesAndItsNotesCanBeDeletedAgain) {
    tuplet(1, 3);
    cursorOn(2);
    DispatchKey(ctx, Key::Delete, {});
    ASSERT_FALSE(ui.messages().empty());
    EXPECT_EQ(ui.messages().back().stringId, 19);
    DispatchCommand(ctx, eraseGroupCommand);
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(group(i), 0u) << i;
        EXPECT_EQ(ratio(i), std::pair(1u, 1u)) << i;
    }
    DispatchKey(ctx, Key::Delete, {});
    EXPECT_EQ(els().size(), 5u);
    // A group still open at the line's end goes to the end.
    n(3).w0().setGroupMark(1);
    n(3).w1().setNumerator(3);
    cursorOn(4);
    EXPECT_TRUE(EraseGroup(ctx));
    EXPECT_EQ(group(3), 0u);
    EXPECT_EQ(n(3).w1().numerator(), 1u);
}

TEST_F(MarkRemovalTest, WithNothingUnderTheCursorEachOnlyBeeps) {
    tuplet(0, 1);  // marks that close before the cursor
    beam(0, 1);
    slur(0, 1);
    ctx.doc.modified = false;
    cursorOn(3);
    for (const auto erase : {&EraseSlur, &EraseBeam, &EraseGroup}) {
        const int beeps = ui.beeps();
        EXPECT_FALSE(erase(ctx));
        EXPECT_EQ(ui.beeps(), beeps + 1);
    }
    EXPECT_FALSE(ctx.doc.modified);
}

}  // namespace
}  // namespace notavera
