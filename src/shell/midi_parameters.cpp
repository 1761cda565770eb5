// The MIDI parameters of a voice and the numbering of voices: live edits of the document, the working copy of
// the transposition table, and the copy of a page's voice numbers onto the pages after it.
#include "shell/midi_parameters.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "midi/instrument_names.h"
#include "print/staff_layout_editor.h"
#include "render/page_staves.h"
#include "score/cursor_place.h"
#include "score/mus_file.h"
#include "score/score_document.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

// Control ids of "Paramètres MIDI".
namespace id {
constexpr int volume = 500;
constexpr int tempo = 501;
constexpr int instrument = 502;
constexpr int instrumentShown = 507;
constexpr int voiceShown = 510;
constexpr int channel = 511;
constexpr int channelShown = 514;
constexpr int volumeShown = 517;
constexpr int ornaments = 518;
constexpr int proportions = 519;
constexpr int transpositionShown = 580;
constexpr int transposition = 581;
constexpr int horizontal = 341;
constexpr int vertical = 342;
constexpr int ruler = 110;
constexpr int voiceNumber = 674;
constexpr int lastPage = 281;
}  // namespace id

// The edits read at most seven characters; a number outside a field's own range is ignored, not clamped, so the
// edit takes any seven-character number and the reaction decides.
constexpr int editChars = 7;
constexpr int editMin = -999999;
constexpr int editMax = 9999999;
constexpr int maxTolerance = 99;
constexpr int maxVolume = 128;
constexpr int maxTransposition = 48;
constexpr int maxTempoValue = 1000;
constexpr long microsecondsPerMinute = 60000000;
// Voice numbers run to 127, but a system numbered upward must stay below it.
constexpr int voiceLimit = 127;

std::string Num(int v) { return std::to_string(v); }
std::string Key(int controlId) { return Num(controlId); }

DialogField& Field(DialogModel& m, int controlId) { return *m.find(Key(controlId)); }

// The staff number a ruler field names (from 1), as an index into `count` staves.
std::optional<int> PickedStaff(const std::string& text, int count) {
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || n < 1 || n > count) return std::nullopt;
    return n - 1;
}

int StaffCount(ScoreDocument& doc) {
    const PageRecord* page = doc.page();
    return page ? static_cast<int>(page->staves.size()) : 0;
}

// The ruler shows the staves of the page as they are, so that the staff picked is the page's staff of that index.
StaffLayoutModel LayoutOfCurrentPage(ScoreDocument& doc) {
    const PageRecord* page = doc.page();
    if (!page) return doc.layoutModel;
    StaffLayoutModel model = LayoutOfPage(*page);
    constexpr unsigned unitsPerMm = 10;
    model.setLineLengthMm((page->lineLength & 0xFFFFFFu) / unitsPerMm);
    model.setIndentMm((page->indent & 0xFFFFFFu) / unitsPerMm);
    return model;
}

// The ruler marks the current staff from the start, and only picks.
void StartPicking(StaffRuler& ruler, int staff) {
    ruler.picking = true;
    ruler.mode = RulerMode::IsolatedStaff;
    ruler.pressStaff(staff);
}

}  // namespace

MidiParamEditor::MidiParamEditor(ScoreDocument& doc)
    : doc_(doc), layout_(LayoutOfCurrentPage(doc)), ruler_(layout_, RulerSheetOf(doc)) {
    const auto block = std::span(doc.header.bytes).subspan<FileHeader::partB, MidiSettings::size>();
    std::copy(block.begin(), block.end(), saved_.begin());
    for (int v = 0; v < 128; ++v) transposition_[static_cast<std::size_t>(v)] = doc.header.voiceTransposition(v);
    if (const StaffRecord* staff = doc.staff()) voice_ = static_cast<int>(staff->voice().voice() & 0x7F);
    StartPicking(ruler_, doc.currentStaff);
}

MidiSettings MidiParamEditor::midi() const { return doc_.header.midi(); }
int MidiParamEditor::channel() const { return midi().channelOfVoice(voice_) & 0x0F; }

