// Command, key and character dispatch: the tool check mark and pending modes, the Ctrl renumbering, the
// characters the shell owns, the palette re-entry and the "Val" popup.
#include <gtest/gtest.h>

#include <optional>

#include "platform/headless/headless_ui.h"
#include "shell/command_registry.h"
#include "shell/dispatch.h"
#include "shell/editor_context.h"
#include "support/score_builder.h"

namespace notavera {
namespace {

// A window that counts how pending click modes end and answers the "Val" popup from a queued choice.
class WindowUi : public HeadlessUi {
public:
    WindowUi() : HeadlessUi(nullptr) {}
    void endMouseMode() override { ++mouseModesEnded; }
    void invalidate() override { ++repaints; }
    std::optional<int> popupValueMenu() override { return std::exchange(popupChoice, std::nullopt); }

    int mouseModesEnded = 0;
    int repaints = 0;
    std::optional<int> popupChoice;
};

class Dispatch : public ::testing::Test {
protected:
    WindowUi ui;
    EditorContext ctx{ui};
};

struct Renumbering {
    Key key;
    KeyModifiers modifiers;
    int expected;
};

class KeyRenumbering : public ::testing::TestWithParam<Renumbering> {};

TEST(CommandRegistration, NoSubsystemClaimsANumberAnotherAlreadyHandles) {
    EXPECT_EQ(CoreCommands().replacedCount(), 0);
}

TEST_P(KeyRenumbering, GivesTheKeyTableNumber) {
    EXPECT_EQ(TranslateKey(GetParam().key, GetParam().modifiers), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    CtrlAndShift, KeyRenumbering,
    ::testing::Values(Renumbering{Key::PageUp, {true, false}, 206}, Renumbering{Key::PageDown, {true, false}, 179},
                      Renumbering{Key::Home, {true, false}, 180}, Renumbering{Key::Left, {true, false}, 207},
                      Renumbering{Key::Up, {true, false}, 181}, Renumbering{Key::Right, {true, false}, 178},
                      Renumbering{Key::Down, {true, false}, 182}, Renumbering{Key::End, {true, false}, 35},
                      Renumbering{Key::Up, {false, true}, 33}, Renumbering{Key::Down, {false, true}, 34},
                      Renumbering{Key::Left, {false, true}, 37}, Renumbering{Key::F3, {false, false}, 114},
                      Renumbering{Key::Left, {true, true}, elementMoveKeyOffset + 37},
                      Renumbering{Key::PageUp, {true, true}, 206}));

TEST_F(Dispatch, ACheckedToolMovesTheCheckMarkAndAStarredOneRemovesIt) {
    DispatchCommand(ctx, 71);  // Liaisons
    EXPECT_EQ(ctx.shell.input.currentTool, '(');
    EXPECT_EQ(ctx.shell.input.toolMenuItem, 71);
    DispatchCommand(ctx, 80);  // Double Dièse*
    EXPECT_EQ(ctx.shell.input.currentTool, 'D');
    EXPECT_EQ(ctx.shell.input.toolMenuItem, 0);
    DispatchCommand(ctx, 97);  // Cacher/révéler Altération
    EXPECT_EQ(ctx.shell.input.currentTool, 300);
    EXPECT_EQ(ctx.shell.input.hideKind, 2);
    EXPECT_EQ(ctx.shell.input.toolMenuItem, 97);
}

TEST_F(Dispatch, ChoosingAToolWhileALineCutWaitsCancelsTheCut) {
    ctx.shell.input.mouseMode = 98;
    ctx.doc.toolOverride = 1;
    DispatchCommand(ctx, 86);  // Notes
    EXPECT_EQ(ctx.shell.input.mouseMode, 0);
    EXPECT_EQ(ui.mouseModesEnded, 1);
    EXPECT_EQ(ctx.doc.toolOverride, 0);
    EXPECT_EQ(ctx.shell.input.currentTool, 'N');
}

TEST_F(Dispatch, AStarredToolLeavesAPendingClickModeAlone) {
    ctx.shell.input.mouseMode = 99;
    DispatchCommand(ctx, 82);  // .Pointage
    EXPECT_EQ(ctx.shell.input.mouseMode, 99);
    EXPECT_EQ(ui.mouseModesEnded, 0);
}

TEST_F(Dispatch, ACommandWithAHighWordMatchesNothing) {
    DispatchCommand(ctx, (1u << 16) | 71u);
    EXPECT_EQ(ctx.shell.input.currentTool, 'N');
    EXPECT_EQ(ctx.shell.input.toolMenuItem, 86);
    DispatchCommand(ctx, (1u << 16) | 52u);
    EXPECT_EQ(ctx.shell.view.zoom, (ZoomFraction{1, 1}));
}

TEST_F(Dispatch, UnbuiltCommandsAreReportedAndDoNothing) {
    EXPECT_TRUE(CommandIsBuilt(71));
    EXPECT_TRUE(CommandIsBuilt(530));
    EXPECT_FALSE(CommandIsBuilt(227));  // transposition comes with the editing code
    EXPECT_FALSE(CommandIsBuilt(20));   // undo does not exist yet, nor its palette button
    DispatchCommand(ctx, 227);
    EXPECT_EQ(ui.messages().size(), 0u);
}

TEST_F(Dispatch, DInZSymbolModeChoosesTheSharpSymbol) {
    ctx.shell.input.zSymbolMode = 1;
    DispatchChar(ctx, 'd');
    EXPECT_EQ(ctx.shell.input.currentTool, 'd');
    EXPECT_EQ(ctx.doc.insertion.accidental, Accidental::None);
    DispatchChar(ctx, ':');
    EXPECT_EQ(ctx.shell.input.currentTool, ':');
    EXPECT_EQ(ctx.doc.insertion.dots, 0u);
    DispatchChar(ctx, '(');
    EXPECT_EQ(ctx.shell.input.currentTool, 'l');
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchSlur, 0u);
}

TEST_F(Dispatch, WithoutZSymbolModeCharactersSetTheAttributes) {
    DispatchChar(ctx, 'B');
    EXPECT_EQ(ctx.doc.insertion.accidental, Accidental::DoubleFlat);
    EXPECT_TRUE(ctx.doc.insertion.accidentalForced);
    DispatchChar(ctx, ':');
    EXPECT_EQ(ctx.doc.insertion.dots, 2u);
    DispatchChar(ctx, '7');
    EXPECT_EQ(ctx.doc.insertion.durationCode, 7u);
    DispatchChar(ctx, 's');
    EXPECT_EQ(ctx.doc.insertion.durationCode, 10u);
    EXPECT_EQ(ctx.shell.dialogs.menuDuration, 10u);
    EXPECT_EQ(ctx.shell.input.currentTool, 'N');
}

TEST_F(Dispatch, EscapeLeavesTheShellsPendingModes) {
    ctx.shell.input.zSymbolMode = 1;
    ctx.shell.input.mouseMode = 69;
    DispatchKey(ctx, Key::Escape, {});
    EXPECT_EQ(ctx.shell.input.zSymbolMode, 0);
    EXPECT_EQ(ctx.shell.input.mouseMode, 0);
    EXPECT_EQ(ui.mouseModesEnded, 1);
}

TEST_F(Dispatch, PairedCharactersAndTheirPaletteButtons) {
    DispatchChar(ctx, '5');  // beams join eighths: a quarter would refuse the group
    DispatchChar(ctx, '[');
    EXPECT_NE(ctx.doc.insertion.switches & SwitchBeam, 0u);
    DispatchCommand(ctx, 33);  // sends ] while the beam group is open
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchBeam, 0u);
    DispatchCommand(ctx, 26);  // sends _ while the tie form is off
    EXPECT_NE(ctx.doc.insertion.switches & SwitchTie, 0u);
    DispatchChar(ctx, '-');
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchTie, 0u);
}

