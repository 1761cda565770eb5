// The working-file lock: an exclusive, non-blocking flock on a lock file beside the working file.
#include "score/working_file_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace notavera {

WorkingFileLock::WorkingFileLock(WorkingFileLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)) {}

WorkingFileLock& WorkingFileLock::operator=(WorkingFileLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
    }
    return *this;
}

// True when the descriptor still designates the file at `path`: the previous holder removes the
// lock file before letting go, so a lock taken on a removed file guards nothing.
static bool StillNamed(int fd, const std::filesystem::path& path) {
    struct stat held {};
    struct stat named {};
    if (fstat(fd, &held) != 0 || stat(path.c_str(), &named) != 0) return false;
    return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

WorkingFileLock::Result WorkingFileLock::acquire(const std::filesystem::path& lockFile) {
    release();
    // A holder that lets go between our open and our flock removed the file: try again on the new one.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const int fd = open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) return Result::Failed;
        int rc;
        do rc = flock(fd, LOCK_EX | LOCK_NB);
        while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            const int reason = errno;
            close(fd);
            return reason == EWOULDBLOCK ? Result::HeldElsewhere : Result::Failed;
        }
        if (StillNamed(fd, lockFile)) {
            fd_ = fd;
            path_ = lockFile;
            return Result::Acquired;
        }
        close(fd);
    }
    return Result::Failed;
}

void WorkingFileLock::release() {
    if (fd_ < 0) return;
    // Removed while still held, so that nobody can lock the name we are about to give up.
    unlink(path_.c_str());
    close(fd_);
    fd_ = -1;
    path_.clear();
}

std::filesystem::path LockFileName(const std::filesystem::path& working) {
    return working.parent_path() / ("." + working.filename().string() + ".lock");
}

}  // namespace notavera
