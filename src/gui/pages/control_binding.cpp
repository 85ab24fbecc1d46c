#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <vector>

#include "core/camera/actions/camera_action_table.h"
#include "core/comm/model_check.h"
#include "core/core_context.h"
#include "core/protocol/control_rows.h"
#include "gui/pages/combined_displays.h"
#include "gui/pages/combo_items.h"
#include "gui/pages/control_binding.h"
#include "gui/pages/row_info.h"
#include "gui/widgets/control_kinds.h"
#include "gui/widgets/param_widgets.h"

namespace vk::gui {
namespace {

constexpr int kTestImage = ControlIdOf(Cmd("TPN"), false);

// A push button usable only while a control holds one of some camera values.
struct ButtonRule {
    Control button;
    Control control;
    std::vector<int> values;
    const char* need;  // what the disabled button's tooltip says
};
const std::vector<ButtonRule> kButtonRules = {
    {controls::kOpenLutTable, Cmd("LUTC"), {2}, "Needs the LUT selector on \"LUT\"."},
};

// A combo box whose change the user confirms first, with what follows from it.
struct ConfirmRule {
    Control control;
    const char* question;  // %1: the chosen item's text
};
const std::vector<ConfirmRule> kConfirmRules = {
    {Cmd("BDRT"),
     "The camera will talk at %1 bit/s from now on.\n"
     "The tool's baud rate (Communication window) must then be set to %1 bit/s too, or the "
     "camera will not answer.\n\nChange the camera's baud rate?"},
};
constexpr const char* kConfirmCaption = "Confirm";
constexpr int kModelIdList = controls::kModelIdList.id;

constexpr const char* kNeedsLaterVersion = "Not available in this version of the tool yet.";
constexpr const char* kNeedsCamera = "Needs the camera online.";
constexpr const char* kNeedsFactoryMode = "Needs factory mode.";
constexpr const char* kNeedsMonochrome = "Needs a monochrome camera.";
// Also after a register write or a reconnect, which leave the camera's values unknown.
constexpr const char* kNotRead =
    "The camera's value is not known: it has not been read, or it may have changed since "
    "(Settings > Reload, F5, reads every value).";
constexpr const char* kBaseToolTip = "baseToolTip";
constexpr const char* kValueNote = "valueNote";
constexpr const char* kDisabledReason = "disabledReason";

// The tooltip the page gave the control, with what is known of its value and why it is
// disabled below it.
void ComposeToolTip(QWidget* widget) {
    if (!widget->property(kBaseToolTip).isValid()) {
        widget->setProperty(kBaseToolTip, widget->toolTip());
    }
    QStringList parts;
    for (const char* name : {kBaseToolTip, kValueNote, kDisabledReason}) {
        const QString part = widget->property(name).toString();
        if (!part.isEmpty()) parts << part;
    }
    widget->setToolTip(parts.join(QStringLiteral("\n")));
}

void SetReason(QWidget* widget, const QString& reason) {
    ComposeToolTip(widget);  // keeps the page's tooltip before the first change
    widget->setProperty(kDisabledReason, reason);
    ComposeToolTip(widget);
}

// Shows the camera's value, or that it is not known. The fields of an indexed table's
// Write form are the user's input: they start at the row's default.
void ShowValue(QWidget* widget, const ControlEntry& row, std::optional<std::int32_t> value) {
    if (!value && row.Has(RowTrait::IndexedEntry)) value = row.defaultValue;
    if (value) {
        ControlKinds::WriteValue(widget, *value);
    } else {
        ControlKinds::WriteUnknown(widget);
    }
    ComposeToolTip(widget);
    widget->setProperty(kValueNote, value ? QString() : QString(kNotRead));
    ComposeToolTip(widget);
}

// What the combined displays show.
namespace id {
constexpr int kExposureTime = ControlIdOf(Cmd("PE"), false);
constexpr int kExposureAuto = ControlIdOf(Cmd("ASC"), false);
constexpr int kExposureAutoMax = ControlIdOf(Cmd("ASCEA"), false);
constexpr int kExposureAutoMin = ControlIdOf(Cmd("ASCEI"), false);
constexpr int kFineGain = ControlIdOf(Cmd("FGA"), false);
constexpr int kGainAuto = ControlIdOf(Cmd("AGC"), false);
constexpr int kGainAutoMax = ControlIdOf(Cmd("AGCGA"), false);
constexpr int kGainAutoMin = ControlIdOf(Cmd("AGCGI"), false);
constexpr int kAutoContinuous = 1;
}  // namespace id

}  // namespace

struct ControlBinding::Impl : OnlineStatusObserver {
    Impl(ControlBinding& owner, CoreContext& core, std::vector<QWidget*> pages)
        : owner(owner), core(core), pages(std::move(pages)) {
        core.notifier.Register(this);
        online = core.notifier.Current();
        // Whatever set or asked a row (a page, the terminal, a late answer), the page shows
        // what the camera holds now, once the line is read.
        core.exchange.SetValueListener([this](ControlId id) {
            const bool first = recorded.empty();
            recorded.insert(static_cast<int>(id));
            if (first) {
                QMetaObject::invokeMethod(
                    &this->owner, [this] { ShowRecorded(); }, Qt::QueuedConnection);
            }
        });
    }
    ~Impl() override {
        core.exchange.SetValueListener(nullptr);
        core.notifier.Unregister(this);
    }

