#include <unistd.h>

#include <atomic>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "cli_app.h"

namespace {

std::atomic<bool> interrupted{false};

// The first Ctrl-C stops the command between its steps; a second one ends at once.
void OnInterrupt(int) {
    if (interrupted.exchange(true)) std::_Exit(130);
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, OnInterrupt);
    std::vector<std::string> args(argv + 1, argv + argc);
    vk::cli::CliEnvironment environment;
    environment.progressOnStderr = ::isatty(STDERR_FILENO) == 1;
    environment.interrupted = &interrupted;
    return vk::cli::RunCli(args, std::cout, std::cerr, environment);
}
