// Where the MIDI file writer puts its bytes: a file on disk, or memory for callers that want the bytes.
// A sink takes one byte at a time and can go back to patch a chunk length.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace notavera {

class MidiByteSink {
public:
    virtual ~MidiByteSink() = default;
    // Writes one byte at the current position; false when the byte was refused.
    virtual bool put(std::uint8_t byte) = 0;
    // The current position, nothing when it cannot be known.
    virtual std::optional<std::uint64_t> position() = 0;
    // Moves to a position already written; false on failure.
    virtual bool seek(std::uint64_t position) = 0;
};

// A file created (or emptied) for byte-exact writing.
class FileByteSink : public MidiByteSink {
public:
    // Nothing when the file cannot be created.
    static std::unique_ptr<FileByteSink> create(const std::filesystem::path& path);

private:
    struct Opened {
        explicit Opened() = default;
    };

public:
    // Takes ownership of a file that create() opened.
    FileByteSink(Opened, std::FILE* file) : file_(file) {}
    FileByteSink(const FileByteSink&) = delete;
    FileByteSink& operator=(const FileByteSink&) = delete;
    ~FileByteSink() override;

    bool put(std::uint8_t byte) override;
    std::optional<std::uint64_t> position() override;
    bool seek(std::uint64_t position) override;
    // Flushes and closes the file; false when the data could not all reach the disk.
    bool close();

private:
    std::FILE* file_;
};

// Bytes kept in memory, overwritten in place after a seek.
class MemoryByteSink : public MidiByteSink {
public:
    bool put(std::uint8_t byte) override;
    std::optional<std::uint64_t> position() override { return pos_; }
    bool seek(std::uint64_t position) override;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

}  // namespace notavera
