// Test support: varied pages, hand-laid document files, temporary folders.
#include "support/mus_file_builder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "score/mus_file.h"
#include "score/score_document.h"

namespace notavera::test {

namespace {

ElementRecord makeNote(int i, std::int32_t x) {
    ElementRecord e;
    e.x = x;
    e.shift = static_cast<std::int8_t>(i % 3 - 1);
    e.w0().setOctave(4);
    e.w0().setInBeam(i % 2 == 0);
    e.word0 |= 1u << 23;  // a flag this code does not interpret
    e.w1().setNumerator(1);
    e.w1().setDenominator(1);
    auto n = e.noteWord();
    n.setRest(i % 5 == 4);
    n.setDurationCode(static_cast<unsigned>(4 + i % 3));
    n.setStep(static_cast<unsigned>(1 + i % 7));
    n.setAccidental(static_cast<Accidental>(i % 4));
    n.setBit(20, true);
    return e;
}

ElementRecord makeSign(SignType type, std::int32_t x, std::int32_t param) {
    ElementRecord e;
    e.x = x;
    e.param = param;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(type);
    e.signWord().setHigh7(0x55);
    return e;
}

}  // namespace

PageRecord MakePage(int number, int staves, int elements) {
    PageRecord p;
    p.number = static_cast<std::uint32_t>(number);
    p.layoutWord().setStaffSize(20);
    p.layout |= 0xA5u << 24;  // high byte, kept as read
    p.indent = 120;
    p.extra = 0xFF000007;
    p.lineLength = 1800;
    for (int s = 0; s < staves; ++s) {
        StaffRecord staff;
        staff.voice().setVoice(static_cast<unsigned>(s + 1));
        staff.key().setIndex(static_cast<unsigned>(s));
        staff.key().setDistance(8);
        staff.lines().setLineCount(5);
        staff.lines().setValue9(0x1FF);
        staff.lineWord |= 0xABCD0000u;
        for (int i = 0; i < elements; ++i) {
            const std::int32_t x = 60 + 40 * i;
            if (i == 0) {
                auto clef = makeSign(SignType::Clef, x, 2);
                clef.signWord().setCode(1);
                staff.elements.push_back(clef);
            } else if (i == 1) {
                auto text = makeSign(SignType::Text, x, -15);
                const std::string words = "p. " + std::to_string(number) + " ligne " + std::to_string(s + 1);
                text.attachBlob(std::span(reinterpret_cast<const std::uint8_t*>(words.data()), words.size()));
                staff.elements.push_back(text);
            } else {
                staff.elements.push_back(makeNote(i, x));
            }
        }
        p.staves.push_back(std::move(staff));
    }
    p.layoutWord().setStaffCount(static_cast<unsigned>(staves));
    return p;
}

MusFileBuilder::MusFileBuilder() {
    header = ScoreDocument().header;
    header.setTitle("essai.mus");
    header.currentPage() = 0;
    std::fill(header.bytes.begin() + FileHeader::reserved, header.bytes.end(), 0);
}

MusFileBuilder& MusFileBuilder::addPage(const PageRecord& page) {
    pages.push_back(EncodePage(page));
    return *this;
}

std::vector<std::uint8_t> MusFileBuilder::build() const {
    std::vector<std::uint8_t> bytes(firstPageOffset, 0);
    FileHeader h = header;
    std::uint32_t at = firstPageOffset;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        PutU32(bytes, pageTableEntryAt(static_cast<int>(i + 1)), static_cast<std::uint32_t>(pages[i].size()));
        PutU32(bytes, pageTableEntryAt(static_cast<int>(i + 1)) + 4, at);
        bytes.insert(bytes.end(), pages[i].begin(), pages[i].end());
        at += static_cast<std::uint32_t>(pages[i].size());
    }
    h.setEndOfData(at);
    h.setPageCount(static_cast<std::uint16_t>(pages.size()));
    std::copy(h.bytes.begin(), h.bytes.end(), bytes.begin());
    std::copy(fonts.bytes.begin(), fonts.bytes.end(), bytes.begin() + fontBlockOffset);
    bytes.insert(bytes.end(), std::begin(pageSeparator), std::end(pageSeparator));
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    return bytes;
}

void PutU16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t v) {
    bytes.at(at) = static_cast<std::uint8_t>(v);
    bytes.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) bytes.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(bytes.at(at + i)) << (8 * i);
    return v;
}

}  // namespace notavera::test
