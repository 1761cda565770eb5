// libFuzzer target of the MusicXML import: any bytes go through the XML reader (or the zip container) and the
// conversion, and (within a small score's size) through the import and layout of the score.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "musicxml/musicxml_import.h"
#include "musicxml/musicxml_to_gmn.h"
#include "platform/headless/headless_ui.h"
#include "platform/xml/xml_file_reader.h"
#include "score/new_document.h"

namespace {

// Laying out a long score measures the layout's cost, not faults of the reading; larger inputs stop at the
// conversion.
constexpr std::size_t maxLaidOutSize = 16384;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace notavera;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const XmlReading reading = ReadXmlOrContainerBytes(bytes);
    if (!reading.ok) return 0;
    if (size > maxLaidOutSize) {
        (void)ConvertMusicXml(reading.root);
        return 0;
    }
    HeadlessUi ui(nullptr);
    ScoreDocument doc;
    SetUpNewDocument(doc, 1);
    ImportMusicXml(doc, reading, "fuzz.musicxml", ui);
    return 0;
}
