// Start-up time: from starting the process to the first paint of its
// window, for the editor (all 21 pictures loaded, the media service made
// ready off the start-up path), for a bare Qt window, and for the editor's
// window built straight with Qt, all from the same tree, in turns, in the
// same run. Prints the medians and their ratios.
//
//   startup_bench [--runs N]    (default 21; run from the folder with images/)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <gst/gst.h>
#include <string>
#include <vector>

namespace {

long long nowNs() {
    // The steady clock is the system's monotonic clock, which the probes read too.
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<long long>(std::chrono::nanoseconds(now).count());
}

// Milliseconds from launch to the probe's first paint; negative on failure.
double launch(const std::string& probe) {
    const long long started = nowNs();
    FILE* output = popen(("'" + probe + "' 2>/dev/null").c_str(), "r");
    if (!output)
        return -1;
    long long painted = 0;
    const bool read = std::fscanf(output, "%lld", &painted) == 1;
    pclose(output);
    return read ? static_cast<double>(painted - started) / 1e6 : -1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int runs = 21;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--runs")
            runs = std::atoi(argv[i + 1]);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string self = argv[0];
    const std::string folder = self.substr(0, self.rfind('/') + 1);

    // The editor's media service reads GStreamer's plugin registry and
    // writes it on a machine's first run. A probe ends at its first paint,
    // before that write, so without this every run would rescan the plugins.
    gst_init(nullptr, nullptr);

    const std::vector<std::string> probes{"startup_probe_bare", "startup_probe_plain",
                                          "startup_probe_editor"};
    std::vector<std::vector<double>> times(probes.size());
    // One run of each first, so none pays for a cold cache in the figures.
    for (const std::string& probe : probes)
        launch(folder + probe);
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < probes.size(); ++i) {
            times[i].push_back(launch(folder + probes[i]));
            if (times[i].back() < 0) {
                std::fprintf(stderr, "%s did not paint\n", probes[i].c_str());
                return 1;
            }
        }
    }
    const double bare = median(times[0]);
    const double plain = median(times[1]);
    const double editor = median(times[2]);
    std::printf("bare Qt window           median %6.1f ms\n", bare);
    std::printf("same window, plain Qt    median %6.1f ms  %5.2f x bare\n", plain, plain / bare);
    std::printf("editor                   median %6.1f ms  %5.2f x bare  %5.2f x plain Qt\n",
                editor, editor / bare, editor / plain);
    std::printf("(%d runs each)\n", runs);
    return 0;
}
