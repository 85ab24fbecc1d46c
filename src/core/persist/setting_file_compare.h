#pragma once

#include <string>
#include <vector>

#include "persist/setting_file_parser.h"
#include "protocol/exchange_result.h"

namespace vk {

class ModelCheck;
class Operation;

inline constexpr const char* kComparingSettingFile = "Now, comparing the camera setting file.";
inline constexpr int kCompareQueryTimeoutMs = 2500;

// A line of the file whose value the camera does not hold (or did not tell).
struct SettingDifference {
    int line = 0;
    std::string name;                   // the mnemonic; a LUT entry adds its index: "LUTR(16)"
    ControlId control = kEndControlId;  // the page parameter, for parameter lines
    std::string fileValue;
    std::string cameraValue;  // empty when the camera did not answer
    bool answered = false;
};

struct SettingFileComparison {
    std::vector<SettingDifference> differences;
    int compared = 0;  // lines asked of the camera
    bool cancelled = false;
    bool stopped = false;  // the camera stopped answering; the rest was not compared
    ExchangeResult outcome;

    std::vector<int> DifferingLines() const;
};

// Reads from the camera, inside a running operation, the value of every line the load
// would send (the model filter of the connected model applies) and lists the lines whose
// value differs, in file order. Parameter values read become the tool's values, as in a
// full read. Cancel stops it between lines.
SettingFileComparison CompareWithCamera(Operation& operation, ModelCheck& modelCheck,
                                        const SettingFilePlan& plan);

}  // namespace vk
