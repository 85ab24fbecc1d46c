// A camera setting file, taken apart into the plan a load would send.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/core_context.h"
#include "core/persist/setting_file_parser.h"

namespace {

vk::Exchange& TheExchange() {
    static vk::SilentUserInterface ui;
    static vk::MemorySettingsBackend backend;
    static vk::CoreContext core(ui, backend);
    return core.exchange;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const bool factory : {false, true}) {
        const vk::SettingFilePlan plan = vk::ParseSettingFile(TheExchange(), text, factory);
        for (const vk::SettingLine& line : plan.lines) {
            // Nothing that goes to the camera may carry a line end of its own.
            if (line.action != vk::SettingAction::Skip &&
                line.sendText.find_first_of("\r\n") != std::string::npos) {
                std::abort();
            }
        }
        vk::LooksLikeSettingFile(plan);
    }
    return 0;
}
