#pragma once

#include <optional>
#include <vector>

class QRadioButton;
class QWidget;

namespace vk::gui {

// What a page control is, and its value as one integer whatever its kind.
class ControlKinds {
public:
    enum Kind {
        Other = 0,
        Edit = 1,        // text field
        Spin = 2,        // numeric edit with spin
        Combo = 3,       // drop-down list
        Button = 4,      // a button of another kind (plain classification: every button)
        PushButton = 5,  // starts an action
        CheckBox = 6,
        RadioButton = 7,
    };

    // Every button is Button.
    static Kind Classify(const QWidget* widget);
    // Buttons split into PushButton, CheckBox and RadioButton.
    static Kind ClassifyFull(const QWidget* widget);

    // Spin: its value; combo: the selected item's data, or its index when the item carries
    // no data (or 0); check box: 0/1; radio button: index of the checked button of its
    // group; text field: the text as a decimal number. -1 for anything else, for no
    // selection and for text that is not a number.
    static int ReadValue(const QWidget* widget);
    // Shows the value. A spin box shows it unclamped, widening its range as needed (a
    // ParamSpinBox keeps its user range for steps and typing). A combo whose items carry data
    // selects the first item with that data and shows no selection when none has it; a combo
    // of plain texts selects the index. False for null and for kinds that hold no value.
    static bool WriteValue(QWidget* widget, int value);
    // Shows that the value is not known: an empty spin, edit or combo, a half-checked box,
    // no radio button checked. False for null and for kinds that hold no value.
    static bool WriteUnknown(QWidget* widget);

    // The buttons of the radio group a button belongs to, first button first.
    static std::vector<QRadioButton*> RadioGroup(const QWidget* button);
    struct RadioPosition {
        int index;           // of the button in its group
        int firstControlId;  // the id the group stands under
    };
    static std::optional<RadioPosition> RadioGroupOf(const QWidget* button);
    // Index of the checked button; nothing when none is checked.
    static std::optional<int> RadioGroupValue(const QWidget* firstButton);
    // Checks the button at index and unchecks the others; an index outside the group leaves
    // none checked. True when a button was checked.
    static bool SetRadioGroup(QWidget* firstButton, int index);

    // The control id a widget carries (dynamic property "controlId"); 0 when none.
    static int ControlIdOf(const QWidget* widget);
};

}  // namespace vk::gui
