// The file and memory byte sinks of the MIDI file writer.
#include "midi/midi_byte_sink.h"

#include <climits>

namespace notavera {

std::unique_ptr<FileByteSink> FileByteSink::create(const std::filesystem::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return nullptr;
    return std::make_unique<FileByteSink>(Opened{}, f);
}

FileByteSink::~FileByteSink() {
    if (file_) std::fclose(file_);
}

bool FileByteSink::put(std::uint8_t byte) { return file_ && std::fputc(byte, file_) != EOF; }

std::optional<std::uint64_t> FileByteSink::position() {
    if (!file_) return std::nullopt;
    const long p = std::ftell(file_);
    if (p < 0) return std::nullopt;
    return static_cast<std::uint64_t>(p);
}

bool FileByteSink::seek(std::uint64_t position) {
    if (!file_ || position > static_cast<std::uint64_t>(LONG_MAX)) return false;
    return std::fseek(file_, static_cast<long>(position), SEEK_SET) == 0;
}

bool FileByteSink::close() {
    if (!file_) return false;
    const bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok && closed;
}

bool MemoryByteSink::put(std::uint8_t byte) {
    if (pos_ < bytes_.size())
        bytes_[pos_] = byte;
    else
        bytes_.push_back(byte);
    ++pos_;
    return true;
}

bool MemoryByteSink::seek(std::uint64_t position) {
    if (position > bytes_.size()) return false;
    pos_ = static_cast<std::size_t>(position);
    return true;
}

}  // namespace notavera
