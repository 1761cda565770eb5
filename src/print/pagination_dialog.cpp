// The pagination dialog: reading the optional blocks into fields and storing or freeing them on OK.
#include "print/pagination_dialog.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "score/score_document.h"
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

std::string blockText(const HeaderFooter& block) {
    const auto end = std::find(block.begin(), block.begin() + textCapacity, std::uint8_t{0});
    return std::string(block.begin(), end);
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

void addPagination(DialogModel& m, const ScoreDocument& doc) {
    const Pagination b = doc.optional.pagination.value_or(newPagination());
    const long long first = static_cast<long long>(le::u32(b, 0)) + 1;
    m.addInteger(0, "No de page initial", 1, 16000, static_cast<int>(std::min<long long>(first, 16000)), 5);
    m.addCheck(0, "Première page incluse", b[4] != 0);
    const int index = doc.optional.pagination ? placementIndex(static_cast<std::int8_t>(b[5])) : 0;
    m.addChoice(0, "Position", placementEntries(), index);
    m.addCheck(0, "Pagination au bas", static_cast<std::int8_t>(b[5]) >= bottom);
    m.addInteger(0, "Offset du sommet/bas (interlignes)", 1, 100, b[9], 3);
}

void addHeaderFooter(DialogModel& m, const std::optional<HeaderFooter>& stored, std::string_view offsetLabel) {
    const HeaderFooter b = stored.value_or(newHeaderFooter());
    m.addText(0, "Texte", blockText(b), static_cast<int>(textCapacity));
    m.addCheck(0, "Première page incluse", b[200] != 0);
    m.addChoice(0, "Position", placementEntries(), stored ? placementIndex(static_cast<std::int8_t>(b[201])) : 0);
    m.addInteger(0, std::string(offsetLabel), 1, 100, b[205], 3);
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
    const std::string& text = m.text(nth == 1 ? std::string("Texte") : "Texte" + suffix);
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

int RunPaginationDialog(EditorContext& ctx) {
    DialogModel m = makePaginationDialog(ctx.doc);
    if (!ctx.ui.runDialog(m)) return 0;
    acceptPaginationDialog(m, ctx.doc);
    return 1;
}

}  // namespace notavera
