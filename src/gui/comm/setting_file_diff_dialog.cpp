#include "gui/comm/setting_file_diff_dialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>

#include "gui/pages/page_table.h"

namespace vk::gui {
namespace {

struct Place {
    QString page;
    QString label;
};

// Where each parameter stands on the pages.
const std::map<int, Place>& Places() {
    static const std::map<int, Place> places = [] {
        std::map<int, Place> map;
        for (const PlacedControl& c : PlacedControls()) {
            map.try_emplace(c.cell.controlId,
                            Place{PageInfos().at(static_cast<std::size_t>(c.page)).title,
                                  QString::fromStdString(c.label)});
        }
        return map;
    }();
    return places;
}

QString Summary(const SettingFileComparison& comparison) {
    QString text;
    if (comparison.differences.empty()) {
        text = "The camera holds every value of this file.";
    } else {
        text = QString("%1 of %2 values in this file differ from the camera.")
                   .arg(comparison.differences.size())
                   .arg(comparison.compared);
    }
    if (comparison.stopped) text += "\nThe camera stopped answering; the rest was not compared.";
    return text;
}

}  // namespace

SettingFileDiffDialog::SettingFileDiffDialog(const QString& path,
                                             const SettingFileComparison& comparison,
                                             Purpose purpose, QWidget* parent)
    : QDialog(parent) {
    const bool load = purpose == Purpose::Load;
    setObjectName("settingFileDiff");
    setWindowTitle(QString(load ? "Load %1" : "Compare %1").arg(QFileInfo(path).fileName()));

    auto* summary = new QLabel(Summary(comparison), this);
    summary->setObjectName("summary");

    const QStringList headers = {"Line", "Page", "Label", "Mnemonic", "File", "Camera"};
    table_ = new QTableWidget(static_cast<int>(comparison.differences.size()),
                              static_cast<int>(headers.size()), this);
    table_->setObjectName("differences");
    table_->setHorizontalHeaderLabels(headers);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    int row = 0;
    for (const SettingDifference& d : comparison.differences) {
        const auto place = Places().find(static_cast<int>(d.control));
        const Place where = place == Places().end() ? Place{} : place->second;
        const QString camera =
            d.answered ? QString::fromStdString(d.cameraValue) : QString("(no answer)");
        const QStringList cells = {QString::number(d.line),
                                   where.page,
                                   where.label,
                                   QString::fromStdString(d.name),
                                   QString::fromStdString(d.fileValue),
                                   camera};
        for (int column = 0; column < cells.size(); ++column) {
            table_->setItem(row, column, new QTableWidgetItem(cells[column]));
        }
        ++row;
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(this);
    if (load) {
        QPushButton* all = buttons->addButton("Load All", QDialogButtonBox::AcceptRole);
        all->setObjectName("loadAll");
        all->setToolTip("Sends every line of the file to the camera.");
        connect(all, &QPushButton::clicked, this, [this] { done(LoadAll); });
    }
    QPushButton* only = buttons->addButton("Load Differences Only", QDialogButtonBox::ActionRole);
    only->setObjectName("loadDifferences");
    only->setEnabled(!comparison.differences.empty());
    only->setToolTip(comparison.differences.empty()
                         ? "Nothing to load: the camera holds every value of the file."
                         : "Sends only the lines listed here to the camera.");
    QPushButton* cancel =
        buttons->addButton(load ? QDialogButtonBox::Cancel : QDialogButtonBox::Close);
    cancel->setObjectName("cancel");
    connect(only, &QPushButton::clicked, this, [this] { done(LoadDifferences); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(Cancel); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    resize(720, 420);
}

}  // namespace vk::gui
