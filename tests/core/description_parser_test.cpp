#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/genicam/description_file.h"
#include "core/genicam/description_parser.h"

namespace vk {
namespace {

using namespace feature_flags;

std::string Description(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<RegisterDescription ModelName=\"Test\" VendorName=\"Test\">\n" +
           body + "</RegisterDescription>\n";
}

std::vector<FeatureRecord> Records(const std::string& body) {
    const DescriptionParse parse = ParseDescription(Description(body));
    EXPECT_TRUE(parse.ok) << parse.error;
    return parse.table.records;
}

// A description as the camera writes it: one element per line, each register right after
// its feature.
const char* const kCameraLayout = R"(
  <Category Name="Root" NameSpace="Standard">
    <DisplayName>Root</DisplayName>
    <pFeature>ImageFormat</pFeature>
  </Category>
  <Category Name="ImageFormat" NameSpace="Standard">
    <DisplayName>Image Format</DisplayName>
    <pFeature>PixelFormat</pFeature>
  </Category>
  <Enumeration Name="PixelFormat" NameSpace="Standard">
    <DisplayName>Pixel Format</DisplayName>
    <EnumEntry Name="Mono8">
      <DisplayName>Mono 8</DisplayName>
      <Value>0x01080001</Value>
    </EnumEntry>
    <EnumEntry Name="Mono10">
      <DisplayName>Mono 10</DisplayName>
      <Value>0x01100003</Value>
    </EnumEntry>
    <pValue>PixelFormatReg</pValue>
  </Enumeration>
  <IntReg Name="PixelFormatReg">
    <Address>0x20008</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
    <Endianess>BigEndian</Endianess>
  </IntReg>
  <Integer Name="ExposureTime">
    <DisplayName>Exposure Time</DisplayName>
    <pValue>ExposureTimeReg</pValue>
    <Min>10</Min>
    <Max>0x7A1200</Max>
  </Integer>
  <IntReg Name="ExposureTimeReg">
    <Address>0x20000</Address>
    <Length>4</Length>
    <AccessMode>rw</AccessMode>
  </IntReg>
  <Float Name="DeviceTemperature">
    <DisplayName>Device Temperature</DisplayName>
    <pValue>DeviceTemperatureReg</pValue>
    <Min>-40.5</Min>
    <Max>125</Max>
  </Float>
  <FloatReg Name="DeviceTemperatureReg">
    <Address>0x2000C</Address>
    <Length>4</Length>
    <AccessMode>RO</AccessMode>
  </FloatReg>
  <StringReg Name="DeviceUserID">
    <DisplayName>Device User ID</DisplayName>
    <Address>0x20100</Address>
    <Length>16</Length>
    <AccessMode>RW</AccessMode>
  </StringReg>
  <Boolean Name="Reverse">
    <DisplayName>Reverse</DisplayName>
    <pValue>ReverseReg</pValue>
  </Boolean>
  <IntReg Name="ReverseReg">
    <Address>0x20010</Address>
    <Length>4</Length>
    <AccessMode>WO</AccessMode>
  </IntReg>
  <Command Name="TriggerSoftware">
    <DisplayName>Trigger Software</DisplayName>
    <pValue>TriggerSoftwareReg</pValue>
    <CommandValue>010</CommandValue>
  </Command>
  <IntReg Name="TriggerSoftwareReg">
    <Address>0x20014</Address>
    <Length>4</Length>
    <AccessMode>WO</AccessMode>
  </IntReg>
)";

TEST(DescriptionParser, ReadsEveryKindWithItsRegister) {
    const auto r = Records(kCameraLayout);
    ASSERT_EQ(r.size(), 8u);
    EXPECT_EQ(r[0].flags, kCategory);
    EXPECT_EQ(r[0].displayName, "Root");
    EXPECT_EQ(r[1].displayName, "Image Format");

    EXPECT_EQ(r[2].displayName, "Pixel Format");
    EXPECT_EQ(r[2].flags, kReadable | kWritable);
    EXPECT_EQ(r[2].address, 0x20008u);
    EXPECT_EQ(r[2].length, 4u);
    ASSERT_EQ(r[2].entries.size(), 2u);
    EXPECT_EQ(r[2].entries[1].name, "Mono 10");
    EXPECT_EQ(r[2].entries[1].value, 0x01100003);
    EXPECT_EQ(r[2].Kind(), FeatureKind::Enumerated);

    EXPECT_EQ(r[3].flags, kReadable | kWritable);  // "rw" in any letter case
    EXPECT_EQ(r[3].min, 10);
    EXPECT_EQ(r[3].max, 8000000);
    EXPECT_EQ(r[3].Kind(), FeatureKind::Integer);

    EXPECT_EQ(r[4].flags, kFloat | kReadable);
    EXPECT_EQ(r[4].min, -40.5);
    EXPECT_EQ(r[4].address, 0x2000Cu);

    EXPECT_EQ(r[5].flags, kText | kReadable | kWritable);
    EXPECT_EQ(r[5].length, 16u);

    EXPECT_EQ(r[6].flags, kWritable);
    ASSERT_EQ(r[6].entries.size(), 2u);
    EXPECT_EQ(r[6].entries[0].name, "FALSE");
    EXPECT_EQ(r[6].entries[1].value, 1);

    EXPECT_EQ(r[7].flags, kCommand | kWritable);
    EXPECT_EQ(r[7].min, 8);  // leading-zero octal
}

TEST(DescriptionParser, TheSameTableWhateverTheLayout) {
    // Several elements on a line, registers gathered at the end of the file, a group around
    // the features.
    const std::string dense =
        "<Category Name=\"Root\"><DisplayName>Root</DisplayName></Category>"
        "<Category Name=\"ImageFormat\"><DisplayName>Image Format</DisplayName></Category>"
        "<Group Comment=\"features\">"
        "<Enumeration Name=\"PixelFormat\"><DisplayName>Pixel Format</DisplayName>"
        "<EnumEntry Name=\"Mono8\"><DisplayName>Mono 8</DisplayName><Value>0x01080001</Value>"
        "</EnumEntry><EnumEntry Name=\"Mono10\"><DisplayName>Mono 10</DisplayName>"
        "<Value>0x01100003</Value></EnumEntry><pValue>PixelFormatReg</pValue></Enumeration>"
        "<Integer Name=\"ExposureTime\"><DisplayName>Exposure Time</DisplayName>"
        "<pValue>ExposureTimeReg</pValue><Min>10</Min><Max>0x7A1200</Max></Integer>"
        "<Float Name=\"DeviceTemperature\"><DisplayName>Device Temperature</DisplayName>"
        "<pValue>DeviceTemperatureReg</pValue><Min>-40.5</Min><Max>125</Max></Float>"
        "<StringReg Name=\"DeviceUserID\"><DisplayName>Device User ID</DisplayName>"
        "<Address>0x20100</Address><Length>16</Length><AccessMode>RW</AccessMode></StringReg>"
        "<Boolean Name=\"Reverse\"><DisplayName>Reverse</DisplayName><pValue>ReverseReg</pValue>"
        "</Boolean><Command Name=\"TriggerSoftware\"><DisplayName>Trigger Software</DisplayName>"
        "<pValue>TriggerSoftwareReg</pValue><CommandValue>010</CommandValue></Command>"
        "</Group>\n"
        "<IntReg Name=\"TriggerSoftwareReg\"><Address>0x20014</Address><Length>4</Length>"
        "<AccessMode>WO</AccessMode></IntReg><IntReg Name=\"ReverseReg\"><Address>0x20010"
        "</Address><Length>4</Length><AccessMode>WO</AccessMode></IntReg>"
        "<FloatReg Name=\"DeviceTemperatureReg\"><Address>0x2000C</Address><Length>4</Length>"
        "<AccessMode>RO</AccessMode></FloatReg><IntReg Name=\"ExposureTimeReg\"><Address>"
        "0x20000</Address><Length>4</Length><AccessMode>rw</AccessMode></IntReg>"
        "<IntReg Name=\"PixelFormatReg\"><Address>0x20008</Address><Length>4</Length>"
        "<AccessMode>RW</AccessMode></IntReg>\n";
    const auto a = Records(kCameraLayout);
    const auto b = Records(dense);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].flags, b[i].flags) << i;
        EXPECT_EQ(a[i].address, b[i].address) << i;
        EXPECT_EQ(a[i].length, b[i].length) << i;
        EXPECT_EQ(a[i].displayName, b[i].displayName) << i;
        EXPECT_EQ(a[i].min, b[i].min) << i;
        EXPECT_EQ(a[i].max, b[i].max) << i;
        ASSERT_EQ(a[i].entries.size(), b[i].entries.size()) << i;
        for (std::size_t e = 0; e < a[i].entries.size(); ++e) {
            EXPECT_EQ(a[i].entries[e].name, b[i].entries[e].name);
            EXPECT_EQ(a[i].entries[e].value, b[i].entries[e].value);
        }
    }
}

