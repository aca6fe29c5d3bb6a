#include "bench/ToolRun.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace visemer::bench {

ChildRun runTool(const char* tool, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(tool)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execv(tool, argv.data());
        _exit(127);
    }
    ChildRun run;
    const auto started = std::chrono::steady_clock::now();
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, WNOHANG, &usage) == 0) {
        // Until exec the child is a copy of this process, whose samples
        // would count; only the tool's own memory does.
        const std::string proc = "/proc/" + std::to_string(child);
        std::string name;
        std::getline(std::ifstream(proc + "/comm"), name);
        if (name != "visemer-tool") {
            usleep(1'000);
            continue;
        }
        std::ifstream statusFile(proc + "/status");
        for (std::string line; std::getline(statusFile, line);)
            if (line.rfind("VmHWM:", 0) == 0)
                run.peakKb = std::max(run.peakKb, std::strtol(line.c_str() + 6, nullptr, 10));
        usleep(10'000);
    }
    run.wallSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.ok = run.status == 0;
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return run;
}

} // namespace visemer::bench
