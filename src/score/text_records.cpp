// Reading and writing the fields of text signs.
#include "score/text_records.h"

#include <algorithm>
#include <cmath>
#include <span>

namespace notavera {

bool IsText(const ElementRecord& e) { return e.isSignOfType(SignType::Text); }

TextAttributes TextAttributesOf(const ElementRecord& e) {
    const auto w = e.signWord();
    TextAttributes a;
    a.category = static_cast<TextCategory>(w.textCategory());
    a.type = w.textType();
    a.style = static_cast<TextStyle>(w.textStyle());
    const unsigned orientation = w.textOrientation();
    a.orientation = orientation == 0 ? TextOrientation::Horizontal : static_cast<TextOrientation>(orientation);
    // The fourth justification code has no meaning of its own: such a lyric is centred.
    const unsigned justification = w.textJustification();
    a.justification = justification > 2 ? LyricJustification::Centred : static_cast<LyricJustification>(justification);
    a.opaque = w.textOpaque();
    a.size = static_cast<int>(w.textSize());
    a.fontIndex = static_cast<int>(w.textFontIndex());
    return a;
}

void SetTextAttributes(ElementRecord& e, const TextAttributes& a) {
    const auto w = e.signWord();
    w.setSubValue(a.type);
    w.setPairA(static_cast<unsigned>(a.style));
    w.setPairB(static_cast<unsigned>(a.orientation));
    w.setTriple(static_cast<unsigned>(a.category));
    w.setPair2(static_cast<unsigned>(a.justification));
    w.setFlag16(a.opaque);
    w.setCode(static_cast<unsigned>(std::clamp(a.size, MinTextSize, MaxTextSize)));
    w.setHigh7(static_cast<unsigned>(std::clamp(a.fontIndex, 0, 31)));
}

std::string TextCharacters(const ElementRecord& e) {
    if (!e.hasBlob()) return {};
    const auto payload = e.blob.payload();
    return std::string(reinterpret_cast<const char*>(payload.data()), payload.size());
}

void SetTextCharacters(ElementRecord& e, std::string_view chars) {
    if (chars.empty()) {
        e.detachBlob();
        return;
    }
    e.attachBlob(std::span(reinterpret_cast<const std::uint8_t*>(chars.data()), chars.size()));
}

ElementRecord MakeTextElement(int x, int param, const TextAttributes& a, std::string_view chars) {
    ElementRecord e;
    e.x = x;
    e.param = param;
    e.w0().setKind(ElementKind::Sign);
    e.w1().setNumerator(1);
    e.w1().setDenominator(1);
    e.signWord().setSignType(SignType::Text);
    SetTextAttributes(e, a);
    SetTextCharacters(e, chars);
    return e;
}

double TextLowerEdge(double staffTop, int param, int unit) { return staffTop + static_cast<double>(param) * unit / 10.0; }

int TextParamFor(double lowerEdge, double staffTop, int unit) {
    if (unit <= 0) return 0;
    return static_cast<int>(std::trunc((lowerEdge - staffTop) * 10.0 / unit));
}

}  // namespace notavera
