// The MIDI import: the file read into notes, each voice written on a staff of its own, the piece laid out.
#include "edit/midi_import.h"

#include <algorithm>
#include <map>

#include "edit/midi_voice_writer.h"
#include "guido/gmn_piece_layout.h"
#include "midi/midi_note_collector.h"
#include "midi/smf_reader.h"
#include "platform/messages.h"
#include "platform/ui_services.h"
#include "score/staff_layout_model.h"

namespace notavera {

namespace {

constexpr int readError = 9;
constexpr int damagedFile = 37;
constexpr int tooBig = 38;
constexpr unsigned longestExponent = 6;

int CountNotes(const ScoreDocument& doc) {
    int count = 0;
    for (const PageRecord& page : doc.pages)
        for (const StaffRecord& staff : page.staves)
            count += static_cast<int>(std::count_if(staff.elements.begin(), staff.elements.end(),
                                                    [](const ElementRecord& e) { return !e.isSign() && !e.isRest(); }));
    return count;
}

void ShowLeftOut(UiServices& ui, const std::string& what) {
    ui.showMessage(MessageBoxRequest{"Message", 0, what, MessageIcon::Information, MessageButtons::Ok});
}

// Page 1 gets a staff for each voice: the staves it has, then copies of its last one, empty and without a key.
bool ProvideStaves(PageRecord& page, std::size_t count) {
    if (page.staves.empty()) return false;
    while (page.staves.size() < count && page.staves.size() < StaffLayoutModel::maxStaves) {
        StaffRecord staff = page.staves.back();
        staff.elements.clear();
        staff.key().setIndex(static_cast<unsigned>(page.staves.size()));
        staff.key().setKeyKind(KeyKind::None);
        staff.key().setKeyCount(0);
        page.staves.push_back(std::move(staff));
    }
    return true;
}

// A system of many voices is drawn smaller, so that a page holds all its staves: the staff size shrinks until
// they stand `roomyStaves` staff spaces apart, the model's distances growing in step so that the page stays the
// same height.
void FitVoicesOnPage(ScoreDocument& doc, PageRecord& page, std::size_t voices) {
    constexpr unsigned roomyStaves = 8, topRoom = 14, smallestDefinition = 4;
    StaffLayoutModel& model = doc.layoutModel;
    const unsigned definition = model.definition();
    const int count = static_cast<int>(model.staffCount());
    unsigned room = 0;
    for (int i = 0; i < count; ++i) room += staff_model::Distance::get(model.staffWord(i));
    const unsigned needed = topRoom + static_cast<unsigned>(voices) * roomyStaves;
    if (voices < 2 || count == 0 || needed <= room || definition <= smallestDefinition) return;
    const unsigned smaller = std::max(smallestDefinition, definition * room / needed);
    for (int i = 0; i < count; ++i) {
        std::uint32_t& w = model.staffWord(i);
        staff_model::Distance::set(w, staff_model::Distance::get(w) * definition / smaller);
    }
    model.setDefinition(smaller);
    doc.stepUnit = std::max(1, static_cast<int>(smaller) / 2);
    page.layoutWord().setStaffSize(smaller);
}

// Page breaks after the bars each page is given.
void BreakPages(GmnSequenceTimes& first, const MidiImportParameters& params) {
    std::size_t bar = 0;
    for (int page = 1; page < maxPages; ++page) {
        bar += params.barsOnPage(page);
        if (bar == 0 || bar > first.bars.size()) break;
        first.breaks.push_back({first.bars[bar - 1], true});
    }
}

}  // namespace

unsigned MidiImportParameters::barsOnPage(int page) const {
    return barsPerPage[static_cast<std::size_t>(std::clamp(page, 1, countedPages) - 1)];
}

std::array<unsigned, MidiImportParameters::countedPages> MidiImportParameters::FilledBarCounts(unsigned count) {
    std::array<unsigned, countedPages> counts{};
    counts.fill(count);
    return counts;
}

int ImportMidiFile(ScoreDocument& doc, const std::filesystem::path& path, MidiImportParameters& params,
                   UiServices& ui, const SignDistances& distances, bool layOut) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) {
        ShowError(ui, readError);
        return 0;
    }
    return ImportMidiBytes(doc, bytes, params, ui, distances, layOut);
}