    void OnOnlineStatusChanged(bool state) override {
        if (state == online) return;
        online = state;
        UpdateButtons();
    }

    const ControlTable& Table() const { return core.exchange.Controls(); }

    std::optional<std::int32_t> CameraValue(int controlId) const {
        return core.exchange.Values().CameraValue(static_cast<ControlId>(controlId));
    }
    void ShowRecorded() {
        const std::set<int> rows = std::move(recorded);
        recorded.clear();
        for (int controlId : rows)
            owner.RefreshControl(controlId);
        UpdateButtons();
        owner.UpdateCombinedDisplays();
    }

    void Collect();
    void Connect(int controlId, QWidget* widget);
    void OnCombo(int controlId);
    void OnTyped(int controlId, ParamSpinBox* spin, int value);
    void Commit(int controlId, int value);
    void ShowCameraValue(int controlId);
    void UpdateButtons();
    QString WhyDisabled(int controlId);
    void UpdateRelated();

    ControlBinding& owner;
    CoreContext& core;
    std::vector<QWidget*> pages;
    std::map<int, QWidget*> controls;
    std::set<int> availableActions;
    std::map<int, std::function<bool(int)>> comboHandlers;
    std::set<int> recorded;  // rows whose camera value changed since the pages showed them
    bool online = false;
    bool factoryMode = false;
};

void ControlBinding::Impl::Collect() {
    for (QWidget* page : pages) {
        for (QWidget* widget : page->findChildren<QWidget*>()) {
            const int controlId = ControlKinds::ControlIdOf(widget);
            if (controlId != 0) controls.emplace(controlId, widget);
        }
    }
    for (const auto& [controlId, widget] : controls)
        Connect(controlId, widget);
}

void ControlBinding::Impl::Connect(int controlId, QWidget* widget) {
    const ControlEntry* row = RowOfControl(controlId);
    const ControlKinds::Kind kind = ControlKinds::ClassifyFull(widget);
    if (kind == ControlKinds::PushButton) {
        QObject::connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, &owner,
                         [this, controlId] { emit owner.actionRequested(controlId); });
        return;
    }
    if (!row || row->controlKind == ControlKind::Button) return;
    switch (kind) {
        case ControlKinds::Spin: {
            if (row->Has(RowTrait::IndexedEntry)) return;  // sent through their Write buttons
            auto* spin = static_cast<ParamSpinBox*>(widget);
            QObject::connect(spin, &ParamSpinBox::stepped, &owner,
                             [this, controlId](int value) { Commit(controlId, value); });
            QObject::connect(spin, &ParamSpinBox::typed, &owner,
                             [this, controlId, spin](int v) { OnTyped(controlId, spin, v); });
            break;
        }
        case ControlKinds::Combo:
            QObject::connect(static_cast<QComboBox*>(widget), &QComboBox::activated, &owner,
                             [this, controlId] { OnCombo(controlId); });
            break;
        case ControlKinds::CheckBox:
            QObject::connect(static_cast<QCheckBox*>(widget), &QCheckBox::clicked, &owner,
                             [this, controlId](bool on) { Commit(controlId, on ? 1 : 0); });
            break;
        case ControlKinds::RadioButton: {
            const auto group = ControlKinds::RadioGroup(widget);
            for (std::size_t i = 0; i < group.size(); ++i) {
                QObject::connect(group[i], &QRadioButton::clicked, &owner,
                                 [this, controlId, i] { Commit(controlId, static_cast<int>(i)); });
            }
            break;
        }
        default:
            break;
    }
}

