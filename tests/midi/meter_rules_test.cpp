// Meters as playback reads them: the announced time signature and the bar length and proportion they set.
#include "midi/meter_rules.h"

#include <gtest/gtest.h>

namespace notavera {
namespace {

ElementRecord numericMeter(unsigned n, unsigned d) {
    ElementRecord e;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(SignType::TimeSignature);
    e.signWord().setCode(1);  // drawn as n/d
    e.w1().setNumerator(n);
    e.w1().setDenominator(d);
    return e;
}

ElementRecord symbolMeter(unsigned symbol, bool symbolic = true) {
    ElementRecord e;
    e.w0().setKind(ElementKind::Sign);
    e.signWord().setSignType(SignType::TimeSignature);
    e.signWord().setSubValue(symbol);
    e.signWord().setCode(symbolic ? 0x40 : 0);
    return e;
}

struct AnnouncedCase {
    ElementRecord meter;
    std::optional<std::pair<int, int>> expected;  // numerator, denominator exponent
};

class AnnouncedTimeSignature : public ::testing::TestWithParam<AnnouncedCase> {};

TEST_P(AnnouncedTimeSignature, FollowsTheMeter) {
    const auto ts = MeterTimeSignature(GetParam().meter);
    ASSERT_EQ(ts.has_value(), GetParam().expected.has_value());
    if (ts) {
        EXPECT_EQ(std::make_pair(int(ts->numerator), int(ts->denominatorExponent)), *GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Meters, AnnouncedTimeSignature,
    ::testing::Values(AnnouncedCase{numericMeter(3, 4), std::pair{3, 2}}, AnnouncedCase{numericMeter(6, 8), std::pair{6, 3}},
                      AnnouncedCase{numericMeter(2, 2), std::pair{4, 2}}, AnnouncedCase{numericMeter(3, 1), std::pair{12, 2}},
                      AnnouncedCase{numericMeter(0, 0), std::pair{4, 2}}, AnnouncedCase{numericMeter(255, 1), std::pair{255, 2}},
                      AnnouncedCase{numericMeter(5, 16), std::pair{5, 4}}, AnnouncedCase{symbolMeter(0), std::pair{4, 2}},
                      AnnouncedCase{symbolMeter(1), std::pair{4, 2}}, AnnouncedCase{symbolMeter(2), std::pair{8, 2}},
                      AnnouncedCase{symbolMeter(3), std::pair{12, 2}}, AnnouncedCase{symbolMeter(4), std::nullopt}));

TEST(ApplyMeter, NumericMeterSetsItsBarLength) {
    BarMeasure m;
    ApplyMeter(numericMeter(3, 4), false, m);
    EXPECT_FLOAT_EQ(m.barLength, 768.0f);
    EXPECT_EQ(m.p, 1u);
    ApplyMeter(numericMeter(0, 4), false, m);
    EXPECT_FLOAT_EQ(m.barLength, 256.0f);  // a numerator of 0 reads as 1
}

TEST(ApplyMeter, MeterAsProportionMakesEveryBarAWhole) {
    BarMeasure m;
    ApplyMeter(numericMeter(3, 4), true, m);
    EXPECT_EQ(m.p, 3u);
    EXPECT_EQ(m.q, 4u);
    EXPECT_FLOAT_EQ(m.barLength, 1024.0f);
}

TEST(ApplyMeter, SymbolicMetersSetWholeOrThreeHalves) {
    BarMeasure m;
    ApplyMeter(symbolMeter(3), false, m);
    EXPECT_EQ(m.p, 3u);
    EXPECT_EQ(m.q, 2u);
    EXPECT_FLOAT_EQ(m.barLength, 1024.0f);  // 1536 in proportion 3:2
    ApplyMeter(symbolMeter(4), false, m);
    EXPECT_EQ(m.p, 1u);
    EXPECT_FLOAT_EQ(m.barLength, 1024.0f);
}

TEST(ApplyMeter, NumericMeterEndsAnEarlierProportion) {
    BarMeasure m;
    ApplyMeter(symbolMeter(5), false, m);
    ApplyMeter(numericMeter(3, 4), false, m);
    EXPECT_EQ(m.p, 1u);
    EXPECT_FLOAT_EQ(m.barLength, 768.0f);
}

TEST(ApplyMeter, MeterOfUnknownFormChangesNothing) {
    BarMeasure m{768.0f, 1, 1};
    ApplyMeter(symbolMeter(6, false), false, m);
    EXPECT_FLOAT_EQ(m.barLength, 768.0f);
}

}  // namespace
}  // namespace notavera
