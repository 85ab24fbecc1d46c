#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli_app.h"

namespace vk::test {

// One in-process run of vk4100ctl with its exit code and both streams.
struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

inline CliRun RunCliCaptured(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun r;
    r.code = cli::RunCli(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

}  // namespace vk::test