void ControlBinding::Impl::OnCombo(int controlId) {
    emit owner.comboSelected(controlId);
    const auto handler = comboHandlers.find(controlId);
    if (handler != comboHandlers.end() &&
        handler->second(ControlKinds::ReadValue(controls.at(controlId)))) {
        owner.RefreshControl(controlId);
        UpdateButtons();
        owner.UpdateCombinedDisplays();
        return;
    }
    for (const ConfirmRule& rule : kConfirmRules) {
        if (rule.control.id != controlId) continue;
        auto* box = static_cast<QComboBox*>(controls.at(controlId));
        const QString question = QString::fromUtf8(rule.question).arg(box->currentText());
        if (!core.ui.AskYesNo(question.toStdString(), kConfirmCaption)) {
            owner.RefreshControl(controlId);
            return;
        }
    }
    const ControlEntry* row = RowOfControl(controlId);
    if (row && row->Has(RowTrait::HandlerOnly)) {
        // Whatever the handler did is in the table now; without one nothing was sent.
        owner.RefreshControl(controlId);
        return;
    }
    Commit(controlId, ControlKinds::ReadValue(controls.at(controlId)));
}

void ControlBinding::Impl::OnTyped(int controlId, ParamSpinBox* spin, int value) {
    // The row's range, not the spin's: that is wider while it shows a camera value outside
    // the row's range.
    if (const auto range = Table().Range(static_cast<ControlId>(controlId))) {
        value = std::clamp(value, range->minimum, range->maximum);
        spin->setValue(value);
    }
    Commit(controlId, value);
}

// The one way a user's change reaches the camera: one set of that row, as one operation.
// Only a value the camera took becomes the row's value; the control shows the camera's
// value afterwards either way.
void ControlBinding::Impl::Commit(int controlId, int value) {
    QWidget* widget = controls.at(controlId);
    const ControlEntry* row = RowOfControl(controlId);
    // A change from a control that a long operation has disabled is not taken; one made
    // while another operation runs is refused by the runner as busy.
    if (row && widget->isEnabled()) {
        const int timeout = row->Has(RowTrait::LongSend) ? kLongSendTimeoutMs : kSendTimeoutMs;
        const std::string mnemonic = core.exchange.GetMnemonic(row->commandId);
        const OperationInfo info{"Now, sending " + mnemonic + "=" + std::to_string(value) + "."};
        core.runner.Run(info, [&](Operation& operation) {
            return operation.exchange.SendSetInt(row->commandId, value, timeout);
        });
    }
    ShowCameraValue(controlId);
}

void ControlBinding::Impl::ShowCameraValue(int controlId) {
    owner.RefreshControl(controlId);
    UpdateButtons();
    owner.UpdateCombinedDisplays();
}

// The first thing a button waits for; empty when it is usable.
QString ControlBinding::Impl::WhyDisabled(int controlId) {
    if (availableActions.count(controlId) == 0) return kNeedsLaterVersion;
    if (const CameraAction* action = FindActionByControl(controlId)) {
        if (action->factoryOnly && !factoryMode) return kNeedsFactoryMode;
        if (!online) return kNeedsCamera;
    }
    for (const ButtonRule& rule : kButtonRules) {
        if (rule.button.id != controlId) continue;
        const auto value = CameraValue(rule.control.id);
        if (!value ||
            std::find(rule.values.begin(), rule.values.end(), *value) == rule.values.end()) {
            return QString::fromUtf8(rule.need);
        }
    }
    return {};
}

void ControlBinding::Impl::UpdateButtons() {
    for (const auto& [controlId, widget] : controls) {
        if (ControlKinds::ClassifyFull(widget) != ControlKinds::PushButton) continue;
        const QString reason = WhyDisabled(controlId);
        widget->setEnabled(reason.isEmpty());
        SetReason(widget, reason);
    }
    UpdateRelated();
}

// An automatic function that is on (continuous, a preset) sets the controls it takes over
// itself: they are usable only while its combo box is on "Off".
void ControlBinding::Impl::UpdateRelated() {
    for (const CameraAction& action : CameraActions()) {
        if (action.related.empty()) continue;
        const bool off = CameraValue(action.controlId).value_or(0) == 0;
        const QString reason =
            off ? QString()
                : QStringLiteral("Set by %1 while it is on.")
                      .arg(QString::fromUtf8(action.title.data(),
                                             static_cast<int>(action.title.size())));
        for (int related : action.related) {
            const auto it = controls.find(related);
            if (it == controls.end()) continue;
            it->second->setEnabled(off);
            SetReason(it->second, reason);
        }
    }
}

ControlBinding::ControlBinding(CoreContext& core, std::vector<QWidget*> pages, QObject* parent)
    : QObject(parent), impl_(std::make_unique<Impl>(*this, core, std::move(pages))) {
    impl_->Collect();
    impl_->UpdateButtons();
}

ControlBinding::~ControlBinding() = default;

void ControlBinding::RefreshAllControls() {
    const auto rows = impl_->Table().Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].controlKind == ControlKind::Button) continue;
        if (QWidget* widget = FindControl(static_cast<int>(rows[i].controlId))) {
            ShowValue(widget, rows[i], impl_->core.exchange.Values().ValueAt(static_cast<int>(i)));
        }
    }
    impl_->UpdateButtons();
}

