#include "core/comm/model_check.h"

#include <array>
#include <string_view>
#include <utility>

#include "core/comm/online_status_notifier.h"
#include "core/protocol/exchange.h"

namespace vk {
namespace {

struct ModelRow {
    std::string_view text;
    int index;
};

// In comparison order; the first match wins.
constexpr std::array<ModelRow, 20> kModels = {{
    {"TB-3100CL", 10},    {"TM-3100CL", 11},    {"QB-R500MCL", 12},   {"QM-R500MCL", 13},
    {"VK-14000BCL", 14},  {"VK-14000MCL", 15},  {"TB-600CL", 4},      {"TM-600CL", 5},
    {"TB-400CL", 6},      {"TM-400CL", 7},      {"TB-401CL", 8},      {"TM-401CL", 9},
    {"RD-3900C-MCL", 16}, {"RD-3900M-MCL", 17}, {"VK-26000C-MCL", 2}, {"VK-26000M-MCL", 3},
    {"VK-4100C-MCL", 0},  {"VK-4100M-MCL", 1},  {"VK-4100C-PMCL", 0}, {"VK-4100M-PMCL", 1},
}};

}  // namespace

ModelCheck::ModelCheck(Exchange& exchange, OnlineStatusNotifier& notifier)
    : exchange_(exchange), notifier_(notifier) {}

int ModelCheck::IndexOf(const std::string& modelText) {
    for (const ModelRow& row : kModels) {
        if (row.text == modelText) return row.index;
    }
    return kNoModel;
}

ExchangeResult ModelCheck::Check(int timeoutMs) {
    QueryResult<std::string> result = exchange_.QueryString(Cmd("MD"), timeoutMs);
    if (!result) return result;
    const std::string& answer = result.value;
    modelIndex = IndexOf(answer);
    modelName = answer;
    const bool usable = modelIndex != kNoModel;
    notifier_.SetCameraUsable(usable);
    // The full read checks again right after the connect: one report per camera.
    if (usable) {
        reported_.reset();
    } else if (reported_ != answer) {
        reported_ = answer;
        notice_ = Notice{UnsupportedText(answer), "", MessageIcon::Exclamation};
    }
    return result;
}

std::optional<Notice> ModelCheck::TakeNotice() {
    return std::exchange(notice_, std::nullopt);
}

std::string ModelCheck::UnsupportedText(const std::string& answer) {
    std::string text = "Unsupported model: \"" + answer + "\"\nSupported models: ";
    for (const ModelRow& row : kModels) {
        if (&row != kModels.data()) text += ", ";
        text += row.text;
    }
    return text;
}

}  // namespace vk
