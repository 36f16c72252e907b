#pragma once
// The command line timed as a program: started, waited for, each run's wall
// time given to the benchmark (UseManualTime).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <vector>

namespace benchcli {

// Runs argv (argv[0] the program, ending in nullptr) once per iteration;
// false after marking the benchmark skipped when it cannot start or fails.
inline bool TimeRuns(benchmark::State& state, const std::vector<const char*>& argv) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (::posix_spawn(&pid, argv[0], nullptr, nullptr, const_cast<char* const*>(argv.data()), environ) != 0)
            return state.SkipWithError("cannot start the command"), false;
        int status = 0;
        ::waitpid(pid, &status, 0);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return state.SkipWithError("the command failed"), false;
    }
    return true;
}

}  // namespace benchcli
