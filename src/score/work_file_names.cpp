// The names of the files derived from a document's name: working file, backup, autosave copy.
#include "score/work_files.h"

namespace notavera {

namespace {

bool SameName(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    const auto fullA = std::filesystem::absolute(a, ec).lexically_normal();
    const auto fullB = std::filesystem::absolute(b, ec).lexically_normal();
    return fullA == fullB;
}

// The name with the extension, unless that is the document itself: then the extension is appended.
std::filesystem::path SideName(const std::filesystem::path& document, const std::filesystem::path& folder,
                               const std::string& extension) {
    const std::filesystem::path name = folder / WithExtension(document.filename(), extension);
    if (!SameName(name, document)) return name;
    return folder / (document.filename().string() + extension);
}

}  // namespace

std::filesystem::path WithExtension(const std::filesystem::path& path, const std::string& extension) {
    std::string name = path.filename().string();
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return path.parent_path() / (name + extension);
}

std::filesystem::path WorkingFileName(const std::filesystem::path& document) {
    const std::string name = document.filename().string();
    std::string working = name;
    if (working.size() >= 3) {
        working.back() = 'm';
        working[working.size() - 3] = 's';
    }
    if (working == name) working += ".sum";
    return WorkFolder(document) / working;
}

std::filesystem::path BackupName(const std::filesystem::path& document) {
    return SideName(document, document.parent_path(), ".bak");
}

std::filesystem::path AutosaveName(const std::filesystem::path& document) {
    return SideName(document, WorkFolder(document), ".sav");
}

}  // namespace notavera
