#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/camera/actions/camera_action_table.h"
#include "core/protocol/exchange_result.h"
#include "core/user_interface.h"

namespace vk {

class ControlTable;
class ModelCheck;
class Operation;

// What a person gives an action besides the button press.
struct ActionInput {
    std::int32_t index = 0;               // indexed tables: the entry
    std::int32_t value = 0;               // indexed tables: the value written
    std::string text;                     // the model id
    std::array<std::int32_t, 3> parts{};  // the XML version
};

// A message for the person, in the tool's own words; the front end decides how to show it.
struct ActionNotice {
    std::string text;
    std::string caption;  // empty: the tool's name
    MessageIcon icon = MessageIcon::Information;
};

struct ActionOutcome {
    ExchangeResult result;                   // Ok when the camera did what the action asked
    std::optional<std::int32_t> resultCode;  // an automatic function's result
    std::optional<std::int32_t> value;       // what a read returned
    // The texts of the action's display fields, in field order; empty when nothing is to be
    // shown (a failed read leaves its fields alone).
    std::vector<std::string> fieldTexts;
    std::optional<ActionNotice> notice;
    bool closeTool = false;  // the camera restarts
};

// How long an automatic function is polled; tests shorten them.
struct ActionTiming {
    int pollIntervalMs = 1000;
    // The camera answers busy for at most this long before the tool gives up.
    int pollLimitMs = 120000;
};

// The message when the camera stays busy past the bound.
std::string PollGaveUpText(int seconds);
inline constexpr const char* kPollUnanswered = "The camera did not answer the result query.";

// Runs the actions of the table inside a running operation. Values go into the control
// table only when the camera took or reported them; every poll ends.
class ActionExecutor {
public:
    explicit ActionExecutor(ModelCheck& modelCheck, ActionTiming timing = {})
        : modelCheck_(modelCheck), timing_(timing) {}

    // The reason an input cannot be sent (empty when it can); nothing is sent then.
    static std::string CheckInput(const CameraAction& action, const ActionInput& input,
                                  const ControlTable& table);

    ActionOutcome Run(Operation& operation, const CameraAction& action,
                      const ActionInput& input) const;

private:
    ActionOutcome RunSet(Operation& operation, const CameraAction& action,
                         const ActionInput& input) const;
    ActionOutcome RunRead(Operation& operation, const CameraAction& action) const;
    ActionOutcome RunTableRead(Operation& operation, const CameraAction& action,
                               const ActionInput& input) const;
    ActionOutcome RunGainReset(Operation& operation, const CameraAction& action) const;
    ActionOutcome RunStoreAll(Operation& operation, const CameraAction& action) const;
    // Asks the result of an automatic function; polls while the camera answers busy.
    QueryResult<std::int32_t> AskResult(Operation& operation, const CameraAction& action) const;
    QueryResult<std::int32_t> Poll(Operation& operation, const CameraAction& action) const;
    // Reads the rows again that the camera changed.
    void ReadBack(Operation& operation, const CameraAction& action) const;

    ModelCheck& modelCheck_;
    ActionTiming timing_;
};

}  // namespace vk
