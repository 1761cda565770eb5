// A binary file opened with an fopen mode: positioned reads and writes that report short transfers.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>

namespace notavera {

class BinaryFile {
public:
    // Empty when the file cannot be opened; errnoOut (if given) receives the reason.
    static std::unique_ptr<BinaryFile> open(const std::filesystem::path& path, const char* mode, int* errnoOut = nullptr);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    bool seek(std::uint64_t offset);
    std::uint64_t tell();
    std::uint64_t size();
    // True only when every byte was transferred.
    bool read(std::span<std::uint8_t> out);
    bool write(std::span<const std::uint8_t> bytes);
    bool flush();  // flushes the stream and asks the system to put the data on disk
    bool flushBuffers();  // hands the buffered bytes to the system, without waiting for the disk
    const std::filesystem::path& path() const { return path_; }

private:
    BinaryFile(std::FILE* f, std::filesystem::path path) : f_(f), path_(std::move(path)) {}
    std::FILE* f_;
    std::filesystem::path path_;
};

}  // namespace notavera
