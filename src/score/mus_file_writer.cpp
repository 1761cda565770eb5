// Saving: the pages in memory into the working file (in place when they fit, at the end of the
// data when they grew), then the header and its blocks, then publishing when the document asks.
#include <algorithm>
#include <limits>

#include "platform/message_ids.h"
#include "platform/messages.h"
#include "score/binary_file.h"
#include "score/mus_file.h"
#include "score/mus_file_blocks.h"
#include "score/page_window.h"
#include "score/work_files.h"

namespace notavera {

namespace {

// The working file to write into. A document that has none yet gets a new one, which holds the
// font table from the start and is published at the end of the save. Message 1 when it cannot be made.
BinaryFile* workingFileForSave(ScoreDocument& doc, UiServices& ui) {
    DocumentStorage& storage = doc.storage;
    if (storage.working) return storage.working.get();
    if (storage.workingPath.empty() && !storage.path.empty()) storage.workingPath = WorkingFileName(storage.path);
    if (!storage.workingPath.empty()) {
        // An existing working file holds the pages outside the window: it is reopened, never recreated.
        const bool create = storage.fileState == FileState::None;
        storage.working = BinaryFile::open(storage.workingPath, create ? "wb+" : "rb+");
        if (storage.working && create) {
            if (!storage.working->seek(fontBlockOffset) || !storage.working->write(doc.fonts.bytes))
                storage.working.reset();
            else
                storage.fileState = FileState::Publish;
        }
    }
    if (!storage.working) ShowError(ui, msg::diskError);
    return storage.working.get();
}

// The x of element `element` of staff `staff` on page `page` in memory, or the staff's default x when there is none.
int ElementX(const ScoreDocument& doc, int page, int staff, int element) {
    const PageRecord* p = doc.findPage(page);
    if (!p || staff < 0 || staff >= static_cast<int>(p->staves.size())) return doc.defaultFirstX;
    const auto& elements = p->staves[static_cast<std::size_t>(staff)].elements;
    if (element < 0 || element >= static_cast<int>(elements.size())) return doc.defaultFirstX;
    return elements[static_cast<std::size_t>(element)].x;
}

// Header copies of the place the document reopens at: its page, staff and the x of its element (the
// staff's default x when there is none).
void storeCursor(ScoreDocument& doc, const CursorPlace& place) {
    doc.header.currentPage() = static_cast<std::uint8_t>(std::clamp(place.page, 0, maxPages));
    doc.header.currentStaff() = static_cast<std::uint8_t>(std::clamp(place.staff, 0, 255));
    doc.header.setCurrentX(ElementX(doc, place.page, place.staff, place.element));
}

// Writes one page of the window where it belongs and updates its table entry and end-of-data.
bool writePage(ScoreDocument& doc, BinaryFile& file, const PageRecord& page, std::uint32_t& endOfData) {
    if (page.number < 1 || page.number > static_cast<std::uint32_t>(doc.pageCount)) return false;
    const std::vector<std::uint8_t> bytes = EncodePage(page);
    PageTableEntry& entry = doc.storage.pageTable[page.number - 1];
    const bool placed = entry.offset >= firstPageOffset;
    if (bytes.size() > entry.length || !placed) {
        // A grown page moves to the end of the data unless it already ends there.
        if (!placed || std::uint64_t{entry.offset} + entry.length != endOfData) entry.offset = endOfData;
        if (std::uint64_t{entry.offset} + bytes.size() > std::numeric_limits<std::uint32_t>::max()) return false;
        endOfData = entry.offset + static_cast<std::uint32_t>(bytes.size());
    }
    entry.length = static_cast<std::uint32_t>(bytes.size());
    doc.storage.keepBefore = std::min(doc.storage.keepBefore, KeptBeforeFor(entry.length));
    if (!file.seek(entry.offset) || !file.write(bytes)) return false;
    if (entry.offset + entry.length == endOfData && !file.write(pageSeparator)) return false;
    return true;
}

bool writeHeaderBlocks(ScoreDocument& doc, BinaryFile& file) {
    PrepareHeaderForSave(doc);
    return WriteDocumentBlocks(file, doc.header, doc.fonts, doc.storage.pageTable, doc.optional);
}

}  // namespace

bool SaveToWorkingFile(ScoreDocument& doc, UiServices& ui, const std::optional<CursorPlace>& stored) {
    BinaryFile* file = workingFileForSave(doc, ui);
    if (!file) return false;
    storeCursor(doc, stored.value_or(CurrentPlace(doc)));
    std::uint32_t endOfData = std::max(doc.header.endOfData(), firstPageOffset);
    for (const PageRecord& page : doc.pages) {
        const bool written = writePage(doc, *file, page, endOfData);
        doc.header.setEndOfData(endOfData);
        if (!written) return false;
    }
    // Other streams read the working file next (publishing, autosave copy): they must see every byte.
    return writeHeaderBlocks(doc, *file) && file->flushBuffers();
}

bool SavePages(ScoreDocument& doc, UiServices& ui, const std::optional<CursorPlace>& stored) {
    if (!SaveToWorkingFile(doc, ui, stored)) return false;
    if (doc.storage.fileState != FileState::Publish) return true;
    if (!PublishWorkingFile(doc)) return false;
    doc.storage.fileState = FileState::Open;
    return true;
}

bool WriteFontBlock(ScoreDocument& doc, UiServices& ui) {
    BinaryFile* file = workingFileForSave(doc, ui);
    return file && file->seek(fontBlockOffset) && file->write(doc.fonts.bytes) && file->flushBuffers();
}

bool WritePageTable(ScoreDocument& doc, UiServices& ui) {
    BinaryFile* file = workingFileForSave(doc, ui);
    return file && file->seek(pageTableOffset) && file->write(EncodePageTable(doc.storage.pageTable)) &&
           file->flushBuffers();
}

bool WriteHeader(ScoreDocument& doc, UiServices& ui) {
    BinaryFile* file = workingFileForSave(doc, ui);
    return file && writeHeaderBlocks(doc, *file) && file->flushBuffers();
}

}  // namespace notavera
