#pragma once

#include <gtest/gtest.h>

#include <QSettings>
#include <QString>
#include <string>
#include <vector>

#include "cl/cl_test_support.h"
#include "sim/simulated_camera.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace vk::test {

// vk4100ctl over the fake Camera Link libraries, whose ports lead to a simulated camera, with
// the stored settings in a folder of the test's own.
class ClCliFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(camera.Start(&error)) << error;
        fake.env.Set(fakecl::kDevice, camera.DevicePath());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(config.Path().string()));
    }

    CliRun Cli(const std::vector<std::string>& args) { return RunCliCaptured(args); }

    FakeClEnvironment fake;
    TempDir config;
    sim::SimulatedCamera camera;
};

}  // namespace vk::test
