// The "IndMesure" dialog and the time signature command at the cursor.
#include "shell/time_signature_commands.h"

#include <algorithm>
#include <array>

#include "render/entry_distances.h"
#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/editor_context.h"
#include "shell/entry_cursor.h"

namespace notavera {

namespace {

constexpr int numeratorId = 400;
constexpr int denominatorId = 401;
constexpr int barCheckId = 412;
constexpr int dotCheckId = 413;
constexpr int imperfectTimeId = 409;
constexpr unsigned numbersShown = 1;
constexpr unsigned dotFlag = 2;
constexpr unsigned barFlag = 4;
constexpr unsigned symbolFlag = 64;
constexpr unsigned maxNumber = 31;

struct MeterButton {
    int id;
    const char* label;
    unsigned flag;
    unsigned style;
};
constexpr std::array<MeterButton, 10> meterButtons{{
    {402, "C standard", symbolFlag, 0},
    {403, "C barré", symbolFlag, 1},
    {404, "'2' isolé", symbolFlag, 2},
    {405, "'2' isolé barré", symbolFlag, 4},
    {406, "'3' isolé", symbolFlag, 3},
    {407, "'3' isolé barré", symbolFlag, 5},
    {408, "Temps parfait", 32, 0},
    {409, "Temps imparfait", 16, 0},
    {410, "Temps imp. double", 8, 0},
    {411, "CHIFFRE(S) SEUL(S)", numbersShown, 0},
}};

std::string Id(int id) { return std::to_string(id); }

const MeterButton* ChosenButton(const DialogModel& m) {
    for (const MeterButton& b : meterButtons)
        if (m.checked(Id(b.id))) return &b;
    return nullptr;
}

// The radio button the flags and style stand for; the plain numbers when nothing matches.
int ButtonOf(const MeterChoice& c) {
    for (const MeterButton& b : meterButtons) {
        if (b.flag == numbersShown) continue;
        if ((c.flags & b.flag) != 0 && (b.flag != symbolFlag || b.style == c.style)) return b.id;
    }
    return 411;
}

void React(DialogModel& m, const DialogField& f) {
    if (f.id == numeratorId && f.value == 0) {
        m.set(Id(numeratorId), 1);
        m.set(Id(denominatorId), 1);
        return;
    }
    if ((f.id == barCheckId || f.id == dotCheckId) && f.value != 0) {
        const MeterButton* b = ChosenButton(m);
        if (b && b->flag == symbolFlag) m.set(Id(imperfectTimeId), 1);
        return;
    }
    if (f.kind != FieldKind::Radio || f.value == 0) return;
    if ((f.id >= 402 && f.id <= 407) || f.id == 411) {
        m.set(Id(barCheckId), 0);
        m.set(Id(dotCheckId), 0);
    }
    if (f.id >= 404 && f.id <= 407) {
        m.set(Id(numeratorId), 1);
        m.set(Id(denominatorId), 1);
    }
}

}  // namespace

DialogModel MakeMeterDialog(const MeterChoice& shown) {
    DialogModel m("IndMesure", "Mesure");
    m.addInteger(numeratorId, "Numérateur", 0, static_cast<int>(maxNumber),
                 static_cast<int>(std::min(shown.numerator, maxNumber)));
    m.addInteger(denominatorId, "Dénominateur", 0, static_cast<int>(maxNumber),
                 static_cast<int>(std::min(shown.denominator, maxNumber)));
    const int chosen = ButtonOf(shown);
    for (const MeterButton& b : meterButtons) m.addRadio(b.id, b.label, 1, b.id == chosen);
    m.addCheck(barCheckId, "Barre verticale", (shown.flags & barFlag) != 0);
    m.addCheck(dotCheckId, "Point de prolation", (shown.flags & dotFlag) != 0);
    m.onChange = React;
    return m;
}

MeterChoice ReadMeterDialog(const DialogModel& m) {
    MeterChoice c;
    const MeterButton* b = ChosenButton(m);
    c.flags = b ? b->flag : numbersShown;
    c.style = b ? b->style : 0;
    if (m.checked(Id(barCheckId))) c.flags |= barFlag;
    if (m.checked(Id(dotCheckId))) c.flags |= dotFlag;
    c.numerator = static_cast<unsigned>(std::max(m.value(Id(numeratorId)), 0));
    c.denominator = static_cast<unsigned>(std::max(m.value(Id(denominatorId)), 0));
    const bool numbers = c.numerator > 1 || (c.numerator == 1 && c.denominator >= 2);
    if (numbers) {
        c.flags |= numbersShown;
    } else {
        c.flags &= ~numbersShown;
        c.numerator = 0;
        c.denominator = 0;
    }
    return c;
}

void EditTimeSignature(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    if (!doc.staff()) return;
    ElementRecord* existing = TimeSignatureAt(doc, ctx.shell.cursor.x);
    MeterChoice shown{ctx.shell.dialogs.meterFlags, ctx.shell.dialogs.meterStyle, 0, 0};
    if (existing) {
        shown.numerator = existing->w1().numerator();
        shown.denominator = existing->w1().denominator();
    }
    DialogModel model = MakeMeterDialog(shown);
    if (!ctx.ui.runDialog(model)) return;
    const MeterChoice choice = ReadMeterDialog(model);
    ctx.shell.dialogs.meterFlags = choice.flags;
    ctx.shell.dialogs.meterStyle = choice.style;
    if (existing) {
        WriteTimeSignature(*existing, choice);
        doc.markModified();
        ctx.ui.invalidate();
        return;
    }
    if (!InsertTimeSignature(doc, ctx.shell.cursor.x, choice)) return;
    ctx.ui.invalidate();
    AdvancePastSign(ctx, DistanceAfterTimeSignature(ctx.doc, ctx.shell.settings.distanceSteps, *doc.page(),
                                                    *doc.staff(), doc.currentElement));
}

void RegisterTimeSignatureCommand(CommandRegistry& registry) {
    registry.addCommand(
        cmd::TimeSignature, [](EditorContext& ctx, int) { EditTimeSignature(ctx); }, UndoPolicy::Typing);
}

}  // namespace notavera