int ImportMidiBytes(ScoreDocument& doc, std::span<const std::uint8_t> bytes, MidiImportParameters& params,
                    UiServices& ui, const SignDistances& distances, bool layOut) {
    const MidiImportReading reading = ReadMidiForImport(bytes, params.rounding);
    switch (reading.status) {
    case MidiReadStatus::NotMidi: ShowError(ui, readError); return 0;
    case MidiReadStatus::TooManyNotes: ShowError(ui, tooBig); return 0;
    case MidiReadStatus::UnexpectedRunningStatus: ShowError(ui, damagedFile); break;
    case MidiReadStatus::UnexpectedMessage: ShowError(ui, readError); break;
    case MidiReadStatus::Ok: break;
    }
    PageRecord* page = doc.findPage(1);
    if (!page) return 0;

    // The bar: the one asked for, else the first track's time signature, else 4/4.
    unsigned numerator = params.barNumerator, exponent = params.barExponent;
    if (numerator == 0) {
        const auto meter = reading.firstTrackMeter.value_or(std::pair{4u, 2u});
        numerator = meter.first;
        exponent = meter.second;
    }
    if (numerator == 0 || exponent > longestExponent) numerator = 4, exponent = 2;
    MidiVoiceLayout layout;
    layout.division = reading.division;
    layout.rounding = params.rounding;
    layout.barTicks = std::int64_t{reading.division} * 4 * numerator >> exponent;
    if (layout.barTicks <= 0) layout.barTicks = 4 * std::int64_t{reading.division};
    const std::int64_t upbeat = std::int64_t{params.upbeat} * reading.division / 4;
    layout.firstBarTicks = upbeat > 0 ? upbeat : layout.barTicks;
    layout.meterNumerator = numerator;
    layout.meterDenominator = 1u << exponent;
    layout.key = reading.key;
    layout.numberedBars = params.numberedBars;

    // Each voice with notes gets a staff, in the order of the voices.
    std::map<int, std::vector<const ImportNote*>> voices;
    for (const ImportNote& n : reading.notes) voices[n.voice].push_back(&n);
    const std::size_t staffCount = std::min<std::size_t>(voices.size(), StaffLayoutModel::maxStaves);
    if (staffCount < voices.size())
        ShowLeftOut(ui, "Les voix au-delà de la " + std::to_string(staffCount) + "e n'ont pas été importées.");
    if (!ProvideStaves(*page, staffCount)) return 0;
    if (layOut) FitVoicesOnPage(doc, *page, staffCount);

    doc.markModified();
    std::vector<GmnSequenceTimes> sequences;
    int staff = 0;
    for (const auto& [voice, notes] : voices) {
        if (staff >= static_cast<int>(staffCount)) break;
        doc.currentPage = 1;
        doc.currentStaff = staff;
        doc.currentElement = static_cast<int>(page->staves[static_cast<std::size_t>(staff)].elements.size()) - 1;
        sequences.push_back(WriteMidiVoice(doc, notes, layout));
        sequences.back().staff = ++staff;
    }
    if (!sequences.empty()) BreakPages(sequences.front(), params);
    const int written = CountNotes(doc);
    if (layOut && !sequences.empty()) {
        LayOutGuidoPiece(doc, ui, std::move(sequences), distances);
    } else {
        EngraveImportedPages(doc);
    }
    // The layout stops at the score's last page: what it could not place is said.
    if (const int placed = CountNotes(doc); placed < written)
        ShowLeftOut(ui, std::to_string(written - placed) + " notes au-delà de la page " + std::to_string(maxPages) +
                            " n'ont pas été importées.");
    if (doc.storage.path.empty()) doc.storage.path = "midi.mus";
    doc.currentPage = 1;
    doc.currentStaff = 0;
    doc.currentElement = -1;
    doc.markModified();
    params.barNumerator = 0;
    params.barExponent = 2;
    return 1;
}

}  // namespace notavera
