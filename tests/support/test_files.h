// Test support: whole files as bytes, and a private temporary folder per test.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace notavera::test {

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteText(const std::filesystem::path& path, const std::string& text);
// The whole content; empty when the file cannot be read.
std::string ReadText(const std::filesystem::path& path);

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// What a shell command prints on its standard output; empty when it cannot run.
std::string CommandOutput(const std::string& command);

// A two-staff GUIDO piece of forty bars, which the import lays out on three pages: a score of several pages that
// needs no corpus.
std::string ThreePagePiece();

}  // namespace notavera::test
