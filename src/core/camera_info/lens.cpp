#include "camera_info/lens.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "operation_runner.h"
#include "protocol/command.h"

namespace vk {

const LensMove* FindLensMove(const char* axis, const char* way) {
    for (const LensMove& move : kLensMoves) {
        if (std::strcmp(move.axis, axis) == 0 && std::strcmp(move.way, way) == 0) return &move;
    }
    return nullptr;
}

ExchangeResult StartLensMove(Command& command, const LensMove& move) {
    return command.SendSetInt(command.FindCommand(move.mnemonic), move.value, kLensTimeoutMs);
}

ExchangeResult StopLensMove(Command& command, const LensMove& move) {
    return command.SendSetInt(command.FindCommand(move.mnemonic), 0, kLensTimeoutMs);
}

ExchangeResult MoveLensFor(Operation& operation, const LensMove& move, int ms) {
    Command& command = operation.command;
    ExchangeResult started = StartLensMove(command, move);
    // A start that was not acknowledged may still have reached the camera: stop anyway.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    const auto slice = std::chrono::milliseconds(Command::kWaitSliceMs);
    bool cancelled = started.status == ExchangeStatus::Cancelled;
    while (started && !cancelled && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            slice, until - std::chrono::steady_clock::now()));
        cancelled = operation.Cancelled();
    }
    // Once cancelled the operation's wait hook gives up every wait; the stop must be
    // answered all the same.
    if (operation.WasCancelled()) command.SetWaitHook(nullptr);
    ExchangeResult stopped = StopLensMove(command, move);
    if (!started) return started;
    if (cancelled) return ExchangeResult::Failure(ExchangeStatus::Cancelled);
    return stopped;
}

}  // namespace vk
