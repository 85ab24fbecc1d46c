#include "sim/register_map.h"

#include <array>

namespace vk::sim {
namespace {

constexpr std::array kCategories = {
    SimCategory{"Root", "Root"},
    SimCategory{"DeviceControl", "Device Control"},
    SimCategory{"ImageFormatControl", "Image Format Control"},
    SimCategory{"AcquisitionControl", "Acquisition Control"},
    SimCategory{"AnalogControl", "Analog Control"},
};

// The sensor bit depth ("SBS") under the standard name.
constexpr std::array kPixelFormats = {
    RegisterEntry{"Mono8", "Mono 8", 0},
    RegisterEntry{"Mono10", "Mono 10", 1},
    RegisterEntry{"Mono12", "Mono 12", 2},
};

constexpr std::array kRegisters = {
    SimRegister{"DeviceUserID", "Device User ID", "DeviceControl", RegisterKind::Text, 0x20000, 16,
                "RW", "UD"},
    SimRegister{"DeviceTemperature", "Device Temperature", "DeviceControl", RegisterKind::Float,
                0x20010, 4, "RO", "TMP0", -40, 125},
    SimRegister{"PixelFormat", "Pixel Format", "ImageFormatControl", RegisterKind::Enumeration,
                0x20100, 4, "RW", "SBS", 0, 0, kPixelFormats},
    SimRegister{"DefectPixelCorrection", "Defect Pixel Correction", "ImageFormatControl",
                RegisterKind::Boolean, 0x20104, 4, "RW", "DPS"},
    SimRegister{"ExposureTime", "Exposure Time", "AcquisitionControl", RegisterKind::Integer,
                0x20200, 4, "RW", "PE", 10, 8000000},
    SimRegister{"ExposureTimeAbs", "Exposure Time (float)", "AcquisitionControl",
                RegisterKind::Float, 0x20204, 4, "RW", "PE", 10, 8000000},
    SimRegister{"TriggerSoftware",
                "Trigger Software",
                "AcquisitionControl",
                RegisterKind::Command,
                0x20208,
                4,
                "WO",
                "STRG",
                0,
                0,
                {},
                1},
    SimRegister{"Gain", "Gain", "AnalogControl", RegisterKind::Integer, 0x20300, 4, "RW", "GA", -84,
                672},
};

}  // namespace

std::span<const SimCategory> SimCategories() {
    return kCategories;
}

std::span<const SimRegister> SimRegisters() {
    return kRegisters;
}

}  // namespace vk::sim
