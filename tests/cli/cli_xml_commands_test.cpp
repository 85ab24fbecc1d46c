// vk4100ctl's xml and reg commands against the simulated camera, run in-process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli_app.h"
#include "sim/description_zip.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace vk::cli {
namespace {

using test::CliRun;
using test::ReadFile;
using test::TempDir;
using ::testing::Contains;
using ::testing::HasSubstr;

std::string SimZip() {
    const auto zip = sim::SimDescriptionZip();
    return std::string(zip.begin(), zip.end());
}

class CliXmlTest : public ::testing::Test {
protected:
    CliRun Cli(const std::vector<std::string>& args) { return test::RunCliCaptured(args); }

    // The simulated camera's description, as a download leaves it.
    std::string Downloaded() {
        const std::string file = dir / "camera.zip";
        const CliRun r = Cli({"--simulate", "xml", "download", file});
        EXPECT_EQ(r.code, kExitOk) << r.err;
        return file;
    }

    TempDir dir;
};

TEST_F(CliXmlTest, DownloadWritesTheCamerasFile) {
    const std::string file = dir / "camera.zip";
    const CliRun r = Cli({"--simulate", "xml", "download", file});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    EXPECT_EQ(r.out, "Complete, Please Unzip camera.zip in " +
                         std::filesystem::path(file).parent_path().string() + "\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ReadFile(file), SimZip());

    // Into a folder that does not exist: said, and nothing is left behind.
    const CliRun bad = Cli({"--simulate", "xml", "download", dir / "missing/camera.zip"});
    EXPECT_EQ(bad.code, kExitFailed);
    EXPECT_THAT(bad.err, HasSubstr("Couldn't write " + (dir / "missing/camera.zip")));
}

TEST_F(CliXmlTest, FeaturesAndTreeListTheNodeMap) {
    const std::string file = Downloaded();
    const CliRun r = Cli({"xml", "features", file});  // no camera needed
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto lines = test::SplitLines(r.out);
    ASSERT_EQ(lines.size(), 8u);
    for (const char* line : {
             "ExposureTime\tExposure Time\tInteger\tRW\t0x20200\t4\t10\t8000000\t\t\t"
             "Root/AcquisitionControl\tavailable",
             "DeviceTemperature\tDevice Temperature\tFloat\tRO\t0x20010\t4\t-40\t125\t\t\t"
             "Root/DeviceControl\tavailable",
             "DeviceUserID\tDevice User ID\tString\tRW\t0x20000\t16\t\t\t\t\tRoot/DeviceControl\t"
             "available",
             "TriggerSoftware\tTrigger Software\tCommand\tWO\t0x20208\t4\t\t\t\t\t"
             "Root/AcquisitionControl\tavailable",
             "PixelFormat\tPixel Format\tEnumeration\tRW\t0x20100\t4\t\t\t\t"
             "Mono8=0,Mono10=1,Mono12=2\tRoot/ImageFormatControl\tavailable",
             "Gain\tGain\tInteger\tRW\t0x20300\t4\t-84\t672\t\t\tRoot/AnalogControl\tavailable",
         }) {
        EXPECT_THAT(lines, Contains(line));
    }
    const CliRun tree = Cli({"xml", "tree", file});
    ASSERT_EQ(tree.code, kExitOk) << tree.err;
    EXPECT_THAT(test::SplitLines(tree.out), Contains("  AnalogControl\tAnalog Control\tCategory"));
    EXPECT_THAT(test::SplitLines(tree.out), Contains("    Gain\tGain\tInteger"));

    const CliRun missing = Cli({"xml", "features", dir / "none.xml"});
    EXPECT_EQ(missing.code, kExitFailed);
    EXPECT_EQ(missing.err, "vk4100ctl: " + (dir / "none.xml") + ": Couldn't open this file\n");

    // Texts from a file never reach the terminal raw.
    const std::string hostile = dir / "hostile.xml";
    test::WriteFile(hostile,
                    "<RegisterDescription><Category Name=\"Root\"><pFeature>X</pFeature>"
                    "</Category><Integer Name=\"X\"><DisplayName>\x1b[31mred</DisplayName>"
                    "<Value>1</Value><Unit>\x07</Unit></Integer></RegisterDescription>");
    const CliRun escaped = Cli({"xml", "features", hostile});
    EXPECT_EQ(escaped.out,
              "X\t\\x1B[31mred\tInteger\tRW\t\t\t-9223372036854775808\t9223372036854775807\t\\x07"
              "\t\tRoot\tavailable\n");
}

TEST_F(CliXmlTest, GetSetAndExecuteGoThroughTheNodeMap) {
    const std::string file = Downloaded();
    test::ExpectSimulatedRuns({
        {{"xml", "get", "PixelFormat"}, kExitOk, "Mono8\n"},  // the camera's own file
        {{"xml", "get", "ExposureTime", "--file", file}, kExitOk, "10\n"},
        {{"xml", "set", "Gain", "-20", "--file", file}, kExitOk, ""},
        {{"xml", "set", "Gain", "700", "--file", file},
         kExitFailed,
         "Gain: 700 is outside -84 to 672"},
        {{"xml", "set", "DeviceTemperature", "3", "--file", file},
         kExitFailed,
         "DeviceTemperature: DeviceTemperature cannot be written (RO)"},
        {{"xml", "execute", "TriggerSoftware", "--file", file}, kExitOk, ""},
        {{"xml", "get", "TriggerSoftware", "--file", file},
         kExitFailed,
         "TriggerSoftware: TriggerSoftware is a Command and has no value"},
        {{"xml", "get", "Nothing\x1b", "--file", file},
         kExitFailed,
         "the description has no feature named Nothing\\x1B"},
    });
}

TEST_F(CliXmlTest, ReadAllPrintsEveryReadableFeature) {
    const std::string file = Downloaded();
    const CliRun r = Cli({"--simulate", "xml", "read-all", file});
    ASSERT_EQ(r.code, kExitOk) << r.err;
    const auto lines = test::SplitLines(r.out);
    EXPECT_THAT(lines, Contains("Device User ID="));
    EXPECT_THAT(lines, Contains(::testing::StartsWith("Exposure Time=")));
    EXPECT_THAT(lines, Contains("Pixel Format=Mono 8"));
    EXPECT_THAT(lines, Contains(::testing::StartsWith("Exposure Time (float)=")));
    for (const std::string& line : lines)
        EXPECT_THAT(line, ::testing::Not(HasSubstr("Trigger Software")));
}

TEST_F(CliXmlTest, RegReadsAndWritesRegisters) {
    test::ExpectSimulatedRuns({
        {{"reg", "read", "0x1D0", "8"}, kExitOk, "00 00 00 00 00 01 00 00\n"},
        {{"reg", "read", "0x44", "--text"}, kExitOk, "VK-4100C-PMCL\n"},
        {{"reg", "read", "--float", "0x20204"}, kExitOk, "10\n"},
        {{"reg", "read", "131584"}, kExitOk, "00 00 00 0A\n"},  // 0x20200 in decimal
        {{"reg", "read", "0x20204", "2", "--float"}, kExitUsage, "a float register has 4 bytes"},
        {{"reg", "write", "0x20200", "4000"}, kExitOk, ""},
        {{"reg", "write", "0x20204", "12.5", "--float"}, kExitOk, ""},
        {{"reg", "write", "0x20000", "cam-7", "--text"}, kExitOk, ""},
        {{"reg", "read", "0x30000"}, kExitFailed, "reading 0x30000: status 0x8003 Invalid address"},
        {{"reg", "write", "0x20010", "1"},
         kExitFailed,
         "writing 0x20010: status 0x8004 Write protect"},
        {{"reg", "read", "0x20200", "0"}, kExitUsage, "bad length: 0 (1 to 65535)"},
        {{"reg", "read", "0x20200", "70000"}, kExitUsage, "bad length: 70000 (1 to 65535)"},
        {{"reg", "read", "-4"}, kExitUsage, "bad register address: -4"},
        {{"reg", "read", "0x20200", "--hex"}, kExitUsage, "unknown option: --hex"},
        {{"reg", "write", "0x20200", "twelve"}, kExitUsage, "bad 32-bit value: twelve"},
        {{"reg", "write", "0x20200", "0x100000000"}, kExitUsage, "bad 32-bit value: 0x100000000"},
        {{"reg", "write", "0x20204", "1e99", "--float"}, kExitUsage, "bad float value: 1e99"},
        {{"reg", "write", "0x20204", "1", "--float", "--text"},
         kExitUsage,
         "give only one of --text and --float"},
    });
}

TEST_F(CliXmlTest, TwoWordCommandsAreNamedInTheUsage) {
    CliRun r = Cli({"xml", "unpack"});
    EXPECT_EQ(r.code, kExitUsage);
    EXPECT_THAT(r.err, HasSubstr("unknown command: xml\n"));
    EXPECT_THAT(r.err, HasSubstr("  xml download [FILE]"));
    EXPECT_THAT(r.err, HasSubstr("  reg write ADDRESS VALUE"));
    r = Cli({"xml", "features"});
    EXPECT_EQ(r.code, kExitUsage);
    EXPECT_THAT(r.err, HasSubstr("usage: xml features FILE"));
}

}  // namespace
}  // namespace vk::cli
