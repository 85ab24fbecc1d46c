#pragma once

#include <QComboBox>
#include <QSpinBox>
#include <optional>

namespace vk::gui {

// The numeric edit of a parameter. Tells a step (arrows, keys, wheel) apart from a typed
// value, which counts only once the user has edited the text and then leaves the field or
// presses Enter. A programmatic setValue() emits neither.
//
// Steps and typed values stay inside the user range. The box's own range is wider only
// while it shows a camera value outside the user range, so that value is shown as it is.
class ParamSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit ParamSpinBox(QWidget* parent = nullptr);

    void setUserRange(int minimum, int maximum);
    int userMinimum() const { return userMinimum_; }
    int userMaximum() const { return userMaximum_; }
    // Shows the value unchanged, inside the user range or not.
    void showValue(int value);

    void stepBy(int steps) override;
    // Takes the typed text as the value, brought into the user range, and reports it when it
    // was edited. True when it was.
    bool commitTyped();

    // A number outside the range is still typed whole (the base class drops the keystroke
    // that leaves the range, so 9000000 would become 900000); it is brought into the range
    // when committed.
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

signals:
    void stepped(int value);
    void typed(int value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The typed number without prefix and suffix, if the text is one.
    std::optional<long long> TypedNumber(const QString& input) const;

    bool edited_ = false;
    int userMinimum_ = 0;
    int userMaximum_ = 99;  // QSpinBox's own default range
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
