#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace vk {
class CoreContext;
}

namespace vk::gui {

// Ties the page controls to the control table: shows camera values and turns every user
// change into the set commands of the changed rows.
class ControlBinding : public QObject {
    Q_OBJECT
public:
    static constexpr int kSendTimeoutMs = 2500;
    static constexpr int kLongSendTimeoutMs = 10000;  // HES and HKS

    ControlBinding(CoreContext& core, std::vector<QWidget*> pages, QObject* parent = nullptr);
    ~ControlBinding() override;

    // Shows each row's camera value without sending anything.
    void RefreshAllControls();
    // Shows one row's camera value.
    void RefreshControl(int controlId);
    // Adapts the model-dependent controls (even index: colour, odd: monochrome).
    void ApplyModel(int modelIndex);
    // Refreshes the displays that combine several values (gain, exposure).
    void UpdateCombinedDisplays();
    // The page control with that id (a radio group's first button), or null.
    QWidget* FindControl(int controlId) const;
    // Commits the value typed into the focused spin box, as on focus loss. True when the
    // focus was in a page's spin box (the caller then swallows the Enter key).
    bool CommitFocusedEdit();
    // Action buttons stay disabled until whoever handles actionRequested for them says so.
    // A disabled button's tooltip says what it waits for.
    void SetActionAvailable(int controlId, bool available);
    // Buttons of factory-only actions are usable only in factory mode.
    void SetFactoryMode(bool factory);
    // Runs when the user chooses an item of the combo box, before its value is sent; true
    // when the handler took care of the value itself (the binding then only shows the
    // camera's value).
    void SetComboHandler(int controlId, std::function<bool(int value)> handler);

signals:
    // A push button was clicked.
    void actionRequested(int controlId);
    // The user chose an item of a combo box; emitted before its value is sent, so that a
    // handler connected directly runs first. Combos whose handler replaces the sending
    // (EM, TO) are not sent by the binding at all.
    void comboSelected(int controlId);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace vk::gui
