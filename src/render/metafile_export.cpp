// The two passes of the metafile export.
#include "render/metafile_export.h"

#include <algorithm>

namespace notavera {
namespace {

constexpr int LeftEdgeReach = -40;
constexpr double PageUnitsPerInch = 254.0;

PageRegion Normalised(const PageRegion& r) {
    return {std::min(r.x0, r.x1), std::min(r.y0, r.y1), std::max(r.x0, r.x1), std::max(r.y0, r.y1)};
}

// Puts back what the export changes in the context.
class ExportStateGuard {
public:
    explicit ExportStateGuard(DrawingContext& dc)
        : dc_(dc), canvas_(dc.canvas), exportRegion_(dc.exportRegion), visibleRegion_(dc.visibleRegion) {}
    ~ExportStateGuard() {
        dc_.canvas = canvas_;
        dc_.outputMode = OutputMode::Normal;
        dc_.exportRegion = exportRegion_;
        dc_.visibleRegion = visibleRegion_;
        dc_.centredWidths.clear();
    }
    ExportStateGuard(const ExportStateGuard&) = delete;
    ExportStateGuard& operator=(const ExportStateGuard&) = delete;

private:
    DrawingContext& dc_;
    Canvas* canvas_;
    PageRegion exportRegion_;
    PageRegion visibleRegion_;
};

}  // namespace

ClipboardPictureSize ClipboardPictureSizeOf(const PageRegion& pageRegion) {
    const PageRegion r = Normalised(pageRegion);
    return {8, (r.x1 - r.x0) * 10, (r.y1 - r.y0) * 10};
}

MetafileExport ExportMetafile(DrawingContext& dc, ScoreDocument& doc, const PageRegion& zoomedRegion,
                              Canvas& measuring, const PageDrawOptions& options) {
    const ExportStateGuard restore(dc);
    const PageRegion zoomed = Normalised(zoomedRegion);
    PageRegion region{dc.toPage(zoomed.x0), dc.toPage(zoomed.y0), dc.toPage(zoomed.x1), dc.toPage(zoomed.y1)};
    if (region.x0 == 0) region.x0 = LeftEdgeReach;
    dc.exportRegion = region;
    dc.visibleRegion = region;
    const Point origin{dc.toDevice(region.x0), dc.toDevice(region.y0)};
    const Box clip{origin.x, origin.y, dc.toDevice(region.x1), dc.toDevice(region.y1)};

    dc.centredWidths.clear();
    dc.outputMode = OutputMode::Measuring;
    dc.canvas = &measuring;
    measuring.setWindowOrigin(origin);
    DrawPage(dc, doc, options);

    auto picture = std::make_unique<WmfCanvas>(clip.right - clip.left, clip.top - clip.bottom,
                                               PageUnitsPerInch * dc.zoom.num / dc.zoom.den);
    picture->setWindowOrigin(origin);
    picture->setClip(clip);
    dc.outputMode = OutputMode::Metafile;
    dc.canvas = picture.get();
    DrawPage(dc, doc, options);
    picture->setClip(std::nullopt);

    return {std::move(picture), region, ClipboardPictureSizeOf(region)};
}

}  // namespace notavera
