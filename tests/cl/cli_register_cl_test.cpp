// Register access through each kind of Camera Link serial library: the same GenCP packets,
// read whole although the libraries hand over bytes all or nothing.
#include <gtest/gtest.h>

#include <QSettings>
#include <QString>

#include "cl/cl_cli_fixture.h"
#include "cli/cli_app.h"
#include "sim/description_zip.h"
#include "sim/simulated_camera.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace vk::cli {
namespace {

using test::CliRun;

class CliRegisterClTest : public test::ClCliFixture {
protected:
    test::TempDir files;
};

TEST_F(CliRegisterClTest, RegistersAndTheDownloadWorkInEveryLibraryMode) {
    const auto zip = sim::SimDescriptionZip();
    int value = 1000;
    for (const char* mode : {"cl2000", "cl2001", "cl11"}) {
        SCOPED_TRACE(mode);
        ++value;
        CliRun r =
            Cli({"--mode", mode, "--port", "0", "reg", "write", "0x20200", std::to_string(value)});
        ASSERT_EQ(r.code, kExitOk) << r.err;
        r = Cli({"get", "PE"});  // the text protocol, on the stored selection
        ASSERT_EQ(r.code, kExitOk) << r.err;
        EXPECT_EQ(r.out, std::to_string(value) + "\n");

        const std::string file = files / (std::string(mode) + ".zip");
        r = Cli({"xml", "download", file});
        ASSERT_EQ(r.code, kExitOk) << r.err;
        EXPECT_EQ(test::ReadFile(file), std::string(zip.begin(), zip.end()));
    }
}

}  // namespace
}  // namespace vk::cli