TEST(DescriptionParser, FeaturesWithoutARegisterAreLeftOut) {
    const auto r = Records(R"(
  <Integer Name="Width"><DisplayName>Width</DisplayName><Min>1</Min><Value>640</Value></Integer>
  <Integer Name="Missing"><pValue>NoSuchReg</pValue></Integer>
  <Float Name="Computed"><pValue>Formula</pValue></Float>
  <IntSwissKnife Name="Formula"><pVariable Name="A">GainReg</pVariable><Formula>A</Formula>
  </IntSwissKnife>
  <Integer Name="Loop"><pValue>Loop</pValue></Integer>
  <Integer Name="Gain"><pValue>GainReg</pValue></Integer>
  <IntReg Name="GainReg"><Address>4</Address><Length>4</Length><AccessMode>ro</AccessMode></IntReg>
)");
    ASSERT_EQ(r.size(), 1u);  // the next feature takes the dropped one's place
    EXPECT_EQ(r[0].displayName, "???");
    EXPECT_EQ(r[0].flags, kReadable);
    EXPECT_EQ(r[0].address, 4u);
}

TEST(DescriptionParser, CommentedOutBlocksAddNothing) {
    const auto r = Records(R"(
  <!-- <Integer Name="Old">
    <pValue>GainReg</pValue>
  </Integer> -->
  <Category Name="C"><!-- <DisplayName>Hidden</DisplayName> --></Category>
  <!--
  <Category Name="D"><DisplayName>Gone</DisplayName></Category>
  -->
)");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].displayName, "???");
}

