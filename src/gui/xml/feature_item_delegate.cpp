#include "gui/xml/feature_item_delegate.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSpinBox>
#include <limits>

#include "gui/xml/feature_grid_model.h"

namespace vk::gui {
namespace {

constexpr int kRowPadding = 8;
constexpr int kButtonWidth = 96;
constexpr double kFloatLimit = 1e12;

FeatureKind KindOf(const QModelIndex& index) {
    return static_cast<FeatureKind>(index.data(FeatureGridModel::KindRole).toInt());
}

bool IsCommandCell(const QModelIndex& index) {
    return index.column() == FeatureGridModel::ValueColumn &&
           index.data(FeatureGridModel::KindRole).isValid() &&
           KindOf(index) == FeatureKind::Command;
}

// The feature's limits when it has any; otherwise the whole range of `low` to `high`.
template <typename T>
std::pair<T, T> Bounds(const QModelIndex& index, T low, T high) {
    const double min = index.data(FeatureGridModel::MinimumRole).toDouble();
    const double max = index.data(FeatureGridModel::MaximumRole).toDouble();
    if (!(min < max)) return {low, high};
    return {static_cast<T>(std::max<double>(min, low)),
            static_cast<T>(std::min<double>(max, high))};
}

// Thin lines between a feature's name and value and under each feature, as a property
// sheet has them; section rows stay unlined.
void PaintGridLines(QPainter* painter, const QStyleOptionViewItem& option,
                    const QModelIndex& index) {
    if (!index.data(FeatureGridModel::KindRole).isValid()) return;
    painter->save();
    painter->setPen(option.palette.color(QPalette::Midlight));
    const QRect r = option.rect;
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (index.column() == FeatureGridModel::NameColumn) {
        painter->drawLine(r.topRight(), r.bottomRight());
    }
    painter->restore();
}

}  // namespace

QWidget* FeatureItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex& index) const {
    if (index.column() != FeatureGridModel::ValueColumn) return nullptr;
    switch (KindOf(index)) {
        case FeatureKind::Integer: {
            auto* box = new QSpinBox(parent);
            const auto [min, max] = Bounds<int>(index, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max());
            box->setRange(min, max);
            box->setFrame(false);
            return box;
        }
        case FeatureKind::Float: {
            auto* box = new QDoubleSpinBox(parent);
            box->setDecimals(4);
            const auto [min, max] = Bounds<double>(index, -kFloatLimit, kFloatLimit);
            box->setRange(min, max);
            box->setFrame(false);
            return box;
        }
        case FeatureKind::Text: {
            auto* edit = new QLineEdit(parent);
            edit->setMaxLength(std::max(1, index.data(FeatureGridModel::LengthRole).toInt()));
            edit->setFrame(false);
            return edit;
        }
        case FeatureKind::Enumerated: {
            auto* combo = new QComboBox(parent);
            combo->addItems(index.data(FeatureGridModel::EntryNamesRole).toStringList());
            // A choice is written at once, not when the cell loses focus.
            connect(combo, &QComboBox::activated, this, [this, combo] {
                emit const_cast<FeatureItemDelegate*>(this)->commitData(combo);
            });
            return combo;
        }
        default:
            return nullptr;  // a command runs from its button; categories have no value
    }
}

void FeatureItemDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QVariant value = index.data(Qt::EditRole);
    if (auto* box = qobject_cast<QSpinBox*>(editor)) {
        box->setValue(static_cast<int>(value.toLongLong()));
    } else if (auto* real = qobject_cast<QDoubleSpinBox*>(editor)) {
        real->setValue(value.toDouble());
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(value.toString());
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        combo->setCurrentIndex(value.isValid() ? value.toInt() : -1);
    }
}

void FeatureItemDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
    QVariant value;
    if (auto* box = qobject_cast<QSpinBox*>(editor)) {
        box->interpretText();
        value = static_cast<qlonglong>(box->value());
    } else if (auto* real = qobject_cast<QDoubleSpinBox*>(editor)) {
        real->interpretText();
        value = real->value();
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        value = edit->text();
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        if (combo->currentIndex() < 0) return;
        value = static_cast<qlonglong>(combo->currentIndex());
    }
    // Only a change is written; leaving a cell untouched sends nothing.
    if (value.isValid() && value != index.data(Qt::EditRole)) model->setData(index, value);
}

QRect FeatureItemDelegate::ButtonRect(const QStyleOptionViewItem& option) const {
    QRect rect = option.rect.adjusted(2, 2, -2, -2);
    rect.setWidth(std::min(rect.width(), kButtonWidth));
    return rect;
}

void FeatureItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    if (!IsCommandCell(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        PaintGridLines(painter, option, index);
        return;
    }
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    QStyleOptionButton button;
    button.rect = ButtonRect(option);
    button.text = index.data(Qt::DisplayRole).toString();
    button.state = QStyle::State_Raised;
    if (index.flags().testFlag(Qt::ItemIsEditable)) button.state |= QStyle::State_Enabled;
    button.palette = option.palette;
    style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
    PaintGridLines(painter, option, index);
}

QSize FeatureItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height() + kRowPadding, option.fontMetrics.height() + 12));
    return size;
}

bool FeatureItemDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                      const QStyleOptionViewItem& option,
                                      const QModelIndex& index) {
    if (!IsCommandCell(index) || !index.flags().testFlag(Qt::ItemIsEditable)) {
        return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
    bool run = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        run = mouse->button() == Qt::LeftButton &&
              ButtonRect(option).contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        run = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    if (run) model->setData(index, true);
    return run || event->type() == QEvent::MouseButtonPress ||
           event->type() == QEvent::MouseButtonDblClick;
}

}  // namespace vk::gui
