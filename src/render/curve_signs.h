// The curve signs placed by hand (sign types 8–11): manipulable curves, free ties, hairpins and brackets, each
// drawn from the four control points its 32-byte blob holds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "render/drawing_context.h"
#include "score/records.h"

namespace notavera {

// The blob of a curve sign: four points, each a little-endian i32 x then y, in page units; x counts from the
// element's x (with its shift), y from the reference height of the staff it is drawn on. The points follow the
// staff when it moves and the element when the line is respaced.
using CurvePoints = std::array<Point, 4>;
inline constexpr std::size_t CurveBlobSize = 32;

std::array<std::uint8_t, CurveBlobSize> EncodeCurvePoints(const CurvePoints& points);
// Nullopt for a payload shorter than 32 bytes (a damaged file): such a sign draws nothing.
std::optional<CurvePoints> DecodeCurvePoints(std::span<const std::uint8_t> payload);

// Sign `index` of the staff, one of types 8–11, with the points of its blob:
//  - a manipulable curve (8) is the cubic Bézier p0 p1 p2 p3, thickened towards the line p0–p3 by the "Courbes"
//    setting: two strokes on the screen, one filled shape elsewhere;
//  - a free tie (9) is a tie from p0 to p3 drawn like the ties of notes, on the side of p1;
//  - a hairpin (10) is two lines from its closed end p0 to p1 and to p2 (a crescendo opens to the right, a
//    diminuendo to the left);
//  - a bracket (11) is the open line p0 p1 p2 p3: a hook, the bracket, a hook.
// A sign whose SignWord bits 25–31 hold a pen style is drawn with it, without thickness. In the metafile passes a
// sign lying wholly outside the export region is skipped.
void DrawCurveSign(DrawingContext& dc, const StaffRecord& staff, int index);

}  // namespace notavera
