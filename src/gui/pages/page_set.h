#pragma once

#include <QObject>
#include <vector>

class QWidget;

namespace vk {
class CoreContext;
}

namespace vk::gui {

// One tab page of the main window, in creation (and tab) order.
struct PageInfo {
    const char* title;
    int templateId;
    bool factoryOnly;
};

const std::vector<PageInfo>& PageInfos();

// Fills an empty page widget with the controls of page pageIndex (0..8).
void BuildPage(int pageIndex, QWidget* page);

// Ties the page controls to the control table: shows camera values and turns every user
// change into the set commands of the changed rows.
class ControlBinding : public QObject {
    Q_OBJECT
  public:
    ControlBinding(CoreContext& core, std::vector<QWidget*> pages, QObject* parent = nullptr);
    ~ControlBinding() override;

    // Shows each row's camera value without sending anything.
    void RefreshAllControls();
    // Adapts the model-dependent controls (even index: colour, odd: monochrome).
    void ApplyModel(int modelIndex);
    // Refreshes the displays that combine several values (gain, exposure).
    void UpdateCombinedDisplays();
    // The page control with that id, or null.
    QWidget* FindControl(int controlId) const;
    // Commits the value typed into the focused spin box, as on focus loss. True when the
    // focus was in a page's spin box (the caller then swallows the Enter key).
    bool CommitFocusedEdit();

  signals:
    // An action button or a combo whose handler replaces the generic path was used.
    void actionRequested(int controlId);

  private:
    struct Impl;
    Impl* impl_;
};

}  // namespace vk::gui
