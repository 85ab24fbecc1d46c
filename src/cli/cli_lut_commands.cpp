#include "cli/cli_lut_commands.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <ostream>

#include "cli/json_output.h"
#include "core/core_context.h"
#include "core/lut/lut_file.h"
#include "core/lut/lut_transfer.h"
#include "core/lut/standard_curve.h"
#include "core/persist/atomic_file.h"
#include "core/protocol/printable.h"

namespace vk::cli {
namespace {

constexpr int kAllChannels = -1;

// r, g, b, or all (kAllChannels); nothing for any other word.
std::optional<int> ParseChannel(const std::string& word) {
    if (word == "all") return kAllChannels;
    for (std::size_t c = 0; c < lut::kChannels.size(); ++c) {
        if (word.size() == 1 && word[0] == "rgb"[c]) return static_cast<int>(c);
    }
    return std::nullopt;
}

int BadChannel(CliSession& s, const std::string& word) {
    s.err << "vk4100ctl: bad channel: " << word << " (r, g, b or all)\n";
    return kExitUsage;
}

// The file as `tables`; false with a message when it cannot be read or is not a LUT file.
bool LoadFile(CliSession& s, const std::string& path, lut::Tables& tables) {
    const lut::LutLoad load = lut::LoadLutFile(path);
    if (!load.ok) {
        // "PATH\nCouldn't open this file", or the reason alone.
        std::string reason = load.error;
        if (reason.starts_with(path + "\n")) reason.erase(0, path.size() + 1);
        s.err << "vk4100ctl: " << path << ": " << reason << '\n';
        return false;
    }
    if (!load.notice.empty()) s.err << "vk4100ctl: " << path << ": " << load.notice << '\n';
    tables = load.tables;
    return true;
}

// Why a transfer stopped, where, and what the camera's tables now hold; a cancelled run
// says so itself.
int TransferFailed(CliSession& s, const lut::LutTransfer& transfer, const ExchangeResult& result) {
    if (result.status == ExchangeStatus::Cancelled) return kExitFailed;
    if (!transfer.OutOfRangeValues().empty() && result.status == ExchangeStatus::Refused) {
        s.err << "vk4100ctl: " << Printable(result.message) << "; nothing was saved or printed\n";
        return kExitFailed;
    }
    s.err << "vk4100ctl: " << PrintableLines(transfer.StopText(result)) << '\n';
    return kExitFailed;
}

// Channels of the tables, for --json.
void PrintJsonTables(CliSession& s, const lut::Tables& tables, int channel) {
    std::vector<std::pair<char, std::vector<std::int32_t>>> channels;
    for (int c = 0; c < static_cast<int>(tables.size()); ++c) {
        const lut::Table& t = tables[std::size_t(c)];
        if (channel == kAllChannels || channel == c)
            channels.push_back({"rgb" [c], { t.begin(), t.end() }});
    }
    PrintJson(s.out, LutJson(channels));
}

// The file's text with plain line ends, for a terminal or a pipe.
void PrintTables(std::ostream& out, const lut::Tables& tables) {
    for (char c : lut::FormatLutFile(tables)) {
        if (c != '\r') out << c;
    }
}

int SaveFile(CliSession& s, const std::string& path, const lut::Tables& tables) {
    std::string error;
    if (lut::SaveLutFile(path, tables, &error)) return kExitOk;
    s.err << "vk4100ctl: " << path << ": cannot be written: " << error.substr(error.rfind('\n') + 1)
          << '\n';
    return kExitFailed;
}

// A FIFO, a device or a folder is refused before the camera is asked anything.
bool CanWrite(CliSession& s, const std::string& path) {
    const WriteTarget target = ResolveWriteTarget(path);
    if (!target.outcome) s.err << "vk4100ctl: " << path << ": " << target.outcome.reason << '\n';
    return target.outcome.ok;
}

int Read(CliSession& s, int channel, const std::optional<std::string>& path) {
    if (path && !CanWrite(s, *path)) return kExitUsage;
    lut::Tables tables{};
    // Reading one channel into a LUT file keeps its other columns; anything else there is
    // not overwritten.
    if (path && channel != kAllChannels && std::filesystem::exists(*path) &&
        !LoadFile(s, *path, tables)) {
        s.err << "vk4100ctl: " << *path << " was left as it is\n";
        return kExitUsage;
    }
    lut::LutTransfer transfer(*s.operation);
    const ExchangeResult result = channel == kAllChannels
                                      ? transfer.ReadAllTables(tables)
                                      : transfer.ReadTable(channel, tables[std::size_t(channel)]);
    if (!result) return TransferFailed(s, transfer, result);
    if (path) return SaveFile(s, *path, tables);
    if (JsonWanted(s)) {
        PrintJsonTables(s, tables, channel);
    } else if (channel == kAllChannels) {
        PrintTables(s.out, tables);
    } else {
        for (std::int32_t value : tables[std::size_t(channel)])
            s.out << value << '\n';
    }
    return kExitOk;
}

int Write(CliSession& s, int channel, const std::string& path) {
    lut::Tables tables{};
    if (!LoadFile(s, path, tables)) return kExitUsage;
    lut::LutTransfer transfer(*s.operation);
    const ExchangeResult result = channel == kAllChannels
                                      ? transfer.WriteAllTables(tables)
                                      : transfer.WriteTable(channel, tables[std::size_t(channel)]);
    return result ? kExitOk : TransferFailed(s, transfer, result);
}

}  // namespace

int LutReadCommand(CliSession& s, const std::vector<std::string>& args) {
    int channel = kAllChannels;
    std::size_t next = 0;
    if (!args.empty()) {
        if (const auto parsed = ParseChannel(args[0])) {
            channel = *parsed;
            next = 1;
        } else if (args.size() == 2) {
            return BadChannel(s, args[0]);
        }
    }
    const std::optional<std::string> path =
        next < args.size() ? std::optional<std::string>(args[next]) : std::nullopt;
    return Read(s, channel, path);
}

int LutWriteCommand(CliSession& s, const std::vector<std::string>& args) {
    const auto channel = ParseChannel(args[0]);
    if (!channel) return BadChannel(s, args[0]);
    return Write(s, *channel, args[1]);
}

int LutSaveCommand(CliSession& s, const std::vector<std::string>& args) {
    return Read(s, kAllChannels, args[0]);
}

int LutLoadCommand(CliSession& s, const std::vector<std::string>& args) {
    return Write(s, kAllChannels, args[0]);
}

int LutMakeCommand(CliSession& s, const std::vector<std::string>& args) {
    std::optional<lut::Table> table;
    std::size_t next = 1;
    if (args[0] == "--linear") {
        table = lut::LinearTable();
    } else if (args[0] == "--gamma" || args[0].starts_with("--gamma=")) {
        std::string text;
        if (args[0] != "--gamma") {
            text = args[0].substr(8);
        } else if (args.size() > 1) {
            text = args[1];
            next = 2;
        }
        double gamma = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), gamma);
        if (ec == std::errc() && end == text.data() + text.size()) table = lut::GammaTable(gamma);
        if (!table) {
            s.err << "vk4100ctl: bad gamma: \"" << text << "\" (a positive number)\n";
            return kExitUsage;
        }
    } else {
        s.err << "vk4100ctl: lut make takes --gamma G or --linear, not \"" << args[0] << "\"\n";
        return kExitUsage;
    }
    if (args.size() > next + 1) {
        s.err << "vk4100ctl: lut make takes one FILE\n";
        return kExitUsage;
    }
    const lut::Tables tables = {*table, *table, *table};
    if (next < args.size() && !CanWrite(s, args[next])) return kExitUsage;
    if (next < args.size()) return SaveFile(s, args[next], tables);
    if (JsonWanted(s)) {
        PrintJsonTables(s, tables, kAllChannels);
        return kExitOk;
    }
    PrintTables(s.out, tables);
    return kExitOk;
}

}  // namespace vk::cli
