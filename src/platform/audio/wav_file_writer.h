// A 16-bit PCM stereo WAV file written block by block; the sizes in its header are filled in when it is
// finished.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>

namespace notavera {

class WavFileWriter {
public:
    // Creates the file and writes a header for an empty recording; check ok().
    WavFileWriter(const std::filesystem::path& path, std::uint32_t sampleRate);

    bool ok() const { return out_.good(); }
    // Interleaved left/right samples.
    bool write(std::span<const std::int16_t> samples);
    std::uint64_t frames() const { return dataBytes_ / bytesPerFrame; }
    // Patches the header sizes and closes the file; false when anything failed to reach the disk.
    bool finish();

    static constexpr std::uint32_t channels = 2;
    static constexpr std::uint32_t bytesPerFrame = channels * 2;
    // The header's sizes are 32-bit: a recording stays below this many data bytes.
    static constexpr std::uint64_t maxDataBytes = 0xFFFFFFFFull - 36;

private:
    void writeHeader();

    std::ofstream out_;
    std::uint32_t sampleRate_;
    std::uint64_t dataBytes_ = 0;
};

}  // namespace notavera
