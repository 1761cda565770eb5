// A scratch folder for one test, removed with everything in it, and small whole-file helpers.
#pragma once

#include <filesystem>
#include <string>

namespace notavera::testing {

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

void WriteText(const std::filesystem::path& file, const std::string& bytes);
// The whole content; empty when the file cannot be read.
std::string ReadText(const std::filesystem::path& file);

}  // namespace notavera::testing
