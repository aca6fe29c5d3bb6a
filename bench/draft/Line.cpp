#include "bench/draft/Line.h"

#include <cstdint>
#include <fstream>

namespace visemer::bench {

Line joinLines(const std::vector<Line>& lines, double leadInMs,
               const std::vector<double>& pausesMs) {
    Line joined;
    if (lines.empty())
        return joined;
    joined.rate = lines.front().rate;
    const auto silence = [&](double ms) {
        const double from = joined.lengthMs();
        joined.samples.insert(joined.samples.end(),
                              static_cast<std::size_t>(ms * joined.rate / 1000), 0);
        joined.phones.push_back({from, joined.lengthMs(), "SIL"});
    };
    silence(leadInMs);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            silence(pausesMs[(i - 1) % pausesMs.size()]);
        const double offset = joined.lengthMs();
        for (TimedPhone phone : lines[i].phones) {
            phone.startMs += offset;
            phone.endMs += offset;
            joined.phones.push_back(phone);
        }
        joined.samples.insert(joined.samples.end(), lines[i].samples.begin(),
                              lines[i].samples.end());
        joined.text += lines[i].text + "\n";
    }
    if (lines.front().phones.empty())
        joined.phones.clear();
    return joined;
}

void writeWav(const std::string& path, const Line& line) {
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    const auto bytes = static_cast<std::uint32_t>(line.samples.size() * 2);
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(static_cast<std::uint32_t>(line.rate));
    u32(static_cast<std::uint32_t>(line.rate * 2));
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    out.write(reinterpret_cast<const char*>(line.samples.data()), bytes);
}

} // namespace visemer::bench
