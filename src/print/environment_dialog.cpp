// The "Environnement" dialog: where each field is stored, its range, and what OK writes back.
#include "print/environment_dialog.h"

#include <string>

#include "score/score_document.h"
#include "shell/editor_context.h"
#include "shell/system_settings.h"

namespace notavera {

namespace {

constexpr int legatoGroup = 1;
constexpr int pedalGroup = 2;

std::string stepLabel(int stepUnit) { return "Taille du Pas (Défaut: " + std::to_string(stepUnit) + ")"; }

void addFlags(DialogModel& m, ScoreDocument& doc, const SystemSettings& settings) {
    const StaffRecord* staff = doc.staff();
    m.addCheck(0, "Double Justification (barre déplacée)", doc.settings.doubleJustification);
    m.addCheck(0, "Transposition de silences", doc.header.restTransposition() != 0);
    m.addCheck(0, "Notation Ancienne", staff && staff->key().oldNotation());
    m.addCheck(0, "Correction esthétique (recalculation)", doc.settings.aestheticCorrection);
    m.addCheck(0, "Correction polyphonie (recalculation)", doc.settings.polyphonyCorrection);
    m.addCheck(0, "Silence de mesure automatique", doc.header.autoWholeBarRest() != 0);
    m.addCheck(0, "Inverser arcs", doc.settings.invertArcs);
    m.addCheck(0, "Invers.Txt Vertical", settings.invertVerticalText);
}

void addValues(DialogModel& m, ScoreDocument& doc) {
    const PageFormatBlock f = doc.header.pageFormat();
    m.addInteger(0, "Pages en continu (Max 10)", 1, 10, doc.header.continuousPages(), 2);
    m.addInteger(0, stepLabel(doc.stepUnit), 1, 99, doc.spacingStep, 2);
    m.addInteger(0, "Résolution x (alignements)", 0, 99, doc.settings.alignmentResolution, 2);
    m.addInteger(0, "Fin", 1, 99, f.thinLine(), 2);
    m.addInteger(0, "Moyen", 1, 99, f.mediumLine(), 2);
    m.addInteger(0, "Epais", 1, 99, f.thickLine(), 2);
    m.addInteger(0, "Ep.Trait liais.", 1, 4, doc.header.tieStrokeWidthMinusOne() + 1, 1);
    m.addInteger(0, "Hauteur (Ecran)", -128, 127, doc.header.screenHeightCorrection(), 4);
    m.addInteger(0, "Hauteur (Impr.)", -128, 127, doc.header.printerHeightCorrection(), 4);
    m.addInteger(0, "Pos. hampes", -128, 127, doc.header.stemPositionCorrection(), 4);
}

void addMidi(DialogModel& m, ScoreDocument& doc, const SystemSettings& settings) {
    const MidiSettings midi = doc.header.midi();
    m.addRadio(0, "Barres valeur", legatoGroup, midi.legatoMode() == 1);
    m.addRadio(0, "Liaison", legatoGroup, midi.legatoMode() == 2);
    m.addRadio(0, "Rien", legatoGroup, midi.legatoMode() == 0);
    m.addInteger(0, "Min (b)", 0, 128, midi.minVelocity(), 3);
    m.addInteger(0, "Max (#)", 0, 128, midi.maxVelocity(), 3);
    // Mode 1, the default, is what the pedal enters from a MIDI keyboard: a bar line.
    m.addRadio(0, "Silence", pedalGroup, midi.pedalMode() != 1);
    m.addRadio(0, "Barre mesure", pedalGroup, midi.pedalMode() == 1);
    m.addInteger(0, "Echo clavier (instr. ou -1):", -1, 128, settings.keyboardEcho, 3);
    m.addInteger(0, "Cycles entrée MIDI:", 1, 127, settings.midiInputCycles, 3);
    m.addInteger(0, "barre de mesure (4)", 1, 20, settings.distanceSteps.afterBar, 2);
    m.addInteger(0, "indication mesure (8)", 0, 20, settings.distanceSteps.afterMeter, 2);
    m.addInteger(0, "clef (10)", 3, 20, settings.distanceSteps.afterClef, 2);
}

}  // namespace

DialogModel makeEnvironmentDialog(ScoreDocument& doc, const SystemSettings& settings) {
    DialogModel m("Environnement", "Environnement");
    addFlags(m, doc, settings);
    addValues(m, doc);
    addMidi(m, doc, settings);
    // The old-notation flag belongs to the staff and is written at once, whatever the dialog's outcome.
    m.onChange = [&doc](DialogModel&, const DialogField& changed) {
        if (changed.label != "Notation Ancienne") return;
        if (StaffRecord* staff = doc.staff()) {
            staff->key().setOldNotation(changed.value != 0);
            doc.markModified();
        }
    };
    return m;
}

void acceptEnvironmentDialog(const DialogModel& m, ScoreDocument& doc, SystemSettings& settings) {
    doc.settings.doubleJustification = m.checked("Double Justification (barre déplacée)");
    doc.header.restTransposition() = m.checked("Transposition de silences") ? 1 : 0;
    doc.settings.aestheticCorrection = m.checked("Correction esthétique (recalculation)");
    doc.settings.polyphonyCorrection = m.checked("Correction polyphonie (recalculation)");
    doc.header.autoWholeBarRest() = m.checked("Silence de mesure automatique") ? 1 : 0;
    doc.settings.invertArcs = m.checked("Inverser arcs");
    settings.invertVerticalText = m.checked("Invers.Txt Vertical");

    doc.header.continuousPages() = static_cast<std::uint8_t>(m.value("Pages en continu (Max 10)"));
    doc.spacingStep = m.value(stepLabel(doc.stepUnit));
    doc.settings.alignmentResolution = m.value("Résolution x (alignements)");
    const std::span<std::uint8_t, PageFormatBlock::size> f = doc.header.pageFormat().bytes();
    f[22] = static_cast<std::uint8_t>(m.value("Fin"));
    f[23] = static_cast<std::uint8_t>(m.value("Moyen"));
    f[24] = static_cast<std::uint8_t>(m.value("Epais"));
    doc.header.tieStrokeWidthMinusOne() = static_cast<std::uint8_t>(m.value("Ep.Trait liais.") - 1);
    doc.header.setHeightCorrections(static_cast<std::int8_t>(m.value("Hauteur (Ecran)")),
                                    static_cast<std::int8_t>(m.value("Hauteur (Impr.)")),
                                    static_cast<std::int8_t>(m.value("Pos. hampes")));

    const MidiSettings midi = doc.header.midi();
    if (m.checked("Barres valeur")) midi.legatoMode() = 1;
    if (m.checked("Liaison")) midi.legatoMode() = 2;
    if (m.checked("Rien")) midi.legatoMode() = 0;
    midi.minVelocity() = static_cast<std::uint8_t>(m.value("Min (b)"));
    midi.maxVelocity() = static_cast<std::uint8_t>(m.value("Max (#)"));
    if (m.checked("Silence")) midi.pedalMode() = 2;
    if (m.checked("Barre mesure")) midi.pedalMode() = 1;

    settings.keyboardEcho = m.value("Echo clavier (instr. ou -1):");
    settings.midiInputCycles = m.value("Cycles entrée MIDI:");
    settings.distanceSteps.afterBar = m.value("barre de mesure (4)");
    settings.distanceSteps.afterMeter = m.value("indication mesure (8)");
    settings.distanceSteps.afterClef = m.value("clef (10)");
    doc.markModified();
}

int RunEnvironmentDialog(EditorContext& ctx) {
    DialogModel m = makeEnvironmentDialog(ctx.doc, ctx.shell.settings);
    if (!ctx.ui.runDialog(m)) return 0;
    acceptEnvironmentDialog(m, ctx.doc, ctx.shell.settings);
    return 1;
}

}  // namespace notavera
