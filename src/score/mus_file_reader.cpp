// Opening a document: the working copy, the header with its load repairs, the optional blocks,
// the fonts, the page table (checked entry by entry) and the first window of pages.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include "platform/message_ids.h"
#include "platform/messages.h"
#include "score/binary_file.h"
#include "score/mus_file.h"
#include "score/mus_page_codec.h"
#include "score/optional_blocks_codec.h"
#include "score/page_size.h"
#include "score/page_window.h"
#include "score/work_files.h"

namespace notavera {

namespace {

constexpr std::size_t pageTableSize = std::tuple_size_v<PageTable> * 8;

// Message 3 names the converter that can read the refused version.
void reportRefusedVersion(UiServices& ui, unsigned major, unsigned minor) {
    std::string converter;
    if (major == 1 && (minor == 3 || minor == 4))
        converter = "WINNVCNV.EXE";
    else if (major == 1 && minor <= 2)
        converter = "OLD2NEW.EXE";
    else
        converter = MessageText(11);
    const std::string pattern(MessageText(3));
    const int n = std::snprintf(nullptr, 0, pattern.c_str(), major, minor, converter.c_str());
    std::string text(static_cast<std::size_t>(std::max(n, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern.c_str(), major, minor, converter.c_str());
    Beep(ui);
    ui.showMessage({"Erreur", 3, text, MessageIcon::Exclamation, MessageButtons::Ok});
}

void reportStatus(UiServices& ui, int status, const std::filesystem::path& path) {
    if (status == FileReadFailure) {
        const std::string name = path.string();
        ShowError(ui, msg::cannotRead, &name);
    } else if (status == FileIoError) {
        ShowError(ui, msg::diskError);
    }
}

// The header as loaded, with the values a document may lack taken from the open document.
void repairLoadedHeader(FileHeader& loaded, ScoreDocument& doc) {
    loaded.pageFormat().repairLoaded();
    auto midi = loaded.midi();
    if (midi.horizontalTolerance() == 0) {
        midi.horizontalTolerance() = static_cast<std::uint8_t>(std::clamp(2 * doc.stepUnit, 0, 255));
        midi.verticalTolerance() = static_cast<std::uint8_t>(std::clamp(3 * doc.stepUnit / 2, 0, 255));
    }
    if (loaded.smallStaffNum() == 0) {
        loaded.smallStaffNum() = doc.header.smallStaffNum();
        loaded.smallStaffDen() = doc.header.smallStaffDen();
        loaded.cueNum() = doc.header.cueNum();
        loaded.cueDen() = doc.header.cueDen();
    }
    if (loaded.averageBeamHeightTenths() == 0) {
        const long tenths = std::lround(doc.settings.averageBeamHeight * 10);
        loaded.setAverageBeamHeightTenths(static_cast<std::int8_t>(std::clamp(tenths, -128L, 127L)));
    } else {
        doc.settings.averageBeamHeight = loaded.averageBeamHeightTenths() / 10.0;
    }
}

PageTable decodePageTable(std::span<const std::uint8_t> bytes) {
    PageTable table{};
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = {le::u32(bytes, i * 8), le::u32(bytes, i * 8 + 4)};
    return table;
}

// Every page must lie after the fixed blocks, hold at least its own record head and end within
// the data: a table that says otherwise would make the reader and the next save go astray.
bool pageTableFits(const PageTable& table, int pageCount, std::uint32_t endOfData) {
    for (int i = 0; i < pageCount; ++i) {
        const PageTableEntry& e = table[static_cast<std::size_t>(i)];
        if (e.length < pageRecordHeadSize || e.offset < firstPageOffset ||
            std::uint64_t{e.offset} + e.length > endOfData)
            return false;
    }
    return true;
}

// Message 22: the file carries much more dead space than pages.
bool wantsCompacting(const PageTable& table, int pageCount) {
    const PageTableEntry& last = table[static_cast<std::size_t>(pageCount - 1)];
    if (last.offset < 130401) return false;
    std::uint64_t largestOffset = 0, sum = 0;
    for (int i = 0; i < pageCount; ++i) {
        largestOffset = std::max<std::uint64_t>(largestOffset, table[static_cast<std::size_t>(i)].offset);
        sum += table[static_cast<std::size_t>(i)].length;
    }
    const std::uint64_t span = largestOffset + last.length - firstPageOffset;
    return 2 * span > 3 * sum;
}

std::uint64_t largestPageLength(const PageTable& table, int pageCount) {
    std::uint64_t largest = 0;
    for (int i = 0; i < pageCount; ++i)
        largest = std::max<std::uint64_t>(largest, table[static_cast<std::size_t>(i)].length);
    return largest;
}

bool readAt(BinaryFile& file, std::uint64_t offset, std::span<std::uint8_t> out) {
    return file.seek(offset) && file.read(out);
}

// The blocks after the data; message 13 for a mask page that lost a staff.
std::optional<OptionalBlocks> readOptionalBlocks(UiServices& ui, BinaryFile& file, std::uint32_t endOfData,
                                                 std::uint8_t flags) {
    constexpr std::uint8_t blockBits = block_flag::pagination | block_flag::pageHeader | block_flag::pageFooter |
                                       block_flag::fixedMask | block_flag::variableMask | block_flag::notes;
    if ((flags & blockBits) == 0) return OptionalBlocks{};
    const std::uint64_t start = std::uint64_t{endOfData} + sizeof pageSeparator;
    const std::uint64_t size = file.size();
    std::vector<std::uint8_t> bytes(start < size ? static_cast<std::size_t>(size - start) : 0);
    if (!bytes.empty() && !readAt(file, start, bytes)) return std::nullopt;
    auto decoded = DecodeOptionalBlocks(bytes, flags);
    if (!decoded) return std::nullopt;
    for (int cut : {decoded->fixedMaskCutStaff, decoded->variableMaskCutStaff})
        if (cut != 0) ShowErrorFormatted(ui, 13, 0, cut);
    return std::move(decoded->blocks);
}

// Loads the window ending at the current page; a page that fails is reported (message 12) and
// dropped, and loading goes on with the pages after it. False when no page could be loaded.
bool loadFirstWindow(ScoreDocument& doc, UiServices& ui, int current) {
    while (doc.pageCount > 0) {
        current = std::clamp(current, 1, doc.pageCount);
        PageRange window = OpeningWindow(current, doc.storage.keepBefore);
        for (int n = window.first; n <= window.last;) {
            auto page = LoadPage(doc, ui, n);
            if (page) {
                doc.pages.push_back(std::move(*page));
                ++n;
                continue;
            }
            DropDamagedPage(doc, ui, n);
            --window.last;
        }
        if (!doc.pages.empty()) {
            doc.storage.windowFirst = window.first;
            doc.storage.windowLast = window.last;
            doc.currentPage = window.last;
            return true;
        }
    }
    return false;
}

// The staff and element that were current when the file was saved, as far as the page has them.
void placeCursor(ScoreDocument& doc) {
    const PageRecord* page = doc.page();
    const int staffCount = page ? static_cast<int>(page->staves.size()) : 0;
    doc.currentStaff = doc.header.currentStaff() < staffCount ? doc.header.currentStaff() : 0;
    doc.currentElement = -1;
    const StaffRecord* staff = doc.staff();
    if (!staff || staff->elements.empty()) return;
    const auto& elements = staff->elements;
    const auto it = std::find_if(elements.begin(), elements.end(),
                                 [x = doc.header.currentX()](const ElementRecord& e) { return e.x == x; });
    doc.currentElement = it == elements.end() ? 0 : static_cast<int>(it - elements.begin());
}

int loadWorkingFile(ScoreDocument& doc, UiServices& ui, BinaryFile& file) {
    const std::uint64_t size = file.size();
    FileHeader header;
    if (!readAt(file, 0, header.bytes)) return FileReadFailure;
    if (header.majorVersion() != 2 || (header.minorVersion() != 1 && header.minorVersion() != 2)) {
        reportRefusedVersion(ui, header.majorVersion(), header.minorVersion());
        return FileVersionRefused;
    }
    const std::uint32_t endOfData = header.endOfData();
    const int pageCount = header.pageCount();
    if (pageCount < 1 || pageCount > maxPages || endOfData < firstPageOffset || endOfData > size)
        return FileReadFailure;
    repairLoadedHeader(header, doc);
    auto blocks = readOptionalBlocks(ui, file, endOfData, header.blockFlags());
    if (!blocks) return FileReadFailure;

    FontBlock fonts;
    std::array<std::uint8_t, pageTableSize> tableBytes{};
    if (!readAt(file, fontBlockOffset, fonts.bytes) || !readAt(file, pageTableOffset, tableBytes))
        return FileReadFailure;
    PageTable table = decodePageTable(tableBytes);
    if (!pageTableFits(table, pageCount, endOfData)) return FileReadFailure;
    // Entries past the last page are empty in a sound file; stale ones must not place a new page.
    std::fill(table.begin() + pageCount, table.end(), PageTableEntry{});
    if (wantsCompacting(table, pageCount)) ShowError(ui, 22);

    doc.header = header;
    applyPageSize(doc);
    doc.fonts = fonts;
    doc.optional = std::move(*blocks);
    doc.pages.clear();
    doc.pageCount = pageCount;
    doc.modified = false;
    doc.storage.pageTable = table;
    doc.storage.keepBefore = KeptBeforeFor(largestPageLength(table, pageCount));
    const int stored = header.currentPage();
    if (!loadFirstWindow(doc, ui, stored == 0 ? pageCount : stored)) return FileReadFailure;
    placeCursor(doc);
    return FileOk;
}

int openStatus(const std::filesystem::path& path) {
    // A folder opens for reading here, and then reads as a failing disk: it is simply no score.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return FileReadFailure;
    int error = 0;
    if (BinaryFile::open(path, "rb", &error)) return FileOk;
    return error == EIO ? FileIoError : FileReadFailure;
}

}  // namespace

void DropDamagedPage(ScoreDocument& doc, UiServices& ui, int n) {
    ShowErrorFormatted(ui, 12, n);
    RemovePageNumber(doc, n);
}

void RemovePageNumber(ScoreDocument& doc, int n) {
    PageTable& table = doc.storage.pageTable;
    std::copy(table.begin() + n, table.begin() + doc.pageCount, table.begin() + (n - 1));
    table[static_cast<std::size_t>(doc.pageCount - 1)] = {};
    --doc.pageCount;
    // The pages after it move down one number, in the working file and in memory.
    ShiftStoredPageNumbers(doc, n, -1);
    for (PageRecord& page : doc.pages)
        if (page.number > static_cast<std::uint32_t>(n)) --page.number;
    doc.markModified();
}

void ShiftStoredPageNumbers(ScoreDocument& doc, int first, int by) {
    BinaryFile* file = doc.storage.working.get();
    if (file == nullptr) return;
    const PageTable& table = doc.storage.pageTable;
    for (int q = first; q <= doc.pageCount; ++q) {
        const PageTableEntry& entry = table[static_cast<std::size_t>(q - 1)];
        if (entry.length == 0) continue;  // not written yet: nothing stored to renumber
        const std::uint64_t at = std::uint64_t{entry.offset} + sizeof pageSeparator;
        std::array<std::uint8_t, 4> stored{};
        if (!readAt(*file, at, stored) || le::u32(stored, 0) != static_cast<std::uint32_t>(q - by)) continue;
        le::putU32(stored, 0, static_cast<std::uint32_t>(q));
        if (file->seek(at)) file->write(stored);
    }
    file->flushBuffers();
}

std::optional<PageRecord> LoadPage(const ScoreDocument& doc, UiServices& ui, int number) {
    BinaryFile* file = doc.storage.working.get();
    if (!file || number < 1 || number > doc.pageCount) return std::nullopt;
    const PageTableEntry& at = doc.storage.pageTable[static_cast<std::size_t>(number - 1)];
    if (at.length < pageRecordHeadSize || at.offset < firstPageOffset ||
        std::uint64_t{at.offset} + at.length > file->size())
        return std::nullopt;
    std::vector<std::uint8_t> bytes(at.length);
    if (!readAt(*file, at.offset, bytes)) return std::nullopt;
    auto decoded = DecodePage(bytes, static_cast<std::uint32_t>(number));
    if (!decoded) return std::nullopt;
    if (decoded->cutStaff != 0) ShowErrorFormatted(ui, 13, number, decoded->cutStaff);
    return std::move(decoded->page);
}

PageView ViewPage(const ScoreDocument& doc, UiServices& ui, int number) {
    if (const PageRecord* page = doc.findPage(number)) return {page, std::nullopt};
    return {nullptr, LoadPage(doc, ui, number)};
}

int InspectDocument(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& path) {
    int status = openStatus(path);
    if (status == FileOk) {
        // A copy of its own, gone from the folder as soon as it is open: the document's working file and its lock
        // belong to the editor that may hold them.
        const char* tmp = std::getenv("TMPDIR");
        std::string name = std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/notavera-info-XXXXXX";
        const int fd = mkostemp(name.data(), O_CLOEXEC);
        if (fd >= 0) {
            ::close(fd);
            if (CopyFile(path, name)) doc.storage.working = BinaryFile::open(name, "rb+");
            ::unlink(name.c_str());
        }
        status = doc.storage.working ? loadWorkingFile(doc, ui, *doc.storage.working) : FileIoError;
    }
    if (status != FileOk) {
        reportStatus(ui, status, path);
        doc.storage.working.reset();
        return status;
    }
    doc.storage.path = path;
    doc.storage.fileState = FileState::Open;
    return FileOk;
}

int ReadDocument(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& path, bool recoveryCheck) {
    int status = openStatus(path);
    if (status != FileOk) {
        reportStatus(ui, status, path);
        return status;
    }
    DocumentStorage& storage = doc.storage;
    storage.working.reset();
    storage.path = path;
    storage.workingPath = WorkingFileName(path);
    if (!PrepareWorkingFile(doc, ui, path, recoveryCheck)) return FileIoError;  // it has told the user why
    storage.working = BinaryFile::open(storage.workingPath, "rb+");
    status = storage.working ? loadWorkingFile(doc, ui, *storage.working) : FileReadFailure;
    if (status != FileOk) {
        reportStatus(ui, status, path);
        doc.pages.clear();
        doc.pageCount = 0;
        DeleteWorkFiles(doc);
        return status;
    }
    storage.fileState = FileState::Open;
    return FileOk;
}

int ReloadWorkingFile(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& source) {
    DocumentStorage& storage = doc.storage;
    if (storage.workingPath.empty()) return FileReadFailure;
    if (storage.working && !storage.working->flush()) return FileIoError;
    storage.working.reset();
    // The copy is staged and renamed over the working file: a copy that fails leaves the working file whole.
    const bool copied = ReplaceWithCopy(source, storage.workingPath);
    storage.working = BinaryFile::open(storage.workingPath, "rb+");
    if (!storage.working) return FileReadFailure;
    if (!copied) return FileIoError;
    return loadWorkingFile(doc, ui, *storage.working);
}

}  // namespace notavera
