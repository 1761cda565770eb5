// Stored page records: exact round trips, and bounded decoding of damaged pages.
#include <gtest/gtest.h>

#include "score/mus_file.h"
#include "score/mus_page_codec.h"
#include "support/mus_file_builder.h"

namespace notavera {
namespace {

using test::MakePage;
using test::PutU32;

TEST(PageCodec, DecodesToTheSameRecordsAndEncodesToTheSameBytes) {
    for (const auto& [staves, elements] : {std::pair{0, 0}, {1, 0}, {1, 1}, {3, 12}, {127, 2}}) {
        SCOPED_TRACE(std::to_string(staves) + " staves of " + std::to_string(elements));
        const PageRecord page = MakePage(7, staves, elements);
        const std::vector<std::uint8_t> bytes = EncodePage(page);
        ASSERT_EQ(bytes.size(), page.storedLength());
        auto decoded = DecodePage(bytes, 7);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->cutStaff, 0);
        EXPECT_EQ(decoded->used, bytes.size());
        ASSERT_EQ(decoded->page.staves.size(), page.staves.size());
        for (std::size_t s = 0; s < page.staves.size(); ++s) {
            EXPECT_EQ(decoded->page.staves[s].elements, page.staves[s].elements);
            EXPECT_EQ(decoded->page.staves[s].lineWord, page.staves[s].lineWord);
        }
        EXPECT_EQ(decoded->page.layout, page.layout);
        EXPECT_EQ(decoded->page.extra, page.extra);
        EXPECT_EQ(EncodePage(decoded->page), bytes);
    }
}

TEST(PageCodec, CountsComeFromTheListsAndABlobFlagWithoutBlobIsNotStored) {
    PageRecord page = MakePage(2, 2, 3);
    page.layoutWord().setStaffCount(9);  // stale count in memory
    page.staves[0].elements.pop_back();
    ElementRecord& e = page.staves[1].elements.emplace_back();
    e.w0().setKind(ElementKind::Sign);
    e.w0().setHasBlob(true);
    const auto bytes = EncodePage(page);
    EXPECT_TRUE(std::equal(std::begin(pageSeparator), std::end(pageSeparator), bytes.begin()));
    EXPECT_EQ(test::GetU32(bytes, 11) & 0x3FF, 2u);
    EXPECT_EQ(test::GetU32(bytes, 27), 2u);  // first staff's element count
    auto decoded = DecodePage(bytes, 2);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->cutStaff, 0);
    EXPECT_FALSE(decoded->page.staves[1].elements.back().hasBlob());
}

TEST(PageCodec, RefusesAnotherNumberTooManyStavesAndAShortHead) {
    const auto bytes = EncodePage(MakePage(3, 1, 1));
    EXPECT_FALSE(DecodePage(bytes, 4));
    EXPECT_FALSE(DecodePage(std::span(bytes).first(26), 3));
    auto wide = bytes;
    PutU32(wide, 11, 128);
    EXPECT_FALSE(DecodePage(wide, 3));
}

}  // namespace
}  // namespace notavera
