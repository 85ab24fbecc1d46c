#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "core/genicam/operation_register_port.h"
#include "core/genicam/serial_register_port.h"
#include "core/genicam/values_forgetting_port.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace vk {
class CoreContext;
}

namespace vk::gui {

class FeatureGrid;
class QtUserInterface;
class FeatureTree;

// The XML window: a description's features as a tree (its node map, any maker's file) and,
// for this family's own files, the register grid as before; values are read from and
// written to the camera's registers. It also fetches the description file.
class XmlWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kReadAllDataId = 4912;

    XmlWindow(CoreContext& core, QtUserInterface& desktop, QWidget* parent = nullptr);

    // "Read File from Camera": saves the camera's description file as _download.zip in the
    // download folder and says so.
    void DownloadDescriptionFile();
    // "Open File": asks for a description file (XML, or the zip as downloaded) and shows it.
    void OpenDescriptionFile();
    // Parses the file into the grid and shows the window; false, with a message, when the
    // file gives no feature table (the grid is then left as it was).
    bool OpenFile(const QString& path);
    // "Read All Data": reads every readable register (grid) or feature (tree) of the tab
    // shown and shows the values.
    void ReadAllData();

    FeatureGrid* Grid() const { return grid_; }
    FeatureTree* Tree() const { return tree_; }
    QTabWidget* Tabs() const { return tabs_; }
    QPushButton* ReadAllButton() const { return readAll_; }
    QString OpenedFile() const { return openedFile_; }

    // Where the download goes; the current folder unless set.
    void SetDownloadFolder(const QString& folder) { downloadFolder_ = folder; }
    QString DownloadPath() const;
    // How long each register packet may take (the line time of its data comes on top).
    void SetPacketTimeout(int ms);

    // Picks the description file to open (empty: cancelled); starts in `folder`. The
    // default asks with an open dialog.
    std::function<QString(const QString& folder)> chooseDescriptionFile;

private:
    QString AskDescriptionFile(const QString& folder);
    // The line's rate may have changed since the last access. The grid's writes are a few
    // bytes each; they use the timing of the last open, read or download.
    void UpdateTiming();

    CoreContext& core_;
    QtUserInterface& desktop_;
    SerialRegisterPort serial_;
    OperationRegisterPort perOperation_;
    ValuesForgettingPort forgetting_;  // the grid's and the tree's access
    FeatureGrid* grid_ = nullptr;
    FeatureTree* tree_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QPushButton* readAll_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    QString openedFile_;
    QString downloadFolder_;
    int packetTimeoutMs_ = kRegisterTimeoutMs;
};

}  // namespace vk::gui
