#pragma once

#include <string>
#include <vector>

#include "core/camera/actions/action_executor.h"
#include "core/camera/actions/camera_action_table.h"

namespace vk {

// An action as a script names it: its name and its words. The table actions take their
// command's mnemonic as the first word ("table-write LUTR 3 100"); it is taken off `words`.
const CameraAction* FindActionOfWords(const std::string& name, std::vector<std::string>& words);

// The action's name as listed: a table action with its mnemonic.
std::string ListedName(const CameraAction& action);
// The arguments it takes after its listed name.
std::string ListedArguments(const CameraAction& action);

// The arguments an action takes after its name, as typed; false when they do not fit.
bool TakeActionInput(const CameraAction& action, const std::vector<std::string>& words,
                     ActionInput& input);

}  // namespace vk
