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

vk::Exchange& TheExchange() {
    static vk::SilentUserInterface ui;
    static vk::MemorySettingsBackend backend;
    static vk::CoreContext core(ui, backend);
    return core.exchange;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    vk::Exchange& exchange = TheExchange();
    const vk::CommandTable& table = exchange.Commands();

    const vk::ParsedReply reply = vk::ParseReply(table, line);
    const bool ok = reply.valid;
    Check(reply.raw.find_first_of(" \r\n") == std::string::npos);
    if (ok) {
        const vk::CommandEntry& entry = table.Entry(reply.commandId);
        Check(entry.mnemonic == reply.mnemonic && reply.value.kind == entry.kind);
        // What a set line carries reads back as the same value.
        if (entry.kind == vk::ValueKind::Int && reply.valueCount > 0) {
            const vk::ParsedReply again =
                vk::ParseReply(table, entry.mnemonic + "=" + vk::FormatValue(reply.value));
            Check(again.valid);
            Check(again.value.intValue == reply.value.intValue);
        }
    }

    Check(exchange.ParseReply(line).valid == ok);

    vk::ReadCInteger(line);
    vk::ReadIntValue(line);
    return 0;
}
