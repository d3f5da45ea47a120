// Runs a command and prints "wall_seconds peak_kib cpu_seconds" for it, with
// millisecond resolution (/usr/bin/time rounds to hundredths, which is too
// coarse for runs of a few tens of milliseconds). The command's own output is
// left as it is; its exit status is passed on.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: time_run OUTPUT_FILE COMMAND [ARGUMENT...]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        std::perror("wait4");
        return 2;
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 2;
    }
    std::fprintf(out, "%.4f %ld %.4f\n", wall, usage.ru_maxrss, seconds(usage.ru_utime) + seconds(usage.ru_stime));
    std::fclose(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
