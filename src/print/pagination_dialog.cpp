// The pagination dialog: reading the optional blocks into fields and storing or freeing them on OK.
#include "print/pagination_dialog.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/message_ids.h"
#include "render/page_texts.h"
#include "score/mus_file.h"
#include "score/score_document.h"
#include "shell/cursor_frame.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

constexpr int bottom = 50;
constexpr std::size_t textCapacity = 199;
using HeaderFooter = std::array<std::uint8_t, 206>;
using Pagination = std::array<std::uint8_t, 10>;

std::vector<std::string> placementEntries() {
    std::vector<std::string> entries;
    for (const PlacementChoice& p : placements) entries.emplace_back(p.entry);
    return entries;
}

// The list index of a stored position code, the bottom offset removed; an unknown code shows as "NEANT".
int placementIndex(int code) {
    if (code >= bottom) code -= bottom;
    const auto it = std::find_if(placements.begin(), placements.end(), [code](const PlacementChoice& p) {
        return p.code == code;
    });
    return it == placements.end() ? 0 : static_cast<int>(it - placements.begin());
}

int placementCode(const DialogModel& m, std::string_view key) {
    return placements[static_cast<std::size_t>(m.value(key))].code;
}

// Blocks keep their texts in the documents' code page, as the page drawing reads them.
std::string blockText(const HeaderFooter& block) {
    const auto end = std::find(block.begin(), block.begin() + textCapacity, std::uint8_t{0});
    return AnsiToUtf8(std::string(block.begin(), end));
}

// A block the dialog creates uses the first text font of the document.
Pagination newPagination() {
    Pagination b{};
    b[6] = 1;
    return b;
}

HeaderFooter newHeaderFooter() {
    HeaderFooter b{};
    b[202] = 1;
    return b;
}

// Where each block keeps its font index, followed by its style and its size.
constexpr std::array<std::size_t, 3> fontAt{6, 202, 202};
constexpr std::string_view fontButton = "Police";
constexpr int defaultInterline = 20;

template <std::size_t N>
FontChoice storedFont(const std::optional<std::array<std::uint8_t, N>>& block, std::size_t at, const FontBlock& fonts,
                      int interline) {
    const TextFont f = block ? RunningTextFont(fonts, (*block)[at], (*block)[at + 1], (*block)[at + 2], interline)
                             : RunningTextFont(fonts, 1, 0, 0, interline);
    return {f.face, f.height, f.weight > 400, f.italic};
}

template <std::size_t N>
void putFont(std::optional<std::array<std::uint8_t, N>>& block, std::size_t at, int index, const FontChoice& font) {
    if (!block) return;
    (*block)[at] = static_cast<std::uint8_t>(index);
    (*block)[at + 1] = static_cast<std::uint8_t>((font.italic ? 1 : 0) | (font.bold ? 2 : 0));
    (*block)[at + 2] = static_cast<std::uint8_t>(std::clamp(font.height, 1, 255));
}

void addPagination(DialogModel& m, const ScoreDocument& doc) {
    const Pagination b = doc.optional.pagination.value_or(newPagination());
    const long long first = static_cast<long long>(le::u32(b, 0)) + 1;
    m.addInteger(0, "No de page initial", 1, 16000, static_cast<int>(std::min<long long>(first, 16000)), 5);
    m.addCheck(0, "Première page incluse", b[4] != 0);
    const int index = doc.optional.pagination ? placementIndex(static_cast<std::int8_t>(b[5])) : 0;
    m.addChoice(0, "Position", placementEntries(), index);
    m.addCheck(0, "Pagination au bas", static_cast<std::int8_t>(b[5]) >= bottom);
    m.addInteger(0, "Offset du sommet/bas (interlignes)", 1, 100, b[9], 3);
    m.addButton(0, std::string(fontButton));
}

void addHeaderFooter(DialogModel& m, const std::optional<HeaderFooter>& stored, std::string_view offsetLabel) {
    const HeaderFooter b = stored.value_or(newHeaderFooter());
    m.addText(0, "Texte", blockText(b), static_cast<int>(textCapacity));
    m.addCheck(0, "Première page incluse", b[200] != 0);
    m.addChoice(0, "Position", placementEntries(), stored ? placementIndex(static_cast<std::int8_t>(b[201])) : 0);
    m.addInteger(0, std::string(offsetLabel), 1, 100, b[205], 3);
    m.addButton(0, std::string(fontButton));
}

void storePagination(const DialogModel& m, ScoreDocument& doc) {
    const int code = placementCode(m, "Position");
    if (code == 0) {
        doc.optional.pagination.reset();
        doc.header.blockFlags() &= static_cast<std::uint8_t>(~block_flag::pagination);
        return;
    }
    Pagination b = doc.optional.pagination.value_or(newPagination());
    le::putU32(b, 0, static_cast<std::uint32_t>(m.value("No de page initial") - 1));
    b[4] = m.checked("Première page incluse") ? 1 : 0;
    b[5] = static_cast<std::uint8_t>(code + (m.checked("Pagination au bas") ? bottom : 0));
    b[9] = static_cast<std::uint8_t>(m.value("Offset du sommet/bas (interlignes)"));
    doc.optional.pagination = b;
    doc.header.blockFlags() |= block_flag::pagination;
}

