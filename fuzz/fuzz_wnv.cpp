// libFuzzer target of the ".wnv" reader: each input is decoded, and when it reads, written out as a document
// file and opened again.
#include <cstdint>
#include <filesystem>

#include "platform/headless/headless_ui.h"
#include "run_folder.h"
#include "score/mus_file.h"
#include "score/score_document.h"
#include "score/wnv_codec.h"
#include "score/wnv_file.h"
#include "score/work_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const notavera::DecodedInterchange decoded = notavera::DecodeInterchange({data, size});
    if (decoded.fault != notavera::InterchangeFault::None) return 0;
    const std::filesystem::path source = notavera::fuzz::WriteInput("fuzz.wnv", data, size);
    const std::filesystem::path target = notavera::fuzz::RunFolder() / "fuzz.mus";
    notavera::HeadlessUi ui(nullptr);
    if (!notavera::ImportInterchange(ui, source, target, notavera::StaffLayoutModel::makeDefault())) return 0;
    notavera::ScoreDocument doc;
    if (notavera::InspectDocument(doc, ui, target) == notavera::FileOk)
        for (int n = 1; n <= doc.pageCount; ++n) notavera::ViewPage(doc, ui, n);
    return 0;
}
