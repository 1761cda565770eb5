// Saving: the pages in memory into the working file (in place when they fit, at the end of the
// data when they grew), then the header and its blocks, then publishing when the document asks.
#include <algorithm>
#include <limits>

#include "score/binary_file.h"
#include "score/mus_file.h"
#include "score/mus_file_blocks.h"
#include "score/page_window.h"
#include "score/work_files.h"
#include "shell/editor_context.h"

namespace notavera {

namespace {

// The working file to write into. A document that has none yet gets a new one, which holds the
// font table from the start and is published at the end of the save. Message 1 when it cannot be made.
BinaryFile* workingFileForSave(EditorContext& ctx) {
    DocumentStorage& storage = ctx.doc.storage;
    if (storage.working) return storage.working.get();
    if (storage.workingPath.empty() && !storage.path.empty()) storage.workingPath = WorkingFileName(storage.path);
    if (!storage.workingPath.empty()) {
        // An existing working file holds the pages outside the window: it is reopened, never recreated.
        const bool create = storage.fileState == FileState::None;
        storage.working = BinaryFile::open(storage.workingPath, create ? "wb+" : "rb+");
        if (storage.working && create) {
            if (!storage.working->seek(fontBlockOffset) || !storage.working->write(ctx.doc.fonts.bytes))
                storage.working.reset();
            else
                storage.fileState = FileState::Publish;
        }
    }
    if (!storage.working) ShowError(ctx.ui, 1);
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

// Header copies of the cursor: the current page, staff and the x of the current element (the
// staff's default x when there is none). While a mask is edited the cursor stands on the mask page,
// which is no page of the score: the place the editing goes back to is stored, so that the document
// reopens where the user works.
void storeCursor(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    const bool mask = ctx.shell.maskEditing;
    const int page = mask ? ctx.shell.maskReturn.page : doc.currentPage;
    const int staff = mask ? ctx.shell.maskReturn.staff : doc.currentStaff;
    const int element = mask ? ctx.shell.maskReturn.element : doc.currentElement;
    doc.header.currentPage() = static_cast<std::uint8_t>(std::clamp(page, 0, maxPages));
    doc.header.currentStaff() = static_cast<std::uint8_t>(std::clamp(staff, 0, 255));
    doc.header.setCurrentX(ElementX(doc, page, staff, element));
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

bool SaveToWorkingFile(EditorContext& ctx) {
    ScoreDocument& doc = ctx.doc;
    BinaryFile* file = workingFileForSave(ctx);
    if (!file) return false;
    storeCursor(ctx);
    std::uint32_t endOfData = std::max(doc.header.endOfData(), firstPageOffset);
    for (const PageRecord& page : doc.pages) {
        const bool written = writePage(doc, *file, page, endOfData);
        doc.header.setEndOfData(endOfData);
        if (!written) return false;
    }
    // Other streams read the working file next (publishing, autosave copy): they must see every byte.
    return writeHeaderBlocks(doc, *file) && file->flushBuffers();
}

bool SavePages(EditorContext& ctx) {
    if (!SaveToWorkingFile(ctx)) return false;
    if (ctx.doc.storage.fileState != FileState::Publish) return true;
    if (!PublishWorkingFile(ctx)) return false;
    ctx.doc.storage.fileState = FileState::Open;
    return true;
}

bool WriteFontBlock(EditorContext& ctx) {
    BinaryFile* file = workingFileForSave(ctx);
    return file && file->seek(fontBlockOffset) && file->write(ctx.doc.fonts.bytes) && file->flushBuffers();
}

bool WritePageTable(EditorContext& ctx) {
    BinaryFile* file = workingFileForSave(ctx);
    return file && file->seek(pageTableOffset) && file->write(EncodePageTable(ctx.doc.storage.pageTable)) &&
           file->flushBuffers();
}

bool WriteHeader(EditorContext& ctx) {
    BinaryFile* file = workingFileForSave(ctx);
    return file && writeHeaderBlocks(ctx.doc, *file) && file->flushBuffers();
}

}  // namespace notavera
