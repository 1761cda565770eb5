// The MIDI import: the file read into notes, each voice written on a staff of its own, the piece laid out.
#include "edit/midi_import.h"

#include <algorithm>
#include <map>

#include "edit/automatic_beams.h"
#include "edit/midi_hand_split.h"
#include "edit/midi_voice_writer.h"
#include "guido/gmn_piece_layout.h"
#include "midi/midi_note_collector.h"
#include "midi/smf_reader.h"
#include "platform/messages.h"
#include "platform/ui_services.h"
#include "render/line_start_signs.h"
#include "score/page_append.h"
#include "score/staff_layout_model.h"
#include "score/staff_size_fit.h"

namespace notavera {

namespace {

constexpr int readError = 9;
constexpr int damagedFile = 37;
constexpr int tooBig = 38;
constexpr unsigned longestExponent = 6;
// More bars than 255 pages can show, and times whose fractions of a whole note stay exact.
constexpr std::int64_t maxImportBars = std::int64_t{maxPages} * 64;
constexpr std::int64_t maxImportTicks = std::int64_t{1} << 26;

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

// Page breaks after the bars each page is given.
void BreakPages(GmnSequenceTimes& first, const MidiImportParameters& params) {
    std::size_t bar = 0;
    for (int page = 1; page < maxPages; ++page) {
        bar += params.barsOnPage(page);
        if (bar == 0 || bar > first.bars.size()) break;
        first.breaks.push_back({first.bars[bar - 1], true});
    }
}

// Without the layout, each page holds the bars it is given, the staves of one system cut at the same bar lines;
// the music of a page starts where the first page's starts.
void DealBarsToPages(ScoreDocument& doc, UiServices& ui, const MidiImportParameters& params,
                     const std::vector<GmnSequenceTimes>& sequences) {
    const int n = static_cast<int>(sequences.size());
    std::vector<StaffRecord> originals = doc.findPage(1)->staves;
    originals.resize(static_cast<std::size_t>(n));
    // The element index after each bar line of each staff, found in one reading.
    std::vector<std::vector<std::size_t>> barEnds(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const auto& els = originals[static_cast<std::size_t>(i)].elements;
        for (std::size_t e = 0; e < els.size(); ++e)
            if (els[e].isSignOfType(SignType::Bar)) barEnds[static_cast<std::size_t>(i)].push_back(e + 1);
    }
    // The element index after the k-th bar line of staff i (its end when it has fewer).
    const auto cut = [&](int i, std::size_t k) {
        const auto& ends = barEnds[static_cast<std::size_t>(i)];
        if (k == 0) return std::size_t{0};
        return k <= ends.size() ? ends[k - 1] : originals[static_cast<std::size_t>(i)].elements.size();
    };
    std::size_t totalBars = 0;
    for (const GmnSequenceTimes& s : sequences) totalBars = std::max(totalBars, s.bars.size());
    const int start = static_cast<int>(AfterLineStartSigns(originals[0]));
    const int musicX = start < static_cast<int>(originals[0].elements.size())
                           ? originals[0].elements[static_cast<std::size_t>(start)].x
                           : 0;
    std::size_t from = 0;
    for (int page = 1; from <= totalBars; ++page) {
        const std::size_t to = from + params.barsOnPage(page);
        PageRecord* target = page == 1 ? doc.findPage(1) : PageAfter(doc, ui, page - 1);
        if (!target) break;
        for (int i = 0; i < n; ++i) {
            const auto& els = originals[static_cast<std::size_t>(i)].elements;
            const std::size_t a = cut(i, from), b = cut(i, to);
            auto& into = target->staves[static_cast<std::size_t>(i)].elements;
            into.assign(els.begin() + static_cast<std::ptrdiff_t>(a), els.begin() + static_cast<std::ptrdiff_t>(b));
            if (page > 1 && !into.empty()) {
                const int shift = into.front().x - musicX;
                for (ElementRecord& e : into) e.x -= shift;
            }
        }
        // The music after the last bar line is one more bar.
        if (to > totalBars) break;
        from = to;
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

    // Each voice with notes gets a staff, in the order of the voices. A file can ask for notes millions of bars
    // away: the score stops at a length no page count could show, and pages dealt bar by bar hold no more than their
    // bar counts.
    std::int64_t bars = maxImportBars;
    if (!layOut) {
        bars = 0;
        for (int page = 1; page <= maxPages; ++page) bars += params.barsOnPage(page);
    }
    const std::int64_t lastTick = std::min(maxImportTicks, layout.firstBarTicks + layout.barTicks * (bars - 1));
    std::map<int, std::vector<ImportNote>> voices;
    std::size_t beyond = 0;
    for (ImportNote n : reading.notes) {
        if (n.onset >= lastTick) {
            ++beyond;
            continue;
        }
        n.duration = std::min(n.duration, lastTick - n.onset);
        voices[n.voice].push_back(n);
    }
    if (beyond > 0)
        ShowLeftOut(ui, std::to_string(beyond) + " notes au-delà de la mesure " + std::to_string(bars) +
                            " n'ont pas été importées.");
    // The piece ends with the bar in which its last note ends.
    std::int64_t lastEnd = 0;
    for (const auto& [voice, notes] : voices)
        for (const ImportNote& n : notes) lastEnd = std::max(lastEnd, n.onset + n.duration);
    layout.endTick = layout.firstBarTicks;
    if (lastEnd > layout.firstBarTicks)
        layout.endTick += (lastEnd - layout.firstBarTicks + layout.barTicks - 1) / layout.barTicks * layout.barTicks;
    const std::vector<std::vector<ImportNote>> staves = VoicesInStaffOrder(voices);
    const std::size_t staffCount = std::min<std::size_t>(staves.size(), StaffLayoutModel::maxStaves);
    if (staffCount < staves.size())
        ShowLeftOut(ui, "Les voix au-delà de la " + std::to_string(staffCount) + "e n'ont pas été importées.");
    if (!ProvideStaves(*page, staffCount)) return 0;
    FitStavesOnPage(doc, *page, staffCount, /*plainSystems=*/true);  // a voice a staff, no lyrics

    doc.markModified();
    std::vector<GmnSequenceTimes> sequences;
    int staff = 0;
    for (const std::vector<ImportNote>& notes : staves) {
        if (staff >= static_cast<int>(staffCount)) break;
        doc.currentPage = 1;
        doc.currentStaff = staff;
        doc.currentElement = static_cast<int>(page->staves[static_cast<std::size_t>(staff)].elements.size()) - 1;
        sequences.push_back(WriteMidiVoice(doc, notes, layout));
        // A file says nothing of beams: short notes are joined by the beat, as an engraver would.
        StaffRecord& written = page->staves[static_cast<std::size_t>(staff)];
        BeamByBeats(written, 0, static_cast<int>(written.elements.size()) - 1);
        sequences.back().staff = ++staff;
    }
    if (!sequences.empty()) BreakPages(sequences.front(), params);
    const int written = CountNotes(doc);
    if (layOut && !sequences.empty()) {
        LayOutGuidoPiece(doc, ui, std::move(sequences), distances);
    } else if (!sequences.empty()) {
        GatherIntoOneSystem(doc, static_cast<int>(sequences.size()));
        DealBarsToPages(doc, ui, params, sequences);
        VoiceClefs clefs;
        for (PageRecord& dealt : doc.pages) EnsurePageLineClefs(dealt, clefs, std::max(doc.stepUnit, 1));
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
