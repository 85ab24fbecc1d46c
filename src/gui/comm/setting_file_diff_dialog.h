#pragma once

#include <QDialog>

#include "persist/setting_file_compare.h"

class QTableWidget;

namespace vk::gui {

// Shows, before a setting file is loaded, every line whose value the camera does not hold:
// page, label, mnemonic, the file's value and the camera's. The user loads the whole file,
// only those lines, or nothing.
class SettingFileDiffDialog : public QDialog {
    Q_OBJECT
public:
    enum Choice { Cancel = 0, LoadAll = 1, LoadDifferences = 2 };

    SettingFileDiffDialog(const QString& path, const SettingFileComparison& comparison,
                          QWidget* parent = nullptr);

    QTableWidget* Table() const { return table_; }

private:
    QTableWidget* table_ = nullptr;
};

}  // namespace vk::gui
