#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sim/pty_client.h"

namespace vk::sim {
namespace {

// Runs vk4100-sim with its standard output and error on pipes.
class Program {
public:
    explicit Program(std::vector<std::string> args) {
        int out[2];
        int err[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        args.insert(args.begin(), VK_SIM_PROGRAM);
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, VK_SIM_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        out_ = fdopen(out[0], "r");
        err_ = err[0];
    }
    ~Program() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
        if (out_ != nullptr) {
            fclose(out_);
        }
        ::close(err_);
    }

    std::string OutputLine() {
        char line[512] = {};
        return out_ != nullptr && fgets(line, sizeof line, out_) != nullptr ? line : "";
    }
    std::string Errors() {
        std::string text;
        char buffer[512];
        ssize_t n = 0;
        while ((n = ::read(err_, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }
    void Signal(int signal) { kill(pid_, signal); }
    // The exit status, or -1 when it did not exit normally.
    int Wait() {
        int status = 0;
        const pid_t pid = std::exchange(pid_, -1);
        if (pid <= 0 || waitpid(pid, &status, 0) != pid) {
            return -1;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
    int err_ = -1;
};

TEST(ProgramTest, PrintsTheDeviceServesAndStopsOnATerminationSignal) {
    char pattern[] = "/tmp/vksim-program-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string link = std::string(pattern) + "/camera";
    for (int signal : {SIGTERM, SIGINT}) {
        Program sim({"--model", "VK-4100M-PMCL", "--baud", "115200", "--link", link});
        std::string path = sim.OutputLine();
        ASSERT_FALSE(path.empty());
        ASSERT_EQ(path.back(), '\n');
        path.pop_back();
        EXPECT_EQ(std::filesystem::read_symlink(link), path);
        {
            test::PtyClient client(path);
            EXPECT_EQ(client.Ask("MD?"), "MD=VK-4100M-PMCL");
        }
        sim.Signal(signal);
        EXPECT_EQ(sim.Wait(), 0);
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
    }
    std::filesystem::remove_all(pattern);
}

TEST(ProgramTest, AFaultCanBeChosenFromTheCommandLine) {
    const struct {
        const char* fault;
        const char* line;
        std::vector<std::string> heard;
    } cases[] = {
        {"error-on-set", "PE=20", {"ERROR\r\n"}},
        {"twice=50", "PE?", {"PE=10\r\n", "PE=10\r\n"}},  // the answer once more
    };
    for (const auto& c : cases) {
        Program sim({"--fault", c.fault});
        std::string path = sim.OutputLine();
        ASSERT_FALSE(path.empty()) << c.fault;
        path.pop_back();
        test::PtyClient client(path);
        ASSERT_TRUE(client.Send(std::string(c.line) + "\r\n"));
        std::vector<std::string> heard;
        while (heard.size() < c.heard.size())
            heard.push_back(client.ReadLine().value_or(""));
        EXPECT_EQ(heard, c.heard) << c.fault;
        sim.Signal(SIGTERM);
        EXPECT_EQ(sim.Wait(), 0);
    }
}

TEST(ProgramTest, BadArgumentsAreNamed) {
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--baud", "fast"}, "--baud needs a positive number of bits per second, not \"fast\""},
        {{"--baud", "0"}, "--baud needs a positive number of bits per second, not \"0\""},
        {{"--model"}, "--model needs a value"},
        {{"--colour"}, "unknown argument \"--colour\""},
        {{"--fault", "sulky"}, "unknown fault \"sulky\""},
        {{"--fault", "delay=soon"}, "unknown fault \"delay=soon\""},
        {{"--fault", "twice="}, "unknown fault \"twice=\""},
    };
    for (const auto& c : cases) {
        Program sim(c.args);
        EXPECT_EQ(sim.Wait(), 2);
        const std::string errors = sim.Errors();
        EXPECT_EQ(errors.rfind("vk4100-sim: " + c.message + "\nusage:", 0), 0u) << errors;
        EXPECT_EQ(sim.OutputLine(), "");
    }
}

}  // namespace
}  // namespace vk::sim
