#pragma once

#include <memory>

#include "comm/cl_serial_2000_library.h"
#include "comm/cl_serial_2001_library.h"
#include "comm/cl_serial_library.h"
#include "comm/cl_serial_v11_library.h"
#include "comm/line_log.h"
#include "comm/model_check.h"
#include "comm/online_status_notifier.h"
#include "comm/rs232c_port.h"
#include "comm/serial_channel.h"
#include "operation_runner.h"
#include "persist/tool_settings.h"
#include "protocol/command.h"
#include "ui_port.h"

namespace vk {

// Owns the long-lived objects of one program run (or one test): no globals, whoever
// needs one gets a reference. Members are declared in the order they depend on each other.
class CoreContext {
public:
    // A null entry of `libraries` selects the context's own binding for that mode.
    CoreContext(UiPort& ui, SettingsBackend& settingsBackend,
                SerialChannel::Libraries libraries = {});

    UiPort& ui;
    // Where `settings` keeps its values; the desktop tool keeps its window places there too.
    SettingsBackend& store;
    ToolSettings settings;
    TrafficLogs logs;
    OnlineStatusNotifier notifier;
    Rs232cPort port;
    ClSerial2000Library clSerial2000;
    ClSerial2001Library clSerial2001;
    ClSerialV11Library clSerialV11;
    SerialChannel channel;
    Command command;
    OperationRunner runner;
    ModelCheck modelCheck;
};

}  // namespace vk
