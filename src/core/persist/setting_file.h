#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/protocol/control_table.h"
#include "core/protocol/parameter_reader.h"
#include "core/user_interface.h"

namespace vk {

class Exchange;
class ModelCheck;
class Operation;

// A camera setting file (*.cam): "MNEMONIC=value" lines that put a camera's configuration
// on disk and back on the same or another camera.
enum class SettingFileVariant {
    AllData,       // every file row of the mode, with the model and device-version lines
    ShippingData,  // the user's rows only, whatever the mode
};

inline constexpr const char* kSettingFileFilter = "Camera setting data (*.cam)";
inline constexpr const char* kSettingFileSuffix = "cam";
inline constexpr const char* kCouldNotOpenFile = "\nCouldn't open this file";
inline constexpr const char* kFileOpenErrorCaption = "File Open Error";
inline constexpr int kDeviceVersionTimeoutMs = 2500;

// Whether the variant writes this row.
bool IsWrittenToSettingFile(const ControlEntry& row, SettingFileVariant variant, bool factoryMode);

// The rows (table indices) a save of the variant writes, in table order.
std::vector<int> SettingFileRows(const ControlTable& table, SettingFileVariant variant,
                                 bool factoryMode);

// The rows the variant writes that the model has (a colour camera has no binning).
std::vector<int> SettingFileRowsOfModel(const ControlTable& table, SettingFileVariant variant,
                                        bool factoryMode, int modelIndex);

// Reads the rows the variant writes (those the model has) from the camera into the tool,
// inside a running operation: a save then holds the camera's values.
FullReadResult ReadSettingFileRows(Operation& operation, SettingFileVariant variant,
                                   bool factoryMode, int modelIndex,
                                   int timeoutMs = kFullReadTimeoutMs);
// The same for the given rows (table indices).
FullReadResult ReadRowsForSettingFile(Operation& operation, const std::vector<int>& rows,
                                      int timeoutMs = kFullReadTimeoutMs);

// What the camera adds in front of the parameter lines.
struct SettingFileHeader {
    std::optional<std::string> model;
    std::optional<std::int32_t> deviceVersion;
};

// Asks the camera for the header of the variant (inside a running operation): the model
// line only for All Data in factory mode and only when the model check found a model of
// the family; the device-version line for All Data when the camera answers its query.
SettingFileHeader QuerySettingFileHeader(Exchange& exchange, ModelCheck& modelCheck,
                                         SettingFileVariant variant, bool factoryMode);

// The file's bytes from the camera's values as the tool knows them, every line ended by CR
// LF. Rows whose value the camera never gave are left out.
std::string FormatSettingFile(const Exchange& exchange, SettingFileVariant variant,
                              bool factoryMode, const SettingFileHeader& header);

// The rows of the variant whose value the camera has not given (read them first, or the
// save leaves them out).
std::vector<int> UnknownSettingFileRows(const Exchange& exchange, SettingFileVariant variant,
                                        bool factoryMode, int modelIndex);
// "VPB, HES, ..." : the mnemonics of the first `most` rows.
std::string RowNames(const Exchange& exchange, const std::vector<int>& rows, std::size_t most);

// Queries the header and writes the file through a temporary one, so that a failed save
// leaves an existing file as it was. Nothing when written; for a file that cannot be
// written, the box to show (the path and "Couldn't open this file").
std::optional<Notice> WriteSettingFile(Exchange& exchange, ModelCheck& modelCheck,
                                       const std::filesystem::path& path,
                                       SettingFileVariant variant, bool factoryMode);

}  // namespace vk
