// The "Format" dialog: paper, orientation, typed sizes, line and beam settings, each clamped to its range.
#include "print/page_format_dialog.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_ui.h"
#include "score/page_size.h"
#include "score/score_document.h"
#include "shell/editor_context.h"
#include "shell/system_settings.h"

namespace notavera {
namespace {

struct PageFormatDialogTest : ::testing::Test {
    ScoreDocument doc;
    SystemSettings settings;
    void answer(std::vector<std::pair<std::string, std::string>> fields) {
        DialogModel m = makePageFormatDialog(doc, settings);
        EXPECT_TRUE(applyAnswer(m, {"Format", std::move(fields), true}).empty());
        acceptPageFormatDialog(m, doc, settings);
    }
};

TEST_F(PageFormatDialogTest, PapersOrientationAndTypedSizes) {
    EXPECT_TRUE(makePageFormatDialog(doc, settings).checked("A4 (210x297mm)"));
    answer({{"Paysage", "1"}});
    EXPECT_EQ(doc.pageWidth, 2970);
    EXPECT_EQ(doc.pageHeight, 2100);
    EXPECT_EQ(derivePageSize(doc.header.pageFormat()).usableHeight, 2060);
    EXPECT_TRUE(doc.modified);
    answer({{"Portrait", "1"}, {"B4 (250x353mm)", "1"}});
    EXPECT_EQ(doc.header.pageFormat().sheetWidthMm(), 250u);
    EXPECT_EQ(doc.pageHeight, 3530);
    EXPECT_EQ(settings.paperButton, 2);
    EXPECT_TRUE(makePageFormatDialog(doc, settings).checked("B4 (250x353mm)"));  // remembered
    DialogModel m = makePageFormatDialog(doc, settings);
    m.type("Autre :#2", "3000");  // the edit takes four characters, then clamps
    EXPECT_EQ(m.value("Autre :#2"), 1500);
    for (const PaperSize& paper : paperSizes) EXPECT_FALSE(m.checked(paper.label)) << paper.label;
    acceptPageFormatDialog(m, doc, settings);
    EXPECT_EQ(settings.paperButton, -1);
    EXPECT_EQ(doc.pageHeight, 15000);
}

TEST_F(PageFormatDialogTest, FieldsAreClampedAndAdjustmentsStoredNegated) {
    answer({{"Queue note", "16"}, {"Max", "90"}, {"Min", "31"}, {"Sommet", "-101"}, {"Décalage vertical", "-99999"},
            {"Liaisons", "-8"}, {"Courbes", "3"}, {"Hauteur moyenne", "0"}});
    EXPECT_DOUBLE_EQ(doc.settings.averageBeamHeight, 1.0);  // between one and four
    EXPECT_EQ(doc.header.averageBeamHeightTenths(), 10);
    const PageFormatBlock f = doc.header.pageFormat();
    EXPECT_EQ(f.stemThickness(), 15);
    EXPECT_EQ(f.maxBeamSlope(), 80);
    EXPECT_EQ(f.minBeamSlope(), 30);
    EXPECT_EQ(f.topMargin(), -100);
    EXPECT_EQ(settings.verticalShift, -9999);  // "-99999" is longer than the edit takes
    EXPECT_EQ(doc.header.tieThicknessNegated(), 8);
    EXPECT_EQ(doc.header.curveThicknessNegated(), -3);
    EXPECT_EQ(makePageFormatDialog(doc, settings).value("Liaisons"), -8);
    answer({{"Liaisons", "9"}});
    EXPECT_EQ(doc.header.tieThicknessNegated(), -4);
}

TEST(RunPageFormatDialog, ScriptedAnswerByLabelIsAppliedAndCancelChangesNothing) {
    HeadlessUi ui;
    EditorContext ctx(ui);
    const FileHeader before = ctx.doc.header;
    ui.queueDialogAnswer({"Format", {{"Paysage", "1"}, {"Décalage vertical", "12"}}, false});
    EXPECT_EQ(RunPageFormatDialog(ctx), 0);
    EXPECT_EQ(RunPageFormatDialog(ctx), 0);  // unanswered
    EXPECT_EQ(ctx.doc.header.bytes, before.bytes);
    EXPECT_EQ(ctx.shell.settings.verticalShift, SystemSettings{}.verticalShift);
    EXPECT_FALSE(ctx.doc.modified);
    ui.queueDialogAnswer({"Environnement", {{"clef (10)", "2"}}, true});  // for another dialog: left queued
    ui.queueDialogAnswer({"Format", {{"Paysage", "1"}, {"Hauteur moyenne", "50"}, {"Nulle part", "1"}}, true});
    EXPECT_EQ(RunPageFormatDialog(ctx), 1);
    EXPECT_EQ(ctx.doc.pageWidth, 2970);
    EXPECT_DOUBLE_EQ(ctx.doc.settings.averageBeamHeight, 4.0);
    EXPECT_EQ(ui.refusedFields(), std::vector<std::string>{"Format Nulle part"});
    EXPECT_EQ(ui.dialogs(), (std::vector<std::string>{"Format", "Format", "Format"}));
}

}  // namespace
}  // namespace notavera
