// The fixed settings header of a document (parts A, B and C and the reserved bytes up to the font table).
// The document keeps it as stored bytes so that every byte it does not interpret survives load → save.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "score/little_endian.h"

namespace notavera {

// The 25-byte page format (sheet, margins, stroke widths, beam slopes), inside part A at 528.
class PageFormatBlock {
public:
    static constexpr std::size_t size = 25;
    explicit PageFormatBlock(std::span<std::uint8_t, size> bytes) : b_(bytes) {}

    bool portrait() const { return b_[0] != 0; }
    std::uint8_t staffLineThickness() const { return b_[1]; }
    std::uint8_t stemThickness() const { return b_[2]; }
    std::uint8_t barLineThickness() const { return b_[3]; }
    std::uint8_t beamThickness() const { return b_[4]; }
    std::uint8_t beamGap() const { return b_[5]; }
    std::uint8_t maxBeamSlope() const { return b_[6]; }  // hundredths
    std::uint8_t minBeamSlope() const { return b_[7]; }  // hundredths
    std::uint32_t sheetWidthMm() const { return le::u32(b_, 8); }
    std::uint32_t sheetHeightMm() const { return le::u32(b_, 12); }
    std::int16_t topMargin() const { return static_cast<std::int16_t>(le::u16(b_, 16)); }
    std::int16_t leftMarginOdd() const { return static_cast<std::int16_t>(le::u16(b_, 18)); }
    std::int16_t leftMarginEven() const { return static_cast<std::int16_t>(le::u16(b_, 20)); }
    std::uint8_t thinLine() const { return b_[22]; }
    std::uint8_t mediumLine() const { return b_[23]; }
    std::uint8_t thickLine() const { return b_[24]; }

    std::span<std::uint8_t, size> bytes() const { return b_; }
    // The start-up values: A4 portrait, the default strokes and slopes.
    void setStartupValues() const;
    // A zero in bytes 6, 22, 23 or 24 of a loaded block becomes 10, 1, 5 or 8.
    void repairLoaded() const;

private:
    std::span<std::uint8_t, size> b_;
};

// The 172-byte MIDI settings (part B).
class MidiSettings {
public:
    static constexpr std::size_t size = 172;
    explicit MidiSettings(std::span<std::uint8_t, size> bytes) : b_(bytes) {}

    std::uint32_t tempo() const { return le::u32(b_, 0); }  // microseconds per quarter note
    void setTempo(std::uint32_t t) const { le::putU32(b_, 0, t); }
    std::uint8_t& minVelocity() const { return b_[4]; }
    std::uint8_t& maxVelocity() const { return b_[5]; }
    std::uint8_t& legatoMode() const { return b_[6]; }
    std::uint8_t& pedalMode() const { return b_[7]; }
    std::uint8_t& horizontalTolerance() const { return b_[8]; }
    std::uint8_t& verticalTolerance() const { return b_[9]; }
    std::uint8_t& ornamentsAsAppoggiaturas() const { return b_[10]; }
    std::uint8_t& metersAsProportions() const { return b_[11]; }
    std::uint8_t& program(int channel) const { return b_[12 + channel]; }
    std::uint8_t& volume(int channel) const { return b_[28 + channel]; }
    std::uint8_t& channelOfVoice(int voice) const { return b_[44 + voice]; }

    void setNewScoreValues() const;

private:
    std::span<std::uint8_t, size> b_;
};

class FileHeader {
public:
    static constexpr std::size_t partA = 0, partASize = 555;
    static constexpr std::size_t partB = 555, partBSize = 172;
    static constexpr std::size_t partC = 727, partCSize = 141;
    static constexpr std::size_t reserved = 868, reservedSize = 459;
    static constexpr std::size_t size = 1327;
    static constexpr std::size_t titleCapacity = 512;

    std::array<std::uint8_t, size> bytes{};

