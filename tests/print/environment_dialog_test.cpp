#include "print/environment_dialog.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
#include "score/score_document.h"
#include "shell/editor_context.h"
#include "shell/system_settings.h"

namespace notavera {
namespace {

struct EnvironmentDialogTest : ::testing::Test {
    ScoreDocument doc;
    SystemSettings settings;

    std::string stepField() const { return "Taille du Pas (Défaut: " + std::to_string(doc.stepUnit) + ")"; }

    void answer(std::vector<std::pair<std::string, std::string>> fields) {
        DialogModel m = makeEnvironmentDialog(doc, settings);
        EXPECT_TRUE(applyAnswer(m, {"Environnement", std::move(fields), true}).empty());
        acceptEnvironmentDialog(m, doc, settings);
    }
};

TEST_F(EnvironmentDialogTest, OpensOnTheStartValues) {
    const DialogModel m = makeEnvironmentDialog(doc, settings);
    EXPECT_EQ(m.value("Echo clavier (instr. ou -1):"), 1);
    EXPECT_EQ(m.value("Cycles entrée MIDI:"), 40);
    EXPECT_EQ(m.value("barre de mesure (4)"), 4);
    EXPECT_EQ(m.value("indication mesure (8)"), 3);
    EXPECT_EQ(m.value("clef (10)"), 10);
    EXPECT_EQ(m.value("Ep.Trait liais."), doc.header.tieStrokeWidthMinusOne() + 1);
    ASSERT_NE(m.find(stepField()), nullptr);
    EXPECT_EQ(m.value(stepField()), doc.spacingStep);
}

TEST_F(EnvironmentDialogTest, TieStrokeWidthIsStoredLessOne) {
    answer({{"Ep.Trait liais.", "0"}});
    EXPECT_EQ(doc.header.tieStrokeWidthMinusOne(), 0);
    EXPECT_EQ(makeEnvironmentDialog(doc, settings).value("Ep.Trait liais."), 1);
    answer({{"Ep.Trait liais.", "9"}});
    EXPECT_EQ(doc.header.tieStrokeWidthMinusOne(), 3);
    EXPECT_EQ(makeEnvironmentDialog(doc, settings).value("Ep.Trait liais."), 4);
}

TEST_F(EnvironmentDialogTest, DistancesAreClampedInSteps) {
    answer({{stepField(), "12"}, {"clef (10)", "2"}, {"barre de mesure (4)", "25"}, {"indication mesure (8)", "0"}});
    EXPECT_EQ(settings.distanceSteps.afterClef, 3);
    EXPECT_EQ(settings.distanceSteps.afterMeter, 0);
    EXPECT_EQ(settings.distanceSteps.afterBar, 20);
    EXPECT_EQ(doc.spacingStep, 12);
    EXPECT_TRUE(doc.modified);
}

TEST_F(EnvironmentDialogTest, EveryStorePlaceIsWritten) {
    answer({{"Transposition de silences", "1"}, {"Silence de mesure automatique", "1"}, {"Inverser arcs", "1"},
            {"Double Justification (barre déplacée)", "1"}, {"Invers.Txt Vertical", "1"},
            {"Pages en continu (Max 10)", "11"}, {"Fin", "0"}, {"Moyen", "7"}, {"Epais", "100"},
            {"Hauteur (Ecran)", "-200"}, {"Hauteur (Impr.)", "5"}, {"Pos. hampes", "-3"}, {"Liaison", "1"},
            {"Min (b)", "200"}, {"Max (#)", "90"}, {"Barre mesure", "1"}, {"Echo clavier (instr. ou -1):", "-1"},
            {"Cycles entrée MIDI:", "0"}, {"Résolution x (alignements)", "7"}});
    EXPECT_EQ(doc.header.restTransposition(), 1);
    EXPECT_EQ(doc.header.autoWholeBarRest(), 1);
    EXPECT_TRUE(doc.settings.invertArcs);
    EXPECT_TRUE(doc.settings.doubleJustification);
    EXPECT_TRUE(settings.invertVerticalText);
    EXPECT_EQ(doc.header.continuousPages(), 10);
    EXPECT_EQ(doc.header.pageFormat().thinLine(), 1);
    EXPECT_EQ(doc.header.pageFormat().mediumLine(), 7);
    EXPECT_EQ(doc.header.pageFormat().thickLine(), 10);  // "100" is cut to the two characters the edit takes
    EXPECT_EQ(doc.header.screenHeightCorrection(), -128);
    EXPECT_EQ(doc.header.printerHeightCorrection(), 5);
    EXPECT_EQ(doc.header.stemPositionCorrection(), -3);
    EXPECT_EQ(doc.header.midi().legatoMode(), 2);
    EXPECT_EQ(doc.header.midi().minVelocity(), 128);  // "200" clamps to the most a velocity step may be
    EXPECT_EQ(doc.header.midi().maxVelocity(), 90);
    EXPECT_EQ(doc.header.midi().pedalMode(), 2);
    EXPECT_EQ(settings.keyboardEcho, -1);
    EXPECT_EQ(settings.midiInputCycles, 1);
    EXPECT_EQ(doc.settings.alignmentResolution, 7);
}

TEST_F(EnvironmentDialogTest, CancelRestoresEverythingIncludingMidiInputCycles) {
    const FileHeader before = doc.header;
    DialogModel m = makeEnvironmentDialog(doc, settings);
    applyAnswer(m, {"Environnement", {{"Cycles entrée MIDI:", "90"}, {"clef (10)", "2"}, {"Fin", "50"}}, false});
    EXPECT_EQ(settings.midiInputCycles, 40);
    EXPECT_EQ(settings.distanceSteps.afterClef, 10);
    EXPECT_EQ(doc.header.bytes, before.bytes);
    EXPECT_FALSE(doc.modified);
}

TEST_F(EnvironmentDialogTest, OldNotationIsWrittenIntoTheStaffAtOnce) {
    SetUpNewDocument(doc, 1);
    ASSERT_NE(doc.staff(), nullptr);
    DialogModel m = makeEnvironmentDialog(doc, settings);
    m.type("Notation Ancienne", "1");
    EXPECT_TRUE(doc.staff()->key().oldNotation());  // even if the dialog is then cancelled
    EXPECT_TRUE(makeEnvironmentDialog(doc, settings).checked("Notation Ancienne"));
}

TEST_F(EnvironmentDialogTest, OldNotationWithoutAStaffIsHarmless) {
    DialogModel m = makeEnvironmentDialog(doc, settings);
    EXPECT_TRUE(m.type("Notation Ancienne", "1"));
    EXPECT_FALSE(doc.modified);
}

}  // namespace
}  // namespace notavera

namespace notavera {
namespace {

TEST(RunEnvironmentDialog, ScriptedAnswerReachesTheShellSettings) {
    HeadlessUi ui;
    EditorContext ctx(ui);
    ui.queueDialogAnswer({"Environnement", {{"clef (10)", "2"}, {"Cycles entrée MIDI:", "60"}}, true});
    EXPECT_EQ(RunEnvironmentDialog(ctx), 1);
    EXPECT_EQ(ctx.shell.settings.distanceSteps.afterClef, 3);
    EXPECT_EQ(ctx.shell.settings.midiInputCycles, 60);
    EXPECT_TRUE(ctx.doc.modified);
}

}  // namespace
}  // namespace notavera
