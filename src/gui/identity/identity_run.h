#pragma once

#include <functional>

#include "core/camera/identity/identity_writes.h"

class QLabel;
class QWidget;

namespace vk {
class CoreContext;
}

namespace vk::gui {

// Runs a write of an id or version through the runner and shows its sentence; true when
// the camera took it.
bool RunIdentityWrite(CoreContext& core, const char* name,
                      const std::function<IdentityOutcome(Exchange&)>& write);

// A read-only field of the identity windows: sunken, selectable text.
QLabel* MakeValueField(const char* name, QWidget* parent);

}  // namespace vk::gui
