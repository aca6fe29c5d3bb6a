// The decimal reader on arbitrary text: no overflow, and what it writes
// back reads as the same number.
#include "text/DecimalText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::int32_t value = visemer::readDecimal(text);
    if (visemer::readDecimal(visemer::writeDecimal(value)) != value)
        std::abort();
    visemer::addSaturated(value, 1);
    visemer::addSaturated(value, -2);
    return 0;
}
