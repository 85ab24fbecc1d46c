#pragma once

#include <QStyledItemDelegate>

namespace vk::gui {

// The editors of the feature grid's value cells, by the feature's kind: a spin box bounded
// by the feature's limits, a number with four decimals, a text no longer than its register,
// a drop-down of the entry names; a command is a button that runs it.
class FeatureItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    QRect ButtonRect(const QStyleOptionViewItem& option) const;
};

}  // namespace vk::gui
