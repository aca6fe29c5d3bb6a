#include "tool/Progress.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace visemer::tool {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

} // namespace

Progress::Progress(std::string what) : what_(std::move(what)), terminal_(::isatty(2) == 1) {}

Progress::~Progress() {
    done();
}

void Progress::show(double fraction) {
    if (!terminal_)
        return;
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100);
    const auto now = std::chrono::steady_clock::now();
    if (percent == lastPercent_ || (drawn_ && now - lastDrawn_ < kRedrawEvery && percent < 100))
        return;
    lastPercent_ = percent;
    lastDrawn_ = now;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(stderr, "\r%s [%s%s] %3d%%", what_.c_str(), std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), percent);
    std::fflush(stderr);
    drawn_ = true;
}

void Progress::done() {
    if (!drawn_)
        return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    drawn_ = false;
}

} // namespace visemer::tool
