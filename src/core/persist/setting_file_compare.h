#pragma once

#include <string>
#include <vector>

#include "core/persist/setting_file_parser.h"
#include "core/protocol/exchange_result.h"

namespace vk {

class Exchange;
class ModelCheck;
class Operation;

inline constexpr const char* kComparingSettingFile = "Now, comparing the camera setting file.";
inline constexpr int kCompareQueryTimeoutMs = 2500;

// A value of the file that the other side (the camera, or a second file) does not hold,
// or a value only the other side holds.
struct SettingDifference {
    int line = 0;                    // in the file; 0 when only the other side has it
    std::string name;                // the mnemonic; a LUT entry adds its index: "LUTR(16)"
    ControlId control = kNoControl;  // the page parameter, for parameter lines
    std::string fileValue;           // empty when only the other side has it
    std::string cameraValue;         // the other side's: the camera's or the second file's
    bool answered = false;           // the other side has a value (the camera answered)
};

struct SettingFileComparison {
    std::vector<SettingDifference> differences;
    int compared = 0;  // values compared
    bool cancelled = false;
    bool stopped = false;  // the camera stopped answering; the rest was not compared
    ExchangeResult outcome;

    // The file's lines that differ; loading only these gives the other side the file's values.
    std::vector<int> DifferingLines() const;
};

// One value that a file sets, under its name: the last line that names it wins, as it
// would in the camera after a load.
struct SettingValue {
    int line = 0;
    std::string name;
    ControlId control = kNoControl;
    std::string value;
    bool known = true;  // false: the camera did not answer
};

// The values a load of the plan would leave in a camera of the model (binning rows are not
// loaded on a colour camera; ModelCheck::kNoModel filters nothing), in line order.
std::vector<SettingValue> SettingValues(const Exchange& exchange, const SettingFilePlan& plan,
                                        int modelIndex);

// The one comparison both cases use: every value of `file` that `other` lacks or holds
// differently, in file order, then the values only `other` has.
SettingFileComparison CompareSettingValues(const std::vector<SettingValue>& file,
                                           const std::vector<SettingValue>& other);

// Reads from the camera, inside a running operation, the value of every line the load
// would send (the model filter of the connected model applies) and lists the lines whose
// value differs, in file order. Parameter values read become the tool's values, as in a
// full read. Cancel stops it between lines.
SettingFileComparison CompareWithCamera(Operation& operation, ModelCheck& modelCheck,
                                        const SettingFilePlan& plan,
                                        int timeoutMs = kCompareQueryTimeoutMs);

// Two files against each other; no camera is asked.
SettingFileComparison CompareSettingFiles(const Exchange& exchange, const SettingFilePlan& file,
                                          const SettingFilePlan& other);

}  // namespace vk
