// The node map of the standard-style simulated description through the real line: the
// description fetched from the camera, every feature read, writes that the camera keeps.
#include <gtest/gtest.h>

#include "core/camera_fixture.h"
#include "core/genicam/description_download.h"
#include "core/genicam/feature_rows.h"
#include "core/genicam/node_map.h"
#include "core/genicam/serial_register_port.h"

namespace vk::test {
namespace {

class NodeMapLineTest : public CameraFixture {
protected:
    void SetUp() override {
        sim::SimOptions options;
        options.standardDescription = true;
        Connect(options);
    }
};

TEST_F(NodeMapLineTest, EveryFeatureOfTheStandardDescriptionReadsOverTheLine) {
    std::map<std::string, std::string> values;
    std::vector<std::string> failed;
    core.runner.Run({"node map", true, false}, [&](Operation& op) {
        SerialRegisterPort port(op.exchange, RegisterTiming{kShort, 115200});
        std::string xml;
        const DownloadResult fetched = FetchDescription(op, port, xml);
        EXPECT_TRUE(fetched.ok()) << fetched.error;
        EXPECT_EQ(fetched.entry.type, gencp::FileType::Xml);
        std::string error;
        std::unique_ptr<genicam::NodeMap> map = genicam::BuildNodeMap(xml, error);
        if (!map) {
            ADD_FAILURE() << error;
            return ExchangeResult::Success();
        }
        map->SetPort(&port);
        EXPECT_TRUE(genicam::SetFeatureText(*map, *map->Find("GainSelector"), "Green"));
        EXPECT_TRUE(genicam::SetFeatureText(*map, *map->Find("Gain"), "12.5"));
        map->ClearCache();  // what follows comes from the camera again
        for (const genicam::FeatureRow& row : genicam::ListFeatures(*map)) {
            const genicam::Node& node = *map->Find(row.name);
            if (row.kind == "Command") continue;
            const genicam::Got<std::string> v = genicam::FeatureText(*map, node);
            if (v) {
                values[row.name] = *v;
            } else {
                failed.push_back(row.name + ": " + v.reason);
            }
        }
        return ExchangeResult::Success();
    });
    EXPECT_EQ(failed, std::vector<std::string>{
                          "ChunkTimestamp: ChunkTimestamp lies on port ChunkPort (chunk or event "
                          "data)"});
    EXPECT_EQ(values["DeviceModelName"], "VK-4100C-PMCL");
    EXPECT_EQ(values["Gain"], "12.5");
    EXPECT_EQ(values["GainRaw"], "125");
    EXPECT_EQ(values["PixelFormat"], "Mono8");
    EXPECT_EQ(values["ExposureTime"], "10000");
    EXPECT_EQ(values["PayloadSize"], "1310720");
    EXPECT_EQ(values["Timestamp"], "72623859790382856");
    EXPECT_EQ(values["AcquisitionFrameRate"], "30");
}

}  // namespace
}  // namespace vk::test
