// Runs a program and writes what it took: wall seconds, user and system
// CPU seconds, peak resident memory in KiB, exit status.
//
// Usage: bench_run_measured FIGURES OUTPUT PROGRAM [ARGUMENTS...]
//   FIGURES  file the figures are written to, one line
//   OUTPUT   file the program's standard output goes to (/dev/null to drop it)
//
// The benchmarks measure their programs through it because Linux counts a
// child's peak memory from the process it was forked from: a program
// spawned straight from a benchmark that holds databases in memory would be
// charged with the benchmark's own memory. This program is small (the C
// library only), so what it adds is about a megabyte.

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s FIGURES OUTPUT PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    timespec start{}, end{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("fork");
        return 2;
    }
    if (pid == 0) {
        const int out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || dup2(out, 1) < 0) {
            std::perror(argv[2]);
            _exit(127);
        }
        close(out);
        execv(argv[3], argv + 3);
        std::perror(argv[3]);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) {
        std::perror("wait4");
        return 2;
    }
    clock_gettime(CLOCK_MONOTONIC, &end);
    std::FILE *figures = std::fopen(argv[1], "w");
    if (!figures) {
        std::perror(argv[1]);
        return 2;
    }
    const double wall = double(end.tv_sec - start.tv_sec) + double(end.tv_nsec - start.tv_nsec) / 1e9;
    std::fprintf(figures, "%.6f %.6f %.6f %ld %d\n", wall, double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6,
                 double(usage.ru_stime.tv_sec) + double(usage.ru_stime.tv_usec) / 1e6, usage.ru_maxrss,
                 WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    std::fclose(figures);
    return 0;
}
