// Whole-file copies: the plain copy in 32768-byte blocks, and the safe replacement of a file by a
// copy staged beside it, flushed to disk and renamed over it, so that the target is never half written; and the
// removal of the staged copies a killed run left.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace notavera {

// Copies source to destination in blocks of 32768 bytes; nothing happens (and the result is true)
// when the source does not exist, or when both names designate the same file. False when the copy failed.
bool CopyFile(const std::filesystem::path& source, const std::filesystem::path& destination);

// A copy of a file written under a temporary name in its target's folder and flushed to disk.
// The temporary file is removed unless the copy is committed.
class StagedCopy {
public:
    // Empty when the source cannot be read or the copy cannot be written in full.
    static std::optional<StagedCopy> write(const std::filesystem::path& source, const std::filesystem::path& target);
    StagedCopy(StagedCopy&& other) noexcept;
    StagedCopy& operator=(StagedCopy&&) = delete;
    StagedCopy(const StagedCopy&) = delete;
    StagedCopy& operator=(const StagedCopy&) = delete;
    ~StagedCopy();

    // Renames the copy over the target in one step. False (target unchanged) on failure.
    bool commit();

private:
    StagedCopy(std::filesystem::path temporary, std::filesystem::path target)
        : temporary_(std::move(temporary)), target_(std::move(target)) {}
    std::filesystem::path temporary_;
    std::filesystem::path target_;
};

// Replaces target by a copy of source through a StagedCopy. False (target unchanged) on failure.
bool ReplaceWithCopy(const std::filesystem::path& source, const std::filesystem::path& target);

// True when `name` is a name StagedCopy gives a copy of a target named `targetName`:
// "." + targetName + "." + six letters or digits.
bool IsStagedCopyName(std::string_view name, std::string_view targetName);

// Removes the staged copies of `target` that an interrupted run left beside it: regular files of
// this user bearing a staging name of that very target, nothing else.
void RemoveStagedCopies(const std::filesystem::path& target);

}  // namespace notavera
