#pragma once

#include <QWidget>

namespace vk::gui {

class CCtrlToolDlg;

// One parameter page of the main window's tab control. Its controls are filled in by the
// page builder; the page only knows its place.
class CTabSheetDialog : public QWidget {
    Q_OBJECT
public:
    CTabSheetDialog(int creationIndex, CCtrlToolDlg* owner, QWidget* parent = nullptr);

    CCtrlToolDlg* Owner() const { return owner_; }
    int CreationIndex() const { return creationIndex_; }
    int TemplateId() const { return templateId_; }
    const QString& Title() const { return title_; }
    // Listed only in factory mode.
    bool FactoryOnly() const { return factoryOnly_; }

private:
    CCtrlToolDlg* owner_;
    int creationIndex_;
    int templateId_;
    QString title_;
    bool factoryOnly_;
};

}  // namespace vk::gui
