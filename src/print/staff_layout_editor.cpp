// The staff-layout dialog's rules: the working model, the spread and superpose buttons, the numeric fields and
// the scripted ruler actions.
#include "print/staff_layout_editor.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

#include "platform/ui_services.h"
#include "score/score_document.h"
#include "shell/system_settings.h"

namespace notavera {

namespace sm = staff_model;

namespace {

constexpr int modeGroup = 1;
constexpr unsigned maxDistance = 1023;

struct ModeButton {
    RulerMode mode;
    std::string_view label;
};

// The mode buttons in the dialog's order.
constexpr std::array<ModeButton, 11> modeButtons{{{RulerMode::IsolatedStaff, "Portée isolée"},
                                                  {RulerMode::StaffBlock, "Bloc (portées)"},
                                                  {RulerMode::Systems, "Systèmes"},
                                                  {RulerMode::Blocks, "Blocs"},
                                                  {RulerMode::Braces, "Accolades"},
                                                  {RulerMode::Indentation, "Indentation"},
                                                  {RulerMode::Lines, "Lignes"},
                                                  {RulerMode::Small, "Petite"},
                                                  {RulerMode::Grey, "Grisée"},
                                                  {RulerMode::Invisible, "Invisible"},
                                                  {RulerMode::Accessory, "Accessoire"}}};

struct KeyName {
    std::string_view name;
    RulerKey key;
};

constexpr std::array<KeyName, 14> keyNames{{{"Up", RulerKey::Up},
                                            {"Down", RulerKey::Down},
                                            {"V", RulerKey::V},
                                            {"C", RulerKey::C},
                                            {"M", RulerKey::M},
                                            {"N", RulerKey::N},
                                            {"Space", RulerKey::Space},
                                            {"Plus", RulerKey::NumPlus},
                                            {"Minus", RulerKey::NumMinus},
                                            {"Decimal", RulerKey::NumDecimal},
                                            {"Num1", RulerKey::Num1},
                                            {"Num3", RulerKey::Num3},
                                            {"Num7", RulerKey::Num7},
                                            {"Num9", RulerKey::Num9}}};

// The staves of the current page up to the last one that holds elements: the model may not drop them.
int StavesInUse(const ScoreDocument& doc, StaffLayoutPurpose purpose) {
    if (purpose != StaffLayoutPurpose::ModifyPage) return 1;
    const PageRecord* page = doc.findPage(doc.currentPage);
    if (!page) return 1;
    int used = 1;
    for (std::size_t i = 0; i < page->staves.size(); ++i)
        if (!page->staves[i].elements.empty()) used = static_cast<int>(i) + 1;
    return used;
}

std::optional<int> ParseInt(std::string_view token) {
    int v = 0;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
    if (ec != std::errc() || end != token.data() + token.size()) return std::nullopt;
    return v;
}

}  // namespace

RulerSheet RulerSheetOf(const ScoreDocument& doc) {
    RulerSheet s;
    s.width = doc.pageWidth;
    s.height = doc.pageHeight;
    FileHeader header = doc.header;  // the header's views are only offered on a writable copy
    s.topOffset = header.pageFormat().topMargin() * 10;
    // The first page is odd: its margin stands for the others in the miniature.
    s.leftOffset = std::max(0, static_cast<int>(header.pageFormat().leftMarginOdd())) * 10;
    // A damaged ratio of zero would make small staves vanish; such a document keeps the usual 16/20.
    if (header.smallStaffNum() > 0 && header.smallStaffDen() > 0)
        s.ratios = {header.smallStaffNum(), header.smallStaffDen(), 3, 4};
    return s;
}

StaffLayoutEditor::StaffLayoutEditor(const ScoreDocument& doc, StaffLayoutPurpose purpose, StaffLayoutMemory& memory,
                                     UiServices& ui)
    : model_(doc.layoutModel),
      ruler_(model_, RulerSheetOf(doc)),
      purpose_(purpose),
      memory_(memory),
      ui_(ui),
      page_(doc.currentPage),
      stavesInUse_(StavesInUse(doc, purpose)) {
    ruler_.mode = static_cast<RulerMode>(std::clamp(memory.mode, 111, 121));
    ruler_.linesValue = std::clamp(memory.lines, 1, 10);
}

bool StaffLayoutEditor::spread() const { return memory_.spreadCopy.has_value(); }

void StaffLayoutEditor::spreadOrRejoin() {
    const int n = ruler_.staffCount();
    if (!memory_.spreadCopy) {
        bool superposed = false;
        for (int i = 0; i < n; ++i) superposed = superposed || sm::Distance::get(model_.staffWord(i)) == 0;
        if (!superposed) return;
        memory_.spreadCopy = model_;
        memory_.spreadPage = page_;
        for (int i = 0; i < n; ++i) {
            std::uint32_t& w = model_.staffWord(i);
            sm::Distance::set(w, std::max(sm::Distance::get(w), sm::LineCount::get(w) + 1));
        }
        return;
    }
    // The staves go back only where they came from: the same staves on the same page.
    if (static_cast<int>(memory_.spreadCopy->staffCount()) == n && memory_.spreadPage == page_)
        for (int i = 0; i < n; ++i)
            if (sm::Distance::get(memory_.spreadCopy->staffWord(i)) == 0) sm::Distance::set(model_.staffWord(i), 0);
    memory_.spreadCopy.reset();
}

void StaffLayoutEditor::superpose(int left, int right) {
    if (spread()) return;
    const std::array<int, 2> sizes{std::clamp(left, 1, 4), std::clamp(right, 1, 4)};
    const int n = ruler_.staffCount();
    int which = 0;
    for (int first = 0; first < n; first += sizes[which], which ^= 1)
        for (int j = first + 1; j < std::min(first + sizes[which], n); ++j) sm::Distance::set(model_.staffWord(j), 0);
}

// Adds v before every staff after the first whose grouping starts a group, where the distance stays 1–1023.
template <typename Grouping>
static void AddBeforeGroups(StaffLayoutModel& model, int count, int v) {
    for (int i = 1; i < count; ++i) {
        std::uint32_t& w = model.staffWord(i);
        const unsigned g = Grouping::get(w);
        if (g != 1 && g != 3) continue;
        const int d = static_cast<int>(sm::Distance::get(w)) + v;
        if (d >= 1 && d <= static_cast<int>(maxDistance)) sm::Distance::set(w, static_cast<unsigned>(d));
    }
}

void StaffLayoutEditor::addBeforeBlocks(int v) { AddBeforeGroups<sm::BlockGrouping>(model_, ruler_.staffCount(), v); }
void StaffLayoutEditor::addBeforeSystems(int v) {
    AddBeforeGroups<sm::SystemGrouping>(model_, ruler_.staffCount(), v);
}

bool StaffLayoutEditor::setStaffCount(int n) {
    if (n < stavesInUse_ || n < 1 || n > StaffLayoutModel::maxStaves) {
        ui_.beep();
        return false;
    }
    const int before = ruler_.staffCount();
    // A new staff looks like the one above it and makes a system of its own.
    for (int i = std::max(before, 1); i < n; ++i) {
        std::uint32_t w = before > 0 ? model_.staffWord(i - 1) : 0;
        if (before == 0) {
            sm::Distance::set(w, 10);
            sm::LineCount::set(w, 5);
        }
        sm::SystemGrouping::set(w, 3);
        sm::BlockGrouping::set(w, 0);
        sm::Brace::set(w, 0);
        model_.staffWord(i) = w;
    }
    model_.setStaffCount(static_cast<unsigned>(n));
    return true;
}

void StaffLayoutEditor::setAverageGap(int gap) {
    const unsigned d = static_cast<unsigned>(std::clamp(gap, 0, static_cast<int>(maxDistance)));
    for (int i = 1; i < ruler_.staffCount(); ++i) sm::Distance::set(model_.staffWord(i), d);
}

int StaffLayoutEditor::averageGap() const {
    const int n = ruler_.staffCount();
    if (n < 2) return 0;
    long sum = 0;
    for (int i = 1; i < n; ++i) sum += static_cast<long>(sm::Distance::get(model_.staffWord(i)));
    return static_cast<int>(std::lround(static_cast<double>(sum) / (n - 1)));
}

void StaffLayoutEditor::heard(RulerResult r) {
    if (r == RulerResult::Refused) ui_.beep();
}

void StaffLayoutEditor::runRulerScript(std::string_view actions) {
    while (!actions.empty()) {
        const std::size_t start = actions.find_first_not_of(" ,");
        if (start == std::string_view::npos) break;
        actions.remove_prefix(start);
        const std::size_t end = std::min(actions.find_first_of(" ,"), actions.size());
        const std::string_view token = actions.substr(0, end);
        actions.remove_prefix(end);
        if (const std::optional<int> staff = ParseInt(token)) {
            heard(*staff >= 1 && *staff <= ruler_.staffCount() ? ruler_.pressStaff(*staff - 1) : RulerResult::Refused);
            continue;
        }
        const auto named = std::find_if(keyNames.begin(), keyNames.end(), [token](const KeyName& k) {
            return k.name == token;
        });
        heard(named != keyNames.end() ? ruler_.key(named->key) : RulerResult::Refused);
    }
}

DialogModel StaffLayoutEditor::makeDialog(int pageCount, int currentPage) {
    namespace f = regleur_field;
    DialogModel m("Regleur", "Régleur");
    const auto asInt = [](unsigned v) { return static_cast<int>(v); };
    m.addInteger(0, std::string(f::staffCount), 1, StaffLayoutModel::maxStaves, asInt(model_.staffCount()), 3);
    m.addInteger(0, std::string(f::definition), 1, 255, asInt(model_.definition()), 3);
    m.addInteger(0, std::string(f::indentation), 0, 1500, asInt(model_.indentMm()), 4);
    m.addInteger(0, std::string(f::lineLength), 0, 1500, asInt(model_.lineLengthMm()), 4);
    m.addInteger(0, std::string(f::topMargin), 0, static_cast<int>(maxDistance),
                 asInt(sm::Distance::get(model_.staffWord(0))), 4);
    m.addInteger(0, std::string(f::averageGap), 0, static_cast<int>(maxDistance), averageGap(), 4);
    m.addInteger(0, std::string(f::addBeforeSystems), -10, 10, 0, 3);
    m.addInteger(regleur_id::addBeforeBlocks, "Ajout entre accolades", -10, 10, 0, 3);
    // The "Lignes" number comes before the "Lignes" mode so that the label names the number; the mode is 117.
    m.addInteger(0, std::string(f::lines), 1, 10, ruler_.linesValue, 2);
    for (const ModeButton& b : modeButtons)
        m.addRadio(static_cast<int>(b.mode), std::string(b.label), modeGroup, b.mode == ruler_.mode);
    m.addInteger(regleur_id::superposeLeft, "md", 1, 4, memory_.superposeLeft, 1);
    m.addInteger(regleur_id::superposeRight, "mg", 1, 4, memory_.superposeRight, 1);
    m.addButton(regleur_id::spread, "Ecarter/réunir portées");
    m.addButton(regleur_id::superpose, "Superposer portées (md/mg)");
    if (purpose_ == StaffLayoutPurpose::ModifyPage) {
        const int last = std::max(pageCount, 1);
        const int page = std::clamp(currentPage, 1, last);
        m.addInteger(regleur_id::copyFrom, "Copier le modèle sur pages", 1, last, page, 3);
        m.addInteger(regleur_id::copyTo, "à", page, last, page, 3);
        m.addCheck(0, std::string(f::copyDefinitionOnly), memory_.copyDefinitionOnly);
    }
    m.addStatic(0, std::string(f::bottomMargin), {});
    m.addStatic(0, std::string(f::status), {});
    m.addText(regleur_id::ruler, "RegleAffiche", {}, 0);
    refresh(m);
    m.onChange = [this](DialogModel& dialog, const DialogField& changed) { react(dialog, changed); };
    return m;
}

void StaffLayoutEditor::refresh(DialogModel& m) const {
    namespace f = regleur_field;
    // Written straight into the fields: these follow from the model and must not react as typing would.
    if (DialogField* d = m.find(f::staffCount)) d->value = static_cast<int>(model_.staffCount());
    if (DialogField* d = m.find(f::topMargin)) d->value = static_cast<int>(sm::Distance::get(model_.staffWord(0)));
    if (DialogField* d = m.find(f::averageGap)) d->value = averageGap();
    if (DialogField* d = m.find(f::bottomMargin)) d->text = std::to_string(ruler_.bottomMargin() / 10);
    if (DialogField* d = m.find(f::status)) d->text = ruler_.statusText();
}

void StaffLayoutEditor::react(DialogModel& m, const DialogField& changed) {
    namespace f = regleur_field;
    const int v = changed.value;
    const auto is = [&m, &changed](std::string_view key) { return &changed == m.find(key); };
    if (changed.kind == FieldKind::Radio && changed.group == modeGroup) {
        ruler_.mode = static_cast<RulerMode>(changed.id);
    } else if (is(f::staffCount)) {
        setStaffCount(v);
    } else if (is(f::definition)) {
        model_.setDefinition(static_cast<unsigned>(v));
    } else if (is(f::indentation)) {
        model_.setIndentMm(static_cast<unsigned>(v));
    } else if (is(f::lineLength)) {
        model_.setLineLengthMm(static_cast<unsigned>(v));
    } else if (is(f::topMargin)) {
        sm::Distance::set(model_.staffWord(0), static_cast<unsigned>(v));
    } else if (is(f::averageGap)) {
        setAverageGap(v);
    } else if (is(f::addBeforeSystems)) {
        addBeforeSystems(v);
    } else if (changed.id == regleur_id::addBeforeBlocks) {
        addBeforeBlocks(v);
    } else if (is(f::lines)) {
        ruler_.linesValue = v;
    } else if (changed.id == regleur_id::spread) {
        spreadOrRejoin();
    } else if (changed.id == regleur_id::superpose) {
        superpose(m.value("694"), m.value("693"));
    } else if (changed.id == regleur_id::copyFrom) {
        // The range's end is never before its start.
        DialogField* to = m.find("281");
        to->min = v;
        to->value = std::max(to->value, v);
    } else if (changed.id == regleur_id::ruler) {
        runRulerScript(changed.text);
    }
    refresh(m);
}

void StaffLayoutEditor::remember(const DialogModel& m) {
    memory_.mode = static_cast<int>(ruler_.mode);
    memory_.lines = ruler_.linesValue;
    memory_.superposeLeft = m.value("694");
    memory_.superposeRight = m.value("693");
    if (m.find(regleur_field::copyDefinitionOnly))
        memory_.copyDefinitionOnly = m.checked(regleur_field::copyDefinitionOnly);
}

}  // namespace notavera
