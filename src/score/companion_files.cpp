// Naming, moving and deleting the numbered companion files of a document.
#include "score/companion_files.h"

#include <system_error>

#include "score/file_copy.h"
#include "score/work_files.h"
#include "score/work_folder.h"

namespace notavera {

namespace {

constexpr int companionCount = 10;

void MoveOne(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    if (!std::filesystem::exists(from, ec) || std::filesystem::equivalent(from, to, ec)) return;
    if (ReplaceWithCopy(from, to)) std::filesystem::remove(from, ec);
}

}  // namespace

std::optional<std::filesystem::path> CompanionFileName(const std::filesystem::path& document, int digit,
                                                       bool secondSeries) {
    std::string name = document.filename().string();
    if (name.size() < 3 || digit < 0 || digit >= companionCount) return std::nullopt;
    name.back() = static_cast<char>('0' + digit);
    if (secondSeries) name[name.size() - 3] = 'u';
    return WorkFolder(document) / name;
}

void MoveCompanionFiles(const std::filesystem::path& oldDocument, const std::filesystem::path& newDocument) {
    for (const bool second : {false, true}) {
        for (int digit = 0; digit < companionCount; ++digit) {
            const auto from = CompanionFileName(oldDocument, digit, second);
            const auto to = CompanionFileName(newDocument, digit, second);
            if (from && to) MoveOne(*from, *to);
        }
    }
    MoveOne(WorkingFileName(oldDocument), WorkingFileName(newDocument));
}

void DeleteCompanionFiles(const std::filesystem::path& document) {
    std::error_code ec;
    for (const bool second : {false, true}) {
        for (int digit = 0; digit < companionCount; ++digit) {
            if (const auto name = CompanionFileName(document, digit, second)) std::filesystem::remove(*name, ec);
        }
    }
}

}  // namespace notavera
