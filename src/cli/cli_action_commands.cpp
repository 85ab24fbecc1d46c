#include "cli/cli_action_commands.h"

#include <algorithm>
#include <charconv>
#include <ostream>

#include "cli/json_output.h"
#include "core/camera/actions/action_executor.h"
#include "core/camera/actions/action_input.h"
#include "core/camera/actions/camera_action_texts.h"
#include "core/comm/model_check.h"
#include "core/core_context.h"
#include "core/persist/flash_areas.h"
#include "core/protocol/command_mnemonics.h"
#include "core/protocol/integer_text.h"
#include "core/protocol/printable.h"

namespace vk::cli {
namespace {

void ListActions(std::ostream& out) {
    for (const CameraAction& a : CameraActions()) {
        out << ListedName(a) << '\t' << ListedArguments(a) << '\t' << CommandsOf(a) << '\t'
            << (a.factoryOnly ? "factory" : "user") << '\t' << a.summary << '\n';
    }
}

int Usage(CliSession& s, const std::string& problem) {
    s.err << "vk4100ctl: " << problem << '\n';
    return kExitUsage;
}

int NeedsFactory(CliSession& s, const std::string& what) {
    return Usage(s, what + " is a factory operation: give --factory");
}

// A model id is one the desktop tool offers, or with --any-model any model of the table:
// any other text would leave a camera that no tool accepts.
std::string CheckModelId(const std::string& text, bool anyModel) {
    if (anyModel ? ModelCheck::IndexOf(text) != ModelCheck::kNoModel
                 : std::find(std::begin(kOfferedModelIds), std::end(kOfferedModelIds), text) !=
                       std::end(kOfferedModelIds)) {
        return {};
    }
    std::string offered;
    for (const char* model : kOfferedModelIds)
        offered += std::string(offered.empty() ? "" : ", ") + model;
    return "not a model id: \"" + Printable(text) + "\" (" + offered +
           (anyModel ? "" : "; --any-model takes any model of the family") + ")";
}

}  // namespace

int ActionCommand(CliSession& s, const std::vector<std::string>& args) {
    if (args[0] == "list") {
        if (args.size() > 1) return Usage(s, "action list takes no arguments");
        if (JsonWanted(s)) {
            PrintJson(s.out, ActionListJson());
            return kExitOk;
        }
        ListActions(s.out);
        return kExitOk;
    }
    std::vector<std::string> rest(args.begin() + 1, args.end());
    const CameraAction* action = FindActionOfWords(args[0], rest);
    if (!action) {
        const bool table = rest.size() + 1 < args.size();
        return Usage(s, "unknown action: " + args[0] + (table ? " " + args[1] : "") +
                            " (see: vk4100ctl action list)");
    }
    const auto anyModel = std::find(rest.begin(), rest.end(), "--any-model");
    const bool anyModelGiven = anyModel != rest.end() && action->command == Cmd("MD00");
    if (anyModelGiven) rest.erase(anyModel);
    ActionInput input;
    if (!TakeActionInput(*action, rest, input)) {
        return Usage(s, "usage: action " + ListedName(*action) +
                            (action->arguments.empty() ? "" : " ") + ListedArguments(*action));
    }
    if (action->factoryOnly && !s.options.factory) return NeedsFactory(s, ListedName(*action));
    std::string why = ActionExecutor::CheckInput(*action, input, s.core.exchange.Controls());
    if (why.empty() && action->command == Cmd("MD00"))
        why = CheckModelId(input.text, anyModelGiven);
    if (!why.empty()) return Usage(s, why);

    const ActionOutcome outcome =
        ActionExecutor(s.core.modelCheck).Run(*s.operation, *action, input);
    if (JsonWanted(s) && outcome.result) {
        PrintJson(s.out, ActionJson(*action, outcome));
        const bool complete = !outcome.resultCode || *outcome.resultCode == kAutoResultComplete;
        return complete ? kExitOk : kExitFailed;
    }
    if (!outcome.fieldTexts.empty() && !JsonWanted(s)) {
        const char* separator = action->displayAs == DisplayAs::XmlVersion ? "." : "\t";
        for (std::size_t i = 0; i < outcome.fieldTexts.size(); ++i)
            s.out << (i ? separator : "") << Printable(outcome.fieldTexts[i]);
        s.out << '\n';
    }
    if (outcome.notice) {
        const bool good = outcome.notice->icon == MessageIcon::Information ||
                          outcome.notice->icon == MessageIcon::None;
        (good && !JsonWanted(s) ? s.out : s.err)
            << (good ? "" : "vk4100ctl: ") << outcome.notice->text << '\n';
    }
    if (!outcome.result) {
        if (!outcome.notice) {
            s.err << "vk4100ctl: " << ListedName(*action) << ": "
                  << Printable(outcome.result.Describe()) << '\n';
        }
        return kExitFailed;
    }
    const bool complete = !outcome.resultCode || *outcome.resultCode == kAutoResultComplete;
    return complete ? kExitOk : kExitFailed;
}

int AreaCommand(CliSession& s, const std::vector<std::string>& args) {
    FlashAreas areas(s.core.exchange);
    const std::string& verb = args[0];
    if (verb == "current") {
        if (args.size() != 1) return Usage(s, "area current takes no arguments");
        const auto asked = areas.QueryCurrentArea();
        const std::uint32_t area = asked.value;
        if (!asked) {
            s.err << "vk4100ctl: area current: " << Printable(asked.Describe()) << '\n';
            return kExitFailed;
        }
        if (JsonWanted(s)) {
            PrintJson(s.out, AreaJson(area));
        } else {
            s.out << area << '\t' << FlashAreas::AreaName(static_cast<int>(area)) << '\n';
        }
        return kExitOk;
    }
    if (verb == "store-all") {
        if (args.size() != 1) return Usage(s, "area store-all takes no arguments");
        if (!s.options.factory) return NeedsFactory(s, "area store-all");
        return ActionCommand(s, {"store-all"});
    }
    const std::int32_t area =
        args.size() == 2 ? ReadTypedNumber<std::int32_t>(args[1]).value_or(-1) : -1;
    if ((verb != "load" && verb != "store") || args.size() != 2 || !FlashAreas::IsArea(area)) {
        return Usage(s, "usage: area current|load N|store N|store-all (N: 0 Factory, 1 to 3 User)");
    }
    // Loading the factory area is a user's way back to the shipped settings, as in the desktop
    // tool; overwriting it is for the factory only.
    if (verb == "store" && area == FlashAreas::kFactoryArea && !s.options.factory) {
        return NeedsFactory(s, "area store 0");
    }
    if (verb == "load") {
        const ExchangeResult loaded = areas.Load(area, FlashAreas::kLoadTimeoutMs);
        if (!loaded) {
            s.err << "vk4100ctl: area load " << area << ": " << Printable(loaded.Describe())
                  << '\n';
            return kExitFailed;
        }
        return kExitOk;
    }
    const ExchangeResult stored = areas.Store(area, FlashAreas::kStoreTimeoutMs);
    if (!stored) {
        s.err << "vk4100ctl: area store " << area << ": " << Printable(stored.Describe()) << '\n';
        return kExitFailed;
    }
    PrintField(s, "stored", area, kStoreSettingsCompleted);
    return kExitOk;
}

}  // namespace vk::cli
