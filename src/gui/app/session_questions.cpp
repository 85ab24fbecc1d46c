#include "gui/app/session_questions.h"

#include "gui/app/qt_user_interface.h"

namespace vk::gui {

bool SessionQuestions::Confirm(const std::string& key, const std::string& question,
                               const std::string& caption) {
    if (notAgain_.count(key)) return true;
    bool dontAsk = false;
    auto* qt = dynamic_cast<QtUserInterface*>(&ui_);
    const bool yes =
        qt ? qt->AskYesNoOnce(question, caption, dontAsk) : ui_.AskYesNo(question, caption);
    if (yes && dontAsk) notAgain_.insert(key);
    return yes;
}

}  // namespace vk::gui
