#pragma once

#include <chrono>
#include <ctime>

namespace varnel::bench {

// Seconds of the wall clock since a moment.
inline double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The processor time of the process, which other programs on a busy
// machine do not inflate.
inline double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

}  // namespace varnel::bench
