// Values and repairs of the document settings header.
#include "score/file_header.h"

#include <algorithm>
#include <cstring>

namespace notavera {

void PageFormatBlock::setStartupValues() const {
    std::fill(b_.begin(), b_.end(), 0);
    b_[0] = 1;   // portrait
    b_[1] = 1;   // staff lines
    b_[2] = 2;   // stems
    b_[3] = 3;   // bar lines
    b_[4] = 10;  // beam thickness
    b_[5] = 5;   // gap between beams
    b_[6] = 15;  // maximum beam slope, hundredths: a group of four sixteenths rises about a staff space
    b_[7] = 10;  // minimum beam slope
    le::putU32(b_, 8, 210);
    le::putU32(b_, 12, 297);
    le::putU16(b_, 16, 0);
    le::putU16(b_, 18, 9);
    le::putU16(b_, 20, 9);
    b_[22] = 1;
    b_[23] = 5;
    b_[24] = 9;
}

void PageFormatBlock::repairLoaded() const {
    if (b_[6] == 0) b_[6] = 10;
    if (b_[22] == 0) b_[22] = 1;
    if (b_[23] == 0) b_[23] = 5;
    if (b_[24] == 0) b_[24] = 8;
}

void MidiSettings::setNewScoreValues() const {
    std::fill(b_.begin(), b_.end(), 0);
    setTempo(500000);
    minVelocity() = 50;
    maxVelocity() = 110;
    legatoMode() = 1;
    pedalMode() = 1;
    horizontalTolerance() = 20;
    verticalTolerance() = 13;
    static constexpr std::uint8_t programs[16] = {20, 46, 19, 40, 56, 60, 71, 72, 73, 8, 74, 9, 12, 13, 0, 46};
    for (int c = 0; c < 16; ++c) {
        program(c) = programs[c];
        volume(c) = 64;
    }
    for (int v = 0; v < 32; ++v) channelOfVoice(v) = 14;
}

void FileHeader::setVersion(std::uint16_t major, std::uint16_t minor) {
    le::putU16(bytes, 0, major);
    le::putU16(bytes, 2, minor);
}

std::string FileHeader::title() const {
    const auto* begin = reinterpret_cast<const char*>(bytes.data() + 4);
    return std::string(begin, strnlen(begin, titleCapacity));
}

void FileHeader::setTitle(const std::string& title) {
    const std::size_t n = std::min(title.size(), titleCapacity - 1);
    std::fill_n(bytes.begin() + 4, titleCapacity, 0);
    std::copy_n(title.begin(), n, bytes.begin() + 4);
}

void FileHeader::setHeightCorrections(std::int8_t screen, std::int8_t printer, std::int8_t stem) {
    bytes[partC + 7] = static_cast<std::uint8_t>(screen);
    bytes[partC + 8] = static_cast<std::uint8_t>(printer);
    bytes[partC + 9] = static_cast<std::uint8_t>(stem);
}

}  // namespace notavera
