#include "cli/cli_file_commands.h"

#include <ostream>

#include "cli/cli_camera_commands.h"
#include "cli/json_output.h"
#include "core/core_context.h"
#include "core/persist/atomic_file.h"
#include "core/persist/setting_file.h"
#include "core/persist/setting_file_compare.h"
#include "core/persist/setting_file_loader.h"
#include "core/protocol/printable.h"

namespace vk::cli {
namespace {

// The files and the one flag a command allows, in any order.
struct FileArguments {
    std::vector<std::string> files;
    bool flag = false;
};

bool SplitArguments(CliSession& s, const char* command, const std::vector<std::string>& args,
                    const char* flag, std::size_t maxFiles, FileArguments& split) {
    for (const std::string& a : args) {
        if (flag != nullptr && a == flag) {
            split.flag = true;
        } else if (split.files.size() < maxFiles && !a.starts_with("--")) {
            split.files.push_back(a);
        } else {
            s.err << "vk4100ctl: " << command << ": unexpected \"" << a << "\"\n";
            return false;
        }
    }
    if (split.files.empty()) s.err << "vk4100ctl: " << command << ": no file given\n";
    return !split.files.empty();
}

bool Prepare(CliSession& s, const std::string& file, SettingFilePlan& plan) {
    PreparedSettingFile prepared = PrepareSettingFile(s.core.exchange, file, s.options.factory);
    if (!prepared) {
        ShowNotice(s.core.ui, *prepared.failure);
        return false;
    }
    plan = std::move(prepared.plan);
    return true;
}

// A header naming both sides, then one row per difference: mnemonic, value in the file,
// value on the other side.
void PrintDifferences(CliSession& s, const SettingFileComparison& comparison,
                      const std::string& file, const std::string& other, const char* missing) {
    if (JsonWanted(s)) {
        if (!comparison.stopped && !comparison.cancelled) {
            PrintJson(s.out, DiffJson(comparison, file, other));
        }
        return;
    }
    if (comparison.differences.empty()) return;
    s.out << "mnemonic\t" << Printable(file) << '\t' << Printable(other) << '\n';
    for (const SettingDifference& d : comparison.differences) {
        s.out << Printable(d.name) << '\t' << (d.line > 0 ? Printable(d.fileValue) : "(none)")
              << '\t' << (d.answered ? Printable(d.cameraValue) : missing) << '\n';
    }
}

}  // namespace

int SaveCommand(CliSession& s, const std::vector<std::string>& args) {
    FileArguments a;
    if (!SplitArguments(s, "save", args, "--shipping", 1, a)) return kExitUsage;
    const SettingFileVariant variant =
        a.flag ? SettingFileVariant::ShippingData : SettingFileVariant::AllData;
    // A FIFO, a device or a folder is refused before the camera is read.
    if (const WriteTarget target = ResolveWriteTarget(a.files[0]); !target.outcome) {
        s.err << "vk4100ctl: " << a.files[0] << ": " << target.outcome.reason << '\n';
        return kExitUsage;
    }
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
    const auto failure = WriteSettingFile(s.core.exchange, s.core.modelCheck, a.files[0], variant,
                                          s.options.factory);
    if (!failure) return kExitOk;
    ShowNotice(s.core.ui, *failure);
    return kExitFailed;
}

int LoadCommand(CliSession& s, const std::vector<std::string>& args) {
    FileArguments a;
    if (!SplitArguments(s, "load", args, "--changed-only", 1, a)) return kExitUsage;
    SettingFilePlan plan;
    if (!Prepare(s, a.files[0], plan)) return kExitUsage;
    if (!CheckModel(s)) return kExitFailed;
    if (a.flag) {
        const SettingFileComparison comparison =
            CompareWithCamera(*s.operation, s.core.modelCheck, plan, s.options.timeoutMs);
        if (comparison.cancelled) return kExitFailed;
        plan = OnlyLines(plan, comparison.DifferingLines());
    }
    const SettingFileLoadResult result =
        SettingFileLoader().Load(*s.operation, s.core.modelCheck, plan);
    const std::string summary = LoadSummary(result);
    if (!summary.empty()) s.err << "vk4100ctl: " << PrintableLines(summary) << '\n';
    return result.Clean() ? kExitOk : kExitFailed;
}

int DiffCommand(CliSession& s, const std::vector<std::string>& args) {
    FileArguments a;
    if (!SplitArguments(s, "diff", args, nullptr, 2, a)) return kExitUsage;
    SettingFilePlan plan;
    if (!Prepare(s, a.files[0], plan)) return kExitUsage;
    if (a.files.size() == 2) {
        SettingFilePlan other;
        if (!Prepare(s, a.files[1], other)) return kExitUsage;
        const SettingFileComparison result = CompareSettingFiles(s.core.exchange, plan, other);
        PrintDifferences(s, result, a.files[0], a.files[1], "(none)");
        return result.differences.empty() ? kExitOk : kExitFailed;
    }
    if (!CheckModel(s)) return kExitFailed;
    const SettingFileComparison result =
        CompareWithCamera(*s.operation, s.core.modelCheck, plan, s.options.timeoutMs);
    PrintDifferences(s, result, a.files[0], "camera", "(no answer)");
    if (result.stopped) s.err << "vk4100ctl: the camera stopped answering\n";
    return result.differences.empty() && !result.stopped && !result.cancelled ? kExitOk
                                                                              : kExitFailed;
}

}  // namespace vk::cli
