// The "Environnement" dialog: the document and shell settings it shows and stores, clamped to their ranges.
#include "print/environment_dialog.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/new_document.h"
#include "shell/editor_context.h"

namespace notavera {
namespace {

TEST(EnvironmentDialog, ShowsAndStoresTheSettingsClampedAndDistancesInPageUnits) {
    ScoreDocument doc;
    SystemSettings settings;
    const std::string step = "Taille du Pas (Défaut: " + std::to_string(doc.stepUnit) + ")";
    DialogModel m = makeEnvironmentDialog(doc, settings);
    EXPECT_EQ(m.value("Cycles entrée MIDI:"), 40);
    EXPECT_EQ(m.value(step), doc.spacingStep);
    EXPECT_TRUE(applyAnswer(m, {"Environnement",
                                {{step, "12"}, {"clef (10)", "2"}, {"barre de mesure (4)", "25"},
                                 {"indication mesure (8)", "0"}, {"Pages en continu (Max 10)", "11"}, {"Epais", "100"},
                                 {"Hauteur (Ecran)", "-200"}, {"Liaison", "1"}, {"Min (b)", "200"},
                                 {"Echo clavier (instr. ou -1):", "7"}, {"Cycles entrée MIDI:", "0"},
                                 {"Ep.Trait liais.", "9"}, {"Invers.Txt Vertical", "1"}},
                                true})
                    .empty());
    acceptEnvironmentDialog(m, doc, settings);
    EXPECT_EQ(settings.distanceSteps.afterClef, 3);
    EXPECT_EQ(settings.distanceSteps.afterBar, 20);
    EXPECT_EQ(settings.distanceSteps.afterMeter, 0);
    EXPECT_EQ(doc.spacingStep, 12);
    EXPECT_EQ(doc.header.continuousPages(), 10);
    EXPECT_EQ(doc.header.pageFormat().thickLine(), 10);  // "100" is cut to the two characters the edit takes
    EXPECT_EQ(doc.header.screenHeightCorrection(), -128);
    EXPECT_EQ(doc.header.midi().legatoMode(), 2);
    EXPECT_EQ(doc.header.midi().minVelocity(), 128);  // "200" clamps to the most a velocity step may be
    EXPECT_EQ(settings.midiInputCycles, 1);
    EXPECT_EQ(doc.header.tieStrokeWidthMinusOne(), 3);  // stored less one, at most 4
    EXPECT_TRUE(settings.invertVerticalText && doc.modified);
    EXPECT_EQ(makeEnvironmentDialog(doc, settings).value("Ep.Trait liais."), 4);
}

TEST(EnvironmentDialog, CancelRestoresEverythingButOldNotationIsWrittenAtOnce) {
    HeadlessUi ui(nullptr);
    EditorContext ctx(ui);
    const FileHeader before = ctx.doc.header;
    ui.queueDialogAnswer({"Environnement", {{"Cycles entrée MIDI:", "90"}, {"clef (10)", "2"}, {"Fin", "50"}}, false});
    EXPECT_EQ(RunEnvironmentDialog(ctx), 0);
    EXPECT_EQ(ctx.shell.settings.midiInputCycles, 40);
    EXPECT_EQ(ctx.shell.settings.distanceSteps.afterClef, 10);
    EXPECT_EQ(ctx.doc.header.bytes, before.bytes);
    EXPECT_FALSE(ctx.doc.modified);
    EXPECT_TRUE(makeEnvironmentDialog(ctx.doc, ctx.shell.settings).type("Notation Ancienne", "1"));  // no staff
    SetUpNewDocument(ctx.doc, 1);
    makeEnvironmentDialog(ctx.doc, ctx.shell.settings).type("Notation Ancienne", "1");
    EXPECT_TRUE(ctx.doc.staff()->key().oldNotation());  // even if the dialog is then cancelled
    EXPECT_TRUE(makeEnvironmentDialog(ctx.doc, ctx.shell.settings).checked("Notation Ancienne"));
    ui.queueDialogAnswer({"Environnement", {{"clef (10)", "2"}, {"Cycles entrée MIDI:", "60"}}, true});
    EXPECT_EQ(RunEnvironmentDialog(ctx), 1);
    EXPECT_EQ(ctx.shell.settings.distanceSteps.afterClef, 3);
    EXPECT_EQ(ctx.shell.settings.midiInputCycles, 60);
}

}  // namespace
}  // namespace notavera
