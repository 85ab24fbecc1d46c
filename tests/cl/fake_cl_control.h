#pragma once

// How a test steers the fake Camera Link serial libraries: environment variables that
// every call reads afresh, so a test can change them between calls.
namespace vk::test::fakecl {

// Device the serial port opens (the simulated camera's pseudo-terminal).
inline constexpr const char* kDevice = "VKFAKECL_DEVICE";
// Nonzero result that clSerialInit returns instead of opening.
inline constexpr const char* kInitResult = "VKFAKECL_INIT_RESULT";
// Baud-rate mask that clGetSupportedBaudRates reports (default 0x1f, 9600-115200).
inline constexpr const char* kBaudMask = "VKFAKECL_BAUD_MASK";
// Number of makers (2001) or ports (1.1) reported (default 2).
inline constexpr const char* kCount = "VKFAKECL_COUNT";
// "1": names fill the whole buffer unterminated and report a size beyond it.
inline constexpr const char* kLongNames = "VKFAKECL_LONG_NAMES";
// "1": clSerialRead succeeds with a size larger than the buffer.
inline constexpr const char* kOversizedRead = "VKFAKECL_OVERSIZED_READ";
// Milliseconds every clSerialRead sleeps whatever its time-out, before it looks for bytes.
inline constexpr const char* kReadStallMs = "VKFAKECL_READ_STALL_MS";
// File that gets one line per call: "<function> <argument>".
inline constexpr const char* kLog = "VKFAKECL_LOG";

}  // namespace vk::test::fakecl
