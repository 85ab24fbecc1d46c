#include "gui/pages/camera_actions_feature.h"

#include <QComboBox>
#include <QLineEdit>

#include "core/core_context.h"
#include "core/persist/flash_areas.h"
#include "core/protocol/control_ids.h"
#include "gui/app/main_menu.h"
#include "gui/app/main_window.h"
#include "gui/app/qt_user_interface.h"
#include "gui/pages/control_binding.h"
#include "gui/widgets/control_kinds.h"

namespace vk::gui {
namespace {

constexpr const char* kLoading = "Now, loading camera data.";
constexpr const char* kStoring = "Now, Storing camera data.";
constexpr const char* kGainResetQuestion =
    "Reset every gain (GA, FGA, AGC, PGR, PGB, BLR1 and BLB1) to its power-on value?\n"
    "The gains set now are lost.";

std::string Text(std::string_view view) {
    return std::string(view);
}

// A field's text as a decimal number; -1 for anything else (the action then refuses it).
std::int32_t FieldNumber(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        bool ok = false;
        const int value = edit->text().trimmed().toInt(&ok, 10);
        return ok ? value : -1;
    }
    return widget ? ControlKinds::ReadValue(widget) : -1;
}

}  // namespace

CameraActionsFeature::CameraActionsFeature(MainWindow& window)
    : QObject(&window), window_(window), questions_(window.Core().ui) {
    setObjectName("cameraActions");
    for (const CameraAction& action : CameraActions()) {
        const ControlEntry* row = nullptr;
        const int rowIndex =
            window_.Core().exchange.Controls().RowOf(static_cast<ControlId>(action.controlId));
        if (rowIndex >= 0) row = &window_.Core().exchange.Controls().Row(rowIndex);
        if (row && row->controlKind == ControlKind::Combo) {
            window_.Binding()->SetComboHandler(action.controlId, [this, &action](int value) {
                return OnAutoCombo(action, value);
            });
        } else {
            window_.SetActionHandler(action.controlId, [this, &action] { RunAction(action); });
        }
    }
    window_.Menu()->SetHandler(kMenuLoadSettings, [this] { LoadSettings(); });
    window_.Menu()->SetHandler(kMenuStoreSettings, [this] { StoreSettings(); });
}

ActionInput CameraActionsFeature::GatherInput(const CameraAction& action) const {
    ActionInput input;
    if (IsTableAction(action)) {
        input.index = FieldNumber(window_.FindControl(action.fields[0]));
        input.value = FieldNumber(window_.FindControl(action.fields[1]));
    } else if (action.valueFrom == ValueFrom::XmlVersion) {
        for (std::size_t i = 0; i < input.parts.size(); ++i)
            input.parts[i] = FieldNumber(window_.FindControl(action.fields[i]));
    } else if (action.valueFrom == ValueFrom::Text) {
        if (auto* box = qobject_cast<QComboBox*>(window_.FindControl(controls::kModelIdList.id))) {
            input.text = box->currentText().toStdString();
        }
    }
    return input;
}

void CameraActionsFeature::RunAction(const CameraAction& action) {
    CoreContext& core = window_.Core();
    if (!action.question.empty() && !core.ui.AskYesNo(Text(action.question), {})) return;
    // A gain reset loses every gain set by hand: asked first, unless not again.
    if (action.family == ActionFamily::GainReset &&
        !questions_.Confirm(std::string(action.name), kGainResetQuestion)) {
        return;
    }
    const ActionInput input = GatherInput(action);
    const ActionExecutor executor(core.modelCheck, timing_);
    std::optional<ActionOutcome> outcome;
    {
        const ProgressOwner progressOver(window_.Desktop(), &window_);
        core.runner.Run({Text(action.title), action.longRunning, false, true},
                        [&](Operation& operation) {
                            outcome = executor.Run(operation, action, input);
                            return outcome->result;
                        });
    }
    if (outcome) Show(action, *outcome);  // nothing ran while another operation did
}

