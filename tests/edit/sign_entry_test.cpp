// Signs put at the cursor from the menus: clefs, keys ("Armure"), time signatures ("IndMesure") and the special
// bars of "Barres spéciales" put with E — the sign written, its replacement in place, and the cursor after it.
#include "edit/clef_entry.h"
#include "edit/key_entry.h"
#include "edit/special_bar_entry.h"
#include "edit/time_signature_entry.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "shell/key_commands.h"
#include "shell/time_signature_commands.h"
#include "shell/sign_characters.h"

namespace notavera {
namespace {

class SignEntryTest : public ::testing::Test {
protected:
    SignEntryTest() {
        SetUpNewDocument(ctx.doc, 1);
        ctx.shell.cursor.x = 60;
    }
    StaffRecord& staff(int i = 0) { return ctx.doc.page()->staves[static_cast<std::size_t>(i)]; }
    std::vector<ElementRecord>& els() { return ctx.doc.staff()->elements; }
    void at(int x, int element = -1) {
        ctx.shell.cursor.x = x;
        ctx.doc.currentElement = element;
    }
    void dialog(const std::string& name, std::vector<std::pair<std::string, std::string>> fields, int command,
                bool ok = true) {
        ui.queueDialogAnswer(DialogAnswer{name, std::move(fields), ok});
        DispatchCommand(ctx, command);
    }
    void key(const std::string& number, const std::string& kind, bool ok = true) {
        dialog("Armure", kind.empty() ? decltype(DialogAnswer::fields){{"Nombre", number}}
                                      : decltype(DialogAnswer::fields){{"Nombre", number}, {kind, "1"}},
               cmd::KeySignature, ok);
    }
    std::pair<KeyKind, unsigned> keyOf(int i) { return {staff(i).key().keyKind(), staff(i).key().keyCount()}; }
    // A key change's kind (1 sharps, 2 flats), number, code and cancellation flag.
    std::tuple<unsigned, unsigned, unsigned, bool> change(std::size_t i) {
        const auto w = staff().elements.at(i).signWord();
        return {w.subValue(), w.high7(), w.code(), w.flag16()};
    }
    void groupFirstTwoStaves() {
        for (int i = 0; i < 2; ++i) {
            staff(i).voice().setPositionInGroup(static_cast<unsigned>(i + 1));
            staff(i).voice().setGroupSize(2);
        }
    }

