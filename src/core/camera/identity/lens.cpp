#include "core/camera/identity/lens.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "core/operation_runner.h"
#include "core/protocol/exchange.h"

namespace vk {

const LensMove* FindLensMove(const char* axis, const char* way) {
    for (const LensMove& move : kLensMoves) {
        if (std::strcmp(move.axis, axis) == 0 && std::strcmp(move.way, way) == 0) return &move;
    }
    return nullptr;
}

ExchangeResult StartLensMove(Exchange& exchange, const LensMove& move) {
    return exchange.SendSetInt(exchange.FindCommand(move.mnemonic), move.value, kLensTimeoutMs);
}

ExchangeResult StopLensMove(Exchange& exchange, const LensMove& move) {
    return exchange.SendSetInt(exchange.FindCommand(move.mnemonic), 0, kLensTimeoutMs);
}

ExchangeResult MoveLensFor(Operation& operation, const LensMove& move, int ms) {
    Exchange& exchange = operation.exchange;
    ExchangeResult started = StartLensMove(exchange, move);
    // A start that was not acknowledged may still have reached the camera: stop anyway.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    const auto slice = std::chrono::milliseconds(Exchange::kWaitSliceMs);
    bool cancelled = started.status == ExchangeStatus::Cancelled;
    while (started && !cancelled && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            slice, until - std::chrono::steady_clock::now()));
        cancelled = operation.Cancelled();
    }
    // Once cancelled the operation's wait hook gives up every wait; the stop must be
    // answered all the same.
    if (operation.WasCancelled()) exchange.SetWaitHook(nullptr);
    ExchangeResult stopped = StopLensMove(exchange, move);
    if (!started) return started;
    if (cancelled) return ExchangeResult::Failure(ExchangeStatus::Cancelled);
    return stopped;
}

}  // namespace vk