TEST_F(Dispatch, GOpensARhythmicGroupOnlyWithItsFraction) {
    DispatchChar(ctx, 'G');  // no answer: "Annuler"
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchGroup, 0u);
    ui.queueDialogAnswer({"Fraction", {{"Numérateur", "3"}, {"Dénominateur", "2"}}, true});
    DispatchChar(ctx, 'G');
    EXPECT_NE(ctx.doc.insertion.switches & SwitchGroup, 0u);
    EXPECT_EQ(ctx.shell.input.groupNum, 3u);
    EXPECT_EQ(ctx.shell.input.groupDen, 2u);
    DispatchCommand(ctx, 24);  // sends g while the group is open
    EXPECT_EQ(ctx.doc.insertion.switches & SwitchGroup, 0u);
}

TEST_F(Dispatch, NoteFormButtons) {
    const auto stemBits = [&] { return (ctx.doc.insertion.noteWordFlags >> 13) & 3u; };
    EXPECT_EQ(ctx.shell.input.noteFormFlags, 2) << "stems start automatic";
    EXPECT_EQ(stemBits(), 1u);
    DispatchCommand(ctx, 40);
    EXPECT_EQ(ctx.shell.input.noteFormFlags, 0);
    EXPECT_EQ(stemBits(), 0u);
    DispatchCommand(ctx, 38);
    EXPECT_EQ(ctx.shell.input.noteFormFlags, 1);
    EXPECT_EQ(stemBits(), 2u) << "flag A: the stem up (note word bit 14)";
    DispatchCommand(ctx, 39);
    EXPECT_EQ(ctx.shell.input.noteFormFlags, 2);
    EXPECT_EQ(stemBits(), 1u) << "flag B: the automatic stem (bit 13)";
    DispatchCommand(ctx, 38);
    EXPECT_EQ(ctx.shell.input.noteFormFlags, 3);
    EXPECT_EQ(stemBits(), 3u);
    DispatchCommand(ctx, 40);
    EXPECT_EQ(ctx.shell.input.noteFormFlags, 0);
    DispatchCommand(ctx, 22);
    EXPECT_TRUE(ctx.shell.input.alternateAction);
}

