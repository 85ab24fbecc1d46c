#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sim/simulated_camera.h"
#include "support/cli_run.h"

namespace vk::test {

// vk4100ctl run in-process against a simulated camera on its own pseudo-terminal; the stored
// settings and any files go to a folder of the test's own, not the user's.
class CliCameraFixture : public ::testing::Test {
protected:
    explicit CliCameraFixture(const sim::SimOptions& options = {}) : camera(options) {}

    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("vk-cli-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        std::string error;
        ASSERT_TRUE(camera.Start(&error)) << error;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // Runs with the camera's port; the camera's line record starts afresh; keeps both streams.
    int Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--port", camera.DevicePath(), "--timeout", "1000"});
        camera.ClearReceivedLines();
        const CliRun r = RunCliCaptured(args);
        out = r.out;
        err = r.err;
        return r.code;
    }

    std::string File(const std::string& name) const { return (dir / name).string(); }

    sim::SimulatedCamera camera;
    std::filesystem::path dir;
    std::string out, err;
};

}  // namespace vk::test
