// The "Environnement" dialog: the document and shell settings it shows and stores, clamped to their ranges.
#include "print/environment_dialog.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
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

TEST_F(EnvironmentDialogTest, ShowsTheValuesItStores) {
    const DialogModel m = makeEnvironmentDialog(doc, settings);
    EXPECT_EQ(m.value("Cycles entrée MIDI:"), 40);
    EXPECT_EQ(m.value("indication mesure (8)"), 3);
    EXPECT_EQ(m.value(stepField()), doc.spacingStep);
    answer({{"Ep.Trait liais.", "9"}, {"Echo clavier (instr. ou -1):", "7"}});
    EXPECT_EQ(doc.header.tieStrokeWidthMinusOne(), 3);  // stored less one, at most 4
    EXPECT_EQ(settings.echoProgramPlusOne, 8);
    const DialogModel again = makeEnvironmentDialog(doc, settings);
    EXPECT_EQ(again.value("Ep.Trait liais."), 4);
    EXPECT_EQ(again.value("Echo clavier (instr. ou -1):"), 7);
}

TEST_F(EnvironmentDialogTest, FieldsAreStoredClampedAndDistancesInPageUnits) {
    answer({{stepField(), "12"}, {"clef (10)", "2"}, {"barre de mesure (4)", "25"}, {"indication mesure (8)", "0"},
            {"Pages en continu (Max 10)", "11"}, {"Epais", "100"}, {"Hauteur (Ecran)", "-200"}, {"Liaison", "1"},
            {"Min (b)", "200"}, {"Barre mesure", "1"}, {"Echo clavier (instr. ou -1):", "-1"},
            {"Cycles entrée MIDI:", "0"}, {"Invers.Txt Vertical", "1"}, {"Double Justification (barre déplacée)", "1"}});
    EXPECT_EQ(settings.clefDistanceSteps, 3);
    EXPECT_EQ(settings.clefDistance, 36);
    EXPECT_EQ(settings.barDistanceSteps, 20);
    EXPECT_EQ(settings.barDistance, 240);
    EXPECT_EQ(settings.meterDistance, 0);
    EXPECT_EQ(doc.spacingStep, 12);
    EXPECT_EQ(doc.header.continuousPages(), 10);
    EXPECT_EQ(doc.header.pageFormat().thickLine(), 10);  // "100" is cut to the two characters the edit takes
    EXPECT_EQ(doc.header.screenHeightCorrection(), -128);
    EXPECT_EQ(doc.header.midi().legatoMode(), 2);
    EXPECT_EQ(doc.header.midi().minVelocity(), 128);  // "200" clamps to the most a velocity step may be
    EXPECT_EQ(doc.header.midi().pedalMode(), 2);
    EXPECT_EQ(settings.echoProgramPlusOne, 0);
    EXPECT_EQ(settings.midiInputCycles, 1);
    EXPECT_TRUE(settings.invertVerticalText && doc.settings.doubleJustification && doc.modified);
}

TEST_F(EnvironmentDialogTest, CancelRestoresEverythingButOldNotationIsWrittenAtOnce) {
    const FileHeader before = doc.header;
    DialogModel m = makeEnvironmentDialog(doc, settings);
    EXPECT_TRUE(m.type("Notation Ancienne", "1"));  // without a staff: harmless
    applyAnswer(m, {"Environnement", {{"Cycles entrée MIDI:", "90"}, {"clef (10)", "2"}, {"Fin", "50"}}, false});
    EXPECT_EQ(settings.midiInputCycles, 40);
    EXPECT_EQ(settings.clefDistanceSteps, 10);
    EXPECT_EQ(doc.header.bytes, before.bytes);
    EXPECT_FALSE(doc.modified);

    SetUpNewDocument(doc, 1);
    makeEnvironmentDialog(doc, settings).type("Notation Ancienne", "1");
    EXPECT_TRUE(doc.staff()->key().oldNotation());  // even if the dialog is then cancelled
    EXPECT_TRUE(makeEnvironmentDialog(doc, settings).checked("Notation Ancienne"));
}

TEST(RunEnvironmentDialog, ScriptedAnswerReachesTheShellSettings) {
    HeadlessUi ui;
    EditorContext ctx(ui);
    ui.queueDialogAnswer({"Environnement", {{"clef (10)", "2"}, {"Cycles entrée MIDI:", "60"}}, true});
    EXPECT_EQ(RunEnvironmentDialog(ctx), 1);
    EXPECT_EQ(ctx.shell.settings.clefDistanceSteps, 3);
    EXPECT_EQ(ctx.shell.settings.midiInputCycles, 60);
}

}  // namespace
}  // namespace notavera
