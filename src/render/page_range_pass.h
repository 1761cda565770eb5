// A range of pages drawn one after the other onto pages a device hands out: what printing, the PDF file and the
// SVG files share. Every page is drawn whole, in printing mode, with a cancel check between pages.
#pragma once

#include <functional>

#include "platform/page_device.h"
#include "platform/ui_services.h"
#include "render/page_pass.h"
#include "score/score_document.h"

namespace notavera {

struct PageRange {
    int from = 1;
    int to = 1;
    int copies = 1;
};

enum class PageRangeResult { Done, Cancelled, Failed };

// Draws pages from..to (clamped to the score), `copies` times over, each on a canvas of `pages`. `cancelled` is
// asked before every page: once it answers true no further page starts. The page, staff and element current
// before come back at the end, whatever the result.
PageRangeResult DrawPageRange(ScoreDocument& doc, UiServices& ui, PageRange range, PageCanvasFactory& pages,
                              const std::function<bool()>& cancelled, const PageDrawOptions& options = {});

}  // namespace notavera
