// Whole-file copies over POSIX descriptors: short reads and writes are resumed, every failure is reported.
#include "score/file_copy.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <utility>
#include <vector>

namespace notavera {

namespace {

constexpr std::size_t copyBlock = 32768;

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting a failure that a deferred write may only show here.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool CopyContents(int in, int out) {
    std::vector<std::uint8_t> block(copyBlock);
    for (;;) {
        const ssize_t n = ::read(in, block.data(), block.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        if (!WriteAll(out, block.data(), static_cast<std::size_t>(n))) return false;
    }
}

bool SameFile(int fd, const std::filesystem::path& other) {
    struct stat a {};
    struct stat b {};
    return fstat(fd, &a) == 0 && stat(other.c_str(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A replacement keeps the permissions of the file it replaces; a new file takes those of its source.
mode_t ModeFor(int source, const std::filesystem::path& target) {
    struct stat st {};
    if (stat(target.c_str(), &st) == 0 || fstat(source, &st) == 0) return st.st_mode & 07777;
    return 0644;
}

void SyncFolder(const std::filesystem::path& folder) {
    const Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // Some file systems cannot sync a folder; the rename itself has already succeeded.
    if (dir.valid()) (void)fsync(dir.get());
}

}  // namespace

bool CopyFile(const std::filesystem::path& source, const std::filesystem::path& destination) {
    Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid()) return errno == ENOENT;
    if (SameFile(in.get(), destination)) return true;  // truncating the destination would empty the source
    Descriptor out(::open(destination.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!out.valid()) return false;
    const bool copied = CopyContents(in.get(), out.get());
    return out.close() && copied;
}

std::optional<StagedCopy> StagedCopy::write(const std::filesystem::path& source, const std::filesystem::path& target) {
    const Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid()) return std::nullopt;
    std::string name = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    Descriptor out(mkostemp(name.data(), O_CLOEXEC));
    if (!out.valid()) return std::nullopt;
    StagedCopy staged(name, target);  // from here on the temporary file is removed on failure
    const bool written = fchmod(out.get(), ModeFor(in.get(), target)) == 0 && CopyContents(in.get(), out.get()) &&
                         fsync(out.get()) == 0;
    if (!out.close() || !written) return std::nullopt;
    return staged;
}

StagedCopy::StagedCopy(StagedCopy&& other) noexcept
    : temporary_(std::move(other.temporary_)), target_(std::move(other.target_)) {
    other.temporary_.clear();
}

StagedCopy::~StagedCopy() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

bool StagedCopy::commit() {
    if (temporary_.empty() || ::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    temporary_.clear();
    SyncFolder(target_.parent_path());
    return true;
}

bool ReplaceWithCopy(const std::filesystem::path& source, const std::filesystem::path& target) {
    auto staged = StagedCopy::write(source, target);
    return staged && staged->commit();
}

bool IsStagedCopyName(std::string_view name, std::string_view targetName) {
    constexpr std::size_t suffix = 6;  // what mkostemp puts in place of "XXXXXX"
    if (name.size() != targetName.size() + 2 + suffix || name.front() != '.' ||
        name.substr(1, targetName.size()) != targetName || name[targetName.size() + 1] != '.')
        return false;
    const auto letterOrDigit = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return std::all_of(name.end() - suffix, name.end(), letterOrDigit);
}

void RemoveStagedCopies(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    const std::string targetName = target.filename().string();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::filesystem::path& file = entry.path();
        struct stat st {};
        // A link or a file of another user may bear the name by chance or by malice: it is not ours to remove.
        if (!IsStagedCopyName(file.filename().string(), targetName) || lstat(file.c_str(), &st) != 0 ||
            !S_ISREG(st.st_mode) || st.st_uid != getuid())
            continue;
        ::unlink(file.c_str());
    }
}

}  // namespace notavera
