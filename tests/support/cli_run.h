#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace vk::test {

// One in-process run of vk4100ctl with its exit code and both streams.
struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// `input` is what the command reads as its standard input.
inline CliRun RunCliCaptured(const std::vector<std::string>& args, const std::string& input = {}) {
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in(input);
    cli::CliEnvironment environment;
    environment.in = &in;
    CliRun r;
    r.code = cli::RunCli(args, out, err, environment);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// A printout's lines, without their line ends.
inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Nothing but printable ASCII, tabs and line ends may reach the terminal.
inline bool PrintableOnly(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b == '\n' || b == '\t' || (b >= 0x20 && b < 0x7F);
    });
}

// A run against the built-in simulated camera and what it must give.
struct SimulatedRunCase {
    std::vector<std::string> args;
    int code;
    std::string printed;  // the output of a run that worked, else its one error line
};

// Each run with --simulate: a failure prints nothing but its error.
inline void ExpectSimulatedRuns(const std::vector<SimulatedRunCase>& cases) {
    for (const SimulatedRunCase& c : cases) {
        std::vector<std::string> args = {"--simulate"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = RunCliCaptured(args);
        SCOPED_TRACE(::testing::PrintToString(c.args));
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out, c.code == cli::kExitOk ? c.printed : "");
        EXPECT_EQ(r.err, c.code == cli::kExitOk ? "" : "vk4100ctl: " + c.printed + "\n");
    }
}

}  // namespace vk::test
