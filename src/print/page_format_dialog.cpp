// The "Format" dialog: its fields, the paper buttons' reactions, and what OK writes into the document.
#include "print/page_format_dialog.h"

#include <algorithm>
#include <cmath>

#include "score/page_size.h"
#include "score/score_document.h"
#include "shell/editor_context.h"
#include "shell/system_settings.h"

namespace notavera {

namespace {

constexpr int orientationGroup = 1;
constexpr int paperGroup = 2;
constexpr std::string_view sheetWidth = "Autre :";
constexpr std::string_view sheetHeight = "Autre :#2";

// Choosing a paper copies its size into the "Autre :" fields; typing a size releases every paper button.
void reactToChange(DialogModel& model, const DialogField& changed) {
    if (changed.kind == FieldKind::Radio && changed.group == paperGroup) {
        for (const PaperSize& paper : paperSizes) {
            if (paper.label != changed.label) continue;
            model.find(sheetWidth)->value = paper.widthMm;
            model.find(sheetHeight)->value = paper.heightMm;
        }
    } else if (&changed == model.find(sheetWidth) || &changed == model.find(sheetHeight)) {
        for (const PaperSize& paper : paperSizes) model.find(paper.label)->value = 0;
    }
}

int chosenPaper(const DialogModel& model) {
    for (std::size_t i = 0; i < paperSizes.size(); ++i)
        if (model.checked(paperSizes[i].label)) return static_cast<int>(i);
    return -1;
}

}  // namespace

DialogModel makePageFormatDialog(ScoreDocument& doc, const SystemSettings& settings) {
    const PageFormatBlock f = doc.header.pageFormat();
    const int width = static_cast<int>(std::min<std::uint32_t>(f.sheetWidthMm(), 1500));
    const int height = static_cast<int>(std::min<std::uint32_t>(f.sheetHeightMm(), 1500));

    DialogModel m("Format", "Format");
    m.addRadio(0, "Portrait", orientationGroup, f.portrait());
    m.addRadio(0, "Paysage", orientationGroup, !f.portrait());
    m.addInteger(0, "Lignes Portée", 1, 20, f.staffLineThickness());
    m.addInteger(0, "Queue note", 1, 15, f.stemThickness());
    m.addInteger(0, "Barres mesure", 1, 20, f.barLineThickness());
    m.addInteger(0, "Barres valeur", 1, 100, f.beamThickness());
    m.addInteger(0, "Blancs barre valeur", 1, 100, f.beamGap());
    m.addInteger(0, "Max", 0, 80, f.maxBeamSlope());
    m.addInteger(0, "Min", 0, 30, f.minBeamSlope());
    // The remembered paper is shown chosen only while the sheet still has its size.
    for (std::size_t i = 0; i < paperSizes.size(); ++i) {
        const PaperSize& p = paperSizes[i];
        const bool on = static_cast<int>(i) == settings.paperButton && p.widthMm == width && p.heightMm == height;
        m.addRadio(0, std::string(p.label), paperGroup, on);
    }
    m.addInteger(0, std::string(sheetWidth), 10, 1500, width, 4);
    m.addInteger(0, std::string(sheetWidth), 10, 1500, height, 4);
    m.addInteger(0, "Sommet", -100, 1500, f.topMargin(), 5);
    m.addInteger(0, "Gauche impaire", 0, 1500, f.leftMarginOdd(), 4);
    m.addInteger(0, "Gauche paire", 0, 1500, f.leftMarginEven(), 4);
    m.addInteger(0, "Liaisons", -8, 4, -doc.header.tieThicknessNegated(), 2);
    m.addInteger(0, "Courbes", -8, 3, -doc.header.curveThicknessNegated(), 2);
    m.addInteger(0, "Hauteur moyenne", 10, 40, static_cast<int>(std::lround(doc.settings.averageBeamHeight * 10)), 2);
    m.addInteger(0, "Décalage vertical", -9999, 9999, settings.verticalShift, 5);
    m.onChange = reactToChange;
    return m;
}

void acceptPageFormatDialog(const DialogModel& m, ScoreDocument& doc, SystemSettings& settings) {
    const std::span<std::uint8_t, PageFormatBlock::size> b = doc.header.pageFormat().bytes();
    const auto byte = [&m](std::string_view key) { return static_cast<std::uint8_t>(m.value(key)); };
    const auto word = [&m](std::string_view key) { return static_cast<std::uint16_t>(m.value(key)); };
    b[0] = m.checked("Portrait") ? 1 : 0;
    b[1] = byte("Lignes Portée");
    b[2] = byte("Queue note");
    b[3] = byte("Barres mesure");
    b[4] = byte("Barres valeur");
    b[5] = byte("Blancs barre valeur");
    b[6] = byte("Max");
    b[7] = byte("Min");
    le::putU32(b, 8, static_cast<std::uint32_t>(m.value(sheetWidth)));
    le::putU32(b, 12, static_cast<std::uint32_t>(m.value(sheetHeight)));
    le::putU16(b, 16, word("Sommet"));
    le::putU16(b, 18, word("Gauche impaire"));
    le::putU16(b, 20, word("Gauche paire"));
    doc.header.setTieThicknessNegated(static_cast<std::int8_t>(-m.value("Liaisons")));
    doc.header.setCurveThicknessNegated(static_cast<std::int8_t>(-m.value("Courbes")));
    const int tenths = m.value("Hauteur moyenne");
    doc.header.setAverageBeamHeightTenths(static_cast<std::int8_t>(tenths));
    doc.settings.averageBeamHeight = tenths / 10.0;
    settings.verticalShift = m.value("Décalage vertical");
    settings.paperButton = chosenPaper(m);
    applyPageSize(doc);
    // The format is saved with the document: a change that is not marked would be lost on closing.
    doc.markModified();
}

int RunPageFormatDialog(EditorContext& ctx) {
    DialogModel m = makePageFormatDialog(ctx.doc, ctx.shell.settings);
    if (!ctx.ui.runDialog(m)) return 0;
    acceptPageFormatDialog(m, ctx.doc, ctx.shell.settings);
    return 1;
}

}  // namespace notavera
