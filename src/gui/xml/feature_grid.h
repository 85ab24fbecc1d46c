#pragma once

#include <QWidget>

#include "core/genicam/feature_table.h"
#include "core/genicam/register_port.h"

class QTreeView;

namespace vk::gui {

class FeatureGridModel;
class FeatureItemDelegate;

// The property grid of the XML window: the features of a description in a section per
// category, each with an editor of its kind; read-only features cannot be edited.
class FeatureGrid : public QWidget {
    Q_OBJECT
public:
    explicit FeatureGrid(QWidget* parent = nullptr);

    // Clears the grid and shows the table's records in their order.
    void SetTable(FeatureTable table);
    // Not owned; must outlive the grid or be replaced first.
    void SetPort(RegisterPort* port);

    FeatureGridModel* Model() const { return model_; }
    QTreeView* View() const { return view_; }

private:
    FeatureGridModel* model_;
    FeatureItemDelegate* delegate_;
    QTreeView* view_;
};

}  // namespace vk::gui
