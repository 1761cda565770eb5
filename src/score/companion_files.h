// The numbered companion files of a document (the undo snapshots a.mu0..a.mu9 and a.uu0..a.uu9) and moving
// them, with the working file, when the document takes another name.
#pragma once

#include <filesystem>
#include <optional>

namespace notavera {

// Companion `digit` (0..9) of the document, in the folder of its working file: the last character of the name
// replaced by the digit and, for the second series, the third-from-last by 'u'. Nothing for a name of fewer
// than three characters, which has no such companions.
std::optional<std::filesystem::path> CompanionFileName(const std::filesystem::path& document, int digit,
                                                       bool secondSeries);

// Copies each existing companion of the old name (both series, then the working file) to the same companion of
// the new name and deletes the old one. A companion that cannot be copied stays under its old name.
void MoveCompanionFiles(const std::filesystem::path& oldDocument, const std::filesystem::path& newDocument);

// Deletes both numbered series of the document.
void DeleteCompanionFiles(const std::filesystem::path& document);

}  // namespace notavera
