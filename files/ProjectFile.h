#pragma once

#include "files/AtomicFile.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace visemer {

// The project file: named groups of "key = value" lines. Written in one
// pass with CR LF line ends; read leniently, with group and key names
// compared without regard to ASCII case and the first match winning.
// One instance serves the whole program; it is closed, open for writing or
// open for reading, and opening one file closes the other.
class ProjectFile {
public:
    // Writing. A file that cannot be created leaves the instance closed and
    // every later call doing nothing; the new file replaces the old one
    // only when closeProject finds everything written.
    bool createProject(const std::string& path);
    void writeKey(std::string_view key, std::string_view value);
    // Writing to memory instead: what a file would have held, taken whole
    // by takeText, which closes.
    void createText();
    std::string takeText();

    // Reading. A file that cannot be read reads as empty.
    bool openProject(const std::string& path);
    // Reads a file's bytes already in memory, as openProject reads a file.
    void openText(std::string text);
    std::string readKey(std::string_view key, std::string_view fallback);

    // Writing: writes the group's header. Reading: makes it the current
    // group; 1 if found. The empty name goes back to the start and gives 0.
    int selectGroup(std::string_view name);
    // False when a file being written could not be put in place whole.
    bool closeProject();

private:
    enum class Mode { Closed, Writing, Reading };
    static constexpr std::size_t kNoGroup = std::string::npos;

    struct KeyLine {
        std::string_view key;
        std::string_view value;
    };

    std::size_t nextLine(std::size_t at) const;
    std::size_t groupEnd(std::size_t from) const;
    // The key and value of a "key = value" line; nothing for a comment or a
    // line without "=".
    std::optional<KeyLine> keyLine(std::size_t line) const;
    struct InOrder {
        bool answered = false; // false: the index must answer
        std::optional<std::string_view> value;
    };
    InOrder readInOrder(std::string_view key);
    void emit(const std::string& line);
    void indexCurrentGroup();

    Mode mode_ = Mode::Closed;
    AtomicFile out_;
    bool inMemory_ = false; // writing goes to text_
    std::string text_;
    std::size_t group_ = kNoGroup;
    // The keys of the current group, folded to lower case, with the value
    // of each one's first line; built on the group's first lookup. The keys
    // point into foldedGroup_, the values into text_.
    std::string foldedGroup_;
    std::unordered_map<std::string_view, std::string_view> keys_;
    std::string soughtKey_;
    bool indexed_ = false;
    // Keys asked for as 1, 2, 3 ... and found line after line, as the
    // editor writes them, are read straight from the text: every line
    // before the cursor answered an earlier, smaller number, so none of them
    // can hold the key asked for now. Anything else builds the index.
    bool inOrder_ = true;
    std::size_t cursor_ = kNoGroup;
    long long lastNumber_ = -1;
};

} // namespace visemer
