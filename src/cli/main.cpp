#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_app.h"

namespace {

std::atomic<bool> interrupted{false};
std::atomic<int> stopSignal{0};
constexpr auto kStopGrace = std::chrono::seconds(5);

#ifndef _WIN32
int stopPipe[2] = {-1, -1};

// A program blocked in a call that no signal breaks (a device that never answers its
// open) still ends: a stop signal gives it kStopGrace to end the normal way.
void WatchForStop() {
    char byte = 0;
    while (::read(stopPipe[0], &byte, 1) < 0 && errno == EINTR) {
    }
    std::this_thread::sleep_for(kStopGrace);
    std::_Exit(128 + stopSignal.load());
}
#endif

// Ctrl-C, SIGTERM and SIGHUP stop the command between its steps, and the program ends the
// normal way: port released, settings written, no crash recorded. A second one ends it at
// once, and so does the first one after kStopGrace. Only async-signal-safe calls here.
void OnStopSignal(int number) {
    if (interrupted.exchange(true)) std::_Exit(128 + number);
    stopSignal = number;
#ifndef _WIN32
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(stopPipe[1], &byte, 1);
    // Standard input ends too, so that a command waiting for a line sees its end: a read
    // that the signal broke is restarted on /dev/null.
    const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::close(null);
    }
#endif
}

void CatchStopSignals() {
#ifdef _WIN32
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
#else
    if (::pipe2(stopPipe, O_CLOEXEC) == 0) std::thread(WatchForStop).detach();
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(number, &action, nullptr);
#endif
}

}  // namespace

int main(int argc, char** argv) {
    CatchStopSignals();
    std::vector<std::string> args(argv + 1, argv + argc);
    vk::cli::CliEnvironment environment;
    environment.progressOnStderr = ::isatty(STDERR_FILENO) == 1;
    environment.interrupted = &interrupted;
    return vk::cli::RunCli(args, std::cout, std::cerr, environment);
}
