// The bytes of the MIDI file writer: header, chunk lengths, variable-length numbers, events and refusals.
#include "midi/smf_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace notavera {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes slice(const Bytes& b, std::size_t from, std::size_t n) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n));
}

// The bytes of one voice track written by `hook`, without the chunk head.
Bytes trackBody(const std::function<void(SmfWriter&)>& events) {
    MemoryByteSink sink;
    EXPECT_EQ(WriteMidiFile(sink, 1, 2, 256, nullptr, [&](SmfWriter& w, int) { events(w); }), 1);
    const Bytes& b = sink.bytes();
    // Header 14, empty conductor 8 + 4, then the voice track's head.
    return slice(b, 14 + 12 + 8, b.size() - (14 + 12 + 8));
}

TEST(SmfWriter, HeaderChunkThenTracksWhoseLengthsArePatched) {
    MemoryByteSink sink;
    ASSERT_EQ(WriteMidiFile(sink, 1, 2, 256, nullptr, [](SmfWriter&, int) {}), 1);
    const Bytes empty = {'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(slice(sink.bytes(), 0, 14), (Bytes{0x4D, 0x54, 0x68, 0x64, 0, 0, 0, 6, 0, 1, 0, 2, 0x01, 0x00}));
    EXPECT_EQ(slice(sink.bytes(), 14, 12), empty);  // the conductor track, even without its hook
    EXPECT_EQ(sink.bytes().size(), 38u);
    MemoryByteSink three;
    std::vector<int> seen;
    ASSERT_EQ(WriteMidiFile(
                  three, 1, 3, 256, [](SmfWriter& w) { w.tempo(600000); },
                  [&](SmfWriter& w, int track) {
                      seen.push_back(track);
                      for (int i = 0; i < track; ++i) w.noteOn(0, 0, 60, 64);
                  }),
              1);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    const Bytes& b = three.bytes();
    EXPECT_EQ(slice(b, 14, 19), (Bytes{'M', 'T', 'r', 'k', 0, 0, 0, 11, 0, 0xFF, 0x51, 3, 0x09, 0x27, 0xC0, 0, 0xFF,
                                       0x2F, 0}));
    EXPECT_EQ(slice(b, 33, 8), (Bytes{'M', 'T', 'r', 'k', 0, 0, 0, 8}));
    EXPECT_EQ(slice(b, 49, 8), (Bytes{'M', 'T', 'r', 'k', 0, 0, 0, 12}));
    EXPECT_EQ(b.size(), 49u + 8 + 12);
}

TEST(SmfWriter, VariableLengthNumbersTakeSevenBitsPerByteHighGroupFirst) {
    const std::pair<std::uint32_t, Bytes> cases[] = {
        {0, {0x00}},           {127, {0x7F}},  {128, {0x81, 0x00}}, {512, {0x84, 0x00}}, {16383, {0xFF, 0x7F}},
        {16384, {0x81, 0x80, 0x00}}, {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}}};
    for (const auto& [value, encoded] : cases) {
        const Bytes body = trackBody([number = value](SmfWriter& w) { EXPECT_TRUE(w.variableLength(number)); });
        EXPECT_EQ(slice(body, 0, encoded.size()), encoded) << value;
        EXPECT_EQ(body.size(), encoded.size() + 4) << value;
    }
}

TEST(SmfWriter, ValueBeyondFourGroupsMissingTrackHookOrBadCountFailTheFile) {
    MemoryByteSink sink;
    EXPECT_EQ(WriteMidiFile(sink, 1, 2, 256, nullptr,
                            [](SmfWriter& w, int) {
                                EXPECT_FALSE(w.variableLength(0x10000000));
                                EXPECT_EQ(w.noteOn(0x10000000, 0, 60, 64), -1);
                            }),
              0);
    MemoryByteSink none;
    EXPECT_EQ(WriteMidiFile(none, 1, 2, 256, nullptr, nullptr), 0);
    EXPECT_EQ(WriteMidiFile(none, 1, 0, 256, nullptr, [](SmfWriter&, int) {}), 0);
    EXPECT_TRUE(none.bytes().empty());
}

TEST(SmfWriter, EventsCarryTheirStatusAndWhatCannotBeEncodedWritesNothing) {
    const Bytes body = trackBody([](SmfWriter& w) {
        EXPECT_EQ(w.noteOn(0, 3, 60, 100), 2);
        EXPECT_EQ(w.noteOn(128, 3, 64, 100), 2);  // consecutive note-ons both carry the status byte
        EXPECT_EQ(w.noteOff(16383, 3, 60, 100), 2);
        EXPECT_EQ(w.programChange(0, 15, 46), 1);
        EXPECT_EQ(w.noteOn(0, 0, 128, 64), -1);  // a key above 127 would read as a status byte
        EXPECT_EQ(w.noteOn(0, 16, 60, 64), -1);  // there are 16 channels
        const std::array<std::uint8_t, 1> d = {1};
        EXPECT_EQ(w.channelEvent(0, 0xF0, 0, d), -1);
        EXPECT_EQ(w.tempo(500000), 3);
        EXPECT_EQ(w.timeSignature(3, 2), 4);
        EXPECT_EQ(w.keySignature(-3), 2);
        EXPECT_EQ(w.keySignature(7), 2);
    });
    EXPECT_EQ(body, (Bytes{0x00, 0x93, 60, 100, 0x81, 0x00, 0x93, 64, 100, 0xFF, 0x7F, 0x83, 60, 100, 0x00, 0xCF,
                           46, 0, 0xFF, 0x51, 3, 0x07, 0xA1, 0x20, 0, 0xFF, 0x58, 4, 3, 2, 36, 8, 0, 0xFF, 0x59, 2,
                           0xFD, 0, 0, 0xFF, 0x59, 2, 7, 0, 0, 0xFF, 0x2F, 0}));
    std::array<std::uint8_t, 512> name{};
    name[0] = 'A';
    const Bytes text = trackBody([&](SmfWriter& w) { EXPECT_EQ(w.metaEvent(0, meta_type::text, name), 512); });
    EXPECT_EQ(slice(text, 0, 6), (Bytes{0x00, 0xFF, 0x01, 0x84, 0x00, 'A'}));  // a two-byte length
    EXPECT_EQ(text.size(), 5u + 512 + 4);
}

}  // namespace
}  // namespace notavera
