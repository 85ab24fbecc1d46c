#include "camera_info/identity_run.h"

#include <QLabel>
#include <optional>

#include "app/app_texts.h"
#include "core_context.h"

namespace vk::gui {

bool RunIdentityWrite(CoreContext& core, const char* name,
                      const std::function<IdentityOutcome(Command&)>& write) {
    std::optional<IdentityOutcome> outcome;
    core.runner.Run({name}, [&](Operation& operation) {
        outcome = write(operation.command);
        return outcome->exchange;
    });
    // Busy: another operation runs, and it says so itself when it ends.
    if (!outcome) return false;
    core.ui.ShowMessage(outcome->text, kProductTitle, outcome->icon);
    return outcome->ok;
}

QLabel* MakeValueField(const char* name, QWidget* parent) {
    auto* field = new QLabel(parent);
    field->setObjectName(name);
    field->setFrameShape(QFrame::StyledPanel);
    field->setFrameShadow(QFrame::Sunken);
    field->setMinimumWidth(130);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return field;
}

}  // namespace vk::gui
