// The working file beside a document, its backup on publishing, and the recovery check at opening.
#include "score/work_files.h"

#include <system_error>
#include <vector>

#include "score/binary_file.h"
#include "shell/editor_context.h"

namespace notavera {

std::filesystem::path WorkingFileName(const std::filesystem::path& document) {
    std::string name = document.filename().string();
    if (name.size() >= 3) {
        name.back() = 'm';
        name[name.size() - 3] = 's';
    }
    return document.parent_path() / name;
}

std::filesystem::path WithExtension(const std::filesystem::path& path, const std::string& extension) {
    const std::string s = path.string();
    const auto dot = s.rfind('.');
    const auto slash = s.rfind('/');
    const bool hasDot = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasDot ? s.substr(0, dot) : s) + extension;
}

bool CopyFile(const std::filesystem::path& source, const std::filesystem::path& destination) {
    auto in = BinaryFile::open(source, "rb");
    if (!in) return true;
    auto out = BinaryFile::open(destination, "wb");
    if (!out) return false;
    std::vector<std::uint8_t> block(32768);
    const std::uint64_t size = in->size();
    for (std::uint64_t done = 0; done < size;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - done));
        if (!in->read(std::span(block).first(n)) || !out->write(std::span(block).first(n))) return false;
        done += n;
    }
    return out->flushBuffers();
}

// A copy that is on disk before it replaces anything.
static bool copyDurably(const std::filesystem::path& source, const std::filesystem::path& destination) {
    if (!CopyFile(source, destination)) return false;
    auto written = BinaryFile::open(destination, "rb+");
    return written && written->flush();
}

static void recoveryCheck(EditorContext& ctx, const std::filesystem::path& document) {
    const auto sav = WithExtension(document, ".sav");
    std::error_code ec;
    if (!std::filesystem::exists(sav, ec)) return;
    if (AskYesNo(ctx.ui, 72, sav.string())) {
        const auto target = ctx.ui.saveFileName({"", sav.string(), {{"Fichiers RECUPERATION (*.SAV)", "*.SAV"}}});
        if (target) CopyFile(sav, *target);
    }
    std::filesystem::remove(sav, ec);
}

bool PrepareWorkingFile(EditorContext& ctx, const std::filesystem::path& document) {
    auto& storage = ctx.doc.storage;
    storage.working.reset();
    storage.workingPath = WorkingFileName(document);
    if (!CopyFile(document, storage.workingPath)) {
        ShowError(ctx.ui, 1);
        return false;
    }
    recoveryCheck(ctx, document);
    return true;
}

bool PublishWorkingFile(EditorContext& ctx) {
    auto& storage = ctx.doc.storage;
    if (storage.working && !storage.working->flushBuffers()) return false;
    const auto temporary = WithExtension(storage.path, ".tmp");
    if (!copyDurably(storage.workingPath, temporary)) return false;
    std::error_code ec;
    if (std::filesystem::exists(storage.path, ec) && !CopyFile(storage.path, WithExtension(storage.path, ".bak")))
        return false;
    std::filesystem::rename(temporary, storage.path, ec);
    if (ec) return false;
    std::filesystem::remove(WithExtension(storage.path, ".sav"), ec);
    storage.fileState = FileState::Open;
    return true;
}

void DeleteWorkFiles(EditorContext& ctx) {
    auto& storage = ctx.doc.storage;
    storage.working.reset();
    std::error_code ec;
    if (!storage.workingPath.empty()) std::filesystem::remove(storage.workingPath, ec);
    storage.fileState = FileState::None;
}

}  // namespace notavera
