// libFuzzer target of the GUIDO reader: any bytes go through the scanner and parser in every reading mode,
// and (within a page's worth of text) through the conversion into a score.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "guido/gmn_import.h"
#include "guido/gmn_reader.h"
#include "guido/gmn_trace.h"
#include "score/new_document.h"

namespace {

// The conversion looks back along the staff for keys and accidentals, so its cost grows with the square of
// a staff's length; beyond this size a run would measure that, not find faults.
constexpr std::size_t maxConvertedSize = 8192;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace notavera;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t traced = 0;
    GmnTrace trace([&traced](const std::string& line) { traced += line.size(); });
    for (GmnMode mode : {GmnMode::All, GmnMode::Musical, GmnMode::Layout, GmnMode::ClefKey})
        ReadGmnText(text, mode, trace, [](const GmnError& e) { (void)FormatGmnError(e); });
    if (size <= maxConvertedSize) {
        ScoreDocument doc;
        SetUpNewDocument(doc, 1);
        ImportGuidoText(doc, text, {});
    }
    return 0;
}
