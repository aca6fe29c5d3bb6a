#pragma once

#include <string>

namespace visemer::tool {

// A dialogue file's text as UTF-8: UTF-8 as it is (a byte-order mark
// dropped), UTF-16 when a byte-order mark says so. InputError for anything
// else, naming the first byte that is not UTF-8, since text read as the
// wrong encoding aligns letter by letter.
std::string dialogueAsUtf8(const std::string& bytes, const std::string& path);

} // namespace visemer::tool
