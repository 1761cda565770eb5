// Writing the RIFF/WAVE container of rendered audio, little-endian whatever the machine.
#include "platform/audio/wav_file_writer.h"

#include <vector>

namespace notavera {

namespace {

void putU32(std::vector<char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void putU16(std::vector<char>& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void putTag(std::vector<char>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

WavFileWriter::WavFileWriter(const std::filesystem::path& path, std::uint32_t sampleRate)
    : out_(path, std::ios::binary | std::ios::trunc), sampleRate_(sampleRate) {
    if (out_) writeHeader();
}

void WavFileWriter::writeHeader() {
    const auto data = static_cast<std::uint32_t>(dataBytes_);
    std::vector<char> h;
    putTag(h, "RIFF");
    putU32(h, 36 + data);
    putTag(h, "WAVE");
    putTag(h, "fmt ");
    putU32(h, 16);
    putU16(h, 1);  // PCM
    putU16(h, channels);
    putU32(h, sampleRate_);
    putU32(h, sampleRate_ * bytesPerFrame);
    putU16(h, bytesPerFrame);
    putU16(h, 16);
    putTag(h, "data");
    putU32(h, data);
    out_.write(h.data(), static_cast<std::streamsize>(h.size()));
}

bool WavFileWriter::write(std::span<const std::int16_t> samples) {
    const std::uint64_t bytes = samples.size() * 2;
    if (!out_ || dataBytes_ + bytes > maxDataBytes) return false;
    std::vector<char> block;
    block.reserve(bytes);
    for (const std::int16_t s : samples) putU16(block, static_cast<std::uint16_t>(s));
    out_.write(block.data(), static_cast<std::streamsize>(block.size()));
    dataBytes_ += bytes;
    return out_.good();
}

bool WavFileWriter::finish() {
    if (!out_) return false;
    out_.seekp(0);
    writeHeader();
    out_.close();
    return !out_.fail();
}

}  // namespace notavera
