// From process start to the painted main window: each iteration starts the
// probe as a new process (parameter file read, both languages built, the
// main window shown and painted) in a working folder of a returning user.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

extern char** environ;

namespace {

long long MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::filesystem::path PrepareFolder() {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "orven-startup-bench";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(ORVEN_PARAMETER_FILE, folder / "OrvenPar.drc",
                             std::filesystem::copy_options::overwrite_existing);
  std::ofstream(folder / "$OrvStat.tmp") << " 0 1 1 0 1\n";
  return folder;
}

void BM_StartUpToFirstPaint(benchmark::State& state) {
  const std::filesystem::path folder = PrepareFolder();
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  for (auto _ : state) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
      state.SkipWithError("pipe failed");
      break;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    char probe[] = ORVEN_STARTUP_PROBE;
    char* arguments[] = {probe, nullptr};
    const long long started = MonotonicNanoseconds();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, probe, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
      close(pipeFds[0]);
      state.SkipWithError("could not start the probe");
      break;
    }
    std::string output;
    char buffer[64];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    const long long painted = std::atoll(output.c_str());
    if (painted <= started || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      state.SkipWithError("the probe did not paint its window");
      break;
    }
    state.SetIterationTime(static_cast<double>(painted - started) * 1e-9);
  }
  std::filesystem::current_path(previous);
}
BENCHMARK(BM_StartUpToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
