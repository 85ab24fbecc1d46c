// One reply or setting line, as the camera or a file may send it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/core_context.h"
#include "core/persist/settings_backend.h"
#include "core/protocol/reply_parser.h"
#include "core/user_interface.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

vk::Command& TheCommand() {
    static vk::SilentUserInterface ui;
    static vk::MemorySettingsBackend backend;
    static vk::CoreContext core(ui, backend);
    return core.exchange;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    vk::Command& exchange = TheCommand();
    const vk::CommandTable& table = exchange.Commands();

    vk::ParsedReply reply;
    const bool ok = vk::ParseReply(table, line, reply);
    Check(ok == (reply.error == 0));
    Check(reply.raw.find_first_of(" \r\n") == std::string::npos);
    if (ok) {
        const vk::CommandEntry& entry = table.Entry(reply.commandId);
        Check(entry.mnemonic == reply.mnemonic && reply.value.kind == entry.kind);
        // What a set line carries reads back as the same value.
        if (entry.kind == vk::ValueKind::Int && reply.valueCount > 0) {
            vk::ParsedReply again;
            Check(vk::ParseReply(table, entry.mnemonic + "=" + vk::FormatValue(entry, reply.value),
                                 again));
            Check(again.value.intValue == reply.value.intValue);
        }
    }

    vk::CommandId id = vk::kNoCommand;
    std::string mnemonic;
    std::string text;
    std::int32_t first = 0;
    std::int32_t second = 0;
    Check(exchange.ParseSettingLine(line, id, mnemonic, first, text) == ok);
    if (exchange.ParsePairLine(line, first, second)) Check(ok);

    vk::ReadCInteger(line);
    vk::ReadIntValue(line);
    return 0;
}
