#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vk::test {

// A program run as a process of its own: standard input a pipe that stays open until
// CloseInput, standard output and error gathered in one file, the environment given.
class SpawnedProgram {
public:
    SpawnedProgram(const std::string& path, const std::vector<std::string>& args,
                   const std::vector<std::string>& environment) {
        char name[] = "/tmp/vk-spawned-XXXXXX";
        const int out = ::mkstemp(name);
        outputPath_ = name;
        int input[2] = {-1, -1};
        if (out < 0 || ::pipe2(input, O_CLOEXEC) != 0) return;
        // Everything the child needs is made before the fork: threads of this process may
        // hold the allocator's lock.
        argv_ = {path};
        argv_.insert(argv_.end(), args.begin(), args.end());
        env_ = environment;
        std::vector<char*> a;
        for (auto& s : argv_)
            a.push_back(s.data());
        a.push_back(nullptr);
        std::vector<char*> e;
        for (auto& s : env_)
            e.push_back(s.data());
        e.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(input[0], STDIN_FILENO);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(out, STDERR_FILENO);
            ::execve(a[0], a.data(), e.data());
            ::_exit(127);
        }
        ::close(out);
        ::close(input[0]);
        input_ = input[1];
    }
    ~SpawnedProgram() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        CloseInput();
        ::unlink(outputPath_.c_str());
    }
    SpawnedProgram(const SpawnedProgram&) = delete;
    SpawnedProgram& operator=(const SpawnedProgram&) = delete;

    // The environment of this process with some variables replaced ("NAME=value").
    static std::vector<std::string> EnvironmentWith(const std::vector<std::string>& changes) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            bool replaced = false;
            for (const auto& c : changes)
                replaced = replaced ||
                           entry.substr(0, entry.find('=') + 1) == c.substr(0, c.find('=') + 1);
            if (!replaced) env.push_back(entry);
        }
        env.insert(env.end(), changes.begin(), changes.end());
        return env;
    }

    bool Started() const { return pid_ > 0; }
    void Signal(int number) const {
        if (pid_ > 0) ::kill(pid_, number);
    }
    bool Input(const std::string& text) const {
        return input_ >= 0 &&
               ::write(input_, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    }
    void CloseInput() {
        if (input_ >= 0) ::close(input_);
        input_ = -1;
    }
    bool Running() {
        if (status_ || pid_ <= 0) return false;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
        return !status_;
    }
    // The wait status once the program ended, or nothing when it did not end in time.
    std::optional<int> Wait(int timeoutMs) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Running() && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return status_;
    }
    std::string Output() const {
        std::ifstream in(outputPath_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::vector<std::string> argv_;
    std::vector<std::string> env_;
    pid_t pid_ = -1;
    int input_ = -1;
    std::optional<int> status_;
    std::string outputPath_;
};

// True once `done` holds, checked every 20 ms until the time runs out.
template <class Done>
bool WaitUntil(Done done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace vk::test
