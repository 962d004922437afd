// Starts two programs alternately A B A B, each reporting the moment of its
// first paint, and prints the median start-up time and peak resident memory
// of each and the median of the pairs' ratios. Both are started twice first
// and those starts not counted: the first start after a build reads its
// files from a cold page cache, which says nothing of the program.
//
//   startup_harness RUNS PROGRAM_A PROGRAM_B

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

long long MonotonicNow()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Start {
    double milliseconds = 0;
    long peakKilobytes = 0;
};

// Runs the program once; false when it did not report a first paint.
bool RunOnce(const char* program, Start& start)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return false;
    }
    const long long launched = MonotonicNow();
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || output.empty()) {
        return false;
    }
    start.milliseconds = static_cast<double>(std::atoll(output.c_str()) - launched) / 1e6;
    start.peakKilobytes = usage.ru_maxrss;
    return true;
}

template <typename T>
T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM_A PROGRAM_B\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<double> times[2];
    std::vector<long> peaks[2];
    for (int warm = 0; warm < 2; ++warm) {
        for (int which = 0; which < 2; ++which) {
            Start ignored;
            RunOnce(argv[2 + which], ignored);
        }
    }
    for (int run = 0; run < runs; ++run) {
        for (int which = 0; which < 2; ++which) {
            Start start;
            if (!RunOnce(argv[2 + which], start)) {
                std::fprintf(stderr, "%s did not report its first paint\n", argv[2 + which]);
                return 1;
            }
            times[which].push_back(start.milliseconds);
            peaks[which].push_back(start.peakKilobytes);
        }
    }
    // Each pair ran side by side, under the same load: the median of their
    // ratios shrugs off a pair that a busy moment slowed.
    std::vector<double> ratios;
    for (std::size_t i = 0; i < times[0].size(); ++i) {
        ratios.push_back(times[0][i] / times[1][i]);
    }
    const double timeA = Median(times[0]);
    const double timeB = Median(times[1]);
    const long peakA = Median(peaks[0]);
    const long peakB = Median(peaks[1]);
    std::printf("startup_ms %.2f %.2f %.3f\n", timeA, timeB, Median(ratios));
    std::printf("peak_kB %ld %ld %.3f\n", peakA, peakB, static_cast<double>(peakA) / static_cast<double>(peakB));
    return 0;
}
