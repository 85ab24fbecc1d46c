#pragma once

#include <QDialog>

#include "core/persist/setting_file_compare.h"

class QTableWidget;

namespace vk::gui {

// Shows every line of a setting file whose value the camera does not hold: page, label,
// mnemonic, the file's value and the camera's. Before a load the user loads the whole file,
// only those lines, or nothing; after File > Compare only those lines, or nothing.
class SettingFileDiffDialog : public QDialog {
    Q_OBJECT
public:
    enum Choice { Cancel = 0, LoadAll = 1, LoadDifferences = 2 };
    enum class Purpose { Load, Compare };

    SettingFileDiffDialog(const QString& path, const SettingFileComparison& comparison,
                          Purpose purpose = Purpose::Load, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }

private:
    QTableWidget* table_ = nullptr;
};

}  // namespace vk::gui
