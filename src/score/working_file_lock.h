// The advisory lock that keeps a second running instance away from a document's working file.
// It is an flock on a small lock file: the system drops it when the process ends, so a crash never leaves it held.
#pragma once

#include <filesystem>

namespace notavera {

class WorkingFileLock {
public:
    enum class Result { Acquired, HeldElsewhere, Failed };

    WorkingFileLock() = default;
    WorkingFileLock(const WorkingFileLock&) = delete;
    WorkingFileLock& operator=(const WorkingFileLock&) = delete;
    WorkingFileLock(WorkingFileLock&& other) noexcept;
    WorkingFileLock& operator=(WorkingFileLock&& other) noexcept;
    ~WorkingFileLock() { release(); }

    // Takes the lock on `lockFile` (created when missing) without waiting. Each call opens its own
    // description of the file, so two locks of one process exclude each other like two processes do.
    Result acquire(const std::filesystem::path& lockFile);
    // Removes the lock file, then lets the lock go.
    void release();

    bool held() const { return fd_ >= 0; }
    const std::filesystem::path& path() const { return path_; }

private:
    int fd_ = -1;
    std::filesystem::path path_;
};

// The lock file that guards a working file: a hidden name beside it.
std::filesystem::path LockFileName(const std::filesystem::path& working);

}  // namespace notavera