void ControlBinding::RefreshControl(int controlId) {
    const ControlEntry* row = RowOfControl(controlId);
    QWidget* widget = FindControl(controlId);
    if (!row || !widget || row->controlKind == ControlKind::Button) return;
    ShowValue(widget, *row, impl_->CameraValue(controlId));
}

void ControlBinding::ApplyModel(int modelIndex) {
    const bool known = modelIndex != ModelCheck::kNoModel;
    const bool colour = ModelCheck::IsColour(modelIndex);

    if (auto* box = qobject_cast<QComboBox*>(FindControl(kTestImage))) {
        box->clear();
        for (const ComboItem& item : items::kTestImage) {
            const bool colourOnly =
                std::any_of(items::kColourTestImages.begin(), items::kColourTestImages.end(),
                            [&](const ComboItem& c) { return c.value == item.value; });
            if (colourOnly && known && !colour) continue;
            box->addItem(QString::fromUtf8(item.text), item.value);
        }
        RefreshControl(kTestImage);
    }
    // The model id list starts on the connected model.
    if (auto* box = qobject_cast<QComboBox*>(FindControl(kModelIdList)); box && known) {
        for (int i = 0; i < box->count(); ++i) {
            if (ModelCheck::IndexOf(box->itemText(i).toStdString()) == modelIndex) {
                box->setCurrentIndex(i);
            }
        }
    }
    for (const ControlEntry& row : impl_->Table().Rows()) {
        if (!row.Has(RowTrait::MonochromeOnly)) continue;
        if (QWidget* widget = FindControl(static_cast<int>(row.controlId))) {
            const bool usable = !(known && colour);
            widget->setEnabled(usable);
            SetReason(widget, usable ? QString() : QString(kNeedsMonochrome));
        }
    }
}

void ControlBinding::UpdateCombinedDisplays() {
    auto value = [this](int controlId) { return impl_->CameraValue(controlId).value_or(0); };
    auto known = [this](std::initializer_list<int> ids) {
        return std::all_of(ids.begin(), ids.end(),
                           [this](int id) { return impl_->CameraValue(id).has_value(); });
    };
    const bool exposureKnown =
        known({id::kExposureAuto, id::kExposureTime, id::kExposureAutoMin, id::kExposureAutoMax});
    const bool gainKnown =
        known({id::kGainAuto, id::kFineGain, id::kGainAutoMin, id::kGainAutoMax});
    for (QWidget* page : impl_->pages) {
        if (auto* exposure = page->findChild<QLineEdit*>(QStringLiteral("exposureDisplay"))) {
            exposure->setText(
                !exposureKnown
                    ? QString()
                    : QString::fromStdString(ExposureText(
                          value(id::kExposureAuto) == id::kAutoContinuous, value(id::kExposureTime),
                          value(id::kExposureAutoMin), value(id::kExposureAutoMax))));
        }
        if (auto* gain = page->findChild<QLineEdit*>(QStringLiteral("gainDisplay"))) {
            gain->setText(
                !gainKnown ? QString()
                           : QString::fromStdString(GainText(
                                 value(id::kGainAuto) == id::kAutoContinuous, value(id::kFineGain),
                                 value(id::kGainAutoMin), value(id::kGainAutoMax))));
        }
    }
}

QWidget* ControlBinding::FindControl(int controlId) const {
    const auto it = impl_->controls.find(controlId);
    return it == impl_->controls.end() ? nullptr : it->second;
}

bool ControlBinding::CommitFocusedEdit() {
    ParamSpinBox* spin = nullptr;
    for (QWidget* w = QApplication::focusWidget(); w && !spin; w = w->parentWidget()) {
        spin = qobject_cast<ParamSpinBox*>(w);
    }
    if (!spin) return false;
    const bool onPage = std::any_of(impl_->pages.begin(), impl_->pages.end(),
                                    [spin](QWidget* page) { return page->isAncestorOf(spin); });
    if (!onPage) return false;
    spin->commitTyped();
    return true;
}

void ControlBinding::SetFactoryMode(bool factory) {
    impl_->factoryMode = factory;
    impl_->UpdateButtons();
}

void ControlBinding::SetComboHandler(int controlId, std::function<bool(int value)> handler) {
    impl_->comboHandlers[controlId] = std::move(handler);
}

void ControlBinding::SetActionAvailable(int controlId, bool available) {
    if (available) {
        impl_->availableActions.insert(controlId);
    } else {
        impl_->availableActions.erase(controlId);
    }
    impl_->UpdateButtons();
}

}  // namespace vk::gui
