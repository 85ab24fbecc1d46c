#pragma once

#include <QDialog>

class QComboBox;
class QLabel;

namespace vk {
class OnlineStatusNotifier;
}

namespace vk::gui {

class WindowList;

// Asks which flash area to load from or store into. The list holds "Factory" (in load
// mode, and in store mode only in factory mode), then "User 1" to "User 3".
class FlashAreaDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Store, Load };

    FlashAreaDialog(Mode mode, bool factoryMode, OnlineStatusNotifier& notifier,
                    WindowList& windows, QWidget* parent = nullptr);
    ~FlashAreaDialog() override;

    // After OK: 0 to 3, or -1 when the chosen text names none of the areas.
    int SelectedArea() const { return selected_; }
    QComboBox* AreaList() const { return list_; }
    // Shows the area chosen, when the list holds it.
    void Preselect(int area);
    QString Message() const;

public slots:
    void accept() override;

private:
    WindowList& windows_;
    QComboBox* list_;
    QLabel* message_;
    int selected_ = -1;
};

}  // namespace vk::gui
