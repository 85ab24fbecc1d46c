#include <gtest/gtest.h>

#include <string>

#include "core/genicam/description_file.h"
#include "core/genicam/feature_value.h"
#include "core/genicam/gencp.h"
#include "core/genicam/register_layout.h"
#include "sim/camera_model.h"
#include "sim/description_zip.h"
#include "sim/register_map.h"
#include "sim/register_space.h"

namespace vk::sim {
namespace {

using gencp::Bytes;

class RegisterSpaceTest : public ::testing::Test {
protected:
    gencp::Ack Exchange(const Bytes& request, const gencp::AckExpectation& expect) {
        const std::string ack = space.Handle(
            std::string_view(reinterpret_cast<const char*>(request.data()), request.size()));
        return gencp::ParseAck(Bytes(ack.begin(), ack.end()), expect);
    }
    gencp::Ack Read(std::uint64_t address, std::uint16_t length) {
        const std::uint16_t id = ids.Take();
        return Exchange(gencp::BuildReadRequest(id, address, length),
                        gencp::ReadAckExpectation(id, length, length));
    }
    gencp::Ack Write(std::uint64_t address, const Bytes& data) {
        const std::uint16_t id = ids.Take();
        return Exchange(gencp::BuildWriteRequest(id, address, data),
                        gencp::WriteAckExpectation(id));
    }
    const SimRegister& Register(std::string_view name) {
        for (const SimRegister& r : SimRegisters()) {
            if (r.name == name) return r;
        }
        throw std::runtime_error("no register " + std::string(name));
    }

    CameraModel model;
    RegisterSpace space{model, "VK-4100C-PMCL"};
    gencp::RequestCounter ids;
};

TEST_F(RegisterSpaceTest, ItsOwnZipParsesIntoItsRegisters) {
    const DescriptionText text = XmlFromZip(SimDescriptionZip());
    ASSERT_TRUE(text.ok) << text.error;
    const DescriptionParse parse = ParseDescription(text.text);
    ASSERT_TRUE(parse.ok) << parse.error;
    EXPECT_TRUE(parse.notes.empty());
    const auto& records = parse.table.records;
    ASSERT_EQ(records.size(), SimCategories().size() + SimRegisters().size());
    std::size_t next = 0;
    for (const SimCategory& c : SimCategories()) {
        EXPECT_TRUE(records[next].IsCategory());
        EXPECT_EQ(records[next++].displayName, c.displayName);
        for (const SimRegister& r : SimRegisters()) {
            if (r.category != c.name) continue;
            const FeatureRecord& f = records[next++];
            EXPECT_EQ(f.displayName, r.displayName);
            EXPECT_EQ(f.address, r.address) << r.name;
            EXPECT_EQ(f.length, r.length) << r.name;
            EXPECT_EQ(f.Readable(), r.access != "WO") << r.name;
            EXPECT_EQ(f.Writable(), r.access != "RO") << r.name;
        }
    }
    // A damaged copy is refused with a reason.
    Bytes damaged(SimDescriptionZip().begin(), SimDescriptionZip().end());
    damaged[damaged.size() / 2] ^= 0xFF;
    damaged.resize(damaged.size() - 10);
    EXPECT_FALSE(XmlFromZip(damaged).ok);
}

TEST_F(RegisterSpaceTest, RegistersHoldTheValuesOfTheTextCommands) {
    model.SetValue("PE", "1234");
    model.SetValue("UD", "Line 3");
    model.SetValue("TMP0", "41");
    EXPECT_EQ(Read(Register("ExposureTime").address, 4).data, (Bytes{0, 0, 0x04, 0xD2}));
    EXPECT_EQ(Read(Register("ExposureTimeAbs").address, 4).data, gencp::FloatBytes(1234.0f));
    EXPECT_EQ(Read(Register("DeviceTemperature").address, 4).data, gencp::FloatBytes(41.0f));
    const gencp::Ack text = Read(Register("DeviceUserID").address, 16);
    EXPECT_EQ(std::string(text.data.begin(), text.data.begin() + 7), std::string("Line 3\0", 7));

    EXPECT_EQ(Write(Register("ExposureTime").address, {0, 0, 0x13, 0x88}).check.state,
              gencp::AckState::Done);
    EXPECT_EQ(model.Value("PE"), "5000");
    EXPECT_EQ(Write(Register("ExposureTimeAbs").address, gencp::FloatBytes(250.4f)).check.state,
              gencp::AckState::Done);
    EXPECT_EQ(model.Value("PE"), "250");
    EXPECT_EQ(Write(Register("Gain").address, {0xFF, 0xFF, 0xFF, 0xAC}).check.state,
              gencp::AckState::Done);
    EXPECT_EQ(model.Value("GA"), "-84");
    EXPECT_EQ(
        Write(Register("DeviceUserID").address, Bytes{'C', 'a', 'm', '1', 0, 0, 0, 0}).check.state,
        gencp::AckState::Done);
    EXPECT_EQ(model.Value("UD"), "Cam1");
}

TEST_F(RegisterSpaceTest, RefusalsCarryTheirStatusAndChangeNothing) {
    model.SetValue("PE", "100");
    const struct {
        const char* what;
        gencp::Ack ack;
        std::uint16_t status;
    } cases[] = {
        {"value out of range", Write(Register("ExposureTime").address, {0, 0, 0, 1}),
         gencp::kStatusInvalidParameter},
        {"no such entry", Write(Register("PixelFormat").address, {0, 0, 0, 7}),
         gencp::kStatusInvalidParameter},
        {"boolean beyond 1", Write(Register("DefectPixelCorrection").address, {0, 0, 0, 2}),
         gencp::kStatusInvalidParameter},
        {"read-only register", Write(Register("DeviceTemperature").address, {0, 0, 0, 0}),
         gencp::kStatusWriteProtect},
        {"bootstrap", Write(gencp::kManifestAddressRegister, {0, 0, 0, 0}),
         gencp::kStatusWriteProtect},
        {"write-only register", Read(Register("TriggerSoftware").address, 4),
         gencp::kStatusAccessDenied},
        {"nothing there", Read(0x30000, 4), gencp::kStatusInvalidAddress},
        {"past the file", Read(kSimFileAddress + SimDescriptionZip().size() - 2, 4),
         gencp::kStatusInvalidAddress},
        {"longer than the register", Read(Register("Gain").address, 8),
         gencp::kStatusInvalidAddress},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.ack.check.state, gencp::AckState::Refused) << c.what;
        EXPECT_EQ(c.ack.check.header.flagsOrStatus, c.status) << c.what;
    }
    EXPECT_EQ(model.Value("PE"), "100");
}

}  // namespace
}  // namespace vk::sim
