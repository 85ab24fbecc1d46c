#include "widgets/param_widgets.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

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

void ParamSpinBox::stepBy(int steps) {
    // A step first takes any typed text, as the base class does, then moves from there.
    edited_ = false;
    QSpinBox::stepBy(steps);
    emit stepped(value());
}

bool ParamSpinBox::commitTyped() {
    if (!edited_) return false;
    edited_ = false;
    interpretText();
    emit typed(value());
    return true;
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
