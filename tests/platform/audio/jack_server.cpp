#include "tests/platform/audio/jack_server.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <jack/jack.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace audio_test {
namespace {

// How long a starting server may take before it counts as failed.
constexpr auto startTimeout = std::chrono::seconds(10);
// Names tried per program and rate: a second run of the same program (or
// one that crashed) must not leave us without a name, and names repeat so
// that JACK's registry of servers reclaims those of servers that died.
constexpr int namesPerRate = 4;

// Where `tool` lies on PATH; empty when it is not installed.
std::string toolPath(const std::string& tool) {
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t at = 0; at <= folders.size();) {
        const std::size_t end = std::min(folders.find(':', at), folders.size());
        const std::string candidate = folders.substr(at, end - at) + "/" + tool;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        at = end + 1;
    }
    return {};
}

// Starts `words` (the first is the program's path) with its output
// discarded; the child is killed when this process ends. -1 on failure.
pid_t spawn(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // Only async-signal-safe calls here: the test process has threads.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execve(argv[0], argv.data(), environ);
        ::_exit(127);
    }
    return pid;
}

// True once server `name` takes clients. Asked from a child process: a
// failed client open leaves libjack in this process believing the server
// gone, and it then closes the clients it opens later.
bool takesClients(const std::string& name) {
    static const std::string lsp = toolPath("jack_lsp");
    const pid_t pid = spawn({lsp, "-s", name});
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace

bool JackServer::realtimeUnlessAskedNot() {
    return std::getenv("VORLAN_JACK_NO_REALTIME") == nullptr;
}

JackServer::JackServer(int rate, bool realtime) : rate_(rate), realtime_(realtime) {
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
    ::setenv("JACK_NO_START_SERVER", "1", 1);
    ::setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    for (int k = 0; k < namesPerRate && !running(); ++k) {
        name_ = std::string("vorlan-") + program_invocation_short_name + "-" +
                std::to_string(rate) + "-" + std::to_string(k);
        // JACK 1.9.21's clients corrupt their heap on a server name of
        // exactly 24 characters ("vorlan-bench_app-44100-0").
        if (name_.size() == 24)
            name_ += "-";
        if (!takesClients(name_)) // else the name is in use
            launch();
    }
    if (!running() && failure_.empty())
        failure_ = "every server name this program may use is taken";
    select();
}

JackServer::~JackServer() {
    stop();
}

void JackServer::stop() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 300 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (::waitpid(pid_, &status, WNOHANG) == 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
}

// Clients of this process, PortAudio's included, go to this server only,
// and never start one of their own.
void JackServer::select() const {
    ::setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
}

bool JackServer::launch() {
    failure_.clear();
    const std::string jackd = toolPath("jackd");
    if (jackd.empty() || toolPath("jack_lsp").empty()) {
        failure_ = "jackd is not installed (package jackd2)";
        return false;
    }
    pid_ = spawn({jackd, "-n", name_, realtime_ ? "--realtime" : "--no-realtime", "-d", "dummy",
                  "-r", std::to_string(rate_), "-p", std::to_string(periodFrames), "-P",
                  std::to_string(playbackPorts)});
    if (pid_ < 0) {
        failure_ = "jackd could not be started";
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            failure_ = "jackd exited at start-up (status " + std::to_string(status) + ")";
            return false;
        }
        if (takesClients(name_))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill();
    failure_ = "jackd did not take clients within 10 s";
    return false;
}

void JackServer::kill() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

} // namespace audio_test
