// The interchange file on disk: a document exported page by page, and an interchange file written out as a
// new document file.
#include "score/wnv_file.h"

#include <fstream>
#include <iterator>
#include <limits>
#include <system_error>

#include "platform/message_ids.h"
#include "platform/messages.h"
#include "score/binary_file.h"
#include "score/cursor_place.h"
#include "score/file_copy.h"
#include "score/mus_file.h"
#include "score/mus_file_blocks.h"
#include "score/optional_blocks_codec.h"
#include "score/wnv_codec.h"
#include "score/work_files.h"

namespace notavera {

namespace {

std::filesystem::path stagingName(const std::filesystem::path& target) {
    std::filesystem::path temporary = target;
    temporary += ".part";
    return temporary;
}

// Renames the staged file over the target, or removes it.
bool commitStaged(const std::filesystem::path& temporary, const std::filesystem::path& target, bool complete) {
    std::error_code ec;
    if (complete) std::filesystem::rename(temporary, target, ec);
    if (!complete || ec) std::filesystem::remove(temporary, ec);
    return complete && !ec;
}

// The header the interchange carries: what a save would store, the place the document reopens at.
FileHeader exportHeader(ScoreDocument& doc, const std::filesystem::path& target) {
    PrepareHeaderForSave(doc);
    FileHeader h = doc.header;
    h.setTitle(target.filename().string());
    const CursorPlace place = CurrentPlace(doc);
    h.currentPage() = static_cast<std::uint8_t>(std::clamp(place.page, 0, maxPages));
    h.currentStaff() = static_cast<std::uint8_t>(std::clamp(place.staff, 0, 255));
    int x = doc.defaultFirstX;
    if (const PageRecord* p = doc.findPage(place.page);
        p && place.staff >= 0 && place.staff < static_cast<int>(p->staves.size())) {
        const auto& elements = p->staves[static_cast<std::size_t>(place.staff)].elements;
        if (place.element >= 0 && place.element < static_cast<int>(elements.size()))
            x = elements[static_cast<std::size_t>(place.element)].x;
    }
    h.setCurrentX(x);
    return h;
}

bool readWhole(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Writes the document file: pages from 4423 in page order, the separator, then header, fonts, table and blocks.
bool writeDocumentFile(BinaryFile& file, InterchangeScore& score, const std::string& title) {
    PageTable table{};
    std::uint64_t at = firstPageOffset;
    for (std::size_t i = 0; i < score.pages.size(); ++i) {
        PageRecord& page = score.pages[i];
        page.number = static_cast<std::uint32_t>(i + 1);  // the page lies where the table lists it
        const std::vector<std::uint8_t> bytes = EncodePage(page);
        if (at + bytes.size() + sizeof pageSeparator > std::numeric_limits<std::uint32_t>::max()) return false;
        if (!file.seek(at) || !file.write(bytes)) return false;
        table[i] = {static_cast<std::uint32_t>(bytes.size()), static_cast<std::uint32_t>(at)};
        at += bytes.size();
    }
    if (!file.seek(at) || !file.write(pageSeparator)) return false;
    FileHeader& h = score.header;
    h.setVersion(2, 2);
    h.setTitle(title);
    h.setEndOfData(static_cast<std::uint32_t>(at));
    h.blockFlags() = FlagsForBlocks(score.blocks, h.blockFlags());
    return WriteDocumentBlocks(file, h, score.fonts, table, score.blocks) && file.flush();
}

}  // namespace

bool ExportInterchange(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& target) {
    const FileHeader header = exportHeader(doc, target);
    std::vector<std::uint8_t> bytes;
    AppendInterchangeHead(header, doc.fonts, bytes);
    for (int n = 1; n <= doc.pageCount; ++n) {
        const PageView page = ViewPage(doc, ui, n);
        if (!page) {
            ShowError(ui, msg::readError);
            return false;
        }
        AppendInterchangePage(*page, bytes);
    }
    AppendInterchangeTail(doc.optional, header.blockFlags(), bytes);

    const std::filesystem::path temporary = stagingName(target);
    bool complete = false;
    if (auto file = BinaryFile::open(temporary, "wb")) complete = file->write(bytes) && file->flush();
    if (!commitStaged(temporary, target, complete)) {
        ShowError(ui, msg::writeError);
        return false;
    }
    MessageWithName(ui, msg::written, target.filename().string());
    return true;
}

bool ImportInterchange(UiServices& ui, const std::filesystem::path& source, const std::filesystem::path& target,
                       const StaffLayoutModel& model) {
    std::vector<std::uint8_t> bytes;
    if (!readWhole(source, bytes)) {
        ShowError(ui, msg::diskError);
        return false;
    }
    DecodedInterchange decoded = DecodeInterchange(bytes);
    if (decoded.fault != InterchangeFault::None) {
        ShowError(ui, decoded.fault == InterchangeFault::Head ? msg::diskError : msg::readError);
        return false;
    }
    InterchangeScore& score = decoded.score;
    // Format 2.0 stored no staff layout of its own: its pages take the model in use.
    if (score.header.minorVersion() == 0)
        for (PageRecord& page : score.pages) ApplyStaffLayoutModel(model, page);

    const std::filesystem::path temporary = stagingName(target);
    bool complete = false;
    if (auto file = BinaryFile::open(temporary, "wb+")) {
        complete = writeDocumentFile(*file, score, target.filename().string());
    }
    // The previous document of that name is kept as ".old" before the new one takes its place.
    if (complete && std::filesystem::exists(target)) complete = CopyFile(target, WithExtension(target, ".old"));
    if (!commitStaged(temporary, target, complete)) {
        ShowError(ui, msg::diskError);
        return false;
    }
    return true;
}

}  // namespace notavera
