// The ".mus" document file: reading a document through its working file, the memory window of
// pages, saving the pages in memory and the header, and the compact copy.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "score/cursor_place.h"
#include "score/records.h"

namespace notavera {

class UiServices;

// Status codes of the file operations.
enum FileStatus : int { FileOk = 0, FileVersionRefused = 3, FileReadFailure = 4, FileIoError = 5 };

inline constexpr std::uint32_t firstPageOffset = 4423;
inline constexpr std::uint32_t fontBlockOffset = 1327;
inline constexpr std::uint32_t pageTableOffset = 2383;
inline constexpr std::uint8_t pageSeparator[7] = {0x23, 0xFE, 0xF4, 0xF5, 0xFE, 0x23, 0x00};

// Opens the document: working file, recovery check (unless `recoveryCheck` is off: batch inspection must leave
// the autosave copy to the editor), header, fonts, page table, window of pages. Reports refusals and failures
// with their messages; returns the status. The working file is left open for reading and writing in
// doc.storage.working.
int ReadDocument(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& path, bool recoveryCheck = true);

// Reads the document for looking at it alone: from a private copy, without its working file, its lock or the
// recovery check, so that it can be read while an editor holds it. Reports failures with their messages.
int InspectDocument(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& path);
// Loads the document again, in place, from `source` (an earlier copy of its working file): the working file is
// replaced by a copy of it and read as at opening, while the document keeps its name, path, title, lock and its
// state outside the file (insertion attributes, settings of the session). FileIoError, with everything as it was,
// when the copy cannot be made; another status when the copy is unreadable (the working file then holds it).
int ReloadWorkingFile(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& source);

// Writes the pages in memory and the header into the working file (creating it when there is
// none); publishes the working file over the document when the file state asks for it.
// The header records `stored` as the place to reopen at, the current place when none is given.
// False when a write failed (the caller reports message 2).
bool SavePages(ScoreDocument& doc, UiServices& ui, const std::optional<CursorPlace>& stored = std::nullopt);

// The same writes without ever publishing: what sliding the window and autosave need.
bool SaveToWorkingFile(ScoreDocument& doc, UiServices& ui, const std::optional<CursorPlace>& stored = std::nullopt);

// Makes page t (clamped to the pages of the score) current by sliding the memory window, saving
// a modified window into the working file first. A page that cannot be read on the way is dropped
// (DropDamagedPage) and the slide goes on to the page the user meant. On a failed save the window and
// the current page are left as they were; returns the status.
int MoveWindowTo(ScoreDocument& doc, UiServices& ui, int page);

// Drops page n, which could not be read, with message 12: it leaves the page table, and the pages after it
// take the number before theirs, in the working file and in memory.
void DropDamagedPage(ScoreDocument& doc, UiServices& ui, int n);
// Page n leaves the page table and the count, and the pages after it take the number before theirs, in the
// working file and in memory. The page's own record, when in memory, is the caller's to remove.
void RemovePageNumber(ScoreDocument& doc, int n);
// The pages from `first` to the last now carry a number `by` away from the one stored for them in the working
// file; each is rewritten there, but only where it still carries its former number, so that a page damaged in
// the same way is still refused when read.
void ShiftStoredPageNumbers(ScoreDocument& doc, int first, int by);

// Reads page `number` from the working file where the page table puts it; a staff cut short is
// reported (message 13) and left empty. Empty when the page cannot be used.
std::optional<PageRecord> LoadPage(const ScoreDocument& doc, UiServices& ui, int number);

// A page to look at wherever it is: the page in memory as it is, or, outside the memory window, a copy
// decoded from the working file (LoadPage). Neither the window nor the current place moves.
class PageView {
public:
    PageView(const PageRecord* inMemory, std::optional<PageRecord> decoded)
        : inMemory_(inMemory), decoded_(std::move(decoded)) {}
    const PageRecord* get() const { return decoded_ ? &*decoded_ : inMemory_; }
    explicit operator bool() const { return get() != nullptr; }
    const PageRecord& operator*() const { return *get(); }
    const PageRecord* operator->() const { return get(); }

private:
    const PageRecord* inMemory_;
    std::optional<PageRecord> decoded_;
};
// Empty (null) when the page is neither in memory nor readable.
PageView ViewPage(const ScoreDocument& doc, UiServices& ui, int number);

// Writes a new file in which the pages lie one after the other from 4423, in page order, taken
// from the working file (saved first when the window is modified). The file is written beside the
// target and renamed over it; on success the working file and the page table take the compact
// layout too. Messages 6 (the target cannot be created), 9 (read) and 1 (write) on failure.
bool WriteCompactCopy(ScoreDocument& doc, UiServices& ui, const std::filesystem::path& target,
                      const std::string& title);

// Header-only writers into the working file.
bool WriteFontBlock(ScoreDocument& doc, UiServices& ui);
bool WritePageTable(ScoreDocument& doc, UiServices& ui);
// The header, the page table and the optional blocks (end-of-data + 7).
bool WriteHeader(ScoreDocument& doc, UiServices& ui);

// One page record as stored (separator included); DecodePage (mus_page_codec.h) reads it back.
std::vector<std::uint8_t> EncodePage(const PageRecord& page);

}  // namespace notavera
