#pragma once

#include <set>
#include <string>

namespace vk {
class UserInterface;
}

namespace vk::gui {

// The question asked before a step that overwrites or resets what the camera holds. The
// user may tick "Don't ask again" with a yes; that question then goes unasked for the rest
// of the session.
class SessionQuestions {
public:
    explicit SessionQuestions(UserInterface& ui) : ui_(ui) {}

    // True: go ahead. `key` names the question for "Don't ask again".
    bool Confirm(const std::string& key, const std::string& question,
                 const std::string& caption = {});

private:
    UserInterface& ui_;
    std::set<std::string> notAgain_;
};

}  // namespace vk::gui
