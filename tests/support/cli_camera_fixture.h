#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sim/simulated_camera.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace vk::test {

// vk4100ctl run in-process against a simulated camera on its own pseudo-terminal; the stored
// settings and any files go to a folder of the test's own, not the user's.
class CliCameraFixture : public ::testing::Test {
protected:
    explicit CliCameraFixture(const sim::SimOptions& options = {}) : camera(options) {}

    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        std::string error;
        ASSERT_TRUE(camera.Start(&error)) << error;
    }

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
    TempDir scratch;
    const std::filesystem::path& dir = scratch.Path();
    std::string out, err;
};

}  // namespace vk::test