DialogModel MidiParamEditor::makeDialog() {
    DialogModel m("Paramètres MIDI", "Paramètres MIDI");
    const MidiSettings s = midi();
    std::vector<std::string> channels;
    for (int k = 1; k <= 16; ++k) channels.push_back(Num(k));
    std::vector<std::string> instruments(InstrumentNames().begin(), InstrumentNames().end());

    m.addStatic(id::voiceShown, "VOIX (à paramétrer)", {});
    m.addInteger(id::tempo, "Tempo (Noire) MM", editMin, editMax, 0, editChars);
    m.addChoice(id::channel, "CANAL", std::move(channels), 0);
    m.addStatic(id::channelShown, {}, {});
    m.addChoice(id::instrument, "INSTRUMENT", std::move(instruments), 0);
    m.addStatic(id::instrumentShown, {}, {});
    m.addInteger(id::volume, "Volume", editMin, editMax, 0, editChars);
    m.addStatic(id::volumeShown, "VOL", {});
    m.addInteger(id::transposition, "Transposition", editMin, editMax, 0, editChars);
    m.addStatic(id::transpositionShown, "TRSP", {});
    m.addInteger(id::horizontal, "Résolution x horiz.", 0, maxTolerance, s.horizontalTolerance(), editChars);
    m.addInteger(id::vertical, "Résolution x vertic.", 0, maxTolerance, s.verticalTolerance(), editChars);
    m.addCheck(id::ornaments, "Orn=Appoggiature", s.ornamentsAsAppoggiaturas() != 0);
    m.addCheck(id::proportions, "Mesure=Proportion", s.metersAsProportions() != 0);
    m.addText(id::ruler, "RegleAffiche", {}, 0);
    const std::uint32_t tempo = s.tempo();
    Field(m, id::tempo).value = tempo == 0 ? 0 : static_cast<int>(microsecondsPerMinute / tempo);
    show(m);
    m.onChange = [this](DialogModel& dialog, const DialogField& changed) { react(dialog, changed); };
    return m;
}

void MidiParamEditor::show(DialogModel& m) const {
    const MidiSettings s = midi();
    const int c = channel();
    const int program = s.program(c) & 0x7F;
    const int transposition = transposition_[static_cast<std::size_t>(voice_)];
    Field(m, id::voiceShown).text = Num(voice_);
    Field(m, id::channel).value = -1;  // the list shows no line until one is chosen for this voice
    Field(m, id::channelShown).text = Num(c + 1);
    Field(m, id::instrument).value = program;
    Field(m, id::instrumentShown).text = std::string(InstrumentNames()[static_cast<std::size_t>(program)]);
    Field(m, id::volume).value = s.volume(c);
    Field(m, id::volumeShown).text = Num(s.volume(c));
    Field(m, id::transposition).value = transposition;
    Field(m, id::transpositionShown).text = Num(transposition);
}

void MidiParamEditor::react(DialogModel& m, const DialogField& changed) {
    const MidiSettings s = midi();
    const int v = changed.value;
    switch (changed.id) {
    case id::tempo:
        if (v >= 1 && v <= maxTempoValue) s.setTempo(static_cast<std::uint32_t>(microsecondsPerMinute / v));
        else Field(m, id::tempo).value = s.tempo() == 0 ? 0 : static_cast<int>(microsecondsPerMinute / s.tempo());
        return;
    case id::channel: {
        if (v < 0) return;
        s.channelOfVoice(voice_) = static_cast<std::uint8_t>(v);
        show(m);
        Field(m, id::channel).value = v;
        return;
    }
    case id::instrument: s.program(channel()) = static_cast<std::uint8_t>(v); break;
    case id::volume:
        if (v >= 0 && v <= maxVolume) s.volume(channel()) = static_cast<std::uint8_t>(v);
        break;
    case id::transposition:
        if (v >= -maxTransposition && v <= maxTransposition)
            transposition_[static_cast<std::size_t>(voice_)] = static_cast<std::int8_t>(v);
        break;
    case id::horizontal: s.horizontalTolerance() = static_cast<std::uint8_t>(v); return;
    case id::vertical: s.verticalTolerance() = static_cast<std::uint8_t>(v); return;
    case id::ornaments: s.ornamentsAsAppoggiaturas() = static_cast<std::uint8_t>(v); return;
    case id::proportions: s.metersAsProportions() = static_cast<std::uint8_t>(v); return;
    case id::ruler: {
        const std::optional<int> staff = PickedStaff(changed.text, StaffCount(doc_));
        if (!staff) return;
        ruler_.pressStaff(*staff);
        voice_ = static_cast<int>(doc_.page()->staves[static_cast<std::size_t>(*staff)].voice().voice() & 0x7F);
        break;
    }
    default: return;
    }
    show(m);
}

void MidiParamEditor::accept() {
    for (int v = 0; v < 128; ++v) doc_.header.setVoiceTransposition(v, transposition_[static_cast<std::size_t>(v)]);
    doc_.markModified();
}

void MidiParamEditor::cancel() {
    std::copy(saved_.begin(), saved_.end(), doc_.header.bytes.begin() + FileHeader::partB);
}

VoiceNumberingEditor::VoiceNumberingEditor(ScoreDocument& doc)
    : doc_(doc),
      layout_(LayoutOfCurrentPage(doc)),
      ruler_(layout_, RulerSheetOf(doc)),
      staff_(std::clamp(doc.currentStaff, 0, std::max(StaffCount(doc) - 1, 0))),
      lastPage_(doc.currentPage) {
    StartPicking(ruler_, staff_);
}

