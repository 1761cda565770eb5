// The curve renderer of ties and slurs: an arc of an ellipse through two end points, its height chosen by the width
// and slope, thickened by a second, flatter arc, and filled between the two on paper, in pictures and in metafiles.
#pragma once

#include <optional>

#include "render/drawing_context.h"

namespace notavera {

// A curve between two points of the page, in page units.
struct ArcCurve {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool above = true;
    // The point the curve must clear (a slur over notes higher than its ends): its height and its x.
    std::optional<int> peak;
    int peakX = 0;
    int style = 0;  // stored pen style: 0 solid, otherwise dashed or dotted and drawn without thickness
};

// An ellipse's box in page units, not yet rounded.
struct ArcBox {
    double left = 0;
    double bottom = 0;
    double right = 0;
    double top = 0;
};

// Where the curve is drawn: the outer arc's box and its end points (in the order the arc runs, counter-clockwise),
// and, for a solid curve, the inner arc's box that gives it thickness.
struct ArcShape {
    ArcBox outer;
    std::optional<ArcBox> inner;
    Point start;
    Point end;
    double slope = 0;  // of the line between the ends, at most 0.9
    double height = 0; // H: how far the arc rises over its ends before a peak is added
};

// The shape of a curve with the context's staff metrics; nullopt when it is no wider than one step unit (nothing is
// drawn). `thickness` is the stored thickness setting ("Liaisons" for ties, "Courbes" for curves).
//  - Ends moved towards a peak: the end nearer the peak's height is raised towards it by the peak's relative distance
//    from the middle, and moved a step unit inwards when the peak is within four step units of it.
//  - Height: short curves without a peak (at most nine step units) rise one staff space when their ends differ in
//    height and three half spaces otherwise; longer ones two staff spaces below 300 units or from a slope of 0.3,
//    three staff spaces otherwise.
//  - The ellipse is widened by the slope, centred one staff space beyond the ends on the far side and placed towards
//    the higher end; a peak raises it by its height over the ends.
//  - The inner arc is flatter by the thickness staffSpace / (setting + 5) (at least 2), less so on steep curves,
//    widened at both ends of a level curve so that the ends come to a point, and shifted towards the higher end.
std::optional<ArcShape> ShapeArcCurve(const DrawingContext& dc, const ArcCurve& curve, int thickness);

// Draws the curve on dc.canvas. A dashed or dotted curve is one thin arc, thickened outside the metafile passes by
// copies one pixel apart up to the bar-line width; a solid one is drawn with the "Ep.Trait liais." pen as its outer
// and inner arcs, and on the printer and in the metafile the crescent between them is filled with arcs stepping
// from one to the other; pictures fill it as one shape. With "Inverser arcs" on, the metafile's arcs run the other way.
void DrawArcCurve(DrawingContext& dc, const ArcCurve& curve, int thickness);

// Whether the device is a picture (PNG, SVG, PDF), whose crescents are filled as one shape rather than with arcs.
bool PaintsPictures(const DrawingContext& dc);

// Whether the device fills the crescent of thick curves: everything but the screen (whose arcs are redrawn often)
// and the recording of calls.
bool FillsCrescents(const DrawingContext& dc);

}  // namespace notavera
