// libFuzzer target of the ".wnv" reader: each input is decoded, and when it reads, written out as a document
// file and opened again.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/score_document.h"
#include "score/wnv_codec.h"
#include "score/wnv_file.h"
#include "score/work_files.h"

namespace {

// A private folder for the run, removed when the fuzzer exits.
struct RunFolder {
    RunFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "notavera-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        path = pattern;
    }
    ~RunFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

const std::filesystem::path& folder() {
    static const RunFolder run;
    return run.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const notavera::DecodedInterchange decoded = notavera::DecodeInterchange({data, size});
    if (decoded.fault != notavera::InterchangeFault::None) return 0;
    const std::filesystem::path source = folder() / "fuzz.wnv";
    const std::filesystem::path target = folder() / "fuzz.mus";
    std::FILE* f = std::fopen(source.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
    notavera::HeadlessUi ui(nullptr);
    if (!notavera::ImportInterchange(ui, source, target, notavera::StaffLayoutModel::makeDefault())) return 0;
    notavera::ScoreDocument doc;
    if (notavera::InspectDocument(doc, ui, target) == notavera::FileOk)
        for (int n = 1; n <= doc.pageCount; ++n) notavera::ViewPage(doc, ui, n);
    return 0;
}
