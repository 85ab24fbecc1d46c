#pragma once

#include <string>

#include "protocol/exchange_result.h"

namespace vk {

class Command;
class UiPort;

// Which camera of the family is connected, from its answer to the model query.
class ModelCheck {
public:
    static constexpr int kNoModel = 18;  // before any check, and for an unsupported camera
    static constexpr int kQueryTimeoutMs = 1000;

    ModelCheck(Command& command, UiPort& ui);

    // Queries the model text. False when the camera did not answer; the record then keeps
    // the previous model. An answer outside the model table is reported and gives kNoModel.
    ExchangeResult Check(int timeoutMs = kQueryTimeoutMs);

    // The index of a model text (exact, letter case included); kNoModel for anything else.
    static int IndexOf(const std::string& modelText);
    // Even indices are colour models.
    static bool IsColour(int index) { return index % 2 == 0 && index != kNoModel; }
    // The two models the tool fully supports: only these are read in full.
    static bool IsFullySupported(int index) { return index == 0 || index == 1; }

    int modelIndex = kNoModel;
    std::string modelName;

private:
    Command& command_;
    UiPort& ui_;
};

}  // namespace vk
