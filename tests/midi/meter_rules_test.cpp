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

TEST(MeterTimeSignature, FollowsTheMeter) {
    using TS = std::optional<std::pair<int, int>>;  // numerator, denominator exponent
    const std::pair<ElementRecord, TS> cases[] = {
        {numericMeter(3, 4), std::pair{3, 2}}, {numericMeter(6, 8), std::pair{6, 3}},
        {numericMeter(2, 2), std::pair{4, 2}}, {numericMeter(3, 1), std::pair{12, 2}},
        {numericMeter(0, 0), std::pair{4, 2}}, {numericMeter(255, 1), std::pair{255, 2}},
        {numericMeter(5, 16), std::pair{5, 4}}, {symbolMeter(0), std::pair{4, 2}},
        {symbolMeter(1), std::pair{4, 2}},     {symbolMeter(2), std::pair{8, 2}},
        {symbolMeter(3), std::pair{12, 2}},    {symbolMeter(4), std::nullopt}};
    for (const auto& [meter, expected] : cases) {
        const auto ts = MeterTimeSignature(meter);
        EXPECT_EQ(ts ? TS(std::pair{int(ts->numerator), int(ts->denominatorExponent)}) : std::nullopt, expected);
    }
}

TEST(ApplyMeter, SetsTheBarLengthAndProportion) {
    struct Case {
        std::vector<ElementRecord> meters;  // applied in turn
        bool asProportion;
        float barLength;
        unsigned p, q;
    };
    const Case cases[] = {
        {{numericMeter(3, 4)}, false, 768, 1, 1},
        {{numericMeter(0, 4)}, false, 256, 1, 1},  // a numerator of 0 reads as 1
        {{numericMeter(3, 4)}, true, 1024, 3, 4},  // as a proportion every bar is a whole
        {{symbolMeter(3)}, false, 1024, 3, 2},     // 1536 in proportion 3:2
        {{symbolMeter(3), symbolMeter(4)}, false, 1024, 1, 1},
        {{symbolMeter(5), numericMeter(3, 4)}, false, 768, 1, 1},  // a numeric meter ends an earlier proportion
        {{numericMeter(3, 4), symbolMeter(6, false)}, false, 768, 1, 1},  // a meter of unknown form changes nothing
    };
    for (const Case& c : cases) {
        BarMeasure m;
        for (const ElementRecord& meter : c.meters) ApplyMeter(meter, c.asProportion, m);
        EXPECT_FLOAT_EQ(m.barLength, c.barLength);
        EXPECT_EQ(m.p, c.p);
        EXPECT_EQ(m.q, c.q);
    }
}

}  // namespace
}  // namespace notavera
