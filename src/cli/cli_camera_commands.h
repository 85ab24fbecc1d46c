#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli_app.h"

namespace vk {
class ControlTable;
class ParameterTable;
}  // namespace vk

namespace vk::cli {

// The model check with the run's time-out. False when the camera did not answer (said here)
// or is no model of the family (said once, by the check).
bool CheckModel(CliSession& s);

// Full read of the current mode; prints MNEMONIC=value for every row read, in table order.
int DumpCommand(CliSession& s, const std::vector<std::string>& args);
// Runs the model check and prints the model's name and index; exit status 1 for a camera
// outside the family.
int ModelCommand(CliSession& s, const std::vector<std::string>& args);

// A header, then every field of every row, tab-separated, the command's mnemonic last; then
// the counts of transferable rows and of transferable user rows.
void PrintControlTable(const ControlTable& table, const ParameterTable& values, std::ostream& out);

}  // namespace vk::cli
