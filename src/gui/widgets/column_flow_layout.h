#pragma once

#include <QLayout>
#include <QList>

#include "gui/widgets/column_packer.h"

namespace vk::gui {

// Lays its widgets out in balanced columns, as many as the width allows, keeping their
// order down each column. Its height follows its width, so a scroll area around it scrolls
// only when the columns are taller than the view. Spare width goes to the columns evenly.
class ColumnFlowLayout : public QLayout {
public:
    ColumnFlowLayout(QWidget* parent, int spacing, int maxColumns);
    ~ColumnFlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;

    QSize sizeHint() const override;
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    Qt::Orientations expandingDirections() const override { return {}; }
    void setGeometry(const QRect& rect) override;

    // The column of each widget at the given outer width.
    ColumnSplit Arrange(int width) const;

private:
    QList<QLayoutItem*> items_;
    int spacing_;
    int maxColumns_;
};

}  // namespace vk::gui
