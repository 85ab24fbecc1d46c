#pragma once

#include <QWidget>

namespace vk::gui {

class MainWindow;

// One parameter page of the main window's tab control. Its controls are filled in by the
// page builder; the page only knows its place.
class ParameterPage : public QWidget {
    Q_OBJECT
public:
    ParameterPage(int creationIndex, MainWindow* owner, QWidget* parent = nullptr);

    MainWindow* Owner() const { return owner_; }
    int CreationIndex() const { return creationIndex_; }
    const QString& Title() const { return title_; }
    // Listed only in factory mode.
    bool FactoryOnly() const { return factoryOnly_; }

private:
    MainWindow* owner_;
    int creationIndex_;
    QString title_;
    bool factoryOnly_;
};

}  // namespace vk::gui
