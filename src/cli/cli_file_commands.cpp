#include "cli_file_commands.h"

#include <ostream>

#include "core_context.h"
#include "persist/setting_file.h"
#include "persist/setting_file_compare.h"
#include "persist/setting_file_loader.h"

namespace vk::cli {
namespace {

// The words after the subcommand: flags the subcommand allows, then exactly one file.
bool SplitArguments(CliSession& s, const std::vector<std::string>& args, const char* flag,
                    bool& flagGiven, std::string& file) {
    flagGiven = false;
    file.clear();
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (flag != nullptr && args[i] == flag) {
            flagGiven = true;
        } else if (file.empty() && !args[i].starts_with("--")) {
            file = args[i];
        } else {
            s.err << "vk4100ctl: file " << args[0] << ": unexpected \"" << args[i] << "\"\n";
            return false;
        }
    }
    if (file.empty()) s.err << "vk4100ctl: file " << args[0] << ": no file given\n";
    return !file.empty();
}

bool CheckModel(CliSession& s) {
    if (s.core.modelCheck.Check()) return true;
    s.err << "vk4100ctl: the camera did not answer the model query\n";
    return false;
}

int Save(CliSession& s, const std::string& file, bool shipping) {
    const SettingFileVariant variant =
        shipping ? SettingFileVariant::ShippingData : SettingFileVariant::AllData;
    if (!CheckModel(s)) return kExitFailed;
    const FullReadResult read =
        ReadSettingFileRows(*s.operation, variant, s.options.factory, s.core.modelCheck.modelIndex);
    if (read.cancelled) return kExitFailed;
    // A value that was not read would be saved as the table's default: no file then.
    if (!read.failedRows.empty() || read.notQueried > 0) {
        s.err << "vk4100ctl: " << read.failedRows.size() + read.notQueried
              << " parameters could not be read; nothing was saved\n";
        return kExitFailed;
    }
    return WriteSettingFile(s.core.command, s.core.modelCheck, s.core.ui, file, variant,
                            s.options.factory)
               ? kExitOk
               : kExitFailed;
}

int Load(CliSession& s, const std::string& file, bool changedOnly) {
    SettingFilePlan plan;
    if (!PrepareSettingFile(s.core.ui, s.core.command, file, s.options.factory, plan)) {
        return kExitUsage;
    }
    if (!CheckModel(s)) return kExitFailed;
    if (changedOnly) {
        const SettingFileComparison comparison =
            CompareWithCamera(*s.operation, s.core.modelCheck, plan);
        if (comparison.cancelled) return kExitFailed;
        plan = OnlyLines(plan, comparison.DifferingLines());
    }
    const SettingFileLoadResult result =
        SettingFileLoader().Load(*s.operation, s.core.modelCheck, plan);
    const std::string summary = LoadSummary(result);
    if (!summary.empty()) s.err << "vk4100ctl: " << summary << '\n';
    return result.Clean() ? kExitOk : kExitFailed;
}

int Diff(CliSession& s, const std::string& file) {
    SettingFilePlan plan;
    if (!PrepareSettingFile(s.core.ui, s.core.command, file, s.options.factory, plan)) {
        return kExitUsage;
    }
    if (!CheckModel(s)) return kExitFailed;
    const SettingFileComparison result = CompareWithCamera(*s.operation, s.core.modelCheck, plan);
    for (const SettingDifference& d : result.differences) {
        s.out << "line " << d.line << '\t' << d.name << "\tfile=" << d.fileValue
              << "\tcamera=" << (d.answered ? d.cameraValue : "(no answer)") << '\n';
    }
    if (result.stopped) s.err << "vk4100ctl: the camera stopped answering\n";
    return result.differences.empty() && !result.stopped && !result.cancelled ? kExitOk
                                                                              : kExitFailed;
}

}  // namespace

int FileCommand(CliSession& s, const std::vector<std::string>& args) {
    const std::string& sub = args[0];
    bool flag = false;
    std::string file;
    if (sub == "save") {
        return SplitArguments(s, args, "--shipping", flag, file) ? Save(s, file, flag) : kExitUsage;
    }
    if (sub == "load") {
        return SplitArguments(s, args, "--changed-only", flag, file) ? Load(s, file, flag)
                                                                     : kExitUsage;
    }
    if (sub == "diff") {
        return SplitArguments(s, args, nullptr, flag, file) ? Diff(s, file) : kExitUsage;
    }
    s.err << "vk4100ctl: file takes save, load or diff, not \"" << sub << "\"\n";
    return kExitUsage;
}

}  // namespace vk::cli
