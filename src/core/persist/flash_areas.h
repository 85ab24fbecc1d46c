#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/protocol/exchange_result.h"

namespace vk {

class Exchange;
class Operation;

// The camera's flash memory areas: area 0 holds the factory settings, 1 to 3 the user's.
// The camera does the work; these send the commands and say how it went.
class FlashAreas {
public:
    static constexpr int kFactoryArea = 0;
    static constexpr int kAreaCount = 4;
    static constexpr int kQueryTimeoutMs = 2500;
    // Store All tries every area, the factory one last.
    static constexpr std::array<int, 4> kStoreAllOrder = {3, 2, 1, 0};
    static constexpr int kStoreAllTimeoutMs = 10000;
    static constexpr int kStoreAllPauseMs = 20;
    // The Settings menu's load and store, and the factory-area button.
    static constexpr int kLoadTimeoutMs = 2500;
    static constexpr int kStoreTimeoutMs = 8000;
    static constexpr int kFactoryStoreTimeoutMs = 500;

    explicit FlashAreas(Exchange& exchange) : exchange_(exchange) {}

    static bool IsArea(int area) { return area >= 0 && area < kAreaCount; }
    // "Factory", "User 1" to "User 3"; empty for anything else.
    static std::string AreaName(int area);
    // The area of a name; -1 for anything else.
    static int AreaOfName(std::string_view name);

    // Loads an area into the camera's current settings.
    ExchangeResult Load(int area, int timeoutMs);
    // Stores the current settings into an area; the factory area has a command of its own.
    ExchangeResult Store(int area, int timeoutMs);
    // Stores into every area, going on after a refusal; the result is the first failure.
    // A camera that leaves an area unanswered is not asked for the others.
    ExchangeResult StoreAll(Operation& operation, int timeoutMs = kStoreAllTimeoutMs);
    // The area the camera runs from; `area` is unchanged on failure.
    QueryResult<std::uint32_t> QueryCurrentArea();

private:
    Exchange& exchange_;
};

inline constexpr const char* kStoreAllQuestion =
    "Are you sure you want to overwrite into all EEPROM areas?";
inline constexpr const char* kStoreAllFailed = "Couldn't store current setting data!";
inline constexpr const char* kStoreCompleted = "Completed to store current setting data!";
inline constexpr const char* kStoreSettingsCompleted = "Completed saving current setting data !";
inline constexpr const char* kInvalidArea = "Selected invalid area !";

}  // namespace vk
