#pragma once

#include <QComboBox>
#include <QSpinBox>

namespace vk::gui {

// The numeric edit of a parameter. Tells a step (arrows, keys, wheel) apart from a typed
// value, which counts only once the user has edited the text and then leaves the field or
// presses Enter. A programmatic setValue() emits neither.
class ParamSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit ParamSpinBox(QWidget* parent = nullptr);

    void stepBy(int steps) override;
    // Takes the typed text as the value and reports it when it was edited. True when it was.
    bool commitTyped();

signals:
    void stepped(int value);
    void typed(int value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool edited_ = false;
};

// A parameter's drop-down list; the wheel changes it only while it has the focus, so that
// scrolling a page never sends a value by accident.
class ParamComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ParamComboBox(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

}  // namespace vk::gui
