#pragma once

#include "project/RowSource.h"

#include <cstdint>
#include <string>

namespace visemer {

class TextFiles;

// The clip-event script, written through the numbered text files. It
// counts each row's delay down once per player frame, then jumps the mouth
// clip to the row's drawing. The rows go in twice, as the two arrays "del"
// and "jmp". The editor and the command-line tool both write through here.
namespace ClipScript {

// Writes the whole script into the text file just created.
void write(TextFiles& files, RowSource& rows);

// A label's frame of the mouth clip as text; any other text jumps as it
// stands.
std::string jumpTarget(const std::string& label);

} // namespace ClipScript
} // namespace visemer
