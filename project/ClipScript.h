#pragma once

#include <cstdint>
#include <string>

namespace visemer {

class TextFiles;

// The clip-event script, written through the numbered text files. It
// counts each row's delay down once per player frame, then jumps the mouth
// clip to the row's drawing. The rows go in twice, as the two arrays:
//
//   ClipScript::opening(files);
//   ClipScript::openArray(files, "del"); ... item per row ... closeArray
//   ClipScript::openArray(files, "jmp"); ... item per row ... closeArray
//   ClipScript::closing(files, rows);
//
// The editor and the command-line tool both write through here.
namespace ClipScript {

inline constexpr const char* kDelays = "del";
inline constexpr const char* kJumps = "jmp";

void opening(TextFiles& files);
void openArray(TextFiles& files, const char* name);
void item(TextFiles& files, const std::string& text);
void closeArray(TextFiles& files);
void closing(TextFiles& files, std::int64_t rows);

// A label's frame of the mouth clip as text; any other text jumps as it
// stands.
std::string jumpTarget(const std::string& label);

} // namespace ClipScript
} // namespace visemer
