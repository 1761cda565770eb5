// The list of "Fichiers récents": the documents opened or saved last, most recent first, each an item of the
// Fichier menu that opens it again.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace notavera {

// `path` becomes the most recent file: made absolute, moved from wherever it stood, and the oldest file beyond
// the menu's items forgotten.
void RememberRecentFile(std::vector<std::string>& recent, const std::filesystem::path& path);

// The menu text of the item at `index` (from 0): its access key, then the path with its '&' doubled, so that
// they show rather than mark a key.
std::string RecentFileLabel(std::size_t index, const std::string& path);

}  // namespace notavera
