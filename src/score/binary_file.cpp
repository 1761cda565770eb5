// Positioned binary file access over stdio.
#include "score/binary_file.h"

#include <cerrno>
#include <unistd.h>

namespace notavera {

std::unique_ptr<BinaryFile> BinaryFile::open(const std::filesystem::path& path, const char* mode, int* errnoOut) {
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (errnoOut) *errnoOut = f ? 0 : errno;
    if (!f) return nullptr;
    return std::unique_ptr<BinaryFile>(new BinaryFile(f, path));
}

BinaryFile::~BinaryFile() { std::fclose(f_); }

bool BinaryFile::seek(std::uint64_t offset) { return fseeko(f_, static_cast<off_t>(offset), SEEK_SET) == 0; }

std::uint64_t BinaryFile::tell() {
    const off_t at = ftello(f_);
    return at < 0 ? 0 : static_cast<std::uint64_t>(at);
}

std::uint64_t BinaryFile::size() {
    const off_t here = ftello(f_);
    if (fseeko(f_, 0, SEEK_END) != 0) return 0;
    const off_t end = ftello(f_);
    fseeko(f_, here, SEEK_SET);
    return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

bool BinaryFile::read(std::span<std::uint8_t> out) {
    return out.empty() || std::fread(out.data(), 1, out.size(), f_) == out.size();
}

bool BinaryFile::write(std::span<const std::uint8_t> bytes) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f_) == bytes.size();
}

bool BinaryFile::flush() { return std::fflush(f_) == 0 && fsync(fileno(f_)) == 0; }

bool BinaryFile::flushBuffers() { return std::fflush(f_) == 0; }

}  // namespace notavera
