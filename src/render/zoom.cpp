// Zoom conversions and the Zoom menu's fractions.
#include "render/zoom.h"

#include <algorithm>

namespace notavera {

int ToDevice(int v, ZoomFraction zoom) {
    return static_cast<int>(static_cast<double>(v) * zoom.num / zoom.den);
}

int ToPage(int v, ZoomFraction zoom) {
    return static_cast<int>(static_cast<double>(v) * zoom.den / zoom.num);
}

std::optional<ZoomFraction> ZoomForCommand(int command) {
    switch (command) {
    case 51: return ZoomFraction{1, 1};  // "&NORMAL"
    case 52: return ZoomFraction{2, 1};  // "&GROS 2/1"
    case 53: return ZoomFraction{1, 2};  // "&PETIT 1/2"
    case 54: return ZoomFraction{3, 2};  // "G&ROS 3/2"
    case 55: return ZoomFraction{3, 4};  // "P&ETIT 3/4"
    default: return std::nullopt;
    }
}

int ClampZoomTerm(int value) { return std::clamp(value, 1, 99); }

ZoomFraction ZoomFromDialog(int num, int den) { return {ClampZoomTerm(num), ClampZoomTerm(den)}; }

}  // namespace notavera
