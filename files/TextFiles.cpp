#include "files/TextFiles.h"

#include <filesystem>

namespace visemer {

TextFiles::Open* TextFiles::current() {
    const auto found = files_.find(current_);
    return found == files_.end() ? nullptr : &found->second;
}

bool TextFiles::createFile(int number, const std::string& path) {
    closeFile(number);
    current_ = -1;
    Open made;
    if (!made.writing.create(path))
        return false;
    files_[number] = std::move(made);
    current_ = number;
    return true;
}

bool TextFiles::openFile(int number, const std::string& path) {
    closeFile(number);
    current_ = -1;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        std::ofstream made(path, std::ios::binary);
        if (!made)
            return false;
    }
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    auto stream = std::make_unique<std::ifstream>(path, std::ios::binary);
    if (!*stream)
        return false;
    Open opened;
    opened.reading = std::move(stream);
    files_[number] = std::move(opened);
    current_ = number;
    return true;
}

std::string TextFiles::readLine() {
    Open* file = current();
    if (!file || !file->reading)
        return {};
    std::istream& in = *file->reading;
    std::string line;
    for (;;) {
        const int c = in.get();
        if (c == std::char_traits<char>::eof() || c == '\n' || c == '\0')
            break;
        if (c == '\r') {
            if (in.peek() == '\n')
                in.get();
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    return line;
}

void TextFiles::writeText(const std::string& text) {
    if (Open* file = current())
        file->writing.write(text);
}

void TextFiles::writeLine(const std::string& text) {
    writeText(text + "\r\n");
}

bool TextFiles::closeFile(int number) {
    const auto found = files_.find(number);
    if (found == files_.end())
        return true;
    const bool written = !found->second.writing.isOpen() || found->second.writing.commit();
    files_.erase(found);
    if (current_ == number)
        current_ = -1;
    return written;
}

void TextFiles::closeAll() {
    while (!files_.empty())
        closeFile(files_.begin()->first);
}

std::string readRelayFile(TextFiles& files, int number, const std::string& path) {
    if (!files.openFile(number, path))
        return {};
    std::string line = files.readLine();
    files.closeFile(number);
    return line;
}

void writeRelayFile(TextFiles& files, int number, const std::string& path,
                    const std::string& text) {
    if (files.createFile(number, path))
        files.writeText(text);
    files.closeFile(number);
}

} // namespace visemer
