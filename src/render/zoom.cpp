// Zoom conversions and the clamping of typed fractions.
#include "render/zoom.h"

#include <algorithm>

namespace notavera {

int ToDevice(int v, ZoomFraction zoom) {
    return static_cast<int>(static_cast<double>(v) * zoom.num / zoom.den);
}

int ToPage(int v, ZoomFraction zoom) {
    return static_cast<int>(static_cast<double>(v) * zoom.den / zoom.num);
}

int ClampZoomTerm(int value) { return std::clamp(value, 1, 99); }

ZoomFraction ZoomFromDialog(int num, int den) { return {ClampZoomTerm(num), ClampZoomTerm(den)}; }

}  // namespace notavera
