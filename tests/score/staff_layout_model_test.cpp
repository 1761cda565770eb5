// Applying the staff layout model to a page: which fields it sets, which it keeps, and when it is refused.
#include <gtest/gtest.h>

#include "score/records.h"
#include "score/staff_layout_model.h"

namespace notavera {
namespace {

using namespace staff_model;

std::uint32_t staffWord(unsigned distance, unsigned system, unsigned lines) {
    std::uint32_t w = 0;
    Distance::set(w, distance);
    SystemGrouping::set(w, system);
    LineCount::set(w, lines);
    return w;
}

StaffLayoutModel modelWith(std::initializer_list<std::uint32_t> staves) {
    StaffLayoutModel m = StaffLayoutModel::makeDefault();
    m.setStaffCount(static_cast<unsigned>(staves.size()));
    int i = 0;
    for (std::uint32_t w : staves) m.staffWord(i++) = w;
    return m;
}

TEST(ApplyStaffLayoutModel, KeepsWhatTheModelDoesNotOwnAndRefusesToDropStavesThatHoldElements) {
    PageRecord page;
    page.layout = 0;
    page.layoutWord().setWithoutFixedMask(true);
    page.extra = 77;
    page.staves.resize(2);
    StaffRecord& s = page.staves[0];
    s.voice().setVoice(9);
    s.voice().setHighByte(0xAB);
    s.key().setKeyKind(KeyKind::Flats);
    s.key().setKeyCount(3);
    s.key().setOldNotation(true);
    s.lines().setValue9(300);
    s.elements.emplace_back();
    const StaffLayoutModel three = modelWith({staffWord(10, 3, 5), staffWord(12, 3, 5), staffWord(12, 3, 5)});
    ASSERT_TRUE(ApplyStaffLayoutModel(three, page));
    const StaffRecord& kept = page.staves[0];
    EXPECT_EQ(std::pair(kept.voice().voice(), kept.voice().highByte()), std::pair(9u, 0xABu));
    EXPECT_EQ(std::pair(kept.key().keyKind(), kept.key().keyCount()), std::pair(KeyKind::Flats, 3u));
    EXPECT_TRUE(kept.key().oldNotation() && page.layoutWord().withoutFixedMask());
    EXPECT_EQ(kept.lines().value9(), 300u);
    EXPECT_EQ(page.extra, 77u);
    ASSERT_EQ(page.staves.size(), 3u);
    EXPECT_EQ(page.staves[2].voice().voice(), 1u);  // the staff the model adds plays its place in its system
    page.staves[2].elements.emplace_back();
    const PageRecord before = page;
    StaffLayoutModel smaller = modelWith({staffWord(4, 3, 1), staffWord(4, 3, 1)});
    smaller.setDefinition(30);
    EXPECT_FALSE(ApplyStaffLayoutModel(smaller, page));
    EXPECT_EQ(page.layout, before.layout);
    ASSERT_EQ(page.staves.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(page.staves[i].keyWord, before.staves[i].keyWord);
    page.staves[2].elements.clear();  // once the extra staff is empty the smaller model is taken
    EXPECT_TRUE(ApplyStaffLayoutModel(smaller, page));
    EXPECT_EQ(page.staves.size(), 2u);
    EXPECT_EQ(page.layoutWord().staffSize(), 30u);
}

TEST(ApplyStaffLayoutModel, StavesLearnTheirPlaceInTheirSystem) {
    // A system of three, a single staff, a staff outside any system, then a system left open at the end.
    PageRecord page;
    ASSERT_TRUE(ApplyStaffLayoutModel(modelWith({staffWord(10, 1, 5), staffWord(8, 0, 5), staffWord(8, 2, 5),
                                                 staffWord(12, 3, 5), staffWord(12, 0, 5), staffWord(12, 1, 5),
                                                 staffWord(8, 0, 5)}),
                                      page));
    const std::vector<std::pair<unsigned, unsigned>> expected = {{1, 3}, {2, 3}, {3, 3}, {1, 1},
                                                                  {1, 1}, {1, 2}, {2, 2}};
    ASSERT_EQ(page.staves.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(page.staves[i].voice().positionInGroup(), expected[i].first) << "staff " << i;
        EXPECT_EQ(page.staves[i].voice().groupSize(), expected[i].second) << "staff " << i;
    }
}

}  // namespace
}  // namespace notavera
