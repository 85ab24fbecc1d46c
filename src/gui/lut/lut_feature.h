#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "core/comm/online_status_notifier.h"
#include "core/lut/lut_table.h"
#include "core/protocol/control_ids.h"
#include "core/protocol/control_rows.h"

namespace vk::gui {

class LutEditor;
class MainWindow;

// The main window's LUT work: the three editors (one on a monochrome camera), shown by
// "Open LUT Table" and hidden by the LUT selector; their transfers to and from the camera;
// and the LUT menu with the "Camera gamma data" files.
class LutFeature : public QObject, public OnlineStatusObserver {
    Q_OBJECT
public:
    static constexpr int kLutSelector = ControlIdOf(Cmd("LUTC"), false);
    static constexpr int kOpenLutTable = controls::kOpenLutTable.id;
    static constexpr int kSelectorLut = 2;  // the item "LUT"; "Off" and "Gamma" hide the editors

    explicit LutFeature(MainWindow& window);
    ~LutFeature() override;

    // The editors' camera buttons follow the line.
    void OnOnlineStatusChanged(bool online) override;

    LutEditor* Editor(int channel) const { return editors_.at(std::size_t(channel)); }

    // A colour camera (or none known yet) shows all three editors; a monochrome one only the
    // green editor, titled for monochrome.
    void ShowEditors(bool show);

    // The editors' buttons.
    void ReadTable(LutEditor& editor);
    void WriteTable(LutEditor& editor);
    void WriteToAllChannels(LutEditor& editor);

    // LUT > Load all LUT table: red, green and blue from the camera, stopping at a failure.
    bool ReadAllTables();
    // LUT > Open LUT file and Save LUT file (the latter reads the camera's tables first).
    void OpenLutFile();
    void SaveLutFile();
    // The file parts of those two, once the path is known.
    bool LoadFile(const QString& path);
    bool SaveFile(const QString& path);

    // Asks for a file to open or to save, starting in `folder`; empty when the user
    // cancelled. Tests put their own in place.
    std::function<QString(bool save, const QString& folder)> chooseFile;

private:
    QString AskFile(bool save, const QString& folder);
    lut::Tables EditorTables() const;
    void PlaceOnFirstShow(LutEditor& editor, int order);

    MainWindow& window_;
    std::array<LutEditor*, 3> editors_{};
    std::array<bool, 3> placed_{};
    QString folder_;
    std::optional<bool> shownOnline_;
};

// Creates the feature as a child of the window: editors, menu handlers, the page button and
// the LUT selector's rule.
LutFeature* AttachLutFeature(MainWindow& window);

}  // namespace vk::gui
