#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace visemer {

struct PhoneGraph;

// A phone a search found, in frames of 10 ms from its passage's start.
struct PhoneSegment {
    std::string phone; // one of the 39 English phones, or "SIL"
    int first = 0;
    int end = 0; // one past its last frame
};

// Searches one passage of 16 kHz mono speech at a time.
class PhoneSearch {
public:
    virtual ~PhoneSearch() = default;
    // Any sequence of phones.
    virtual std::vector<PhoneSegment> phones(const std::int16_t* samples, std::size_t count) = 0;
    // The phones of a path through the graph; none when no path through it
    // fits the voice.
    virtual std::vector<PhoneSegment> align(const PhoneGraph& graph, const std::int16_t* samples,
                                            std::size_t count) = 0;
};

} // namespace visemer
