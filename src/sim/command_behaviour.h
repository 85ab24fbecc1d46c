#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vk::sim {

// What a command does when the camera receives it.
enum class Action : std::uint8_t {
    Store,             // keeps the value set, answers it to a query
    Status,            // a value of the camera's own; cannot be set
    Run,               // starts something that completes at once; keeps the last value
    Reboot,            // 1 restarts the camera
    StoreArea,         // stores the current settings into a user flash area
    StoreFactoryArea,  // stores them into the factory area
    LoadArea,          // loads a flash area into the current settings
    Unlock,            // unlocks the next camera id write
    CameraId,          // the camera id, writable only when unlocked
    ModelId,           // writes the model text
    ResetSequence,     // sets the sequence index back to 0
    Iris,              // moves the lens iris, which changes the iris position
    LutStep,           // one entry of a LUT, stepping through the table
    Indexed,           // "index,value" entries of a table
};

enum class Rule : std::uint8_t {
    AnyInt,    // any 32-bit decimal integer
    IntRange,  // a decimal integer from minimum to maximum
    Text,      // printable text of minimum to maxLength characters
};

struct Behaviour {
    Action action = Action::Store;
    Rule rule = Rule::AnyInt;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::size_t maxLength = 0;
    std::string initial = "0";
    bool inArea = false;    // part of the settings kept in a flash area
    bool monoOnly = false;  // a colour camera does not know it
    // Indexed tables: the range of the index; the value range is the rule's.
    std::int32_t indexMinimum = 0;
    std::int32_t indexMaximum = 0;
    int lutChannel = -1;  // 0 red, 1 green, 2 blue for LUT commands
    // Automatic functions: the value that starts a run, and the command that reports it.
    int autoResult = -1;  // command id of the result; -1 when not an automatic function
    std::int32_t autoTrigger = 0;
    bool autoPolled = false;  // the result is busy for a few polls before it is known
    bool isAutoResult = false;
    bool calibration = false;  // takes the camera a while before it completes
    bool zeroResets = false;   // 0 puts it back to its power-on value (gain reset)
};

// The behaviour of every command of the command table, by command id.
std::vector<Behaviour> BuildBehaviours();

// The model texts of monochrome cameras; every other model is a colour camera.
bool IsMonochromeModel(const std::string& model);

}  // namespace vk::sim
