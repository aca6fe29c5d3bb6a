#include "project/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace visemer {
namespace {

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

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

} // namespace

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)), target_(std::move(other.target_)),
      temporary_(std::move(other.temporary_)), failed_(other.failed_) {}

AtomicFile& AtomicFile::operator=(AtomicFile&& other) noexcept {
    if (this != &other) {
        discard();
        file_ = std::exchange(other.file_, nullptr);
        target_ = std::move(other.target_);
        temporary_ = std::move(other.temporary_);
        failed_ = other.failed_;
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
    if (stat(target.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode) || access(target.c_str(), W_OK) != 0)
            return false;
        mode = info.st_mode & 07777;
    } else if (errno != ENOENT) {
        return false;
    }

    std::string pattern = folderOf(target) + "/." + nameOf(target) + ".XXXXXX";
    const int descriptor = mkstemp(pattern.data());
    if (descriptor < 0)
        return false;
    fchmod(descriptor, mode);
    file_ = fdopen(descriptor, "wb");
    if (!file_) {
        close(descriptor);
        unlink(pattern.c_str());
        return false;
    }
    target_ = target;
    temporary_ = pattern;
    failed_ = false;
    return true;
}

void AtomicFile::write(const std::string& bytes) {
    if (!file_ || bytes.empty())
        return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        failed_ = true;
}

bool AtomicFile::commit() {
    if (!file_)
        return false;
    bool ok = !failed_ && std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (ok)
        ok = std::rename(temporary_.c_str(), target_.c_str()) == 0;
    if (!ok)
        unlink(temporary_.c_str());
    temporary_.clear();
    return ok;
}

void AtomicFile::discard() {
    if (!file_)
        return;
    std::fclose(file_);
    file_ = nullptr;
    unlink(temporary_.c_str());
    temporary_.clear();
}

} // namespace visemer
