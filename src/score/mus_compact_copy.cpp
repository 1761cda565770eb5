// The compact copy of a document: its pages laid one after the other from 4423, without the dead
// space that saving in place leaves behind.
#include <algorithm>
#include <limits>
#include <system_error>
#include <vector>

#include "platform/message_ids.h"
#include "platform/messages.h"
#include "score/binary_file.h"
#include "score/mus_file.h"
#include "score/mus_file_blocks.h"
#include "score/work_files.h"

namespace notavera {

namespace {

constexpr std::size_t copyChunk = 1500;

enum class CopyFault { None, Read, Write };

CopyFault copyBytes(BinaryFile& from, std::uint64_t offset, std::uint32_t length, BinaryFile& to, std::uint64_t at) {
    std::vector<std::uint8_t> chunk(copyChunk);
    for (std::uint32_t done = 0; done < length;) {
        const auto n = std::min<std::size_t>(copyChunk, length - done);
        const std::span<std::uint8_t> part = std::span(chunk).first(n);
        if (!from.seek(offset + done) || !from.read(part)) return CopyFault::Read;
        if (!to.seek(at + done) || !to.write(part)) return CopyFault::Write;
        done += static_cast<std::uint32_t>(n);
    }
    return CopyFault::None;
}

// Copies the pages in table order into `to`; the table receives their new offsets, end-of-data
// the end of the last one.
CopyFault copyPages(const ScoreDocument& doc, BinaryFile& from, BinaryFile& to, PageTable& table,
                    std::uint32_t& endOfData) {
    const std::uint64_t available = from.size();
    std::uint64_t at = firstPageOffset;
    for (int i = 0; i < doc.pageCount; ++i) {
        PageTableEntry& e = table[static_cast<std::size_t>(i)];
        if (std::uint64_t{e.offset} + e.length > available) return CopyFault::Read;
        if (at + e.length + sizeof pageSeparator > std::numeric_limits<std::uint32_t>::max()) return CopyFault::Write;
        if (const CopyFault f = copyBytes(from, e.offset, e.length, to, at); f != CopyFault::None) return f;
        e.offset = static_cast<std::uint32_t>(at);
        at += e.length;
    }
    endOfData = static_cast<std::uint32_t>(at);
    return to.seek(at) && to.write(pageSeparator) ? CopyFault::None : CopyFault::Write;
}

// The working file takes the compact layout as well, so that memory, working file and copy agree.
// It is replaced by a rename, so that a failed copy leaves it as it was.
bool adoptCopy(ScoreDocument& doc, const std::filesystem::path& copy, const PageTable& table,
               std::uint32_t endOfData) {
    DocumentStorage& storage = doc.storage;
    std::filesystem::path temporary = storage.workingPath;
    temporary += ".part";
    std::error_code ec;
    if (!CopyFile(copy, temporary)) {
        std::filesystem::remove(temporary, ec);
        return false;
    }
    storage.working.reset();
    std::filesystem::rename(temporary, storage.workingPath, ec);
    storage.working = BinaryFile::open(storage.workingPath, "rb+");
    if (ec || !storage.working) return false;
    storage.pageTable = table;
    doc.header.setEndOfData(endOfData);
    return true;
}

}  // namespace

bool WriteCompactCopy(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& target,
                      const std::string& title) {
    if ((doc.modified || !doc.storage.working) && !SaveToWorkingFile(doc, ui)) return false;
    BinaryFile& from = *doc.storage.working;

    // Written beside the target and renamed over it: the target is whole until the copy is.
    std::filesystem::path temporary = target;
    temporary += ".part";
    auto to = BinaryFile::open(temporary, "wb+");
    if (!to) {
        const std::string name = target.filename().string();
        ShowError(ui, msg::cannotReopen, &name);
        return false;
    }
    PageTable table = doc.storage.pageTable;
    std::uint32_t endOfData = firstPageOffset;
    CopyFault fault = copyPages(doc, from, *to, table, endOfData);
    if (fault == CopyFault::None) {
        PrepareHeaderForSave(doc);
        FileHeader header = doc.header;
        header.setTitle(title);
        header.setEndOfData(endOfData);
        if (!WriteDocumentBlocks(*to, header, doc.fonts, table, doc.optional) || !to->flush()) fault = CopyFault::Write;
    }
    to.reset();
    std::error_code ec;
    if (fault == CopyFault::None) std::filesystem::rename(temporary, target, ec);
    if (fault != CopyFault::None || ec) {
        std::filesystem::remove(temporary, ec);
        ShowError(ui, fault == CopyFault::Read ? 9 : 1);
        return false;
    }
    if (!adoptCopy(doc, target, table, endOfData)) {
        ShowError(ui, msg::diskError);
        return false;
    }
    return true;
}

}  // namespace notavera
