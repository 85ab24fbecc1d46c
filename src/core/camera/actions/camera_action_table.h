#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/protocol/command_mnemonics.h"
#include "core/protocol/command_table.h"
#include "core/user_interface.h"

namespace vk {

// How an action talks to the camera.
enum class ActionFamily : std::uint8_t {
    Set,         // one set; then its result, a completion text or a follow-up
    Read,        // a query shown in the display fields
    RawRead,     // a raw query line shown in the display field
    TableWrite,  // "index,value" into an indexed table
    TableRead,   // one entry of an indexed table into the value field and the table
    StoreArea,   // the current settings into the flash area `value`
    StoreAll,    // into every flash area, one summary at the end
    GainReset,   // every gain to zero, stopping when the first is refused
};

// Where a set takes its value from.
enum class ValueFrom : std::uint8_t {
    Fixed,       // the table's value
    Text,        // the text given (the model id)
    XmlVersion,  // the three version parts given
};

// The result of an automatic function: none, asked once at once, or asked once a second
// while the camera answers busy.
enum class ResultWait : std::uint8_t { None, Once, Polled };

// How a read value is shown.
enum class DisplayAs : std::uint8_t { Number, Iris, XmlVersion };

// What follows a set the camera completed.
enum class FollowUp : std::uint8_t {
    None,
    CloseTool,   // the camera restarts: the tool ends without asking
    ModelCheck,  // the model changed: check it again
};

// One push-button (or combo-box) action of the pages, and of the command line by name.
struct CameraAction {
    std::string_view name;     // the command line's name
    std::string_view title;    // the progress text while it runs
    std::string_view summary;  // what it does, for listings
    ActionFamily family = ActionFamily::Set;
    int controlId = 0;  // the button, or the combo box of an automatic function
    CommandId command = kNoCommand;
    std::int32_t value = 0;
    ValueFrom valueFrom = ValueFrom::Fixed;
    int timeoutMs = 2500;
    CommandId resultCommand = kNoCommand;
    ResultWait resultWait = ResultWait::None;
    bool busy255 = false;         // 255 also means busy (gain and exposure auto)
    std::string_view caption;     // of the result box
    std::string_view doneText;    // shown when the camera completes
    std::string_view failedText;  // shown when it does not
    MessageIcon failedIcon = MessageIcon::Stop;
    FollowUp followUp = FollowUp::None;
    DisplayAs displayAs = DisplayAs::Number;
    // Display fields; for the indexed tables the index field, then the value field.
    std::array<int, 3> fields{};
    // Rows read again afterwards (the camera changed them).
    std::span<const int> readBack;
    // Controls that are switched off while the function runs, or while its combo box is
    // on anything but "Off".
    std::span<const int> related;
    std::string_view question;   // asked before it runs; anything but Yes stops it
    std::string_view arguments;  // what the command line gives it
    bool factoryOnly = false;
    bool longRunning = false;  // progress and Cancel
};

// Every action, in page order.
std::span<const CameraAction> CameraActions();
// The indexed-table families share their names and tell their tables by mnemonic.
bool IsTableAction(const CameraAction& action);
// Null when no action has that name (and, for a table action, that mnemonic, in any letter
// case) or that control.
const CameraAction* FindAction(std::string_view name, std::string_view mnemonic = {});
const CameraAction* FindActionByControl(int controlId);
// The mnemonics an action sends ("RS, SDRS?"), for listings.
std::string CommandsOf(const CameraAction& action);

}  // namespace vk
