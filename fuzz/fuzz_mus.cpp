// libFuzzer target of the ".mus" reader: each input is opened as a document from a temporary
// folder, every page is visited through the page window, and the window is saved back.
#include <cstdint>
#include <filesystem>

#include "platform/headless/headless_ui.h"
#include "run_folder.h"
#include "score/mus_file.h"
#include "score/score_document.h"
#include "score/work_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path path = notavera::fuzz::WriteInput("fuzz.mus", data, size);

    notavera::HeadlessUi ui(nullptr);
    notavera::ScoreDocument doc;
    if (notavera::ReadDocument(doc, ui, path) == notavera::FileOk) {
        for (int n = 1; n <= doc.pageCount; ++n) notavera::MoveWindowTo(doc, ui, n);
        notavera::SaveToWorkingFile(doc, ui);
        notavera::DeleteWorkFiles(doc);
    }
    return 0;
}
