#include "cli/many_cameras.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <ostream>
#include <set>
#include <sstream>
#include <thread>

#include "cli/json_output.h"
#include "cli/line_streams.h"

namespace vk::cli {
namespace {

// The commands that make sense on a line of cameras; the others read standard input, list
// what the tool knows or explore one camera.
const std::set<std::string> kManyCameraCommands = {
    "get",  "set",  "dump",     "model",    "info", "save",
    "load", "diff", "lut load", "lut save", "area", "action",
};

constexpr const char* kProgramPrefix = "vk4100ctl: ";

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// The labels: as given, else the port; "sim:" entries are numbered by their place.
std::vector<std::string> Labels(const std::vector<CameraPort>& ports) {
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        std::string model;
        if (!ports[i].label.empty()) {
            labels.push_back(ports[i].label);
        } else if (IsSimulatedPort(ports[i].port, model)) {
            labels.push_back("sim" + std::to_string(i + 1));
        } else {
            labels.push_back(ports[i].port);
        }
    }
    return labels;
}

// The command's words for one camera: {label} and {port} in a save's file name filled in.
std::vector<std::string> WordsFor(const CliOptions& options, const CameraPort& port,
                                  const std::string& label) {
    std::vector<std::string> words = options.words;
    for (std::size_t i = 1; i < words.size(); ++i) {
        Replace(words[i], "{label}", label);
        Replace(words[i], "{port}", port.port);
    }
    return words;
}

const char* ResultName(int code) {
    return code == kExitOk ? "ok" : code == kExitUsage ? "refused" : "failed";
}

}  // namespace

bool IsSimulatedPort(const std::string& port, std::string& model) {
    if (!port.starts_with("sim:")) return false;
    model = port.substr(4);
    return true;
}

bool ReadPortsFile(const std::string& path, std::vector<CameraPort>& ports, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = "cannot read the ports file " + path;
        return false;
    }
    const std::size_t before = ports.size();
    std::string line;
    while (std::getline(file, line)) {
        if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        const auto tab = line.find('\t');
        CameraPort entry{Trim(line.substr(0, tab)),
                         tab == std::string::npos ? "" : Trim(line.substr(tab + 1))};
        if (!entry.port.empty()) ports.push_back(std::move(entry));
    }
    if (ports.size() == before) {
        error = "the ports file " + path + " names no port";
        return false;
    }
    return true;
}

void PrintSummary(const std::vector<CameraRun>& runs, std::ostream& out) {
    out << "camera\tresult\ttime_s\treason\n";
    for (const CameraRun& run : runs) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.2f", run.seconds);
        out << run.camera << '\t' << ResultName(run.code) << '\t' << seconds << '\t' << run.reason
            << '\n';
    }
}

int RunManyCameras(const CliOptions& options, const CliCommand& command, std::size_t nameWords,
                   std::ostream& out, std::ostream& err, const CliEnvironment& environment) {
    const auto refuse = [&](const std::string& why) {
        err << kProgramPrefix << why << '\n';
        if (options.json) PrintJson(out, ErrorJson(why, "", ""));
        return kExitUsage;
    };
    if (!kManyCameraCommands.contains(command.name)) {
        return refuse(std::string(command.name) + " runs on one camera at a time");
    }
    const std::vector<std::string> labels = Labels(options.ports);
    if (std::set<std::string>(labels.begin(), labels.end()).size() != labels.size()) {
        return refuse("two cameras have the same label or port");
    }
    if (std::string(command.name) == "save" &&
        WordsFor(options, options.ports[0], "a") == WordsFor(options, options.ports[0], "b")) {
        return refuse("save on many cameras needs {label} or {port} in FILE");
    }

    std::mutex lock;
    std::vector<CameraRun> runs(options.ports.size());
    std::vector<std::string> outputs(options.ports.size());
    std::vector<std::thread> threads;
    // Each camera reads nothing from standard input and draws no progress.
    CliEnvironment quiet;
    quiet.interrupted = environment.interrupted;
    for (std::size_t i = 0; i < options.ports.size(); ++i) {
        threads.emplace_back([&, i] {
            const CameraPort& port = options.ports[i];
            CliOptions one = options;
            one.ports.clear();
            one.storeSelection = false;  // many runs at once: the stored selection stays
            one.words = WordsFor(options, port, labels[i]);
            std::string model;
            if (IsSimulatedPort(port.port, model)) {
                one.simulateModel = model;
                one.simulateLineSpeed = true;
            } else {
                one.port = port.port;
            }
            // JSON: each camera's document goes into the summary.
            std::ostringstream document;
            LineStream outLines(options.json ? document : out, lock,
                                options.json ? "" : labels[i] + ": ");
            LineStream errLines(err, lock, labels[i] + ": ");
            std::ostream camOut(&outLines);
            std::ostream camErr(&errLines);
            const auto start = std::chrono::steady_clock::now();
            runs[i].camera = labels[i];
            runs[i].code = RunCommand(one, command, nameWords, camOut, camErr, quiet);
            runs[i].seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            outLines.Flush();
            errLines.Flush();
            outputs[i] = document.str();
            if (runs[i].code != kExitOk) {
                runs[i].reason = errLines.LastLine();
                if (runs[i].reason.starts_with(kProgramPrefix)) {
                    runs[i].reason.erase(0, std::string(kProgramPrefix).size());
                }
                if (runs[i].reason.empty()) runs[i].reason = "failed";
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    if (options.json) {
        PrintJson(out, SummaryJson(runs, outputs));
    } else {
        PrintSummary(runs, out);
    }
    for (const CameraRun& run : runs) {
        if (run.code != kExitOk) return kExitFailed;
    }
    return kExitOk;
}

}  // namespace vk::cli
