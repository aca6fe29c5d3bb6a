#pragma once

#include <chrono>
#include <string>

namespace visemer::tool {

// A one-line progress bar on stderr, drawn only when stderr is a terminal
// and at most ten times a second.
class Progress {
public:
    explicit Progress(std::string what);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // `detail` follows the percentage: counts, the time left.
    void show(double fraction, const std::string& detail = {});
    // Clears the bar's line.
    void done();

    // Ctrl+C or a termination signal clears a bar on the screen before the
    // program ends as the signal would end it. Called once at start.
    static void clearOnInterrupt();

private:
    std::string what_;
    bool terminal_;
    bool drawn_ = false;
    int lastPercent_ = -1;
    std::string lastDetail_;
    std::chrono::steady_clock::time_point lastDrawn_{};
};

} // namespace visemer::tool
