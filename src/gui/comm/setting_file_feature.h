#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "core/persist/setting_file.h"
#include "core/persist/setting_file_compare.h"

namespace vk::gui {

class MainWindow;

// Camera setting files in the desktop tool: File > Open, Compare with file and Save as (All
// Data, Shipping Data), and the communication window's two file buttons. A load first shows
// what the file would change in the camera; a comparison shows it and offers to load only
// that.
class SettingFileFeature : public QObject {
    Q_OBJECT
public:
    enum class LoadChoice { Cancel, All, DifferencesOnly };

    explicit SettingFileFeature(MainWindow& window);

    // Asks for a file and saves the variant into it.
    void Save(SettingFileVariant variant);
    // Asks for a file and loads it.
    void Open();
    // Asks for a file and compares it with the camera.
    void Compare();

    // Saves to this file, asking before replacing one; true when written.
    bool SaveTo(const QString& path, SettingFileVariant variant);
    // Compares the file with the camera, lets the user choose, loads. With `compareOnly` the
    // choice is between the differing lines and nothing.
    void LoadFrom(const QString& path, bool compareOnly = false);

    // Picks a setting file (empty: cancelled), starting in `folder`. The default runs the
    // standard save or open dialog.
    std::function<QString(bool save, const QString& folder)> chooseFile;
    // Decides what to load once the comparison is known. The default shows the
    // differences in a dialog.
    std::function<LoadChoice(const QString& path, const SettingFileComparison& comparison)>
        chooseLoad;

private:
    QString AskFile(bool save, const QString& folder);
    QString ChooseFile(bool save);
    LoadChoice AskLoad(const QString& path, const SettingFileComparison& comparison,
                       bool compareOnly);
    QString StoredFolder() const;
    // What a successful save tells: how many values the file holds, how many the pages show
    // that no setting file keeps.
    // leftOut: the rows the file was saved without, as the camera never gave them.
    std::string SaveSummary(SettingFileVariant variant, std::size_t leftOut) const;
    void StoreFolder(const QString& path);
    // The displays after a load, as after a full read.
    void ShowLoadedValues();

    MainWindow& window_;
};

// Creates the feature, sets the menu items' and the communication window's handlers.
SettingFileFeature* AttachSettingFiles(MainWindow& window);

}  // namespace vk::gui
