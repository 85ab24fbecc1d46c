#include "bench_support.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace vk::bench {

SimProcess::SimProcess(const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        std::vector<char*> argv{const_cast<char*>(VK_SIM_PROGRAM)};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(VK_SIM_PROGRAM, argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n')
        path_ += c;
    ::close(out[0]);
    if (path_.empty()) throw std::runtime_error("the simulator did not start");
}

SimProcess::~SimProcess() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

namespace {

std::vector<std::string> SimArgs(std::uint32_t baud, const std::vector<std::string>& more) {
    std::vector<std::string> args = {"--baud", std::to_string(baud)};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

}  // namespace

BenchCamera::BenchCamera(std::uint32_t baud, const std::vector<std::string>& simArgs)
    : sim(SimArgs(baud, simArgs)), baud_(baud) {}

bool BenchCamera::Connect() {
    core.port.PinPort(sim.DevicePath());
    if (!core.channel.OpenChannel(ChannelMode::ComPort, baud_, 0) || !core.modelCheck.Check()) {
        std::fprintf(stderr, "no answer from the simulated camera\n");
        return false;
    }
    core.logs.messages.Clear();
    return true;
}

std::size_t BenchCamera::WireBytes() const {
    std::size_t bytes = 0;
    for (const auto& line : core.logs.messages.Lines())
        bytes += line.size() + 2;  // CR LF
    return bytes;
}

double BenchCamera::LineLimitSeconds() const {
    return LineSeconds(WireBytes(), baud_);
}

namespace {
double ProcessCpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    auto s = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}
}  // namespace

Stopwatch::Stopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(ProcessCpuSeconds()) {}

double Stopwatch::WallSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count();
}

double Stopwatch::CpuSeconds() const {
    return ProcessCpuSeconds() - cpu_;
}

double LineSeconds(std::size_t bytes, std::uint32_t baud) {
    return bytes * 10.0 / baud;
}

void Report(const std::string& name, const Stopwatch& watch, double limitSeconds) {
    const double wall = watch.WallSeconds();
    std::printf("%s: time_s=%.3f limit_s=%.3f ratio=%.3f cpu_pct=%.1f\n", name.c_str(), wall,
                limitSeconds, wall / limitSeconds, 100.0 * watch.CpuSeconds() / wall);
}

}  // namespace vk::bench
