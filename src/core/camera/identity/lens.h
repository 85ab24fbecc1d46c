#pragma once

#include <array>
#include <cstdint>

#include "core/protocol/exchange_result.h"

namespace vk {

class Exchange;
class Operation;

// One lens movement: a button of the lens window and what it sends while held.
struct LensMove {
    const char* caption;
    int controlId;
    const char* mnemonic;
    std::int32_t value;  // sent on press; 0 stops
    const char* label;   // shown while the button is held
    const char* axis;    // for the command line: iris, zoom, focus
    const char* way;     // open, close, wide, tele, near, far
};

inline constexpr int kLensTimeoutMs = 10000;

// In the window's order: row by row, left then right.
inline constexpr std::array<LensMove, 6> kLensMoves = {{
    {"IRIS Open", 40001, "MLI", 1, "Open", "iris", "open"},
    {"IRIS Close", 40002, "MLI", 2, "Close", "iris", "close"},
    {"Zoom Wide", 40003, "MLZ", 1, "Wide", "zoom", "wide"},
    {"Zoom Tele", 40004, "MLZ", 2, "Tele", "zoom", "tele"},
    {"Focus Near", 40005, "MLF", 1, "Near", "focus", "near"},
    {"Focus Far", 40006, "MLF", 2, "Far", "focus", "far"},
}};

// The movement of an axis and a way ("zoom", "tele"); null when there is none.
const LensMove* FindLensMove(const char* axis, const char* way);

ExchangeResult StartLensMove(Exchange& exchange, const LensMove& move);
ExchangeResult StopLensMove(Exchange& exchange, const LensMove& move);

// Moves for `ms` milliseconds, or until the operation is cancelled, then stops. The stop is
// sent however the wait ended, Cancel included: a lens left moving runs into its end stop.
ExchangeResult MoveLensFor(Operation& operation, const LensMove& move, int ms);

}  // namespace vk
