// The node map on the standard-style simulated description and on small files: what the
// differential test against the reference library does not reach (writes, selectors, the
// cache, resources).
#include <gtest/gtest.h>

#include "core/genicam/feature_rows.h"
#include "core/genicam/node_kinds.h"
#include "core/genicam/node_map.h"
#include "sim/description_standard.h"
#include "support/memory_register_port.h"

namespace vk::genicam {
namespace {

using test::MemoryRegisterPort;
using Bytes = std::vector<std::uint8_t>;

std::unique_ptr<NodeMap> Build(const std::string& xml) {
    std::string error;
    std::unique_ptr<NodeMap> map = BuildNodeMap(xml, error);
    EXPECT_TRUE(map) << error;
    return map;
}

std::string Wrap(const std::string& body) {
    return "<RegisterDescription>" + body + "<Port Name=\"Device\"/></RegisterDescription>";
}

class StandardDescription : public ::testing::Test {
protected:
    void SetUp() override {
        map = Build(sim::StandardDescriptionXml());
        for (const sim::MemoryBlock& block : sim::StandardDescriptionMemory())
            port.Put(block.base, block.bytes);
        map->SetPort(&port);
    }
    std::string Get(const char* name) {
        const Got<std::string> v = FeatureText(*map, *map->Find(name));
        return v ? *v : "!" + v.reason;
    }
    std::string Set(const char* name, const std::string& value) {
        const Done d = SetFeatureText(*map, *map->Find(name), value);
        return d ? "" : d.reason;
    }

