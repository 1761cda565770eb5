// The recent files list kept as plain paths, so that the settings store and the menu read it without
// conversions.
#include "shell/recent_files.h"

#include <algorithm>

#include "shell/command_ids.h"

namespace notavera {

void RememberRecentFile(std::vector<std::string>& recent, const std::filesystem::path& path) {
    if (path.empty()) return;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    const std::string entry = (error ? path : absolute).lexically_normal().string();
    std::erase(recent, entry);
    recent.insert(recent.begin(), entry);
    if (recent.size() > static_cast<std::size_t>(cmd::RecentFileCount)) recent.resize(cmd::RecentFileCount);
}

std::string RecentFileLabel(std::size_t index, const std::string& path) {
    std::string label = "&" + std::to_string(index + 1) + " ";
    for (const char c : path) {
        if (c == '&') label += '&';
        label += c;
    }
    return label;
}

}  // namespace notavera
