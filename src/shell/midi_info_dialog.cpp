// The "Information" dialog: the dump's lines, and the parameters of the next import.
#include "shell/midi_info_dialog.h"

#include <algorithm>
#include <array>
#include <memory>

#include "platform/ui_services.h"

namespace notavera {

namespace {

namespace f = midi_info_field;

constexpr std::size_t longestLine = 128;
constexpr unsigned roundings[] = {32, 64, 128, 256};
constexpr int roundingGroup = 1;
constexpr unsigned sixteenthExponent = 4;

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        // A long line goes on in the next entry of the list.
        for (std::size_t at = from; at < end || at == from; at += longestLine) {
            lines.push_back(text.substr(at, std::min(longestLine, end - at)));
            if (end == from) break;
        }
        from = end + 1;
    }
    return lines;
}

// The bar in sixteenths, keeping its length: each step of the exponent below 4 doubles the numerator.
int SixteenthsOf(std::pair<unsigned, unsigned> meter) {
    unsigned n = meter.first;
    for (unsigned e = meter.second; e < sixteenthExponent; ++e) n *= 2;
    for (unsigned e = meter.second; e > sixteenthExponent && n % 2 == 0; --e) n /= 2;
    return static_cast<int>(n);
}

std::string RoundingLabel(unsigned r) { return "1/" + std::to_string(r); }

}  // namespace

bool RunMidiInfoDialog(UiServices& ui, const std::string& dumpText,
                       std::optional<std::pair<unsigned, unsigned>> meter, MidiImportParameters& params) {
    DialogModel m("InfoBox", "Information");
    m.addChoice(f::lines, "Contenu", LinesOf(dumpText), 0);
    m.addInteger(0, f::bar, 1, 64, SixteenthsOf(meter.value_or(std::pair{4u, 2u})), 2);
    m.addInteger(0, f::page, 1, MidiImportParameters::countedPages, 1, 2);
    m.addInteger(0, f::barsOnPage, 1, 255, static_cast<int>(params.barsPerPage[0]), 3);
    m.addButton(0, f::initialise);
    // The upbeat shows 0 at opening: a full first bar unless asked again.
    m.addInteger(0, f::upbeat, 0, 64, 0, 2);
    for (const unsigned r : roundings) m.addRadio(0, RoundingLabel(r), roundingGroup, r == 64);
    m.addCheck(0, f::numbered, false);

    // The bar counts of the 60 pages are edited one page at a time.
    auto counts = std::make_shared<std::array<unsigned, MidiImportParameters::countedPages>>(params.barsPerPage);
    m.onChange = [counts](DialogModel& model, const DialogField& field) {
        const auto page = static_cast<std::size_t>(model.value(f::page) - 1);
        if (field.label == f::page) {
            model.find(f::barsOnPage)->value = static_cast<int>((*counts)[page]);
        } else if (field.label == f::barsOnPage) {
            (*counts)[page] = static_cast<unsigned>(field.value);
        } else if (field.label == f::initialise) {
            counts->fill((*counts)[page]);
        }
    };
    if (!ui.runDialog(m)) return false;

    const int bar = m.value(f::bar);
    params.barNumerator = static_cast<unsigned>(bar % 4 == 0 ? bar / 4 : bar);
    params.barExponent = bar % 4 == 0 ? 2 : sixteenthExponent;
    params.barsPerPage = *counts;
    params.upbeat = static_cast<unsigned>(m.value(f::upbeat));
    for (const unsigned r : roundings)
        if (m.checked(RoundingLabel(r))) params.rounding = r;
    params.numberedBars = m.checked(f::numbered);
    return true;
}

}  // namespace notavera
