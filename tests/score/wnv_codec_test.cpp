// The interchange form: what survives a round trip bit for bit, what it cuts on purpose, and how damaged files
// are refused.
#include <gtest/gtest.h>

#include "score/mus_file.h"
#include "score/wnv_codec.h"
#include "support/mus_file_builder.h"

namespace notavera {
namespace {

InterchangeScore SampleScore() {
    InterchangeScore s;
    s.header.setVersion(2, 2);
    s.header.setTitle("opus.wnv");
    s.header.currentPage() = 2;
    s.header.currentStaff() = 3;
    s.header.setCurrentX(-77);
    s.header.pageFormat().setStartupValues();
    s.header.midi().setTempo(500000);
    s.header.midi().channelOfVoice(127) = 9;
    s.header.setVoiceTransposition(5, -12);
    s.header.setAverageBeamHeightTenths(-3);
    s.header.bytes[554] = 0xFE;
    s.fonts = FontBlock::makeDefault();
    s.fonts.setEntry(31, "Dernière", 7);
    for (int n = 1; n <= 2; ++n) s.pages.push_back(test::MakePage(n, 4, 7));
    s.pages[1].staves[2].elements[3].w1().setNumerator(99);
    s.pages[1].staves[0].elements[2].shift = -128;
    s.blocks.pagination.emplace();
    s.blocks.pagination->fill(3);
    le::putU32(*s.blocks.pagination, 0, static_cast<std::uint32_t>(-4));
    s.blocks.pageFooter.emplace();
    s.blocks.pageFooter->fill(0);
    s.blocks.pageFooter->at(200) = 1;
    s.blocks.pageFooter->at(205) = 9;
    s.blocks.fixedMask = std::make_unique<PageRecord>(test::MakePage(0, 2, 3));
    s.blocks.notes = "Notes é\n2";
    s.header.setPageCount(2);
    s.header.blockFlags() = block_flag::pagination | block_flag::pageFooter | block_flag::cropMarks |
                            block_flag::fixedMask | block_flag::notes;
    return s;
}

std::vector<std::uint8_t> Encode(const InterchangeScore& s) {
    std::vector<std::uint8_t> out;
    AppendInterchangeHead(s.header, s.fonts, out);
    for (const PageRecord& p : s.pages) AppendInterchangePage(p, out);
    AppendInterchangeTail(s.blocks, s.header.blockFlags(), out);
    return out;
}

// The bits the interchange has no field for: the high byte of the page layout, the high bits of the 24-bit
// page fields and of the staff's line word.
PageRecord WithoutUncarriedBits(PageRecord p) {
    p.layout &= 0xFFFFFF;
    p.indent &= 0xFFFFFF;
    p.extra &= 0xFFFFFF;
    p.lineLength &= 0xFFFFFF;
    for (StaffRecord& s : p.staves) s.lineWord &= 0xFFFF;
    return p;
}

TEST(WnvCodec, CarriesEveryFieldOfHeaderFontsPagesAndBlocks) {
    const InterchangeScore original = SampleScore();
    const DecodedInterchange d = DecodeInterchange(Encode(original));
    ASSERT_EQ(d.fault, InterchangeFault::None);
    EXPECT_EQ(d.score.header.bytes, original.header.bytes);
    EXPECT_EQ(d.score.fonts.bytes, original.fonts.bytes);
    ASSERT_EQ(d.score.pages.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        EXPECT_EQ(EncodePage(d.score.pages[i]), EncodePage(WithoutUncarriedBits(original.pages[i]))) << i;
    const OptionalBlocks& b = d.score.blocks;
    EXPECT_EQ(b.pagination, original.blocks.pagination) << "a negative first page number comes back";
    EXPECT_EQ(b.pageFooter, original.blocks.pageFooter);
    EXPECT_FALSE(b.pageHeader);
    ASSERT_TRUE(b.fixedMask);
    EXPECT_EQ(EncodePage(*b.fixedMask), EncodePage(WithoutUncarriedBits(*original.blocks.fixedMask)));
    EXPECT_EQ(b.notes, original.blocks.notes);
}

TEST(WnvCodec, HeaderAndFooterTextsComeBackCutTo100Characters) {
    InterchangeScore s = SampleScore();
    const std::string text(120, 'h');
    for (auto* block : {&s.blocks.pageHeader, &s.blocks.pageFooter}) {
        block->emplace();
        block->value().fill(0);
        std::copy(text.begin(), text.end(), block->value().begin());
        block->value()[201] = 2;
    }
    s.header.blockFlags() |= block_flag::pageHeader;
    const DecodedInterchange d = DecodeInterchange(Encode(s));
    ASSERT_EQ(d.fault, InterchangeFault::None);
    for (const auto& block : {d.score.blocks.pageHeader, d.score.blocks.pageFooter}) {
        ASSERT_TRUE(block);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(block->data())), text.substr(0, 100));
        EXPECT_EQ(block->at(201), 2);
    }
}

// Offsets into the encoded sample: the header is 882 bytes, the fonts 1056, the first page's record 22 bytes
// after its separator, a staff head 31 bytes.
constexpr std::size_t pagesAt = 882 + 1056;

struct Damage {
    const char* name;
    std::size_t at;  // where to cut or change the file
    int value;       // the byte written there; −1 cuts the file at `at`
    InterchangeFault fault;
};

class WnvDamage : public ::testing::TestWithParam<Damage> {};

TEST_P(WnvDamage, IsRefusedWhereItStands) {
    std::vector<std::uint8_t> bytes = Encode(SampleScore());
    const Damage& d = GetParam();
    if (d.value < 0)
        bytes.resize(d.at);
    else
        bytes.at(d.at) = static_cast<std::uint8_t>(d.value);
    EXPECT_EQ(DecodeInterchange(bytes).fault, d.fault);
}

const std::size_t fileSize = Encode(SampleScore()).size();

INSTANTIATE_TEST_SUITE_P(
    Cases, WnvDamage,
    ::testing::Values(Damage{"NoSignature", 5, -1, InterchangeFault::Head},
                      Damage{"MajorVersion1", 9, 1, InterchangeFault::Head},
                      Damage{"CutInPartC", 870, -1, InterchangeFault::Head},
                      Damage{"TooManyPages", 9 + 4 + 512 + 4 + 1, 1, InterchangeFault::Head},
                      Damage{"CutInFonts", pagesAt - 1, -1, InterchangeFault::Head},
                      Damage{"BadSeparator", pagesAt + 2, 0, InterchangeFault::Page},
                      Damage{"StaffCount128", pagesAt + 7 + 4, 128, InterchangeFault::Page},
                      Damage{"CutInAStaff", pagesAt + 7 + 22 + 40, -1, InterchangeFault::Page},
                      Damage{"CutInTheNotes", fileSize - 1, -1, InterchangeFault::Page}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace notavera
