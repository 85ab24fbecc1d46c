#include "core/persist/setting_file.h"

#include "core/comm/model_check.h"
#include "core/operation_runner.h"
#include "core/persist/atomic_file.h"
#include "core/protocol/command_mnemonics.h"
#include "core/protocol/exchange.h"
#include "core/user_interface.h"

namespace vk {
namespace {

constexpr const char* kLineEnd = "\r\n";

void AppendLine(std::string& out, const std::string& mnemonic, const std::string& value) {
    out += mnemonic;
    out += '=';
    out += value;
    out += kLineEnd;
}

}  // namespace

bool IsWrittenToSettingFile(const ControlEntry& row, SettingFileVariant variant, bool factoryMode) {
    if (row.inSettingFile != 1 || row.commandId == kNoCommand) return false;
    const bool factoryOnly = row.level == ParamLevel::Factory;
    if (variant == SettingFileVariant::ShippingData) return !factoryOnly;
    return !factoryOnly || factoryMode;
}

std::vector<int> SettingFileRows(const ControlTable& table, SettingFileVariant variant,
                                 bool factoryMode) {
    std::vector<int> rows;
    for (int row = 0; row < table.RowCount(); ++row) {
        if (IsWrittenToSettingFile(table.Row(row), variant, factoryMode)) rows.push_back(row);
    }
    return rows;
}

std::vector<int> SettingFileRowsOfModel(const ControlTable& table, SettingFileVariant variant,
                                        bool factoryMode, int modelIndex) {
    std::vector<int> rows;
    for (int row : SettingFileRows(table, variant, factoryMode)) {
        const bool absent =
            table.Row(row).Has(RowTrait::MonochromeOnly) && ModelCheck::IsColour(modelIndex);
        if (!absent) rows.push_back(row);
    }
    return rows;
}

FullReadResult ReadSettingFileRows(Operation& operation, SettingFileVariant variant,
                                   bool factoryMode, int modelIndex, int timeoutMs) {
    return ReadRowsForSettingFile(
        operation,
        SettingFileRowsOfModel(operation.exchange.Controls(), variant, factoryMode, modelIndex),
        timeoutMs);
}

FullReadResult ReadRowsForSettingFile(Operation& operation, const std::vector<int>& rows,
                                      int timeoutMs) {
    operation.SetText(kFullReadProgressText);
    return ParameterReader().ReadRows(operation, rows, static_cast<int>(rows.size()), timeoutMs);
}

SettingFileHeader QuerySettingFileHeader(Exchange& exchange, ModelCheck& modelCheck,
                                         SettingFileVariant variant, bool factoryMode) {
    SettingFileHeader header;
    if (variant != SettingFileVariant::AllData) return header;
    if (factoryMode && modelCheck.Check() && modelCheck.modelIndex != ModelCheck::kNoModel) {
        header.model = modelCheck.modelName;
    }
    if (const auto version = exchange.QueryInt(Cmd("DVW"), kDeviceVersionTimeoutMs)) {
        header.deviceVersion = version.value;
    }
    return header;
}

std::string FormatSettingFile(const Exchange& exchange, SettingFileVariant variant,
                              bool factoryMode, const SettingFileHeader& header) {
    std::string out;
    if (header.model) AppendLine(out, "MD00", *header.model);
    if (header.deviceVersion) AppendLine(out, "DVW", std::to_string(*header.deviceVersion));
    const ControlTable& table = exchange.Controls();
    for (int row : SettingFileRows(table, variant, factoryMode)) {
        // A setting file is a record of the camera: a value it never gave is left out.
        const auto value = exchange.Values().ValueAt(row);
        if (!value) continue;
        AppendLine(out, exchange.GetMnemonic(table.Row(row).commandId), std::to_string(*value));
    }
    return out;
}

std::vector<int> UnknownSettingFileRows(const Exchange& exchange, SettingFileVariant variant,
                                        bool factoryMode, int modelIndex) {
    std::vector<int> rows;
    for (int row : SettingFileRowsOfModel(exchange.Controls(), variant, factoryMode, modelIndex)) {
        if (!exchange.Values().Known(row)) rows.push_back(row);
    }
    return rows;
}

std::string RowNames(const Exchange& exchange, const std::vector<int>& rows, std::size_t most) {
    std::string names;
    for (std::size_t i = 0; i < rows.size() && i < most; ++i) {
        if (i > 0) names += ", ";
        names += exchange.GetMnemonic(exchange.Controls().Row(rows[i]).commandId);
    }
    if (rows.size() > most) names += ", ...";
    return names;
}

std::optional<Notice> WriteSettingFile(Exchange& exchange, ModelCheck& modelCheck,
                                       const std::filesystem::path& path,
                                       SettingFileVariant variant, bool factoryMode) {
    const SettingFileHeader header =
        QuerySettingFileHeader(exchange, modelCheck, variant, factoryMode);
    const FileOutcome written =
        WriteFileAtomically(path, FormatSettingFile(exchange, variant, factoryMode, header));
    if (written) return std::nullopt;
    return Notice{path.string() + kCouldNotOpenFile + "\n(" + written.reason + ")",
                  kFileOpenErrorCaption, MessageIcon::Exclamation};
}

}  // namespace vk
