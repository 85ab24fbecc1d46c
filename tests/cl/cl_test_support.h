#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cl/fake_cl_control.h"
#include "cl/scoped_env.h"
#include "support/temp_dir.h"

namespace vk::test {

// Points the Camera Link bindings at one directory of fake libraries and records the
// calls the fakes receive.
class FakeClEnvironment {
public:
    FakeClEnvironment() {
        env.Set(fakecl::kLog, log_);
        for (const char* name :
             {fakecl::kDevice, fakecl::kInitResult, fakecl::kBaudMask, fakecl::kCount,
              fakecl::kLongNames, fakecl::kOversizedRead, fakecl::kReadStallMs}) {
            env.Unset(name);
        }
        Use("good");
    }

    // "good", "lacking" or "empty".
    void Use(const std::string& scenario) {
        env.Set("CLSERIAL_PATH", std::string(VK_CL_FIXTURES) + "/" + scenario);
    }

    // Calls received so far, "<function> <argument>", oldest first; then forgets them.
    std::vector<std::string> TakeCalls() {
        std::vector<std::string> calls;
        std::ifstream in(log_);
        for (std::string line; std::getline(in, line);)
            calls.push_back(line);
        in.close();
        std::error_code ec;
        std::filesystem::remove(log_, ec);
        return calls;
    }

    ScopedEnv env;

private:
    TempDir dir_;
    std::string log_ = dir_ / "calls.log";
};

}  // namespace vk::test
