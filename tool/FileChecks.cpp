#include "tool/FileChecks.h"

#include "files/AtomicFile.h"
#include "tool/Arguments.h"
#include "tool/Messages.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace visemer::tool {
namespace {

std::string kindOf(const struct stat& info) {
    if (S_ISDIR(info.st_mode))
        return "it is a folder";
    if (S_ISFIFO(info.st_mode))
        return "it is a FIFO, not a file";
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return "it is a device, not a file";
    if (S_ISSOCK(info.st_mode))
        return "it is a socket, not a file";
    return "it is not a regular file";
}

bool startsWith(const std::string& bytes, std::string_view head) {
    return bytes.compare(0, head.size(), head) == 0;
}

} // namespace

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void checkInput(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw InputError("cannot read " + path + ": " + systemReason());
    if (!S_ISREG(info.st_mode))
        throw InputError("cannot read " + path + ": " + kindOf(info));
    if (::access(path.c_str(), R_OK) != 0)
        throw InputError("cannot read " + path + ": " + systemReason());
}

std::string readWholeFile(const std::string& path) {
    checkInput(path);
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        throw InputError("cannot read " + path + ": " + systemReason());
    std::string bytes;
    char block[65536];
    for (;;) {
        const ssize_t got = ::read(descriptor, block, sizeof block);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const std::string reason = systemReason();
            ::close(descriptor);
            throw InputError("cannot read " + path + ": " + reason);
        }
        bytes.append(block, static_cast<std::size_t>(got));
    }
    ::close(descriptor);
    return bytes;
}

void checkOutput(const std::string& path, const std::vector<std::string>& inputs) {
    if (path == kStandardOutput)
        return;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            throw InputError("cannot write " + path + ": " + kindOf(info));
        for (const std::string& input : inputs) {
            struct stat other {};
            if (::stat(input.c_str(), &other) == 0 && other.st_dev == info.st_dev &&
                other.st_ino == info.st_ino)
                throw InputError("will not write " + path + ": it is " +
                                 (input == path ? "the input" : "the input " + input) +
                                 "; name another output");
        }
        if (::access(path.c_str(), W_OK) != 0)
            throw InputError("cannot write " + path + ": " + systemReason());
        return;
    }
    if (errno != ENOENT)
        throw InputError("cannot write " + path + ": " + systemReason());
    const std::string folder = folderOf(path);
    if (::stat(folder.c_str(), &info) != 0)
        throw InputError("cannot write " + path + ": the folder " + folder + " does not exist");
    if (!S_ISDIR(info.st_mode))
        throw InputError("cannot write " + path + ": " + folder + " is not a folder");
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        throw InputError("cannot write " + path + ": " + systemReason());
}

void writeWholeFile(const std::string& path, const std::string& bytes,
                    AtomicFile::Durability durability) {
    if (path == kStandardOutput) {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
            std::fflush(stdout) != 0)
            throw InputError("cannot write to standard output: " + systemReason());
        return;
    }
    checkOutput(path, {});
    AtomicFile file(durability);
    if (!file.create(path))
        throw InputError("cannot write " + path + ": " + systemReason());
    file.write(bytes);
    errno = 0;
    if (!file.commit())
        throw InputError("cannot write " + path + ": " + systemReason());
}

std::string whatItLooksLike(const std::string& bytes) {
    if (bytes.empty())
        return "it is empty";
    if (startsWith(bytes, "RIFF") && bytes.size() >= 12 && bytes.compare(8, 4, "WAVE") == 0)
        return "it looks like a WAV clip";
    if (startsWith(bytes, "ID3") ||
        (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         (static_cast<unsigned char>(bytes[1]) & 0xE0) == 0xE0))
        return "it looks like an MP3 clip";
    if (startsWith(bytes, "OggS"))
        return "it looks like an Ogg clip";
    if (startsWith(bytes, "fLaC"))
        return "it looks like a FLAC clip";
    if (startsWith(bytes, "\x1A\x45\xDF\xA3"))
        return "it looks like a WebM or Matroska file";
    if (startsWith(bytes, "\x89PNG"))
        return "it looks like a PNG picture";
    if (startsWith(bytes, "BM"))
        return "it looks like a bitmap";
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        return "it starts with a byte-order mark, which hides its first group from the editor";
    if (bytes.find('\0') != std::string::npos)
        return "it holds binary data";
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && (bytes[first] == '{' || bytes[first] == '['))
        return "it looks like JSON";
    if (startsWith(bytes, "MohoSwitch1"))
        return "it looks like switch data";
    return "it is text with no [Frames] group";
}

} // namespace visemer::tool
