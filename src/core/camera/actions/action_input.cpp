#include "core/camera/actions/action_input.h"

#include <charconv>

#include "core/protocol/command_mnemonics.h"
#include "core/protocol/integer_text.h"

namespace vk {
namespace {

// A typed number into `value`; false for anything else.
bool Take(const std::string& text, std::int32_t& value) {
    const std::optional<std::int32_t> number = ReadTypedNumber<std::int32_t>(text);
    if (number) value = *number;
    return number.has_value();
}

}  // namespace

const CameraAction* FindActionOfWords(const std::string& name, std::vector<std::string>& words) {
    std::string mnemonic;
    if ((name == "table-write" || name == "table-read") && !words.empty()) {
        mnemonic = words.front();
        words.erase(words.begin());
    }
    return FindAction(name, mnemonic);
}

std::string ListedName(const CameraAction& a) {
    std::string name(a.name);
    if (IsTableAction(a)) {
        name += ' ';
        name += kMnemonics[static_cast<std::size_t>(a.command)];
    }
    return name;
}

std::string ListedArguments(const CameraAction& a) {
    std::string arguments(a.arguments);
    if (IsTableAction(a)) arguments = arguments.substr(arguments.find(' ') + 1);
    return arguments;
}

bool TakeActionInput(const CameraAction& a, const std::vector<std::string>& args,
                     ActionInput& input) {
    if (IsTableAction(a)) {
        const std::size_t wanted = a.family == ActionFamily::TableWrite ? 2 : 1;
        return args.size() == wanted && Take(args[0], input.index) &&
               (wanted == 1 || Take(args[1], input.value));
    }
    if (a.valueFrom == ValueFrom::Text) {
        if (args.size() != 1) return false;
        input.text = args[0];
        return true;
    }
    if (a.valueFrom == ValueFrom::XmlVersion) {
        if (args.size() != input.parts.size()) return false;
        for (std::size_t i = 0; i < args.size(); ++i) {
            if (!Take(args[i], input.parts[i])) return false;
        }
        return true;
    }
    return args.empty();
}

}  // namespace vk
