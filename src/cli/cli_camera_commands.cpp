#include "cli/cli_camera_commands.h"

#include <ostream>

#include "cli/json_output.h"
#include "core/comm/model_check.h"
#include "core/core_context.h"
#include "core/protocol/parameter_reader.h"
#include "core/protocol/parameter_table.h"
#include "core/protocol/printable.h"

namespace vk::cli {
namespace {

// The design's columns: range mode is 0 in every row (the spin's range is the row's); the
// camera value is empty while it is not known.
void PrintRow(const ControlEntry& row, std::optional<std::int32_t> cameraValue,
              const std::string& mnemonic, std::ostream& out) {
    out << row.controlId << '\t' << row.commandId << '\t'
        << static_cast<std::uint32_t>(row.controlKind) << "\t0\t"
        << static_cast<std::uint32_t>(row.level) << '\t' << row.minimum << '\t' << row.maximum
        << '\t' << row.defaultValue << '\t'
        << (cameraValue ? std::to_string(*cameraValue) : std::string()) << '\t'
        << (row.inSettingFile ? 1 : 0) << '\t' << mnemonic << '\n';
}

bool AnswersModelQuery(CliSession& s) {
    if (s.core.modelCheck.Check(s.options.timeoutMs)) return true;
    s.err << "vk4100ctl: the camera did not answer the model query\n";
    return false;
}

}  // namespace

bool CheckModel(CliSession& s) {
    return AnswersModelQuery(s) && s.core.modelCheck.modelIndex != ModelCheck::kNoModel;
}

int DumpCommand(CliSession& s, const std::vector<std::string>& args) {
    // "--factory" may also follow the command word.
    if (!args.empty() && args[0] != "--factory") {
        s.err << "vk4100ctl: dump takes only --factory, not \"" << args[0] << "\"\n";
        return kExitUsage;
    }
    const bool factory = s.options.factory || !args.empty();
    if (!CheckModel(s)) return kExitFailed;
    const int model = s.core.modelCheck.modelIndex;
    const FullReadResult result =
        ParameterReader().ReadAllParameters(*s.operation, model, factory, s.options.timeoutMs);
    if (result.readRows.empty() && result.failedRows.empty()) {
        s.err << "vk4100ctl: parameters are not read from this model (\""
              << Printable(s.core.modelCheck.modelName) << "\")\n";
        return kExitFailed;
    }
    const bool complete = result.failedRows.empty() && result.notQueried == 0;
    if (JsonWanted(s)) {
        // One document, and only of a whole read.
        if (complete) PrintJson(s.out, DumpJson(s.core.exchange, result.readRows));
    } else {
        const ControlTable& table = s.core.exchange.Controls();
        for (int row : result.readRows) {
            s.out << s.core.exchange.GetMnemonic(table.Row(row).commandId) << '='
                  << s.core.exchange.Values().ValueAt(row).value_or(0) << '\n';
        }
    }
    if (!complete) {
        s.err << "vk4100ctl: " << result.readRows.size() << " parameters read, "
              << result.failedRows.size() << " failed, " << result.notQueried << " not queried\n";
        return kExitFailed;
    }
    return kExitOk;
}

int ModelCommand(CliSession& s, const std::vector<std::string>&) {
    if (!AnswersModelQuery(s)) return kExitFailed;
    if (JsonWanted(s)) {
        PrintJson(s.out, ModelJson(s.core.modelCheck.modelName, s.core.modelCheck.modelIndex));
        return s.core.modelCheck.modelIndex == ModelCheck::kNoModel ? kExitFailed : kExitOk;
    }
    s.out << "modelName=" << Printable(s.core.modelCheck.modelName) << '\n'
          << "modelIndex=" << s.core.modelCheck.modelIndex << '\n';
    return s.core.modelCheck.modelIndex == ModelCheck::kNoModel ? kExitFailed : kExitOk;
}

void PrintControlTable(const ControlTable& table, const ParameterTable& values, std::ostream& out) {
    out << "controlId\tcommandId\tkind\trangeMode\tlevel\tminimum\tmaximum\tvalue\tcameraValue"
           "\tinSettingFile\tmnemonic\n";
    for (int i = 0; i < table.RowCount(); ++i) {
        const ControlEntry& row = table.Row(i);
        PrintRow(row, values.ValueAt(i), table.Commands().GetMnemonic(row.commandId), out);
    }
    out << "transferable\t" << table.CountTransferable() << '\n'
        << "transferable user\t" << table.CountUserTransferable() << '\n';
}

}  // namespace vk::cli