DialogModel VoiceNumberingEditor::makeDialog() {
    DialogModel m("Détermination des voix", "Détermination des voix");
    const StaffRecord* staff = doc_.staff();
    m.addInteger(id::voiceNumber, "Numéro de voix :", editMin, editMax,
                 staff ? static_cast<int>(staff->voice().voice()) : 0, editChars);
    m.addInteger(id::lastPage, "Jusqu'à page no", editMin, editMax, lastPage_, editChars);
    m.addText(id::ruler, "RegleAffiche", {}, 0);
    m.onChange = [this](DialogModel& dialog, const DialogField& changed) { react(dialog, changed); };
    return m;
}

bool VoiceNumberingEditor::number(int index, int n) {
    PageRecord* page = doc_.page();
    if (!page || index < 0 || index >= static_cast<int>(page->staves.size()) || n < 1 || n >= voiceLimit)
        return false;
    StaffRecord& first = page->staves[static_cast<std::size_t>(index)];
    if (static_cast<int>(first.voice().voice()) == n) return false;
    // The staves after this one in its system; a damaged system numbering counts this staff alone.
    const int following = std::max(0, static_cast<int>(first.voice().groupSize()) -
                                          static_cast<int>(first.voice().positionInGroup()));
    if (following + n >= voiceLimit) return false;
    const int last = std::min(index + following, static_cast<int>(page->staves.size()) - 1);
    for (int k = index; k <= last; ++k)
        page->staves[static_cast<std::size_t>(k)].voice().setVoice(static_cast<unsigned>(n + k - index));
    doc_.markModified();
    return true;
}

void VoiceNumberingEditor::react(DialogModel& m, const DialogField& changed) {
    const PageRecord* page = doc_.page();
    if (!page || page->staves.empty()) return;
    const auto voiceOf = [&](int i) { return static_cast<int>(page->staves[static_cast<std::size_t>(i)].voice().voice()); };
    switch (changed.id) {
    case id::voiceNumber:
        number(staff_, changed.value);
        Field(m, id::voiceNumber).value = voiceOf(staff_);
        return;
    case id::lastPage: {
        const int low = std::min(doc_.currentPage, doc_.pageCount);
        const int high = std::max(doc_.currentPage, doc_.pageCount);
        if (changed.value >= low && changed.value <= high) lastPage_ = changed.value;
        Field(m, id::lastPage).value = lastPage_;
        return;
    }
    case id::ruler:
        if (const std::optional<int> staff = PickedStaff(changed.text, StaffCount(doc_))) {
            staff_ = *staff;
            ruler_.pressStaff(staff_);
            Field(m, id::voiceNumber).value = voiceOf(staff_);
        }
        return;
    default: return;
    }
}

void PropagateVoiceNumbers(ScoreDocument& doc, UiServices& ui, int lastPage) {
    const PageRecord* current = doc.page();
    if (!current || lastPage <= doc.currentPage) return;
    std::vector<unsigned> voices;
    for (const StaffRecord& s : current->staves) {
        if (voices.size() == StaffLayoutModel::maxStaves) break;
        voices.push_back(s.voice().voice());
    }
    const KeepCursor keep(doc, ui);
    const int from = doc.currentPage + 1;
    const int to = std::min(lastPage, doc.pageCount);
    for (int n = from; n <= to; ++n) {
        // The pages renumbered so far are written to the working file before the window slides past them.
        if (!doc.findPage(n) && MoveWindowTo(doc, ui, n) != FileOk) continue;
        PageRecord* page = doc.findPage(n);
        if (!page) continue;
        const std::size_t count = std::min(voices.size(), page->staves.size());
        for (std::size_t k = 0; k < count; ++k) page->staves[k].voice().setVoice(voices[k]);
        doc.markModified();
    }
}

int RunMidiParamDialog(EditorContext& ctx) {
    MidiParamEditor editor(ctx.doc);
    DialogModel dialog = editor.makeDialog();
    if (!ctx.ui.runRulerDialog(dialog, editor.ruler())) {
        editor.cancel();
        return 0;
    }
    editor.accept();
    return 1;
}

int RunVoiceDialog(EditorContext& ctx) {
    VoiceNumberingEditor editor(ctx.doc);
    DialogModel dialog = editor.makeDialog();
    if (!ctx.ui.runRulerDialog(dialog, editor.ruler())) return 0;
    if (ctx.doc.storage.fileState != FileState::None) PropagateVoiceNumbers(ctx.doc, ctx.ui, editor.lastPage());
    return 1;
}

}  // namespace notavera