    // Part A.
    std::uint16_t majorVersion() const { return le::u16(bytes, 0); }
    std::uint16_t minorVersion() const { return le::u16(bytes, 2); }
    void setVersion(std::uint16_t major, std::uint16_t minor);
    std::string title() const;
    void setTitle(const std::string& title);  // cut to 511 bytes, NUL-terminated
    std::uint32_t endOfData() const { return le::u32(bytes, 516); }
    void setEndOfData(std::uint32_t v) { le::putU32(bytes, 516, v); }
    std::uint16_t pageCount() const { return le::u16(bytes, 520); }
    void setPageCount(std::uint16_t n) { le::putU16(bytes, 520, n); }
    std::uint8_t& currentPage() { return bytes[522]; }
    std::uint8_t& currentStaff() { return bytes[523]; }
    std::int32_t currentX() const { return static_cast<std::int32_t>(le::u32(bytes, 524)); }
    void setCurrentX(std::int32_t x) { le::putU32(bytes, 524, static_cast<std::uint32_t>(x)); }
    PageFormatBlock pageFormat() { return PageFormatBlock(std::span(bytes).subspan<528, PageFormatBlock::size>()); }
    std::uint8_t& tieStrokeWidthMinusOne() { return bytes[553]; }
    std::int8_t tieThicknessNegated() const { return static_cast<std::int8_t>(bytes[554]); }
    void setTieThicknessNegated(std::int8_t v) { bytes[554] = static_cast<std::uint8_t>(v); }

    // Part B.
    MidiSettings midi() { return MidiSettings(std::span(bytes).subspan<partB, MidiSettings::size>()); }

    // Part C.
    std::uint8_t& restTransposition() { return bytes[partC + 0]; }
    std::uint8_t& smallStaffNum() { return bytes[partC + 1]; }
    std::uint8_t& smallStaffDen() { return bytes[partC + 2]; }
    std::uint8_t& cueNum() { return bytes[partC + 3]; }
    std::uint8_t& cueDen() { return bytes[partC + 4]; }
    std::uint8_t& autoWholeBarRest() { return bytes[partC + 5]; }
    std::uint8_t& continuousPages() { return bytes[partC + 6]; }
    std::int8_t screenHeightCorrection() const { return static_cast<std::int8_t>(bytes[partC + 7]); }
    std::int8_t printerHeightCorrection() const { return static_cast<std::int8_t>(bytes[partC + 8]); }
    std::int8_t stemPositionCorrection() const { return static_cast<std::int8_t>(bytes[partC + 9]); }
    void setHeightCorrections(std::int8_t screen, std::int8_t printer, std::int8_t stem);
    std::int8_t curveThicknessNegated() const { return static_cast<std::int8_t>(bytes[partC + 10]); }
    void setCurveThicknessNegated(std::int8_t v) { bytes[partC + 10] = static_cast<std::uint8_t>(v); }
    std::uint8_t& blockFlags() { return bytes[partC + 11]; }
    std::uint8_t blockFlags() const { return bytes[partC + 11]; }
    std::int8_t voiceTransposition(int voice) const { return static_cast<std::int8_t>(bytes[partC + 12 + voice]); }
    void setVoiceTransposition(int voice, std::int8_t v) { bytes[partC + 12 + voice] = static_cast<std::uint8_t>(v); }
    std::int8_t averageBeamHeightTenths() const { return static_cast<std::int8_t>(bytes[partC + 140]); }
    void setAverageBeamHeightTenths(std::int8_t v) { bytes[partC + 140] = static_cast<std::uint8_t>(v); }
};

// Bits of FileHeader::blockFlags: which optional blocks follow the pages.
namespace block_flag {
inline constexpr std::uint8_t pagination = 1 << 0;
inline constexpr std::uint8_t pageHeader = 1 << 1;
inline constexpr std::uint8_t pageFooter = 1 << 2;
inline constexpr std::uint8_t cropMarks = 1 << 3;  // a setting, no block
inline constexpr std::uint8_t fixedMask = 1 << 4;
inline constexpr std::uint8_t variableMask = 1 << 5;
inline constexpr std::uint8_t notes = 1 << 6;
}  // namespace block_flag

}  // namespace notavera
