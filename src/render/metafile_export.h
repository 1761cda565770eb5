// The export of a page region as a Windows metafile (the "Sauver fichier METAFILE" command and the copy of a
// region or page to the clipboard): a measuring pass on a canvas that can measure, then the metafile pass, which
// replays the measured widths.
#pragma once

#include <memory>

#include "platform/wmf_canvas.h"
#include "render/page_pass.h"

namespace notavera {

// A metafile picture block as the clipboard carries it: the anisotropic mapping mode and the picture's size in
// hundredths of a millimetre.
struct ClipboardPictureSize {
    int mapMode = 8;
    int width = 0;
    int height = 0;
    friend bool operator==(const ClipboardPictureSize&, const ClipboardPictureSize&) = default;
};

// The size of the picture of a region in page units.
ClipboardPictureSize ClipboardPictureSizeOf(const PageRegion& pageRegion);

struct MetafileExport {
    std::unique_ptr<WmfCanvas> picture;
    PageRegion region;  // what was drawn, in page units
    ClipboardPictureSize clipboard;
};

// Draws the region of the current page — in logical units at the context's zoom, as the window shows it — into a
// metafile. The region is taken into page units; a left edge at 0 moves to −40 so that what hangs left of the
// lines (braces, brackets) comes along. The first pass runs on `measuring`, recording the widths of centred and
// running texts; the second draws the metafile, one logical unit of the zoomed region to a metafile unit, and
// culls what lies outside the region. The context's canvas, output mode and regions are restored afterwards.
MetafileExport ExportMetafile(DrawingContext& dc, ScoreDocument& doc, const PageRegion& zoomedRegion,
                              Canvas& measuring, const PageDrawOptions& options = {});

}  // namespace notavera
