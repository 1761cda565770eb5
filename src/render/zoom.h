// The zoom fraction every drawing call goes through and the clamping of the "Fraction" dialog.
#pragma once

namespace notavera {

struct ZoomFraction {
    int num = 1;  // 1..99
    int den = 1;  // 1..99
    friend bool operator==(const ZoomFraction&, const ZoomFraction&) = default;
};

// A page quantity on the device: v × num / den in double precision, truncated toward zero.
int ToDevice(int v, ZoomFraction zoom);
// A device quantity in page units: v × den / num, truncated toward zero.
int ToPage(int v, ZoomFraction zoom);

// A term typed in the "Fraction" dialog ("Numérateur", "Dénominateur"): clamped to 1..99, never refused.
int ClampZoomTerm(int value);
ZoomFraction ZoomFromDialog(int num, int den);

}  // namespace notavera
