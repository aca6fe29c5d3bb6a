#include "files/AtomicFile.h"

#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace visemer {
namespace {

// Bytes gathered before they go to the file in one write.
constexpr std::size_t kWriteChunk = 64 * 1024;

// Writes through a link land on the file it points to, as they would if
// the file were opened in place.
std::string resolveLinks(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved))
        return path;
    return resolved;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// A hidden name short enough for any folder, whatever the target is called.
std::string shortHiddenName(const std::string& folder) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name = folder + "/.~";
    for (int i = 0; i < 6; ++i)
        name += kLetters[pick(random)];
    return name;
}

bool readWhole(const std::string& path, std::string& bytes) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    bytes.clear();
    std::array<char, 65536> chunk{};
    for (;;) {
        const ssize_t got = read(descriptor, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            close(descriptor);
            return got == 0;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(got));
    }
}

// Loops over partial writes; a write that puts nothing down (a full disk, a
// size limit) fails the whole.
bool writeAt(int descriptor, const char* bytes, std::size_t size, off_t at) {
    while (size > 0) {
        const ssize_t put = pwrite(descriptor, bytes, size, at);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes += put;
        size -= static_cast<std::size_t>(put);
        at += put;
    }
    return true;
}

void syncFolder(const std::string& folder) {
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
}

} // namespace

void keepWritesFromEndingTheProgram() {
    std::signal(SIGXFSZ, SIG_IGN);
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), method_(other.method_),
      target_(std::move(other.target_)), temporary_(std::move(other.temporary_)),
      buffer_(std::move(other.buffer_)), oldBytes_(std::move(other.oldBytes_)),
      written_(std::exchange(other.written_, 0)), failed_(other.failed_),
      durability_(other.durability_) {}

AtomicFile& AtomicFile::operator=(AtomicFile&& other) noexcept {
    if (this != &other) {
        discard();
        descriptor_ = std::exchange(other.descriptor_, -1);
        method_ = other.method_;
        target_ = std::move(other.target_);
        temporary_ = std::move(other.temporary_);
        buffer_ = std::move(other.buffer_);
        oldBytes_ = std::move(other.oldBytes_);
        written_ = std::exchange(other.written_, 0);
        failed_ = other.failed_;
        durability_ = other.durability_;
    }
    return *this;
}

bool AtomicFile::create(const std::string& path) {
    discard();
    if (path.empty())
        return false;
    const std::string target = resolveLinks(path);
    struct stat info {};
    mode_t mode = newFileMode();
    bool exists = false;
    if (stat(target.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode) || access(target.c_str(), W_OK) != 0)
            return false;
        mode = info.st_mode & 07777;
        exists = true;
    } else if (errno != ENOENT) {
        return false;
    }
    target_ = target;
    failed_ = false;
    written_ = 0;
    buffer_.clear();

    // Replacing a file with other names, or another user's file, would cut
    // it loose from those names or make it the writer's own.
    if (exists && (info.st_nlink > 1 || info.st_uid != geteuid()))
        return openInPlace(target);
    const std::string folder = folderOf(target);
    if (openUnnamed(folder, mode) || openNamed(folder, mode))
        return true;
    // A folder that takes no new files may still hold a file that can be
    // written.
    if (exists && (errno == EACCES || errno == EPERM || errno == EROFS))
        return openInPlace(target);
    target_.clear();
    return false;
}

bool AtomicFile::openUnnamed(const std::string& folder, unsigned mode) {
#ifdef O_TMPFILE
    // Linking the file into place goes through /proc.
    if (access("/proc/self/fd", X_OK) != 0)
        return false;
    const int descriptor = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (descriptor < 0)
        return false;
    fchmod(descriptor, static_cast<mode_t>(mode));
    descriptor_ = descriptor;
    method_ = Method::Unnamed;
    return true;
#else
    (void)folder;
    (void)mode;
    return false;
#endif
}

