// The zoom fraction every drawing call goes through, the Zoom menu's choices and the clamping of the "Fraction"
// dialog.
#pragma once

#include <optional>

namespace notavera {

struct ZoomFraction {
    int num = 1;  // 1..99
    int den = 1;  // 1..99
    friend bool operator==(const ZoomFraction&, const ZoomFraction&) = default;
};

// The Zoom menu's commands.
inline constexpr int ZoomNormalCommand = 51;  // "&NORMAL" 1/1
inline constexpr int ZoomOtherCommand = 56;   // "&AUTRE": the "Fraction" dialog

// A page quantity on the device: v × num / den in double precision, truncated toward zero.
int ToDevice(int v, ZoomFraction zoom);
// A device quantity in page units: v × den / num, truncated toward zero.
int ToPage(int v, ZoomFraction zoom);

// The fixed fractions of commands 51–55; nullopt for "&AUTRE" and any other command.
std::optional<ZoomFraction> ZoomForCommand(int command);

// A term typed in the "Fraction" dialog ("Numérateur", "Dénominateur"): clamped to 1..99, never refused.
int ClampZoomTerm(int value);
ZoomFraction ZoomFromDialog(int num, int den);

}  // namespace notavera
