// The work folder of a document, and the checks that keep a private one private.
#include "score/work_folder.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace notavera {

namespace {

std::filesystem::path PrivateBase() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && runtime[0] == '/')
        return std::filesystem::path(runtime) / "notavera";
    const char* tmp = std::getenv("TMPDIR");
    const std::filesystem::path base = (tmp && tmp[0] == '/') ? tmp : "/tmp";
    return base / ("notavera-" + std::to_string(getuid()));
}

// A stable name for a folder (FNV-1a, 64 bits): documents of the same name in different folders
// must not share a working file.
std::string FolderKey(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::weakly_canonical(std::filesystem::absolute(folder, ec), ec);
    if (ec) full = folder;
    std::uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : full.string()) hash = (hash ^ c) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

bool MakePrivateFolder(const std::filesystem::path& folder) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st {};
    return lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() && (st.st_mode & 077) == 0;
}

bool IsPrivate(const std::filesystem::path& folder) { return folder.parent_path() == PrivateBase(); }

}  // namespace

std::filesystem::path WorkFolder(const std::filesystem::path& document) {
    const std::filesystem::path folder = document.parent_path();
    if (access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0) return folder;
    return PrivateBase() / FolderKey(folder.empty() ? "." : folder);
}

bool MakeWorkFolder(const std::filesystem::path& folder) {
    if (!IsPrivate(folder)) return true;
    return MakePrivateFolder(folder.parent_path()) && MakePrivateFolder(folder);
}

void RemoveWorkFolderIfEmpty(const std::filesystem::path& folder) {
    if (!IsPrivate(folder)) return;
    std::error_code ec;
    std::filesystem::remove(folder, ec);  // refused while something is left in it
}

bool WritableByUser(const std::filesystem::path& path) {
    const char* name = path.empty() ? "." : path.c_str();
    struct stat st {};
    if (access(name, W_OK) != 0 || stat(name, &st) != 0) return false;
    return st.st_uid != geteuid() || (st.st_mode & S_IWUSR) != 0;
}

std::filesystem::path UntitledFolder() {
    std::filesystem::path state;
    if (const char* home = std::getenv("XDG_STATE_HOME"); home && home[0] == '/')
        state = home;
    else if (const char* user = std::getenv("HOME"); user && user[0] == '/')
        state = std::filesystem::path(user) / ".local" / "state";
    else
        return {};
    std::error_code ec;
    std::filesystem::create_directories(state, ec);
    const std::filesystem::path folder = state / "notavera";
    return MakePrivateFolder(folder) ? folder : std::filesystem::path();
}

}  // namespace notavera
