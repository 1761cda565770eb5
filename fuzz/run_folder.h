// The fuzz targets that read files from disk share one private folder per run, and write each input into it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace notavera::fuzz {

// A private folder for the run, removed when the fuzzer exits.
inline const std::filesystem::path& RunFolder() {
    struct Folder {
        Folder() {
            std::string pattern = (std::filesystem::temp_directory_path() / "notavera-fuzz-XXXXXX").string();
            if (!mkdtemp(pattern.data())) std::abort();
            path = pattern;
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
        std::filesystem::path path;
    };
    static const Folder run;
    return run.path;
}

// The input as the file `name` of the run's folder.
inline std::filesystem::path WriteInput(const char* name, const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path path = RunFolder() / name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
    return path;
}

}  // namespace notavera::fuzz
