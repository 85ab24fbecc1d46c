#include "gui/identity/identity_run.h"

#include <QLabel>
#include <optional>

#include "core/core_context.h"
#include "gui/app/app_texts.h"

namespace vk::gui {

bool RunIdentityWrite(CoreContext& core, const char* name,
                      const std::function<IdentityOutcome(Exchange&)>& write) {
    std::optional<IdentityOutcome> outcome;
    core.runner.Run({name, false, false, true}, [&](Operation& operation) {
        outcome = write(operation.exchange);
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
