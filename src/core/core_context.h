#pragma once

#include <memory>

#include "core/comm/cl_serial_2000_library.h"
#include "core/comm/cl_serial_2001_library.h"
#include "core/comm/cl_serial_library.h"
#include "core/comm/cl_serial_v11_library.h"
#include "core/comm/line_log.h"
#include "core/comm/model_check.h"
#include "core/comm/online_status_notifier.h"
#include "core/comm/rs232c_port.h"
#include "core/comm/serial_channel.h"
#include "core/operation_runner.h"
#include "core/persist/tool_settings.h"
#include "core/protocol/exchange.h"
#include "core/user_interface.h"

namespace vk {

// Owns the long-lived objects of one program run (or one test): no globals, whoever
// needs one gets a reference. Members are declared in the order they depend on each other.
class CoreContext {
public:
    // A null entry of `libraries` selects the context's own binding for that mode.
    CoreContext(UserInterface& ui, SettingsBackend& settingsBackend,
                SerialChannel::Libraries libraries = {});

    // The program's orderly end: the channel last opened is stored and the run marked as
    // ended normally. Nothing is written when a context just goes away.
    void SaveAtNormalEnd();

    UserInterface& ui;
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
    Exchange exchange;
    OperationRunner runner;
    ModelCheck modelCheck;
};

}  // namespace vk