void CameraActionsFeature::Show(const CameraAction& action, const ActionOutcome& outcome) {
    ControlBinding& binding = *window_.Binding();
    if (IsTableAction(action)) {
        // The value field shows what the table holds now; the index stays as typed.
        if (outcome.value) binding.RefreshControl(action.fields[1]);
    } else {
        for (std::size_t i = 0; i < outcome.fieldTexts.size() && i < action.fields.size(); ++i) {
            if (auto* edit = qobject_cast<QLineEdit*>(window_.FindControl(action.fields[i]))) {
                edit->setText(QString::fromStdString(outcome.fieldTexts[i]));
            }
        }
    }
    for (int controlId : action.readBack)
        binding.RefreshControl(controlId);
    binding.UpdateCombinedDisplays();
    if (action.followUp == FollowUp::ModelCheck && outcome.result) {
        binding.ApplyModel(window_.Core().modelCheck.modelIndex);
    }
    // One message: the action's own notice, else why the exchange failed.
    if (outcome.notice) {
        window_.Core().ui.ShowMessage(outcome.notice->text, outcome.notice->caption,
                                      outcome.notice->icon);
    } else if (!outcome.result && outcome.result.status != ExchangeStatus::Cancelled &&
               !outcome.result.message.empty()) {
        ShowCommunicationError(window_.Core().ui, outcome.result.message);
    }
    if (outcome.closeTool) {
        window_.SetCloseWithoutConfirm();
        window_.close();
    }
}

bool CameraActionsFeature::OnAutoCombo(const CameraAction& action, int value) {
    if (value != action.value) return false;  // the binding sends it as any other value
    SetRelatedEnabled(action, false);
    RunAction(action);
    // The binding shows the camera's value ("Off" again) and switches the related controls
    // by it.
    return true;
}

void CameraActionsFeature::SetRelatedEnabled(const CameraAction& action, bool enabled) {
    for (int controlId : action.related) {
        if (QWidget* widget = window_.FindControl(controlId)) widget->setEnabled(enabled);
    }
}

std::optional<int> CameraActionsFeature::AskArea(FlashAreaDialog::Mode mode) {
    if (chooseArea) return chooseArea(mode);
    FlashAreaDialog dialog(mode, window_.IsFactoryMode(), window_.Core().notifier,
                           window_.Windows(), &window_);
    // A store goes where the camera runs from, a user area; the factory one is chosen on purpose.
    const std::uint32_t current = window_.CurrentArea();
    if (mode == FlashAreaDialog::Mode::Store) {
        dialog.Preselect(current != FlashAreas::kFactoryArea && FlashAreas::IsArea(int(current))
                             ? int(current)
                             : 1);
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.SelectedArea();
}

void CameraActionsFeature::LoadSettings() {
    const std::optional<int> area = AskArea(FlashAreaDialog::Mode::Load);
    if (!area) return;
    CoreContext& core = window_.Core();
    if (!FlashAreas::IsArea(*area)) {
        core.ui.ShowMessage(kInvalidArea, {}, MessageIcon::Stop);
        return;
    }
    const ExchangeResult loaded = core.runner.Run({kLoading}, [&](Operation& operation) {
        return FlashAreas(operation.exchange).Load(*area, FlashAreas::kLoadTimeoutMs);
    });
    if (!loaded) return;
    window_.SetCurrentArea(static_cast<std::uint32_t>(*area));
    window_.ReadAllSettings();  // the camera's settings are the area's now
}

void CameraActionsFeature::StoreSettings() {
    const std::optional<int> area = AskArea(FlashAreaDialog::Mode::Store);
    if (!area) return;
    CoreContext& core = window_.Core();
    // The factory area is not offered in user mode; nothing else may store into it either.
    const bool allowed = *area != FlashAreas::kFactoryArea || window_.IsFactoryMode();
    if (!FlashAreas::IsArea(*area) || !allowed) {
        core.ui.ShowMessage(kInvalidArea, {}, MessageIcon::Stop);
        return;
    }
    const ExchangeResult stored = core.runner.Run({kStoring}, [&](Operation& operation) {
        return FlashAreas(operation.exchange).Store(*area, FlashAreas::kStoreTimeoutMs);
    });
    if (!stored) return;
    window_.SetCurrentArea(static_cast<std::uint32_t>(*area));
    core.ui.ShowMessage(kStoreSettingsCompleted, {}, MessageIcon::Information);
}

void AttachCameraActions(MainWindow& window) {
    new CameraActionsFeature(window);
}

}  // namespace vk::gui
