// Whole-file helpers and temporary folders for tests.
#include "support/test_files.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace notavera::test {

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "notavera-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

// Untitled scores keep their working files in the user's state folder: each test program, and the editors it
// starts, get one of their own, so that no test meets the leftovers of another or of the user.
static const struct PrivateStateFolder {
    TempDir folder;
    PrivateStateFolder() { setenv("XDG_STATE_HOME", folder.path().c_str(), 1); }
} privateState;

std::string CommandOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        while (const std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) text.append(buffer.data(), n);
        pclose(pipe);
    }
    return text;
}

std::string ThreePagePiece() {
    std::string upper = "[ \\title<\"Piece\"> \\meter<\"4/4\"> ", lower = "[ \\clef<\"f\"> \\meter<\"4/4\"> ";
    for (int bar = 0; bar < 40; ++bar) {
        upper += "c1/8 d e f g a h c2 ";
        lower += "c0/4 e g c1 ";
    }
    return "{" + upper + "], " + lower + "]}";
}

}  // namespace notavera::test
