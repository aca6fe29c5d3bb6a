#include "tool/Progress.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace visemer::tool {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
constexpr char kClearLine[] = "\r\033[K";

// Whether a bar stands on stderr's line now; read by the signal handler.
std::atomic<bool> barOnScreen{false};

void clearAndEnd(int signal) {
    if (barOnScreen.load()) [[maybe_unused]]
        const auto written = ::write(2, kClearLine, sizeof kClearLine - 1);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void Progress::clearOnInterrupt() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, clearAndEnd);
}

Progress::Progress(std::string what) : what_(std::move(what)), terminal_(::isatty(2) == 1) {}

Progress::~Progress() {
    done();
}

void Progress::show(double fraction, const std::string& detail) {
    if (!terminal_)
        return;
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100);
    const auto now = std::chrono::steady_clock::now();
    if ((percent == lastPercent_ && detail == lastDetail_) ||
        (drawn_ && now - lastDrawn_ < kRedrawEvery && percent < 100))
        return;
    lastPercent_ = percent;
    lastDetail_ = detail;
    lastDrawn_ = now;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(stderr, "%s%s [%s%s] %3d%%%s%s", kClearLine, what_.c_str(),
                 std::string(filled, '#').c_str(), std::string(kBarWidth - filled, ' ').c_str(),
                 percent, detail.empty() ? "" : " ", detail.c_str());
    std::fflush(stderr);
    drawn_ = true;
    barOnScreen = true;
}

void Progress::done() {
    if (!drawn_)
        return;
    barOnScreen = false;
    std::fprintf(stderr, "%s", kClearLine);
    std::fflush(stderr);
    drawn_ = false;
}

} // namespace visemer::tool
