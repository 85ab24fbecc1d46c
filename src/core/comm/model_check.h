#pragma once

#include <optional>
#include <string>

#include "core/protocol/exchange_result.h"
#include "core/user_interface.h"

namespace vk {

class Exchange;
class OnlineStatusNotifier;

// Which camera of the family is connected, from its answer to the model query.
// The model ids the tool offers to write into a camera: one per type of the family.
inline constexpr const char* kOfferedModelIds[] = {"VK-4100M-PMCL", "VK-4100C-PMCL"};

class ModelCheck {
public:
    static constexpr int kNoModel = 18;  // before any check, and for an unsupported camera
    static constexpr int kQueryTimeoutMs = 1000;

    ModelCheck(Exchange& exchange, OnlineStatusNotifier& notifier);

    // Queries the model text. False when the camera did not answer; the record then keeps
    // the previous model. An answer outside the model table gives kNoModel, marks the
    // camera not usable and leaves a notice (not again while the same camera answers).
    ExchangeResult Check(int timeoutMs = kQueryTimeoutMs);
    // The unsupported-model box still to be shown, once (the runner tells it after the
    // operation that checked).
    std::optional<Notice> TakeNotice();
    // The text that reports an unsupported answer: the answer, then the models known.
    static std::string UnsupportedText(const std::string& answer);

    // The index of a model text (exact, letter case included); kNoModel for anything else.
    static int IndexOf(const std::string& modelText);
    // Even indices are colour models.
    static bool IsColour(int index) { return index % 2 == 0 && index != kNoModel; }
    // The two models the tool fully supports: only these are read in full.
    static bool IsFullySupported(int index) { return index == 0 || index == 1; }

    int modelIndex = kNoModel;
    std::string modelName;

private:
    Exchange& exchange_;
    OnlineStatusNotifier& notifier_;
    std::optional<std::string> reported_;  // the unsupported answer last reported
    std::optional<Notice> notice_;
};

}  // namespace vk
