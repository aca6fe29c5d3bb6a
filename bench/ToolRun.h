#pragma once

#include <string>
#include <vector>

namespace visemer::bench {

// visemer-tool run as a child process, and what it took.
struct ChildRun {
    bool ok = false; // it ended with status 0
    int status = -1; // its exit status, when it exited
    long peakKb = 0; // its peak resident memory
    double cpuSeconds = 0;
    double wallSeconds = 0;
};

// Runs the tool with the arguments and waits for it. The peak memory is
// read from the tool's own process, after it has started: until then the
// child is a copy of the benchmark, whose memory would count.
ChildRun runTool(const char* tool, const std::vector<std::string>& arguments);

} // namespace visemer::bench
