// Start-up time: from starting the process to the main window being shown,
// for the program and for a bare Qt window of the same size, both offscreen
// in the same run. The goal: the program within 1.5 times the bare window.
// Also the program starting on a private JACK server, as a DJ's program
// starts (goal: under 0.35 s).
#include "tests/platform/audio/jack_server.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Starts `program`, waits for its "shown" line and returns the seconds that
// took; the process is then left to finish and reaped. Negative on failure.
double secondsToShown(const std::string& program, const std::vector<std::string>& arguments,
                      const std::vector<std::string>& extraEnvironment) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    for (const auto& e : extraEnvironment)
        env.push_back(e);
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args{program};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return -1;
    }
    std::string out;
    char buffer[256];
    double seconds = -1;
    for (;;) {
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
        if (out.find("main window shown") != std::string::npos) {
            seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            break;
        }
    }
    while (read(pipeFds[0], buffer, sizeof buffer) > 0) {
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return seconds;
}

std::vector<std::string> offscreenEnvironment(const QTemporaryDir& dir) {
    const std::string d = dir.path().toStdString();
    return {"QT_QPA_PLATFORM=offscreen",
            "VORLAN_AUDIO=silent",
            "VORLAN_QUIT_AFTER_MS=0",
            "VORLAN_REGISTRY=" + d + "/registry.db",
            "XDG_CONFIG_HOME=" + d + "/config",
            "XDG_DATA_HOME=" + d + "/data",
            "XDG_RUNTIME_DIR=" + d};
}

void run(benchmark::State& state, const std::string& program,
         const std::vector<std::string>& arguments, bool silent = true) {
    QTemporaryDir dir;
    auto env = offscreenEnvironment(dir);
    if (!silent)
        env.erase(std::find(env.begin(), env.end(), "VORLAN_AUDIO=silent"));
    secondsToShown(program, arguments, env); // first run: settings written, caches warm
    for (auto _ : state) {
        const double seconds = secondsToShown(program, arguments, env);
        if (seconds < 0) {
            state.SkipWithError("the process did not report its window");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_BareQtWindowShown(benchmark::State& state) {
    run(state, BARE_WINDOW_EXE, {"869", "274"});
}
BENCHMARK(BM_BareQtWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The same bare window in a process that loads the program's libraries.
void BM_BareWindowWithProgramLibrariesShown(benchmark::State& state) {
    run(state, BARE_WINDOW_LINKED_EXE, {"869", "274"});
}
BENCHMARK(BM_BareWindowWithProgramLibrariesShown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

void BM_VorlanMainWindowShown(benchmark::State& state) {
    run(state, VORLAN_EXE, {});
}
BENCHMARK(BM_VorlanMainWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// On a private JACK server: the engine starts on its output, as on a DJ's machine.
void BM_VorlanMainWindowShownOnJack(benchmark::State& state) {
    static audio_test::JackServer server(44100);
    if (!server.running()) {
        state.SkipWithError(("JACK cannot start here: " + server.failure()).c_str());
        return;
    }
    server.select();
    ::unsetenv("VORLAN_AUDIO");
    run(state, VORLAN_EXE, {}, false);
}
BENCHMARK(BM_VorlanMainWindowShownOnJack)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace

BENCHMARK_MAIN();
