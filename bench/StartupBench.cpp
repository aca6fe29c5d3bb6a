// Start-up time: from starting the process to the first paint of its
// window, for the editor (all 21 pictures loaded, the media service made
// ready off the start-up path) and for a bare Qt window built from the same
// tree, in turns, in the same run. Prints the medians and their ratio.
//
//   startup_bench [--runs N]    (default 21; run from the folder with images/)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <chrono>
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

    std::vector<double> editor;
    std::vector<double> bare;
    // One run of each first, so neither pays for a cold cache in the figures.
    launch(folder + "startup_probe_editor");
    launch(folder + "startup_probe_bare");
    for (int run = 0; run < runs; ++run) {
        editor.push_back(launch(folder + "startup_probe_editor"));
        bare.push_back(launch(folder + "startup_probe_bare"));
        if (editor.back() < 0 || bare.back() < 0) {
            std::fprintf(stderr, "a probe did not paint\n");
            return 1;
        }
    }
    const double editorMedian = median(editor);
    const double bareMedian = median(bare);
    std::printf("bare Qt window  median %6.1f ms\n", bareMedian);
    std::printf("editor          median %6.1f ms\n", editorMedian);
    std::printf("ratio           %6.2f (%d runs each)\n", editorMedian / bareMedian, runs);
    return 0;
}
