#include "gui/widgets/param_widgets.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>
#include <algorithm>

namespace vk::gui {

ParamSpinBox::ParamSpinBox(QWidget* parent) : QSpinBox(parent) {
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setFocusPolicy(Qt::StrongFocus);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAccelerated(true);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { edited_ = true; });
    connect(this, &QAbstractSpinBox::editingFinished, this, &ParamSpinBox::commitTyped);
}

void ParamSpinBox::setUserRange(int minimum, int maximum) {
    userMinimum_ = minimum;
    userMaximum_ = maximum;
    setRange(minimum, maximum);
}

void ParamSpinBox::showValue(int value) {
    // The range shrinks back to the user range once the value is inside it again.
    setRange(std::min(userMinimum_, value), std::max(userMaximum_, value));
    setValue(value);
}

void ParamSpinBox::stepBy(int steps) {
    // A step first takes any typed text, as the base class does, then moves from there.
    edited_ = false;
    QSpinBox::stepBy(steps);
    // From a value outside the user range a step lands on the nearest bound.
    setValue(std::clamp(value(), userMinimum_, userMaximum_));
    emit stepped(value());
}

bool ParamSpinBox::commitTyped() {
    if (!edited_) return false;
    edited_ = false;
    interpretText();
    // The box's range may be widened for a shown value; a typed one still keeps to the user's.
    setValue(std::clamp(value(), userMinimum_, userMaximum_));
    emit typed(value());
    return true;
}

std::optional<long long> ParamSpinBox::TypedNumber(const QString& input) const {
    QString text = input;
    if (!prefix().isEmpty() && text.startsWith(prefix())) text.remove(0, prefix().size());
    if (!suffix().isEmpty() && text.endsWith(suffix())) text.chop(suffix().size());
    bool ok = false;
    const long long number = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<long long>(number) : std::nullopt;
}

QValidator::State ParamSpinBox::validate(QString& input, int& pos) const {
    const auto number = TypedNumber(input);
    if (number && (*number < minimum() || *number > maximum())) return QValidator::Intermediate;
    return QSpinBox::validate(input, pos);
}

void ParamSpinBox::fixup(QString& input) const {
    const auto number = TypedNumber(input);
    if (!number) {
        QSpinBox::fixup(input);
        return;
    }
    const auto bounded = std::clamp<long long>(*number, minimum(), maximum());
    input = prefix() + textFromValue(static_cast<int>(bounded)) + suffix();
}

void ParamSpinBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        commitTyped();
        selectAll();
        event->accept();  // Enter is the edit's own: it never reaches a dialog's buttons
        return;
    }
    QSpinBox::keyPressEvent(event);
}

void ParamSpinBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QSpinBox::wheelEvent(event);
}

ParamComboBox::ParamComboBox(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void ParamComboBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

}  // namespace vk::gui