    HeadlessUi ui{nullptr};
    EditorContext ctx{ui};
};

TEST_F(SignEntryTest, AClefIsReplacedAtTheCursorAndBeforeMusicSendsTheCursorToTheNextElement) {
    for (const auto& [command, clef] : {std::pair(cmd::ClefG2, 1u), std::pair(cmd::ClefF4, 3u)}) {
        at(60, els().empty() ? -1 : 0);
        DispatchCommand(ctx, command);
        ASSERT_EQ(els().size(), 1u) << command;
        EXPECT_TRUE(els()[0].isSignOfType(SignType::Clef));
        EXPECT_EQ(std::pair(els()[0].signWord().code(), els()[0].x), std::pair(clef, 60));
        EXPECT_EQ(ctx.shell.cursor.x, 60 + ctx.shell.settings.distanceSteps.afterClef * ctx.doc.spacingStep);
    }
    els().clear();
    at(60);
    DispatchKey(ctx, Key::F2, {});
    at(40);
    DispatchCommand(ctx, cmd::ClefF4);
    ASSERT_EQ(els().size(), 2u);
    EXPECT_TRUE(els()[0].isSignOfType(SignType::Clef));
    EXPECT_EQ(std::pair(ctx.shell.cursor.x, ctx.doc.currentElement), std::pair(els()[1].x, 1));
    ctx.doc.insertion.word0Flags = 1u << 14;  // working from a neighbour staff: no clef
    DispatchCommand(ctx, cmd::ClefG2);
    EXPECT_EQ(els().size(), 2u);
}

TEST_F(SignEntryTest, NearTheLineStartTheKeyIsTheStaffsAndIsHandedDownFromTheBlocksFirstStaff) {
    groupFirstTwoStaves();
    at(40);
    key("2", "Dièse");
    EXPECT_EQ(keyOf(0), std::pair(KeyKind::Sharps, 2u));
    EXPECT_EQ(keyOf(1), std::pair(KeyKind::Sharps, 2u));
    EXPECT_TRUE(staff().elements.empty());
    EXPECT_GT(ctx.shell.cursor.x, 40);
    EXPECT_TRUE(ctx.doc.modified);
    ctx.doc.currentStaff = 1;
    at(40);
    key("4", "Bémol");
    EXPECT_EQ(keyOf(0), std::pair(KeyKind::Sharps, 2u)) << "a lower staff keeps the block's other staves";
    EXPECT_EQ(keyOf(1), std::pair(KeyKind::Flats, 4u));
}

TEST_F(SignEntryTest, AKeyRightAfterTheOpeningClefIsTheStaffKeyWhereverTheCursorStands) {
    groupFirstTwoStaves();
    at(30);
    DispatchCommand(ctx, cmd::ClefG2);
    at(400);
    key("1", "Dièse");
    EXPECT_EQ(staff(0).elements.size(), 1u) << "no key change";
    EXPECT_EQ(keyOf(0), keyOf(1));
    EXPECT_EQ(keyOf(1), std::pair(KeyKind::Sharps, 1u));
}

TEST_F(SignEntryTest, FurtherRightAKeyChangeIsWrittenAndRewrittenInPlace) {
    at(500);
    key("2", "");  // no kind: nothing
    EXPECT_TRUE(staff().elements.empty());
    EXPECT_FALSE(ctx.doc.modified);
    key("2", "Dièse");
    ASSERT_EQ(staff().elements.size(), 1u);
    EXPECT_TRUE(staff().elements[0].isSignOfType(SignType::KeyChange));
    EXPECT_EQ(staff().elements[0].x, 500);
    EXPECT_EQ(change(0), std::tuple(1u, 2u, 2u, false));
    EXPECT_GT(ctx.shell.cursor.x, 500);
    EXPECT_EQ(staff().key().keyKind(), KeyKind::None) << "the staff's own key is untouched";
    at(500, 0);
    key("5", "Bémol");
    ASSERT_EQ(staff().elements.size(), 1u);
    EXPECT_EQ(change(0), std::tuple(2u, 5u, 5u, false));
}

TEST_F(SignEntryTest, NumberZeroCancelsTheKeyInForceAtTheCursor) {
    staff().key().setKeyKind(KeyKind::Sharps);
    staff().key().setKeyCount(3);
    at(600);
    key("0", "");
    ASSERT_EQ(staff().elements.size(), 1u);
    EXPECT_EQ(change(0), std::tuple(1u, 3u, 3u, true));
    EXPECT_FALSE(StepInKey(KeyInEffectAt(staff(), 0, 700), 4)) << "no note is altered after a cancellation";
}

TEST_F(SignEntryTest, TheKeyDialogLimitsTheNumberOffersTheLastAnswerAndCancelChangesNothing) {
    at(40);
    key("9", "Dièse");
    EXPECT_EQ(keyOf(0), std::pair(KeyKind::Sharps, 7u));
    const DialogModel m = MakeKeyDialog(ctx.shell.dialogs.keyDialog.number, ctx.shell.dialogs.keyDialog.kind);
    EXPECT_EQ(m.value("Nombre"), 7);
    EXPECT_TRUE(m.checked("Dièse"));
    EXPECT_FALSE(m.checked("Bémol"));
    key("2", "Bémol", false);
    EXPECT_EQ(keyOf(0), std::pair(KeyKind::Sharps, 7u));
}

TEST_F(SignEntryTest, EffacerArmureClearsTheStaffKeyOrTheKeyChangeAtTheCursorButNoNote) {
    groupFirstTwoStaves();
    at(40);
    key("2", "Dièse");
    at(40);
    DispatchCommand(ctx, cmd::EraseKeySignature);
    EXPECT_EQ(keyOf(0), std::pair(KeyKind::None, 0u));
    EXPECT_EQ(keyOf(1), std::pair(KeyKind::None, 0u));
    at(500);
    key("2", "Dièse");
    at(500, 0);
    DispatchCommand(ctx, cmd::EraseKeySignature);
    EXPECT_TRUE(staff().elements.empty());
    DispatchKey(ctx, Key::F2, {});
    at(500, 0);
    DispatchCommand(ctx, cmd::EraseKeySignature);
    EXPECT_EQ(staff().elements.size(), 1u);
}

struct MeterCase {
    std::vector<std::pair<std::string, std::string>> typed;
    unsigned flags, style, numerator, denominator;
};

class MeterDialogTest : public ::testing::TestWithParam<MeterCase> {};

TEST_P(MeterDialogTest, GivesTheFlagsStyleAndNumbers) {
    DialogModel m = MakeMeterDialog(MeterChoice{1, 0, 0, 0});
    for (const auto& [key, text] : GetParam().typed) ASSERT_TRUE(m.type(key, text)) << key;
    const MeterChoice c = ReadMeterDialog(m);
    EXPECT_EQ(std::tuple(c.flags, c.style, c.numerator, c.denominator),
              std::tuple(GetParam().flags, GetParam().style, GetParam().numerator, GetParam().denominator));
    // Opened again on what it gave, the dialog shows the same choice.
    const MeterChoice again = ReadMeterDialog(MakeMeterDialog(c));
    EXPECT_EQ(std::tuple(again.flags, again.style, again.numerator, again.denominator),
              std::tuple(c.flags, c.style, c.numerator, c.denominator));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MeterDialogTest,
    ::testing::Values(MeterCase{{{"400", "3"}, {"401", "4"}}, 1, 0, 3, 4},
                      MeterCase{{{"400", "1"}, {"401", "2"}}, 1, 0, 1, 2},
                      MeterCase{{{"400", "1"}, {"401", "1"}}, 0, 0, 0, 0},  // no numbers worth showing
                      MeterCase{{{"400", "0"}}, 0, 0, 0, 0},                // 0 becomes 1, copied below: 1/1
                      MeterCase{{{"400", "40"}, {"401", "8"}}, 1, 0, 31, 8},
                      MeterCase{{{"403", "1"}}, 64, 1, 0, 0},
                      MeterCase{{{"400", "6"}, {"401", "8"}, {"405", "1"}}, 64, 4, 0, 0},  // symbols reset numbers
                      MeterCase{{{"402", "1"}, {"412", "1"}}, 16 | 4, 0, 0, 0},  // a bar on a C turns it imperfect
                      MeterCase{{{"408", "1"}, {"413", "1"}}, 32 | 2, 0, 0, 0},
                      MeterCase{{{"410", "1"}, {"412", "1"}, {"402", "1"}}, 64, 0, 0, 0},  // C clears the boxes
                      MeterCase{{{"400", "2"}, {"401", "2"}, {"409", "1"}}, 16 | 1, 0, 2, 2}));

TEST_F(SignEntryTest, ATimeSignatureIsWrittenThenEditedAtTheCursorAndCancelChangesNothing) {
    dialog("IndMesure", {{"Numérateur", "3"}, {"Dénominateur", "4"}}, cmd::TimeSignature);
    ASSERT_EQ(els().size(), 1u);
    EXPECT_TRUE(els()[0].isSignOfType(SignType::TimeSignature));
    EXPECT_EQ(std::tuple(els()[0].w1().numerator(), els()[0].w1().denominator(), els()[0].signWord().code()),
              std::tuple(3u, 4u, 1u));
    EXPECT_GT(ctx.shell.cursor.x, 60);
    EXPECT_EQ(ctx.doc.insertion.timeSigNum, 1u);
    at(60, 0);
    dialog("IndMesure", {{"400", "6"}, {"401", "8"}}, cmd::TimeSignature, false);
    EXPECT_EQ(els()[0].w1().numerator(), 3u);
    dialog("IndMesure", {{"403", "1"}}, cmd::TimeSignature);
    ASSERT_EQ(els().size(), 1u);
    EXPECT_EQ(std::pair(els()[0].signWord().code(), els()[0].signWord().subValue()), std::pair(65u, 1u));
    EXPECT_EQ(ctx.shell.dialogs.meterFlags, 65u);
}

TEST_F(SignEntryTest, EveryBarChoiceIsWrittenWithItsCodeByE) {
    // The code as the bar drawing reads it; a brace or bracket on a staff outside a group joins the next staff.
    const std::pair<const char*, int> choices[] = {
        {"Barre finale", 'E'},        {"Reprise double :||:", 'R'}, {"Reprise du début :|", 'F'},
        {"Reprise de la suite |:", 'O'}, {"Double barre ||", 'D'},   {"Barre d'entrée ", 'I'},
        {"Accolade", 1},              {"Droite ouvrante", -1}};
    ctx.doc.currentStaff = 3;
    ctx.doc.staff()->voice().setPositionInGroup(0);
    ctx.doc.staff()->voice().setGroupSize(0);
    for (const auto& [label, code] : choices) {
        els().clear();
        at(60);
        dialog("TypeBarre", {{label, "1"}}, cmd::SpecialBar);
        EXPECT_EQ(ctx.shell.input.mouseMode, specialBarMouseMode);
        DispatchChar(ctx, 'E');
        ASSERT_EQ(els().size(), 1u) << label;
        EXPECT_TRUE(els()[0].isSignOfType(SignType::Bar));
        EXPECT_EQ(std::pair(els()[0].signWord().signedCode(), els()[0].x), std::pair(code, 60)) << label;
        EXPECT_GT(ctx.shell.cursor.x, 60);
    }
}

TEST_F(SignEntryTest, WithoutAChoiceOrAfterCancelTheFinalBarIsPutAfterTheNoteAtTheCursor) {
    DispatchKey(ctx, Key::F2, {});
    at(60, 0);
    dialog("TypeBarre", {{"Double barre ||", "1"}}, cmd::SpecialBar, false);
    EXPECT_EQ(ctx.shell.input.mouseMode, 0);
    DispatchChar(ctx, 'E');
    ASSERT_EQ(els().size(), 2u);
    EXPECT_EQ(els()[1].signWord().code(), static_cast<unsigned>('E'));
    EXPECT_GT(els()[1].x, els()[0].x);
}

TEST_F(SignEntryTest, ABraceJoinsTheRestOfTheGroupAndOnTheLastStaffABracketOnlyBeeps) {
    staff(4).voice().setPositionInGroup(1);
    staff(4).voice().setGroupSize(3);
    ctx.doc.currentStaff = 4;
    dialog("TypeBarre", {{"Accolade", "1"}, {"Par portées individuelles", "1"}}, cmd::SpecialBar);
    EXPECT_TRUE(ctx.doc.settings.barsPerStaff);
    DispatchChar(ctx, 'E');
    EXPECT_EQ(els()[0].signWord().signedCode(), 2);
    ctx.doc.currentStaff = static_cast<int>(ctx.doc.page()->staves.size()) - 1;
    ctx.doc.modified = false;
    dialog("TypeBarre", {{"Droite ouvrante", "1"}}, cmd::SpecialBar);
    DispatchChar(ctx, 'E');
    EXPECT_TRUE(els().empty());
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_FALSE(ctx.doc.modified);
}

}  // namespace
}  // namespace notavera
