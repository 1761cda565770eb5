// Bit layouts of the record words: each named field reads and writes exactly its own bits.
#include <gtest/gtest.h>

#include "score/records.h"

namespace notavera {
namespace {

TEST(RecordFields, NoteWordFieldsTouchOnlyTheirBits) {
    ElementRecord e;
    e.typeWord = 0xFFFFFFFFu;
    auto n = e.noteWord();
    n.setDurationCode(5);
    n.setStep(3);
    n.setAccidental(Accidental::Flat);
    EXPECT_EQ(n.durationCode(), 5u);
    EXPECT_EQ(n.step(), 3u);
    EXPECT_EQ(n.accidental(), Accidental::Flat);
    // Everything else is still set.
    EXPECT_EQ(e.typeWord | (0xFu << 1) | (0x7u << 9) | (0xFu << 22), 0xFFFFFFFFu);
    EXPECT_EQ(e.typeWord & ~((0xFu << 1) | (0x7u << 9) | (0xFu << 22)), ~((0xFu << 1) | (0x7u << 9) | (0xFu << 22)));
}

TEST(RecordFields, SignCodeIsSignedForBrackets) {
    ElementRecord e;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(SignType::Bar);
    e.signWord().setCode(static_cast<std::uint8_t>(-1));
    EXPECT_EQ(e.signWord().signedCode(), -1);
    EXPECT_TRUE(e.isSignOfType(SignType::Bar));
}

TEST(ElementBlobs, StoredWithTheirHeadAndCountedInTheStoredSize) {
    ElementRecord e;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(SignType::Text);
    const std::uint8_t text[] = {'p', 'i', 'u', 0};
    e.attachBlob(text);
    EXPECT_TRUE(e.hasBlob());
    EXPECT_EQ(e.blob.length(), 8u);
    EXPECT_EQ(e.blob.ownerType(), 4);
    EXPECT_EQ(e.storedSize(), 17u + 4u + 8u);
    e.detachBlob();
    EXPECT_FALSE(e.hasBlob());
    EXPECT_EQ(e.storedSize(), 21u);
}

}  // namespace
}  // namespace notavera