TEST(DescriptionParser, FeaturesFollowAChainOfValues) {
    const auto r = Records(R"(
  <Integer Name="A"><DisplayName>A</DisplayName><pValue>B</pValue></Integer>
  <Integer Name="B"><pValue>Struct_Bit</pValue></Integer>
  <StructReg><Address>0x40</Address><Address>0x4</Address><Length>4</Length>
    <AccessMode>RW</AccessMode><StructEntry Name="Struct_Bit"><Bit>3</Bit></StructEntry>
  </StructReg>
)");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].address, 0x44u);
    EXPECT_EQ(r[0].flags, kReadable | kWritable);
}

TEST(DescriptionParser, LimitsAreReportedOnceAndTheRestSkipped) {
    std::string entries;
    for (int i = 0; i < 20; ++i) {
        entries += "<EnumEntry Name=\"E" + std::to_string(i) + "\"><Value>" + std::to_string(i) +
                   "</Value></EnumEntry>";
    }
    std::string body;
    for (const char* name : {"First", "Second"}) {
        body += std::string("<Enumeration Name=\"") + name + "\"><DisplayName>" + name +
                "</DisplayName>" + entries + "<pValue>R</pValue></Enumeration>";
    }
    body +=
        "<IntReg Name=\"R\"><Address>0</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "</IntReg>\n";
    for (std::size_t i = 0; i < FeatureTable::kMaxRecords + 10; ++i) {
        body += "<Category Name=\"C" + std::to_string(i) + "\"/>\n";
    }
    const DescriptionParse parse = ParseDescription(Description(body));
    ASSERT_TRUE(parse.ok);
    EXPECT_EQ(parse.table.records.size(), FeatureTable::kMaxRecords);
    EXPECT_EQ(parse.table.records[0].entries.size(), FeatureTable::kMaxEntries);
    EXPECT_EQ(parse.table.records[0].entries.back().name, "E15");  // no display name: the name
    EXPECT_EQ(parse.table.records[1].entries.size(), FeatureTable::kMaxEntries);
    ASSERT_EQ(parse.notes.size(), 2u);
    EXPECT_EQ(parse.notes[0],
              "Enumeration \"First\" has more than 16 entries; the rest are skipped.");
    EXPECT_EQ(parse.notes[1], "The description has more than 5000 features; the rest are skipped.");
}

TEST(DescriptionParser, BrokenFilesGiveAReasonAndNoTable) {
    const struct {
        std::string text;
        const char* reason;
    } cases[] = {
        {"<RegisterDescription>\n<Integer Name=\"A\">\n</Float>\n", "on line 3"},
        {"", "not a readable XML file"},
        {"<Other/>", "no RegisterDescription"},
        {std::string("\xff\xfe\x00<", 4), "not a readable XML file"},
    };
    for (const auto& c : cases) {
        const DescriptionParse parse = ParseDescription(c.text);
        EXPECT_FALSE(parse.ok);
        EXPECT_NE(parse.error.find(c.reason), std::string::npos) << parse.error;
        EXPECT_TRUE(parse.table.records.empty());
    }
}

TEST(DescriptionParser, DeeplyNestedFilesDoNotExhaustTheStack) {
    std::string body = "<Integer Name=\"A\"><pValue>R</pValue></Integer>";
    for (int i = 0; i < 200000; ++i)
        body += "<Group>";
    body += "<IntReg Name=\"R\"><Address>0</Address></IntReg>";
    for (int i = 0; i < 200000; ++i)
        body += "</Group>";
    const DescriptionParse parse = ParseDescription(Description(body));
    ASSERT_TRUE(parse.ok) << parse.error;
    EXPECT_TRUE(parse.table.records.empty());  // the register is out of reach
}

TEST(DescriptionFile, ReadsXmlFilesAndNamesOnesThatCannotBeRead) {
    const std::string path = ::testing::TempDir() + "/vk_description_test.xml";
    {
        std::ofstream out(path, std::ios::binary);
        out << Description(kCameraLayout);
    }
    const DescriptionParse parse = LoadDescriptionFile(path);
    EXPECT_TRUE(parse.ok) << parse.error;
    EXPECT_EQ(parse.table.records.size(), 8u);

    const std::string missing = ::testing::TempDir() + "/no_such_description.xml";
    EXPECT_EQ(LoadDescriptionFile(missing).error, missing + "\nCouldn't open this file");

    const std::string fakeZip = ::testing::TempDir() + "/vk_fake.zip";
    {
        std::ofstream out(fakeZip, std::ios::binary);
        out << "PK\x03\x04 not really a zip";
    }
    const DescriptionParse bad = LoadDescriptionFile(fakeZip);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.error.rfind(fakeZip + "\nnot a readable zip archive", 0), 0u) << bad.error;
}

}  // namespace
}  // namespace vk