// `nth` tells which of the repeated labels belong to this block; the footer's codes always carry the bottom offset.
void storeHeaderFooter(const DialogModel& m, std::optional<HeaderFooter>& stored, std::uint8_t flag, int nth,
                       std::string_view offsetLabel, ScoreDocument& doc) {
    const std::string suffix = "#" + std::to_string(nth);
    const std::string text = Utf8ToAnsi(m.text(nth == 1 ? std::string("Texte") : "Texte" + suffix));
    const int code = placementCode(m, "Position#" + std::to_string(nth + 1));
    if (text.empty() || code == 0) {
        stored.reset();
        doc.header.blockFlags() &= static_cast<std::uint8_t>(~flag);
        return;
    }
    HeaderFooter b = stored.value_or(newHeaderFooter());
    std::fill(b.begin(), b.begin() + textCapacity + 1, std::uint8_t{0});
    std::memcpy(b.data(), text.data(), std::min(text.size(), textCapacity));
    b[200] = m.checked("Première page incluse#" + std::to_string(nth + 1)) ? 1 : 0;
    b[201] = static_cast<std::uint8_t>(code + (flag == block_flag::pageFooter ? bottom : 0));
    b[205] = static_cast<std::uint8_t>(m.value(offsetLabel));
    stored = b;
    doc.header.blockFlags() |= flag;
}

}  // namespace

DialogModel makePaginationDialog(const ScoreDocument& doc) {
    DialogModel m("Pagination", "Pagination - Entête - Pied de page");
    addPagination(m, doc);
    addHeaderFooter(m, doc.optional.pageHeader, "Offset du sommet (interlignes)");
    addHeaderFooter(m, doc.optional.pageFooter, "Offset du bas (interlignes)");
    m.addCheck(0, "Marques de coupe", (doc.header.blockFlags() & block_flag::cropMarks) != 0);
    return m;
}

void acceptPaginationDialog(const DialogModel& m, ScoreDocument& doc) {
    if (m.checked("Marques de coupe"))
        doc.header.blockFlags() |= block_flag::cropMarks;
    else
        doc.header.blockFlags() &= static_cast<std::uint8_t>(~block_flag::cropMarks);
    storePagination(m, doc);
    storeHeaderFooter(m, doc.optional.pageHeader, block_flag::pageHeader, 1, "Offset du sommet (interlignes)", doc);
    storeHeaderFooter(m, doc.optional.pageFooter, block_flag::pageFooter, 2, "Offset du bas (interlignes)", doc);
    doc.markModified();
}

PaginationFonts paginationFonts(const ScoreDocument& doc, int interline) {
    PaginationFonts f;
    f.font[0] = storedFont(doc.optional.pagination, fontAt[0], doc.fonts, interline);
    f.font[1] = storedFont(doc.optional.pageHeader, fontAt[1], doc.fonts, interline);
    f.font[2] = storedFont(doc.optional.pageFooter, fontAt[2], doc.fonts, interline);
    return f;
}

void connectFontButtons(DialogModel& model, UiServices& ui, PaginationFonts& fonts) {
    model.onChange = [&ui, &fonts](DialogModel& m, const DialogField& changed) {
        if (changed.kind != FieldKind::Button) return;
        const std::array<const DialogField*, 3> buttons{m.find(fontButton), m.find("Police#2"), m.find("Police#3")};
        const auto it = std::find(buttons.begin(), buttons.end(), &changed);
        if (it == buttons.end()) return;
        const auto i = static_cast<std::size_t>(it - buttons.begin());
        if (std::optional<FontChoice> chosen = ui.chooseFont(fonts.font[i])) {
            fonts.font[i] = std::move(*chosen);
            fonts.chosen[i] = true;
        }
    };
}

void storeChosenFonts(const PaginationFonts& fonts, EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    // A block the dialog freed has no font to keep, and its face takes no entry of the table.
    const std::array<bool, 3> stored{doc.optional.pagination.has_value(), doc.optional.pageHeader.has_value(),
                                     doc.optional.pageFooter.has_value()};
    for (std::size_t i = 0; i < fonts.font.size(); ++i) {
        if (!fonts.chosen[i] || !stored[i]) continue;
        const std::optional<int> index = doc.fonts.addFont(Utf8ToAnsi(fonts.font[i].face), 0);
        if (!index) {
            ShowError(ctx.ui, 69);  // "Nombre maximum de polices atteint!"
            continue;
        }
        if (i == 0) putFont(doc.optional.pagination, fontAt[i], *index, fonts.font[i]);
        if (i == 1) putFont(doc.optional.pageHeader, fontAt[i], *index, fonts.font[i]);
        if (i == 2) putFont(doc.optional.pageFooter, fontAt[i], *index, fonts.font[i]);
    }
}

int RunPaginationDialog(EditorContext& ctx) {
    DialogModel m = makePaginationDialog(ctx.doc);
    const std::optional<CursorFrame> frame = CursorFrameOf(ctx.doc);
    PaginationFonts fonts = paginationFonts(ctx.doc, frame ? 2 * frame->halfSpace : defaultInterline);
    connectFontButtons(m, ctx.ui, fonts);
    if (!ctx.ui.runDialog(m)) return 0;
    acceptPaginationDialog(m, ctx.doc);
    storeChosenFonts(fonts, ctx);
    if (ctx.doc.storage.working && !WriteFontBlock(ctx.doc, ctx.ui)) {
        const std::string title = ctx.doc.title();
        ShowError(ctx.ui, msg::cannotWrite, &title);
    }
    return 1;
}

}  // namespace notavera
