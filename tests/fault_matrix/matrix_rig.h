#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/core_context.h"
#include "core/genicam/feature_table.h"
#include "sim/simulated_camera.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"

namespace vk::test {

// How an operation of the matrix ended, in the terms every operation shares.
struct Ending {
    bool complete = false;                       // everything asked for was done
    ExchangeStatus status = ExchangeStatus::Ok;  // the outcome, or the first failure it went past
    std::string message;                         // what the person is told
    // Register values read as the camera sent them, by feature record.
    std::vector<std::pair<int, std::vector<std::uint8_t>>> registers;
};

// The tool's core against a simulated camera reached through a device link in a folder that
// also holds the user's files: a setting file, a LUT file and an earlier description download.
class MatrixRig {
public:
    static constexpr int kWaitMs = 300;  // every time-out of the operations under test

    MatrixRig();
    ~MatrixRig();

    // Starts a camera behind the link and opens the tool's port on the link.
    void Plug();
    // Stops the camera; the link goes with it.
    void Unplug();

    // Runs `body` as one cancellable operation with progress.
    Ending Run(const std::string& name, const std::function<Ending(Operation&)>& body);

    std::filesystem::path SettingFile() const { return dir.Path() / "line3.cam"; }
    std::filesystem::path LutFile() const { return dir.Path() / "gamma.csv"; }
    std::filesystem::path DownloadFile() const { return dir.Path() / "_download.zip"; }
    std::string LinkPath() const { return dir / "ttyCAM"; }

    TempDir dir;
    FeatureTable description;
    std::unique_ptr<sim::SimulatedCamera> camera;
    RecordingUserInterface ui;
    MemorySettingsBackend backend;
    CoreContext core{ui, backend};
};

// One long operation of the tool, run through the runner against the rig.
struct MatrixOperation {
    const char* name;
    int midway;  // lines or packets the camera answers before a mid-way fault
    int waits;   // time-outs the operation may sit through before it gives up
    std::function<Ending(MatrixRig&)> run;
    // Register access sends an unanswered request again (up to kMaxResends times), so each
    // wait may come back that often, and a camera that answers again may be reached.
    bool resends = false;
};

const std::vector<MatrixOperation>& MatrixOperations();

}  // namespace vk::test
