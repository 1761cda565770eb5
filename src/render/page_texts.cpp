// Page numbers, headers and footers: the stored blocks read, the placement rules, the drawing.
#include "render/page_texts.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <span>
#include <utility>

#include "platform/ansi_text.h"
#include "render/page_sheet.h"

namespace notavera {
namespace {

// What printers leave unprinted along each edge of the paper; the usable height ends this far under the top.
constexpr int PrinterMargin = 40;
constexpr int DefaultSizeInInterlines = 3;
constexpr std::string_view FallbackFace = "Times New Roman";

// The settings common to the three blocks, at their own offsets.
struct TextSettings {
    bool firstPageIncluded = false;
    int position = 0;
    int fontIndex = 0;
    int style = 0;
    int size = 0;
    int distance = 0;
};

TextSettings SettingsAt(std::span<const std::uint8_t> block, std::size_t at) {
    return {block[at] != 0, static_cast<std::int8_t>(block[at + 1]), block[at + 2], block[at + 3], block[at + 4],
            block[at + 5]};
}

bool KnownPosition(int code) {
    const int base = code > PositionAtFoot ? code - PositionAtFoot : code;
    return base == PositionCentre || base == PositionLeft || base == PositionRight || base == PositionOutside ||
           base == PositionInside;
}

TextFont FontOf(const FontBlock& fonts, const TextSettings& s, int interline) {
    return RunningTextFont(fonts, s.fontIndex, s.style, s.size, interline);
}

std::optional<RunningText> TextFrom(std::string text, const TextSettings& s, const FontBlock& fonts, int interline) {
    if (text.empty() || !KnownPosition(s.position)) return std::nullopt;
    return RunningText{std::move(text), s.position, FontOf(fonts, s, interline), s.distance * interline};
}

// A header or footer block: the text runs to its NUL, within the 199 characters it can hold.
std::optional<RunningText> HeaderOrFooter(const std::array<std::uint8_t, 206>& block, int pageNumber,
                                          const FontBlock& fonts, int interline) {
    const TextSettings s = SettingsAt(block, 200);
    if (!s.firstPageIncluded && pageNumber < 2) return std::nullopt;
    const auto* chars = reinterpret_cast<const char*>(block.data());
    return TextFrom(AnsiToUtf8(std::string_view(chars, strnlen(chars, 199))), s, fonts, interline);
}

bool AnchorShown(const DrawingContext& dc, Point anchor) {
    const bool screen = dc.canvas->kind() == CanvasKind::Screen && !dc.printing;
    if (!screen && !dc.inMetafilePass()) return true;
    const PageRegion& r = dc.inMetafilePass() ? dc.exportRegion : dc.visibleRegion;
    return anchor.x >= std::min(r.x0, r.x1) && anchor.x <= std::max(r.x0, r.x1) &&
           anchor.y >= std::min(r.y0, r.y1) && anchor.y <= std::max(r.y0, r.y1);
}

}  // namespace

int TextWidth(DrawingContext& dc, const std::string& text, const TextFont& deviceFont) {
    if (dc.outputMode == OutputMode::Metafile) return dc.centredWidths.pop().value_or(0);
    const int width = dc.toPage(dc.canvas->measureText(text, deviceFont).width);
    if (dc.outputMode != OutputMode::Normal) dc.centredWidths.push(width);
    return width;
}

TextFont RunningTextFont(const FontBlock& fonts, int fontIndex, int style, int size, int interline) {
    TextFont font;
    const bool named =
        fontIndex >= 0 && fontIndex < static_cast<int>(FontBlock::entryCount) && !fonts.isFree(fontIndex);
    // The table keeps its names in the documents' code page.
    font.face = named ? AnsiToUtf8(fonts.faceName(fontIndex)) : std::string(FallbackFace);
    font.charset = named ? fonts.charSet(fontIndex) : 0;
    font.italic = (style & 1) != 0;
    font.weight = (style & 2) != 0 ? 700 : 400;
    font.height = size != 0 ? size : DefaultSizeInInterlines * interline;
    return font;
}

std::vector<RunningText> RunningTextsOfPage(const ScoreDocument& doc, int pageNumber, int interline) {
    std::vector<RunningText> texts;
    const std::uint8_t flags = doc.header.blockFlags();
    const OptionalBlocks& blocks = doc.optional;
    if ((flags & block_flag::pagination) != 0 && blocks.pagination) {
        const TextSettings s = SettingsAt(*blocks.pagination, 4);
        const int printed = PrintedPageNumber(doc, pageNumber);
        if (s.firstPageIncluded || printed >= 2) {
            if (auto t = TextFrom(std::to_string(printed), s, doc.fonts, interline)) texts.push_back(std::move(*t));
        }
    }
    for (const auto& [bit, block] : {std::pair{block_flag::pageHeader, &blocks.pageHeader},
                                     std::pair{block_flag::pageFooter, &blocks.pageFooter}}) {
        if ((flags & bit) == 0 || !*block) continue;
        if (auto t = HeaderOrFooter(**block, pageNumber, doc.fonts, interline)) texts.push_back(std::move(*t));
    }
    return texts;
}

Box RunningTextArea(Box sheet, int lineEnd) {
    Box area{std::max(0, sheet.left + PrinterMargin), sheet.bottom + PrinterMargin,
             std::min(lineEnd, sheet.right - PrinterMargin), sheet.top - PrinterMargin};
    if (area.right <= area.left) area.right = sheet.right - PrinterMargin;  // lines too short to align with
    return area;
}

Point PlaceRunningText(const RunningText& text, int width, Box area, int printedNumber) {
    const bool atFoot = text.position > PositionAtFoot;
    const int base = atFoot ? text.position - PositionAtFoot : text.position;
    const bool odd = printedNumber % 2 != 0;
    const int centred = (area.left + area.right) / 2 - width / 2, left = area.left, right = area.right - width;
    int x = centred;
    if (base == PositionLeft) x = left;
    if (base == PositionRight) x = right;
    if (base == PositionOutside) x = odd ? right : left;
    if (base == PositionInside) x = odd ? left : right;
    const int y = atFoot ? area.bottom + text.distance : area.top - (text.font.height + text.distance);
    return {x, y};
}

void DrawRunningTexts(DrawingContext& dc, const ScoreDocument& doc, int pageNumber, Box sheet, int lineEnd) {
    if (dc.canvas == nullptr) return;
    const Box area = RunningTextArea(sheet, lineEnd);
    const int printed = PrintedPageNumber(doc, pageNumber);
    for (const RunningText& t : RunningTextsOfPage(doc, pageNumber, dc.metrics.staffSpace[0])) {
        TextFont deviceFont = t.font;
        deviceFont.height = dc.toDevice(t.font.height);
        const Point anchor = PlaceRunningText(t, TextWidth(dc, t.text, deviceFont), area, printed);
        if (!AnchorShown(dc, anchor)) continue;
        dc.canvas->drawText({dc.toDevice(anchor.x), dc.toDevice(anchor.y)}, t.text, deviceFont, Colour{0});
    }
}

}  // namespace notavera
