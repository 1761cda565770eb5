// Scratch folders under the system's temporary directory.
#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace notavera::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "notavera-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
}

TempDir::~TempDir() {
    if (path_.empty()) return;
    std::error_code ec;
    // Tests may leave folders read-only; open them again so that everything can go.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec)) std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                                               std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

void WriteText(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace notavera::testing