bool AtomicFile::openNamed(const std::string& folder, unsigned mode) {
    std::string name = folder + "/.~XXXXXX";
    const int descriptor = mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0)
        return false;
    fchmod(descriptor, static_cast<mode_t>(mode));
    descriptor_ = descriptor;
    method_ = Method::Named;
    temporary_ = name;
    return true;
}

bool AtomicFile::openInPlace(const std::string& target) {
    if (!readWhole(target, oldBytes_))
        return false;
    const int descriptor = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    descriptor_ = descriptor;
    method_ = Method::InPlace;
    return true;
}

bool AtomicFile::flush() {
    if (!failed_ && !buffer_.empty()) {
        if (writeAt(descriptor_, buffer_.data(), buffer_.size(), static_cast<off_t>(written_)))
            written_ += static_cast<long long>(buffer_.size());
        else
            failed_ = true;
    }
    buffer_.clear();
    return !failed_;
}

void AtomicFile::write(const std::string& bytes) {
    if (descriptor_ < 0 || failed_ || bytes.empty())
        return;
    buffer_ += bytes;
    if (buffer_.size() >= kWriteChunk)
        flush();
}

bool AtomicFile::putInPlace() {
    return ftruncate(descriptor_, static_cast<off_t>(written_)) == 0 && fsync(descriptor_) == 0;
}

void AtomicFile::restoreInPlace() {
    if (writeAt(descriptor_, oldBytes_.data(), oldBytes_.size(), 0))
        if (ftruncate(descriptor_, static_cast<off_t>(oldBytes_.size())) == 0)
            fsync(descriptor_);
}

bool AtomicFile::commit() {
    if (descriptor_ < 0)
        return false;
    bool ok = flush();
    const std::string folder = folderOf(target_);
    const bool synced = durability_ == Durability::Synced;
    switch (method_) {
    case Method::InPlace:
        ok = ok && putInPlace();
        if (!ok)
            restoreInPlace();
        break;
    case Method::Named:
        ok = ok && (!synced || fsync(descriptor_) == 0);
        ok = close(std::exchange(descriptor_, -1)) == 0 && ok;
        ok = ok && std::rename(temporary_.c_str(), target_.c_str()) == 0;
        if (!ok)
            unlink(temporary_.c_str());
        break;
    case Method::Unnamed: {
        ok = ok && (!synced || fsync(descriptor_) == 0);
        const std::string self = "/proc/self/fd/" + std::to_string(descriptor_);
        if (ok) {
            // A new target takes the file's first name at once; an old one
            // is replaced by a rename from a short-lived second name.
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) != 0) {
                ok = false;
                for (int tries = 0; tries < 100 && !ok; ++tries) {
                    const std::string name = shortHiddenName(folder);
                    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) !=
                        0) {
                        if (errno == EEXIST)
                            continue;
                        break;
                    }
                    ok = std::rename(name.c_str(), target_.c_str()) == 0;
                    if (!ok) {
                        unlink(name.c_str());
                        break;
                    }
                }
            }
        }
        break;
    }
    }
    if (ok && synced)
        syncFolder(folder);
    reset();
    return ok;
}

bool syncFileSystemOf(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = syncfs(descriptor) == 0;
    close(descriptor);
    return synced;
}

void AtomicFile::discard() {
    if (descriptor_ < 0 && temporary_.empty())
        return;
    if (method_ == Method::InPlace && descriptor_ >= 0 && written_ > 0)
        restoreInPlace();
    if (method_ == Method::Named && !temporary_.empty())
        unlink(temporary_.c_str());
    reset();
}

void AtomicFile::reset() {
    if (descriptor_ >= 0)
        close(descriptor_);
    descriptor_ = -1;
    written_ = 0;
    temporary_.clear();
    buffer_.clear();
    oldBytes_.clear();
    oldBytes_.shrink_to_fit();
}

} // namespace visemer
