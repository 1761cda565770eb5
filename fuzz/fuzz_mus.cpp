// libFuzzer target of the ".mus" reader: each input is opened as a document from a temporary
// folder, every page is visited through the page window, and the window is saved back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/headless/headless_ui.h"
#include "score/mus_file.h"
#include "score/score_document.h"
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
    const std::filesystem::path path = folder() / "fuzz.mus";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);

    notavera::HeadlessUi ui(nullptr);
    notavera::ScoreDocument doc;
    if (notavera::ReadDocument(doc, ui, path) == notavera::FileOk) {
        for (int n = 1; n <= doc.pageCount; ++n) notavera::MoveWindowTo(doc, ui, n);
        notavera::SaveToWorkingFile(doc, ui);
        notavera::DeleteWorkFiles(doc);
    }
    return 0;
}
