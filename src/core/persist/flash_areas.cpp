#include "core/persist/flash_areas.h"

#include <thread>

#include "core/operation_runner.h"
#include "core/persist/setting_file_loader.h"
#include "core/protocol/exchange.h"

namespace vk {
namespace {

constexpr std::array<std::string_view, FlashAreas::kAreaCount> kAreaNames = {"Factory", "User 1",
                                                                             "User 2", "User 3"};

}  // namespace

std::string FlashAreas::AreaName(int area) {
    return IsArea(area) ? std::string(kAreaNames[static_cast<std::size_t>(area)]) : std::string();
}

int FlashAreas::AreaOfName(std::string_view name) {
    for (int area = 0; area < kAreaCount; ++area) {
        if (kAreaNames[static_cast<std::size_t>(area)] == name) return area;
    }
    return -1;
}

ExchangeResult FlashAreas::Load(int area, int timeoutMs) {
    if (!IsArea(area)) return ExchangeResult::Failure(ExchangeStatus::Refused);
    return exchange_.SendSetInt(Cmd("LD"), area, timeoutMs);
}

ExchangeResult FlashAreas::Store(int area, int timeoutMs) {
    if (!IsArea(area)) return ExchangeResult::Failure(ExchangeStatus::Refused);
    if (area == kFactoryArea) return exchange_.SendSetInt(Cmd("SA00"), 0, timeoutMs);
    return exchange_.SendSetInt(Cmd("SA"), area, timeoutMs);
}

ExchangeResult FlashAreas::StoreAll(Operation& operation, int timeoutMs) {
    ExchangeResult first;
    int done = 0;
    // Silence or a lost line would cost a long wait per area, and a camera that is still
    // writing its flash should not be sent the next store.
    UnansweredRun unanswered(1);
    for (int area : kStoreAllOrder) {
        if (operation.Cancelled()) return ExchangeResult::Failure(ExchangeStatus::Cancelled);
        std::this_thread::sleep_for(std::chrono::milliseconds(kStoreAllPauseMs));
        ExchangeResult result = Store(area, timeoutMs);
        if (!result && first.ok()) first = result;
        operation.Step(++done, static_cast<int>(kStoreAllOrder.size()));
        if (unanswered.Stops(result)) break;
    }
    return first;
}

QueryResult<std::uint32_t> FlashAreas::QueryCurrentArea() {
    const QueryResult<std::int32_t> asked = exchange_.QueryInt(Cmd("EA"), kQueryTimeoutMs);
    return QueryResult<std::uint32_t>::From(asked, static_cast<std::uint32_t>(asked.value));
}

}  // namespace vk
