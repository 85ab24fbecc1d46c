#include "sim/description_standard.h"

#include <bit>
#include <cstring>

namespace vk::sim {
namespace {

constexpr std::uint64_t kBase = 0x40000;
constexpr std::uint64_t kHighBase = 0x100000000ull;  // beyond 32 bits

void PutLittle(std::vector<std::uint8_t>& m, std::size_t at, std::uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        m[at + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

// Pixel formats by their standard codes: more than the 16 entries older readers kept.
constexpr struct {
    const char* name;
    std::uint32_t code;
} kPixelFormats[] = {
    {"Mono8", 0x01080001},     {"Mono10", 0x01100003},    {"Mono12", 0x01100005},
    {"Mono16", 0x01100007},    {"BayerGR8", 0x01080008},  {"BayerRG8", 0x01080009},
    {"BayerGB8", 0x0108000A},  {"BayerBG8", 0x0108000B},  {"BayerGR10", 0x0110000C},
    {"BayerRG10", 0x0110000D}, {"BayerGB10", 0x0110000E}, {"BayerBG10", 0x0110000F},
    {"BayerGR12", 0x01100010}, {"BayerRG12", 0x01100011}, {"BayerGB12", 0x01100012},
    {"BayerBG12", 0x01100013}, {"RGB8", 0x02180014},      {"BGR8", 0x02180015},
    {"YUV422_8", 0x02100032},  {"Mono10p", 0x010A0046},   {"Mono12p", 0x010C0047},
};

std::string PixelFormatEntries() {
    std::string out;
    for (const auto& f : kPixelFormats) {
        out += "    <EnumEntry Name=\"EnumEntry_PixelFormat_" + std::string(f.name) +
               "\">\n      <Value>" + std::to_string(f.code) + "</Value>\n    </EnumEntry>\n";
    }
    return out;
}

}  // namespace

std::string StandardDescriptionXml() {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription xmlns="http://www.genicam.org/GenApi/Version_1_1"
    ModelName="VK4100S" VendorName="VK" StandardNameSpace="None" SchemaMajorVersion="1"
    SchemaMinorVersion="1" SchemaSubMinorVersion="0" MajorVersion="1" MinorVersion="0"
    SubMinorVersion="0" ToolTip="Standard-style description of the simulated camera"
    ProductGuid="6F0B3C1E-4E65-4D4A-9C1F-1D6E5B4A4101"
    VersionGuid="6F0B3C1E-4E65-4D4A-9C1F-1D6E5B4A0101">
  <Category Name="Root" NameSpace="Standard">
    <pFeature>DeviceControl</pFeature>
    <pFeature>ImageFormatControl</pFeature>
    <pFeature>AnalogControl</pFeature>
    <pFeature>AcquisitionControl</pFeature>
    <pFeature>ChunkDataControl</pFeature>
  </Category>
  <Category Name="DeviceControl" NameSpace="Standard">
    <pFeature>DeviceVendorName</pFeature>
    <pFeature>DeviceModelName</pFeature>
    <pFeature>DeviceUserID</pFeature>
    <pFeature>DeviceTemperature</pFeature>
    <pFeature>Timestamp</pFeature>
    <pFeature>LinkSpeed</pFeature>
    <pFeature>SerialBlob</pFeature>
  </Category>
  <Category Name="ImageFormatControl" NameSpace="Standard">
    <DisplayName>Image Format Control</DisplayName>
    <pFeature>Width</pFeature>
    <pFeature>Height</pFeature>
    <pFeature>WidthMax</pFeature>
    <pFeature>PixelFormat</pFeature>
    <pFeature>ReverseX</pFeature>
    <pFeature>TestPattern</pFeature>
    <pFeature>TestEnable</pFeature>
    <pFeature>PayloadSize</pFeature>
  </Category>
  <Category Name="AnalogControl" NameSpace="Standard">
    <pFeature>GainSelector</pFeature>
    <pFeature>GainRaw</pFeature>
    <pFeature>Gain</pFeature>
    <pFeature>BlackLevel</pFeature>
  </Category>
  <Category Name="AcquisitionControl" NameSpace="Standard">
    <pFeature>ExposureAuto</pFeature>
    <pFeature>ExposureTime</pFeature>
    <pFeature>AcquisitionFrameRate</pFeature>
    <pFeature>TriggerSoftware</pFeature>
    <pFeature>AcquisitionStart</pFeature>
  </Category>
  <Category Name="ChunkDataControl" NameSpace="Standard">
    <Visibility>Expert</Visibility>
    <pFeature>ChunkTimestamp</pFeature>
  </Category>

  <StringReg Name="DeviceVendorName" NameSpace="Standard">
    <ToolTip>Name of the maker</ToolTip>
    <Address>0x4</Address>
    <Length>64</Length>
    <AccessMode>RO</AccessMode>
    <pPort>Device</pPort>
  </StringReg>
  <StringReg Name="DeviceModelName" NameSpace="Standard">
    <Address>0x44</Address>
    <Length>64</Length>
    <AccessMode>RO</AccessMode>
    <pPort>Device</pPort>
  </StringReg>
  <StringReg Name="DeviceUserID" NameSpace="Standard">
    <DisplayName>Device User ID</DisplayName>
    <Address>0x40080</Address>
    <Length>16</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
  </StringReg>
  <Float Name="DeviceTemperature" NameSpace="Standard">
    <Visibility>Expert</Visibility>
    <pValue>DeviceTemperatureReg</pValue>
    <Unit>C</Unit>
  </Float>
  <FloatReg Name="DeviceTemperatureReg">
    <Address>0x40060</Address>
    <Length>4</Length>
    <AccessMode>RO</AccessMode>
    <pPort>Device</pPort>
    <Cachable>NoCache</Cachable>
    <Endianess>LittleEndian</Endianess>
  </FloatReg>
  <IntReg Name="Timestamp" NameSpace="Standard">
    <Visibility>Guru</Visibility>
    <Address>0x100000000</Address>
    <Length>8</Length>
    <AccessMode>RO</AccessMode>
    <pPort>Device</pPort>
    <Cachable>NoCache</Cachable>
    <Representation>HexNumber</Representation>
  </IntReg>
  <IntReg Name="LinkSpeed">
    <Address>0x40074</Address>
    <Length>2</Length>
    <AccessMode>RO</AccessMode>
    <pPort>Device</pPort>
    <Endianess>LittleEndian</Endianess>
  </IntReg>
  <Register Name="SerialBlob">
    <Address>0x400A0</Address>
    <Length>8</Length>
    <AccessMode>RO</AccessMode>
    <pPort>Device</pPort>
  </Register>

  <Integer Name="Width" NameSpace="Standard">
    <ToolTip>Width of the image in pixels</ToolTip>
    <pValue>WidthReg</pValue>
    <Min>16</Min>
    <pMax>WidthMaxReg</pMax>
    <Inc>16</Inc>
    <Unit>px</Unit>
    <Representation>Linear</Representation>
  </Integer>
  <IntReg Name="WidthReg">
    <Address>0x40000</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
    <pInvalidator>PixelFormat</pInvalidator>
    <Endianess>LittleEndian</Endianess>
  </IntReg>
  <Integer Name="Height" NameSpace="Standard">
    <pValue>HeightReg</pValue>
    <Min>1</Min>
    <pMax>HeightMaxReg</pMax>
    <Unit>px</Unit>
  </Integer>
  <IntReg Name="HeightReg">
    <Address>0x40004</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
  </IntReg>
  <Integer Name="WidthMax" NameSpace="Standard">
    <Visibility>Expert</Visibility>
    <pValue>WidthMaxReg</pValue>
  </Integer>
  <IntReg Name="WidthMaxReg">
    <Address>0x40008</Address>
    <Length>4</Length>
    <AccessMode>RO</AccessMode>
    <pPort>Device</pPort>
  </IntReg>
  <IntReg Name="HeightMaxReg">
    <Address>0x4000C</Address>
    <Length>4</Length>
    <AccessMode>RO</AccessMode>
    <pPort>Device</pPort>
  </IntReg>
  <Enumeration Name="PixelFormat" NameSpace="Standard">
    <DisplayName>Pixel Format</DisplayName>
)" + PixelFormatEntries() +
           R"(    <pValue>PixelFormatReg</pValue>
  </Enumeration>
  <IntReg Name="PixelFormatReg">
    <Address>0x40010</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
  </IntReg>
  <Boolean Name="ReverseX" NameSpace="Standard">
    <pValue>ReverseXReg</pValue>
  </Boolean>
  <MaskedIntReg Name="ReverseXReg">
    <Address>0x40040</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
    <Bit>4</Bit>
  </MaskedIntReg>
  <Enumeration Name="TestPattern">
    <EnumEntry Name="EnumEntry_TestPattern_Off"><Value>0</Value></EnumEntry>
    <EnumEntry Name="EnumEntry_TestPattern_Bars"><Value>1</Value></EnumEntry>
    <EnumEntry Name="EnumEntry_TestPattern_Ramp"><Value>2</Value></EnumEntry>
    <pValue>TestPatternField</pValue>
  </Enumeration>
  <Boolean Name="TestEnable">
    <pValue>TestEnableField</pValue>
  </Boolean>
  <StructReg Comment="TestControl">
    <Address>0x400B0</Address>
    <Length>4</Length>
    <pPort>Device</pPort>
    <Endianess>LittleEndian</Endianess>
    <StructEntry Name="TestPatternField">
      <AccessMode>RW</AccessMode>
      <LSB>0</LSB>
      <MSB>3</MSB>
    </StructEntry>
    <StructEntry Name="TestEnableField">
      <AccessMode>RW</AccessMode>
      <Bit>7</Bit>
    </StructEntry>
  </StructReg>
  <Integer Name="PayloadSize" NameSpace="Standard">
    <pValue>PayloadSizeFormula</pValue>
    <ImposedAccessMode>RO</ImposedAccessMode>
  </Integer>
  <IntSwissKnife Name="PayloadSizeFormula">
    <pVariable Name="W">WidthReg</pVariable>
    <pVariable Name="H">HeightReg</pVariable>
    <pVariable Name="PF">PixelFormatReg</pVariable>
    <Formula>W * H * ((PF &gt;&gt; 16) &amp; 0xFF) / 8</Formula>
  </IntSwissKnife>

  <Enumeration Name="GainSelector" NameSpace="Standard">
    <pSelected>GainRaw</pSelected>
    <pSelected>Gain</pSelected>
    <EnumEntry Name="EnumEntry_GainSelector_All"><Value>0</Value></EnumEntry>
    <EnumEntry Name="EnumEntry_GainSelector_Red"><Value>1</Value></EnumEntry>
    <EnumEntry Name="EnumEntry_GainSelector_Green"><Value>2</Value></EnumEntry>
    <EnumEntry Name="EnumEntry_GainSelector_Blue"><Value>3</Value></EnumEntry>
    <Value>0</Value>
  </Enumeration>
  <Integer Name="GainRaw">
    <Visibility>Guru</Visibility>
    <pValue>GainRawReg</pValue>
    <Min>-100</Min>
    <Max>400</Max>
  </Integer>
  <IntReg Name="GainRawReg">
    <Address>0x40020</Address>
    <pIndex Offset="4">GainSelector</pIndex>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
    <Sign>Signed</Sign>
    <Endianess>LittleEndian</Endianess>
  </IntReg>
  <Float Name="Gain" NameSpace="Standard">
    <pValue>GainConverter</pValue>
    <Unit>dB</Unit>
    <Representation>Linear</Representation>
  </Float>
  <Converter Name="GainConverter">
    <FormulaTo>FROM * 10</FormulaTo>
    <FormulaFrom>TO / 10</FormulaFrom>
    <pValue>GainRaw</pValue>
    <Slope>Increasing</Slope>
  </Converter>
  <Integer Name="BlackLevel" NameSpace="Standard">
    <pValue>BlackLevelReg</pValue>
  </Integer>
  <MaskedIntReg Name="BlackLevelReg">
    <Address>0x40040</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
    <LSB>8</LSB>
    <MSB>15</MSB>
    <Endianess>LittleEndian</Endianess>
  </MaskedIntReg>

  <Enumeration Name="ExposureAuto" NameSpace="Standard">
    <EnumEntry Name="EnumEntry_ExposureAuto_Off"><Value>0</Value></EnumEntry>
    <EnumEntry Name="EnumEntry_ExposureAuto_Once"><Value>1</Value></EnumEntry>
    <EnumEntry Name="EnumEntry_ExposureAuto_Continuous"><Value>2</Value></EnumEntry>
    <pValue>ExposureAutoReg</pValue>
  </Enumeration>
  <MaskedIntReg Name="ExposureAutoReg">
    <Address>0x40040</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
    <LSB>0</LSB>
    <MSB>1</MSB>
  </MaskedIntReg>
  <Float Name="ExposureTime" NameSpace="Standard">
    <ToolTip>Exposure in microseconds; set by hand only while ExposureAuto is Off</ToolTip>
    <pIsAvailable>ExposureManual</pIsAvailable>
    <pValue>ExposureConverter</pValue>
    <Min>10</Min>
    <Max>1000000</Max>
    <Unit>us</Unit>
  </Float>
  <IntSwissKnife Name="ExposureManual">
    <pVariable Name="A">ExposureAutoReg</pVariable>
    <Formula>A = 0</Formula>
  </IntSwissKnife>
  <Converter Name="ExposureConverter">
    <FormulaTo>FROM / 10</FormulaTo>
    <FormulaFrom>TO * 10</FormulaFrom>
    <pValue>ExposureRawReg</pValue>
    <Slope>Increasing</Slope>
  </Converter>
  <IntReg Name="ExposureRawReg">
    <Address>0x40050</Address>
    <Length>4</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
  </IntReg>
  <Float Name="AcquisitionFrameRate" NameSpace="Standard">
    <pIsLocked>FrameRateLocked</pIsLocked>
    <pValue>FrameRateReg</pValue>
    <Min>1</Min>
    <Max>120</Max>
    <Unit>Hz</Unit>
  </Float>
  <Integer Name="FrameRateLocked">
    <Visibility>Invisible</Visibility>
    <Value>0</Value>
  </Integer>
  <FloatReg Name="FrameRateReg">
    <Address>0x40068</Address>
    <Length>8</Length>
    <AccessMode>RW</AccessMode>
    <pPort>Device</pPort>
  </FloatReg>
  <Command Name="TriggerSoftware" NameSpace="Standard">
    <ImposedAccessMode>WO</ImposedAccessMode>
    <pValue>CommandReg</pValue>
    <CommandValue>1</CommandValue>
  </Command>
  <Command Name="AcquisitionStart" NameSpace="Standard">
    <ImposedAccessMode>WO</ImposedAccessMode>
    <pValue>CommandReg</pValue>
    <pCommandValue>StartValue</pCommandValue>
  </Command>
  <Integer Name="StartValue">
    <Visibility>Invisible</Visibility>
    <Value>2</Value>
  </Integer>
  <IntReg Name="CommandReg">
    <Address>0x40070</Address>
    <Length>4</Length>
    <AccessMode>WO</AccessMode>
    <pPort>Device</pPort>
  </IntReg>

  <IntReg Name="ChunkTimestamp" NameSpace="Standard">
    <Address>0x0</Address>
    <Length>8</Length>
    <AccessMode>RO</AccessMode>
    <pPort>ChunkPort</pPort>
  </IntReg>
  <Port Name="ChunkPort" NameSpace="Standard">
    <ChunkID>1</ChunkID>
  </Port>
  <ConfRom Name="LegacyRom">
    <Address>0x0</Address>
  </ConfRom>
  <Port Name="Device" NameSpace="Standard">
  </Port>
</RegisterDescription>
)";
}

std::vector<MemoryBlock> StandardDescriptionMemory() {
    MemoryBlock low{kBase, std::vector<std::uint8_t>(0x100, 0)};
    auto& m = low.bytes;
    PutLittle(m, 0x00, 1280, 4);        // Width
    PutLittle(m, 0x04, 1024, 4);        // Height
    PutLittle(m, 0x08, 2048, 4);        // WidthMax
    PutLittle(m, 0x0C, 2048, 4);        // HeightMax
    PutLittle(m, 0x10, 0x01080001, 4);  // Mono8
    const std::int32_t gains[] = {0, 10, -20, 30};
    for (std::size_t i = 0; i < 4; ++i)
        PutLittle(m, 0x20 + 4 * i, static_cast<std::uint32_t>(gains[i]), 4);
    PutLittle(m, 0x40, 0x2010, 4);  // BlackLevel 0x20, ReverseX set, ExposureAuto Off
    PutLittle(m, 0x50, 1000, 4);    // 10000 us
    PutLittle(m, 0x60, std::bit_cast<std::uint32_t>(38.5f), 4);
    PutLittle(m, 0x68, std::bit_cast<std::uint64_t>(30.0), 8);
    PutLittle(m, 0x74, 0x1234, 2);
    std::memcpy(m.data() + 0x80, "cam-1", 5);
    for (std::size_t i = 0; i < 8; ++i)
        m[0xA0 + i] = static_cast<std::uint8_t>(0xA0 + i);
    PutLittle(m, 0xB0, 0x82, 4);  // TestEnable, pattern Ramp
    MemoryBlock high{kHighBase, std::vector<std::uint8_t>(8, 0)};
    PutLittle(high.bytes, 0, 0x0102030405060708ull, 8);
    return {low, high};
}

}  // namespace vk::sim
