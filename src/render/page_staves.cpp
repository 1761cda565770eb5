// Staff placement from the page's staff words, staff lines and continuous-view separators.
#include "render/page_staves.h"

#include <algorithm>

#include "render/document_spacing.h"
#include "render/draw_signs.h"
#include "render/staff_groupings.h"
#include "score/score_document.h"
#include "score/staff_layout_model.h"

namespace notavera {

StaffLayoutModel LayoutOfPage(const PageRecord& page) {
    StaffLayoutModel model;
    const int count = std::min(static_cast<int>(page.staves.size()), StaffLayoutModel::maxStaves);
    model.setStaffCount(static_cast<unsigned>(count));
    model.setDefinition(page.layoutWord().staffSize());
    for (int i = 0; i < count; ++i) {
        const StaffRecord& s = page.staves[static_cast<std::size_t>(i)];
        std::uint32_t& w = model.staffWord(i);
        staff_model::Distance::set(w, s.key().distance());
        staff_model::SystemGrouping::set(w, s.key().systemGrouping());
        staff_model::BlockGrouping::set(w, s.key().blockGrouping());
        staff_model::Small::set(w, s.key().small());
        staff_model::Indented::set(w, s.key().indented());
        staff_model::LayoutFlag::set(w, s.lines().layoutFlag());
        staff_model::LineCount::set(w, s.lines().lineCount());
        staff_model::Brace::set(w, s.lines().brace());
        staff_model::Grey::set(w, s.key().grey());
        staff_model::Invisible::set(w, s.key().invisible());
        staff_model::Accessory::set(w, s.lines().accessory());
    }
    return model;
}

StaffMetrics MetricsOfPage(const ScoreDocument& doc, const PageRecord& page) {
    FileHeader header = doc.header;  // its byte accessors are not const
    SizeRatios ratios{header.smallStaffNum(), header.smallStaffDen(), header.cueNum(), header.cueDen()};
    if (ratios.smallNum <= 0 || ratios.smallDen <= 0 || ratios.cueNum <= 0 || ratios.cueDen <= 0) ratios = {};
    return DeriveStaffMetrics(static_cast<int>(page.layoutWord().staffSize()), ratios);
}

std::optional<PlacedStaff> PlaceStaffOfCurrentPage(const ScoreDocument& doc, int staff) {
    const PageRecord* page = doc.findPage(doc.currentPage);
    if (page == nullptr || staff < 0 || staff >= static_cast<int>(page->staves.size())) return std::nullopt;
    const StaffMetrics m = MetricsOfPage(doc, *page);
    const std::vector<StaffDrawState> placed =
        PlacePageStaves(*page, m, doc.pageHeight, static_cast<int>(page->lineLength & 0xFFFFFFu));
    if (staff >= static_cast<int>(placed.size())) return std::nullopt;
    return PlacedStaff{placed[static_cast<std::size_t>(staff)], m};
}

std::vector<StaffDrawState> PlacePageStaves(const PageRecord& page, const StaffMetrics& metrics, int pageTop,
                                            int lineEnd) {
    const PageFrame frame{.pageHeight = pageTop,
                          .leftEdge = 0,
                          .indentEdge = static_cast<int>(page.indent & 0xFFFFFFu),
                          .lineEnd = lineEnd};
    return PlaceStaves(LayoutOfPage(page), metrics, frame);
}

void EndLinesAtClosingBars(DrawingContext& dc, const PageRecord& page) {
    const int n = std::min(static_cast<int>(dc.staves.size()), static_cast<int>(page.staves.size()));
    for (const LineRange& line : LinesOfPage(page)) {
        if (line.last >= n) break;
        std::optional<int> end;
        bool closed = true;
        for (int i = line.first; i <= line.last && closed; ++i) {
            const StaffRecord& staff = page.staves[static_cast<std::size_t>(i)];
            if (staff.elements.empty()) continue;
            const auto right = ClosingBarRight(dc, staff, dc.staves[static_cast<std::size_t>(i)].small);
            closed = right.has_value();
            if (right) end = std::max(end.value_or(*right), *right);
        }
        if (!closed || !end) continue;
        for (int i = line.first; i <= line.last; ++i) {
            StaffDrawState& s = dc.staves[static_cast<std::size_t>(i)];
            if (*end > s.left && *end < s.right) s.right = *end;
        }
    }
}

void DrawStaffLines(DrawingContext& dc, int count) {
    if (dc.canvas == nullptr) return;
    const int n = std::min(count, static_cast<int>(dc.staves.size()));
    const bool metafile = dc.inMetafilePass();
    const PageRegion& region = dc.exportRegion;
    const int regionBottom = std::min(region.y0, region.y1), regionTop = std::max(region.y0, region.y1);
    for (int i = 0; i < n; ++i) {
        const StaffDrawState& s = dc.staves[static_cast<std::size_t>(i)];
        if (s.invisible || s.lines <= 0) continue;
        const int space = dc.metrics.staffSpace[s.small ? 1 : 0];
        const int bottomLine = s.topLine - (s.lines - 1) * space;
        int left = s.left, right = s.right;
        if (metafile) {
            if (s.topLine < regionBottom || bottomLine > regionTop) continue;
            left = std::max(left, region.x0);
            right = std::min(right, region.x1);
            if (left > right) continue;
        }
        const Pen pen{s.grey ? GreyStaffColour : Colour{0}, dc.thickness.staffLine, PenStyle::Solid, PenEnds::Flat};
        for (int k = 0; k < s.lines; ++k) {
            const int y = dc.toDevice(s.topLine - k * space);
            dc.canvas->drawLine({dc.toDevice(left), y}, {dc.toDevice(right), y}, pen);
        }
    }
}

void DrawContinuousSeparators(DrawingContext& dc, const ContinuousGeometry& geometry, int bottom) {
    if (dc.canvas == nullptr || dc.staves.empty()) return;
    const int top = dc.staves.front().topLine;
    const int width = std::max(dc.thickness.staffLine, 1);
    for (int k = 1; k < geometry.pages; ++k) {
        const int x = k * geometry.pageStep;
        const Box box{dc.toDevice(x), dc.toDevice(bottom), dc.toDevice(x + width), dc.toDevice(top)};
        dc.canvas->drawRect(box, ShapeStyle{std::nullopt, Colour{0}});
    }
}

int StavesOfFirstSystem(const PageRecord& page) {
    const std::vector<StaffGroup> systems = SystemsOfPage(page, static_cast<int>(page.staves.size()));
    return systems.empty() ? 0 : systems.front().last + 1;
}

}  // namespace notavera
