// Builds the JSON picture of a document from its header, page table and pages.
#include "score/document_json.h"

#include <vector>

#include "platform/ansi_text.h"
#include "platform/message_ids.h"
#include "platform/messages.h"
#include "score/mus_file.h"

namespace notavera {

namespace {

nlohmann::json OptionalBlockNames(const OptionalBlocks& blocks) {
    nlohmann::json names = nlohmann::json::array();
    if (blocks.pagination) names.push_back("pagination");
    if (blocks.pageHeader) names.push_back("pageHeader");
    if (blocks.pageFooter) names.push_back("pageFooter");
    if (blocks.fixedMask) names.push_back("fixedMask");
    if (blocks.variableMask) names.push_back("variableMask");
    if (blocks.notes) names.push_back("notes");
    return names;
}

// The face of every entry of the font table, "" for a free one.
nlohmann::json FontNames(const FontBlock& fonts) {
    nlohmann::json names = nlohmann::json::array();
    for (int i = 0; i < static_cast<int>(FontBlock::entryCount); ++i) names.push_back(fonts.faceName(i));
    return names;
}

// A text sign's fields decoded, its characters in UTF-8.
nlohmann::json TextToJson(const ElementRecord& e) {
    const auto w = e.signWord();
    const auto payload = e.hasBlob() ? e.blob.payload() : std::span<const std::uint8_t>{};
    return {{"category", w.textCategory()}, {"type", w.textType()}, {"style", w.textStyle()},
            {"orientation", w.textOrientation()}, {"justification", w.textJustification()},
            {"opaque", w.textOpaque()}, {"size", w.textSize()}, {"font", w.textFontIndex()},
            {"characters", AnsiToUtf8(std::string_view(reinterpret_cast<const char*>(payload.data()), payload.size()))}};
}

// What playback and MIDI export read of the header: per channel its program and volume, per voice its channel
// (from 0) and transposition.
nlohmann::json MidiToJson(FileHeader& header) {
    const MidiSettings midi = header.midi();
    std::vector<int> programs, volumes, channels, transpositions;
    for (int c = 0; c < 16; ++c) {
        programs.push_back(midi.program(c));
        volumes.push_back(midi.volume(c));
    }
    for (int v = 0; v < 128; ++v) {
        channels.push_back(midi.channelOfVoice(v));
        transpositions.push_back(header.voiceTransposition(v));
    }
    return {{"tempo", midi.tempo()},
            {"tolerances", {midi.horizontalTolerance(), midi.verticalTolerance()}},
            {"ornamentsAsAppoggiaturas", midi.ornamentsAsAppoggiaturas()},
            {"metersAsProportions", midi.metersAsProportions()},
            {"programs", programs},
            {"volumes", volumes},
            {"voiceChannels", channels},
            {"voiceTranspositions", transpositions}};
}

nlohmann::json HeaderToJson(const ScoreDocument& doc) {
    FileHeader header = doc.header;  // its byte accessors are not const
    nlohmann::json table = nlohmann::json::array();
    for (int p = 0; p < doc.pageCount && p < maxPages; ++p) {
        const PageTableEntry& entry = doc.storage.pageTable[static_cast<std::size_t>(p)];
        table.push_back({entry.length, entry.offset});
    }
    return {{"version", {doc.header.majorVersion(), doc.header.minorVersion()}},
            {"title", doc.header.title()},
            {"endOfData", doc.header.endOfData()},
            {"pageCount", doc.pageCount},
            {"pageTable", std::move(table)},
            {"optionalBlocks", OptionalBlockNames(doc.optional)},
            {"sizeRatios", {{"small", {header.smallStaffNum(), header.smallStaffDen()}},
                            {"cue", {header.cueNum(), header.cueDen()}}}},
            {"musicFont", doc.fonts.faceName(0)},
            {"fonts", FontNames(doc.fonts)},
            {"midi", MidiToJson(header)}};
}

nlohmann::json StaffToJson(const StaffRecord& staff, bool elements) {
    nlohmann::json json = {{"elementCount", staff.elementCount()},
                           {"voiceWord", staff.voiceWord},
                           {"keyWord", staff.keyWord},
                           {"lineWord", staff.lineWord}};
    if (elements) {
        json["elements"] = nlohmann::json::array();
        for (const ElementRecord& e : staff.elements) json["elements"].push_back(ElementToJson(e));
    }
    return json;
}

nlohmann::json PageToJson(const PageRecord& page, bool elements) {
    nlohmann::json staves = nlohmann::json::array();
    for (const StaffRecord& staff : page.staves) staves.push_back(StaffToJson(staff, elements));
    return {{"number", page.number},   {"layout", page.layout},         {"indent", page.indent},
            {"extra", page.extra},     {"lineLength", page.lineLength}, {"staves", std::move(staves)}};
}

}  // namespace

nlohmann::json ElementToJson(const ElementRecord& e) {
    nlohmann::json json = {{"word0", e.word0}, {"word1", e.word1}, {"shift", e.shift}, {"x", e.x}};
    json[e.isSign() ? "signWord" : "noteWord"] = e.typeWord;
    if (e.isSign()) json["param"] = e.param;
    json["blobLength"] = e.hasBlob() ? e.blob.length() : 0;
    if (e.hasBlob()) {
        const auto payload = e.blob.payload();
        json["payload"] = std::vector<unsigned>(payload.begin(), payload.end());
    }
    json["octave"] = e.w0().octave();
    if (e.isSign()) {
        json["kind"] = "sign";
        json["signType"] = static_cast<unsigned>(e.signWord().signType());
        json["code"] = e.signWord().code();
        if (e.isSignOfType(SignType::Text)) json["text"] = TextToJson(e);
        return json;
    }
    const auto note = e.noteWord();
    json["kind"] = note.rest() ? "rest" : "note";
    json["rest"] = note.rest();
    json["durationCode"] = note.durationCode();
    json["dots"] = note.dots();
    json["step"] = note.step();
    json["accidental"] = static_cast<unsigned>(note.accidental());
    json["hiddenAccidental"] = note.hiddenAccidental();
    return json;
}

nlohmann::json DocumentToJson(const ScoreDocument& doc, UiServices& ui, bool elements) {
    nlohmann::json pages = nlohmann::json::array();
    for (int number = 1; number <= doc.pageCount; ++number) {
        const PageView p = ViewPage(doc, ui, number);
        if (!p) {
            ShowError(ui, msg::readError);
            break;
        }
        pages.push_back(PageToJson(*p, elements));
    }
    nlohmann::json json = HeaderToJson(doc);
    if (doc.optional.notes) json["notes"] = *doc.optional.notes;
    json["pages"] = std::move(pages);
    return json;
}

}  // namespace notavera
