#pragma once

#include <stdexcept>

namespace visemer {

// A voice clip or dialogue that cannot be drafted; the message is one line
// for the user.
class VoiceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace visemer
