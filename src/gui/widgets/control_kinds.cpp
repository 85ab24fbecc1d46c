#include "gui/widgets/control_kinds.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVariant>
#include <algorithm>

#include "gui/widgets/param_widgets.h"

namespace vk::gui {
namespace {

bool HasItemData(const QComboBox* box) {
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemData(i).isValid()) return true;
    }
    return false;
}

void SetChecked(QRadioButton* button, bool on) {
    const QSignalBlocker block(button);
    button->setChecked(on);
}

}  // namespace

ControlKinds::Kind ControlKinds::Classify(const QWidget* widget) {
    const Kind full = ClassifyFull(widget);
    return full >= Button ? Button : full;
}

ControlKinds::Kind ControlKinds::ClassifyFull(const QWidget* widget) {
    if (!widget) return Other;
    if (qobject_cast<const QSpinBox*>(widget)) return Spin;
    if (qobject_cast<const QLineEdit*>(widget)) return Edit;
    if (qobject_cast<const QComboBox*>(widget)) return Combo;
    if (qobject_cast<const QPushButton*>(widget)) return PushButton;
    if (qobject_cast<const QCheckBox*>(widget)) return CheckBox;
    if (qobject_cast<const QRadioButton*>(widget)) return RadioButton;
    if (qobject_cast<const QAbstractButton*>(widget)) return Button;
    return Other;
}

int ControlKinds::ReadValue(const QWidget* widget) {
    switch (ClassifyFull(widget)) {
        case Spin:
            return static_cast<const QSpinBox*>(widget)->value();
        case Edit: {
            bool ok = false;
            const int v = static_cast<const QLineEdit*>(widget)->text().trimmed().toInt(&ok);
            return ok ? v : -1;
        }
        case Combo: {
            const auto* box = static_cast<const QComboBox*>(widget);
            const int index = box->currentIndex();
            if (index < 0) return -1;
            const QVariant data = box->itemData(index);
            const int value = data.isValid() ? data.toInt() : 0;
            return value != 0 ? value : index;
        }
        case CheckBox:
            return static_cast<const QCheckBox*>(widget)->isChecked() ? 1 : 0;
        case RadioButton: {
            const auto index = RadioGroupValue(RadioGroup(widget).front());
            return index ? *index : -1;
        }
        default:
            return -1;
    }
}

bool ControlKinds::WriteValue(QWidget* widget, int value) {
    switch (ClassifyFull(widget)) {
        case Spin: {
            // setValue() alone would clamp: the box would show a value the camera does not hold.
            if (auto* param = qobject_cast<ParamSpinBox*>(widget)) {
                param->showValue(value);
                return true;
            }
            auto* spin = static_cast<QSpinBox*>(widget);
            spin->setRange(std::min(spin->minimum(), value), std::max(spin->maximum(), value));
            spin->setValue(value);
            return true;
        }
        case Edit:
            static_cast<QLineEdit*>(widget)->setText(QString::number(value));
            return true;
        case Combo: {
            auto* box = static_cast<QComboBox*>(widget);
            int index = -1;
            if (HasItemData(box)) {
                index = box->findData(value);
            } else if (value >= 0 && value < box->count()) {
                index = value;
            }
            box->setCurrentIndex(index);
            return true;
        }
        case CheckBox: {
            auto* box = static_cast<QCheckBox*>(widget);
            box->setTristate(false);
            box->setChecked(value != 0);
            return true;
        }
        case RadioButton:
            SetRadioGroup(RadioGroup(widget).front(), value);
            return true;
        default:
            return false;
    }
}

bool ControlKinds::WriteUnknown(QWidget* widget) {
    switch (ClassifyFull(widget)) {
        case Spin:
            static_cast<QSpinBox*>(widget)->clear();
            return true;
        case Edit:
            static_cast<QLineEdit*>(widget)->clear();
            return true;
        case Combo:
            static_cast<QComboBox*>(widget)->setCurrentIndex(-1);
            return true;
        case CheckBox: {
            auto* box = static_cast<QCheckBox*>(widget);
            box->setTristate(true);
            box->setCheckState(Qt::PartiallyChecked);
            return true;
        }
        case RadioButton:
            SetRadioGroup(RadioGroup(widget).front(), -1);
            return true;
        default:
            return false;
    }
}

std::vector<QRadioButton*> ControlKinds::RadioGroup(const QWidget* button) {
    std::vector<QRadioButton*> group;
    if (!qobject_cast<const QRadioButton*>(button)) return group;
    const QWidget* parent = button->parentWidget();
    if (!parent) return {const_cast<QRadioButton*>(static_cast<const QRadioButton*>(button))};
    for (auto* b : parent->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
        group.push_back(b);
    }
    return group;
}

std::optional<ControlKinds::RadioPosition> ControlKinds::RadioGroupOf(const QWidget* button) {
    const auto group = RadioGroup(button);
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (group[i] == button) return RadioPosition{static_cast<int>(i), ControlIdOf(group[0])};
    }
    return std::nullopt;
}

std::optional<int> ControlKinds::RadioGroupValue(const QWidget* firstButton) {
    const auto group = RadioGroup(firstButton);
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (group[i]->isChecked()) return static_cast<int>(i);
    }
    return std::nullopt;
}

bool ControlKinds::SetRadioGroup(QWidget* firstButton, int index) {
    const auto group = RadioGroup(firstButton);
    bool checked = false;
    for (std::size_t i = 0; i < group.size(); ++i) {
        // Auto-exclusive buttons cannot all be unchecked; lift it while writing.
        const bool exclusive = group[i]->autoExclusive();
        group[i]->setAutoExclusive(false);
        const bool on = static_cast<int>(i) == index;
        SetChecked(group[i], on);
        group[i]->setAutoExclusive(exclusive);
        checked = checked || on;
    }
    return checked;
}

int ControlKinds::ControlIdOf(const QWidget* widget) {
    return widget ? widget->property("controlId").toInt() : 0;
}

}  // namespace vk::gui
