#include "gui/xml/feature_grid.h"

#include <QHeaderView>
#include <QTreeView>
#include <QVBoxLayout>

#include "gui/xml/feature_grid_model.h"
#include "gui/xml/feature_item_delegate.h"

namespace vk::gui {
namespace {

constexpr int kNameColumnMinimum = 180;

}  // namespace

FeatureGrid::FeatureGrid(QWidget* parent)
    : QWidget(parent),
      model_(new FeatureGridModel(this)),
      delegate_(new FeatureItemDelegate(this)),
      view_(new QTreeView(this)) {
    view_->setObjectName("featureGrid");
    view_->setModel(model_);
    view_->setItemDelegate(delegate_);
    view_->setAlternatingRowColors(true);
    view_->setUniformRowHeights(true);
    view_->setAllColumnsShowFocus(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                           QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    view_->header()->setStretchLastSection(true);
    view_->header()->setSectionsMovable(false);
    view_->header()->setMinimumSectionSize(kNameColumnMinimum / 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

void FeatureGrid::SetTable(FeatureTable table) {
    model_->SetTable(std::move(table));
    for (int section = 0; section < model_->SectionCount(); ++section) {
        view_->setFirstColumnSpanned(section, QModelIndex(), true);
    }
    view_->expandAll();
    view_->resizeColumnToContents(FeatureGridModel::NameColumn);
    view_->setColumnWidth(
        FeatureGridModel::NameColumn,
        std::max(kNameColumnMinimum, view_->columnWidth(FeatureGridModel::NameColumn) + 24));
}

void FeatureGrid::SetPort(RegisterPort* port) {
    model_->SetPort(port);
}

}  // namespace vk::gui