    MemoryRegisterPort port;
    std::unique_ptr<NodeMap> map;
};

TEST_F(StandardDescription, WritesReachTheRightBitsAndWords) {
    // Through a converter, at the address the selector picks.
    EXPECT_EQ(Set("GainSelector", "Blue"), "");
    EXPECT_EQ(Get("GainRaw"), "30");
    EXPECT_EQ(Set("Gain", "-7.5"), "");
    EXPECT_EQ(port.Get(0x4002C, 4), (Bytes{0xB5, 0xFF, 0xFF, 0xFF}));  // -75, little-endian
    EXPECT_EQ(Get("Gain"), "-7.5");
    EXPECT_EQ(Set("GainSelector", "All"), "");
    EXPECT_EQ(Get("Gain"), "0");

    // A bit field keeps the other fields of its word.
    EXPECT_EQ(Set("BlackLevel", "171"), "");
    EXPECT_EQ(port.Get(0x40040, 4), (Bytes{0x10, 0xAB, 0, 0}));
    EXPECT_EQ(Set("ReverseX", "false"), "");
    EXPECT_EQ(port.Get(0x40040, 4), (Bytes{0x00, 0xAB, 0, 0}));
    EXPECT_EQ(Set("TestPattern", "Bars"), "");
    EXPECT_EQ(port.Get(0x400B0, 4), (Bytes{0x81, 0, 0, 0}));

    // Entries by symbolic name beyond the sixteenth; commands write their value.
    EXPECT_EQ(Set("PixelFormat", "Mono12p"), "");
    EXPECT_EQ(port.Get(0x40010, 4), (Bytes{0x47, 0x00, 0x0C, 0x01}));
    EXPECT_EQ(Get("PixelFormat"), "Mono12p");
    EXPECT_EQ(Set("AcquisitionStart", ""), "");
    EXPECT_EQ(port.Get(0x40070, 4), (Bytes{2, 0, 0, 0}));
    EXPECT_EQ(Set("DeviceUserID", "line-7"), "");
    EXPECT_EQ(Get("DeviceUserID"), "line-7");
    EXPECT_EQ(Get("Timestamp"), "72623859790382856");  // above 32 address bits
}

TEST_F(StandardDescription, RefusedWritesSayWhyAndChangeNothing) {
    const int writes = port.writes;
    const struct {
        const char* name;
        const char* value;
        const char* reason;
    } cases[] = {
        {"Width", "1000", "1000 is not 16 plus a multiple of 16"},
        {"Width", "4096", "4096 is outside 16 to 2048"},
        {"GainRaw", "401", "401 is outside -100 to 400"},
        {"PixelFormat", "Mono99", "PixelFormat has no entry Mono99"},
        {"PayloadSize", "5", "PayloadSize cannot be written (RO)"},
        {"DeviceUserID", "seventeen letters",
         "the text has more than the 16 bytes of DeviceUserID"},
        {"LinkSpeed", "1", "LinkSpeed cannot be written (RO)"},
        {"ExposureTime", "x", "not a number: x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Set(c.name, c.value), c.reason);
    }
    EXPECT_EQ(port.writes, writes);

    EXPECT_EQ(Set("ExposureAuto", "Continuous"), "");
    EXPECT_EQ(Set("ExposureTime", "500"),
              "ExposureTime cannot be written (NA: not available (ExposureManual is 0))");
    map->SetLocal(*map->Find("FrameRateLocked"), std::int64_t{1});
    EXPECT_EQ(Set("AcquisitionFrameRate", "60"),
              "AcquisitionFrameRate cannot be written (RO: locked (FrameRateLocked is set))");
    EXPECT_EQ(Get("ChunkTimestamp"),
              "!ChunkTimestamp lies on port ChunkPort (chunk or event data)");
}

TEST_F(StandardDescription, RegistersAreCachedAsTheyAllowAndInvalidated) {
    Get("Width");
    Get("Width");
    Get("DeviceTemperature");
    Get("DeviceTemperature");
    EXPECT_EQ(port.reads, 3);               // NoCache reads every time
    port.Put(0x40000, {0x00, 0x04, 0, 0});  // the camera changed Width itself
    EXPECT_EQ(Get("Width"), "1280");
    EXPECT_EQ(Set("PixelFormat", "Mono16"), "");  // Width's invalidator
    EXPECT_EQ(Get("Width"), "1024");

    // Fields of one word share its read; a write of one keeps what it wrote.
    const int before = port.reads;
    Get("TestPattern");
    Get("TestEnable");
    EXPECT_EQ(port.reads, before + 1);
    EXPECT_EQ(Set("TestEnable", "true"), "");
    port.Put(0x400B0, {0, 0, 0, 0});  // not asked again: the write is held
    EXPECT_EQ(Get("TestEnable"), "true");
    EXPECT_EQ(port.reads, before + 1);
}

TEST_F(StandardDescription, EveryFeatureIsListedUnderItsCategory) {
    const std::vector<FeatureRow> rows = ListFeatures(*map);
    ASSERT_EQ(rows.size(), 25u);
    const auto row = [&](const std::string& name) {
        for (const FeatureRow& r : rows) {
            if (r.name == name) return r;
        }
        return FeatureRow{};
    };
    EXPECT_EQ(row("Gain").category, "Root/AnalogControl");
    EXPECT_EQ(row("Gain").min, "-10");
    EXPECT_EQ(row("Gain").unit, "dB");
    EXPECT_EQ(row("Timestamp").address, "0x100000000");
    EXPECT_EQ(row("TriggerSoftware").access, "WO");
    EXPECT_EQ(row("PixelFormat").entries.substr(0, 33), "Mono8=17301505,Mono10=17825795,Mo");
    EXPECT_EQ(map->Selected(*map->Find("GainSelector")).size(), 2u);
    EXPECT_EQ(map->Notes(), std::vector<std::string>{
                                "Node types this tool does not know were skipped: ConfRom (1)"});
}

TEST(NodeMap, HostileFilesGiveReasonsNotFaults) {
    // A reference loop, a formula that names itself, a register beyond any length.
    auto map = Build(Wrap(R"(
        <Integer Name="A"><pValue>B</pValue></Integer>
        <Integer Name="B"><pValue>A</pValue></Integer>
        <IntSwissKnife Name="S"><pVariable Name="X">S</pVariable><Formula>X + 1</Formula></IntSwissKnife>
        <IntReg Name="Huge"><Address>0</Address><Length>70000</Length></IntReg>
        <g:Integer Name="Prefixed"><Value>5</Value></g:Integer>
        <Integer Name="A"><Value>1</Value></Integer>
        <Float Name="F"><Value>x</Value></Float>)"));
    MemoryRegisterPort port;
    map->SetPort(&port);
    EXPECT_EQ(map->Find("A")->Int(map->Eval()).reason, "references nested deeper than 64 at B");
    EXPECT_FALSE(map->Find("S")->Int(map->Eval()));
    EXPECT_EQ(map->Find("Huge")->Int(map->Eval()).reason, "Huge has a length of 70000");
    EXPECT_EQ(*map->Find("Prefixed")->Int(map->Eval()), 5);
    EXPECT_EQ(map->Find("F")->Real(map->Eval()).reason, "F: Value \"x\" is no number");
    EXPECT_EQ(map->Notes(),
              std::vector<std::string>{"The node name \"A\" is used twice; the first counts."});
    EXPECT_EQ(port.reads, 0);

    for (const auto& [xml, error] : std::vector<std::pair<std::string, std::string>>{
             {"<RegisterDescription>",
              "not a readable XML file (Start-end tags mismatch on line 1)"},
             {"<Other/>", "not a device description (no RegisterDescription element)"}}) {
        std::string why;
        EXPECT_FALSE(BuildNodeMap(xml, why));
        EXPECT_EQ(why, error);
    }
}

}  // namespace
}  // namespace vk::genicam
