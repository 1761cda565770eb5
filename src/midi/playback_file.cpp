// The private directory of the playback file.
#include "midi/playback_file.h"

#include <stdlib.h>

#include <string>
#include <system_error>

namespace notavera {

namespace {

// Owns the directory for the life of the process.
class PrivateDirectory {
public:
    PrivateDirectory() {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        if (ec) return;
        std::string pattern = (base / "notavera-XXXXXX").string();
        // mkdtemp makes the directory with mode 0700 under a name nobody could have prepared.
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;
    ~PrivateDirectory() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace

std::filesystem::path PlaybackFilePath() {
    static const PrivateDirectory directory;
    if (directory.path().empty()) return {};
    return directory.path() / playbackFileName;
}

}  // namespace notavera
