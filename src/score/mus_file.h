// The ".mus" document file: reading a document through its working file, the memory window of
// pages, saving the pages in memory and the header, and the compact copy.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "score/records.h"

namespace notavera {

struct EditorContext;

// Status codes of the file operations.
enum FileStatus : int { FileOk = 0, FileVersionRefused = 3, FileReadFailure = 4, FileIoError = 5 };

inline constexpr std::uint32_t firstPageOffset = 4423;
inline constexpr std::uint32_t fontBlockOffset = 1327;
inline constexpr std::uint32_t pageTableOffset = 2383;
inline constexpr std::uint8_t pageSeparator[7] = {0x23, 0xFE, 0xF4, 0xF5, 0xFE, 0x23, 0x00};

// Opens the document: working file, recovery check, header, fonts, page table, window of pages.
// Reports refusals and failures with their messages; returns the status.
int ReadDocument(EditorContext& ctx, const std::filesystem::path& path);

// Writes the pages in memory and the header into the working file (creating it when there is
// none); publishes the working file over the document when the file state asks for it.
// False when a write failed (the caller reports message 2).
bool SavePages(EditorContext& ctx);

// Makes page t current by sliding the memory window (saving a modified window first).
int MoveWindowTo(EditorContext& ctx, int page);

// Writes a new file in which the pages lie one after the other from 4423, in page order.
bool WriteCompactCopy(EditorContext& ctx, const std::filesystem::path& target, const std::string& title);

// One page record as stored (separator included), and its reverse for a whole stored page.
std::vector<std::uint8_t> EncodePage(const PageRecord& page);

}  // namespace notavera
