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

FullReadResult ReadSettingFileRows(Operation& operation, SettingFileVariant variant,
                                   bool factoryMode, int modelIndex) {
    const ControlTable& table = operation.exchange.Controls();
    std::vector<int> rows;
    for (int row : SettingFileRows(table, variant, factoryMode)) {
        const bool absent =
            table.Row(row).Has(RowTrait::MonochromeOnly) && ModelCheck::IsColour(modelIndex);
        if (!absent) rows.push_back(row);
    }
    operation.SetText(kFullReadProgressText);
    return ParameterReader().ReadRows(operation, rows, static_cast<int>(rows.size()));
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
        const ControlEntry& entry = table.Row(row);
        AppendLine(out, exchange.GetMnemonic(entry.commandId), std::to_string(entry.value));
    }
    return out;
}

bool WriteSettingFile(Exchange& exchange, ModelCheck& modelCheck, UserInterface& ui,
                      const std::filesystem::path& path, SettingFileVariant variant,
                      bool factoryMode) {
    const SettingFileHeader header =
        QuerySettingFileHeader(exchange, modelCheck, variant, factoryMode);
    const FileOutcome written =
        WriteFileAtomically(path, FormatSettingFile(exchange, variant, factoryMode, header));
    if (!written) {
        ui.ShowMessage(path.string() + kCouldNotOpenFile + "\n(" + written.reason + ")",
                       kFileOpenErrorCaption, MessageIcon::Exclamation);
        return false;
    }
    return true;
}

std::string ReplaceFileQuestion(const std::string& path) {
    return path + kSettingFileExists + kReplaceSettingFile;
}

}  // namespace vk
