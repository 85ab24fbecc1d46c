#include "gui/app/session_questions.h"

#include "core/user_interface.h"

namespace vk::gui {

bool SessionQuestions::Confirm(const std::string& key, const std::string& question,
                               const std::string& caption) {
    if (notAgain_.count(key)) return true;
    bool dontAsk = false;
    const bool yes = ui_.AskYesNoOnce(question, caption, dontAsk);
    if (yes && dontAsk) notAgain_.insert(key);
    return yes;
}

}  // namespace vk::gui