TEST_F(Dispatch, ZoomCommandsAndTheFractionDialog) {
    DispatchCommand(ctx, 54);
    EXPECT_EQ(ctx.shell.view.zoom, (ZoomFraction{3, 2}));
    EXPECT_EQ(ctx.shell.view.zoomMenuItem, 54);
    DispatchCommand(ctx, 56);  // cancelled: nothing changes
    EXPECT_EQ(ctx.shell.view.zoom, (ZoomFraction{3, 2}));
    EXPECT_EQ(ctx.shell.view.zoomMenuItem, 54);
    ui.queueDialogAnswer({"Fraction", {{"Numérateur", "250"}, {"Dénominateur", "7"}}, true});
    DispatchCommand(ctx, 56);
    EXPECT_EQ(ctx.shell.view.zoom, (ZoomFraction{99, 7}));
    EXPECT_EQ(ctx.shell.view.zoomMenuItem, 56);
    EXPECT_EQ(ui.repaints, 2);
}

TEST(DispatchValues, ThePopupOfButton42GivesTheReferenceValueToATimeSignature) {
    WindowUi ui;
    test::ScoreBuilder score;
    score.on(1, 0).meter(200, 3, 4);
    score.setCurrent(1, 0, 0);
    EditorContext windowCtx(ui);
    windowCtx.doc = std::move(score.doc());
    windowCtx.doc.insertion.signAttribute = 9;

    ui.popupChoice = 533;  // Noire
    DispatchCommand(windowCtx, 42);
    const ElementRecord* e = windowCtx.doc.element();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->w1().smallField(), 3u);
    EXPECT_EQ(e->signWord().high7(), 9u);
    EXPECT_EQ(windowCtx.doc.insertion.referenceValue, 3u);
    EXPECT_EQ(windowCtx.doc.insertion.durationCode, 4u);  // the note duration is untouched
    EXPECT_EQ(windowCtx.shell.input.keyMode, 0);
    EXPECT_EQ(ui.messages().size(), 1u);  // the values of the time signature were shown first

    ui.popupChoice = 535;  // from button 41 the same item is a note duration
    DispatchCommand(windowCtx, 41);
    EXPECT_EQ(windowCtx.doc.insertion.durationCode, 5u);
    EXPECT_EQ(windowCtx.doc.insertion.referenceValue, 3u);
}

}  // namespace
}  // namespace notavera
