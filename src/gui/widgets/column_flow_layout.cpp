#include "gui/widgets/column_flow_layout.h"

#include <QWidget>
#include <algorithm>

namespace vk::gui {
namespace {

// The width sizeHint() plans for: a page in a main window on a 1366-pixel-wide screen.
constexpr int kPreferredWidth = 1300;
// A column takes at most a fifth of its own width more.
constexpr int kMaxWiden = 5;

}  // namespace

ColumnFlowLayout::ColumnFlowLayout(QWidget* parent, int spacing, int maxColumns)
    : QLayout(parent), spacing_(spacing), maxColumns_(maxColumns) {}

ColumnFlowLayout::~ColumnFlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void ColumnFlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
}

QLayoutItem* ColumnFlowLayout::itemAt(int index) const {
    return index >= 0 && index < items_.size() ? items_.at(index) : nullptr;
}

QLayoutItem* ColumnFlowLayout::takeAt(int index) {
    return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

ColumnSplit ColumnFlowLayout::Arrange(int width) const {
    const QMargins m = contentsMargins();
    std::vector<BoxSize> boxes;
    for (const QLayoutItem* item : items_) {
        const QSize hint = item->sizeHint();
        boxes.push_back({hint.width(), hint.height()});
    }
    return PackColumns(boxes, width - m.left() - m.right(), spacing_, maxColumns_);
}

QSize ColumnFlowLayout::sizeHint() const {
    const ColumnSplit split = Arrange(kPreferredWidth);
    const QMargins m = contentsMargins();
    return {split.width + m.left() + m.right(), split.height + m.top() + m.bottom()};
}

QSize ColumnFlowLayout::minimumSize() const {
    QSize size;
    for (const QLayoutItem* item : items_)
        size = size.expandedTo(item->sizeHint());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

int ColumnFlowLayout::heightForWidth(int width) const {
    const QMargins m = contentsMargins();
    return Arrange(width).height + m.top() + m.bottom();
}

void ColumnFlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect area = rect.marginsRemoved(contentsMargins());
    const ColumnSplit split = Arrange(rect.width());
    if (split.columnWidths.empty()) return;
    const int columns = static_cast<int>(split.columnWidths.size());
    const int spare = std::max(0, area.width() - split.width) / columns;
    // Columns widen into the spare room a little, so that a page is not ragged at the right,
    // but not so far that their fields stand lost in wide boxes.
    std::vector<int> width(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        width[c] = split.columnWidths[c] + std::min(spare, split.columnWidths[c] / kMaxWiden);
    }
    std::vector<int> left(static_cast<std::size_t>(columns), area.left());
    for (int c = 1; c < columns; ++c)
        left[c] = left[c - 1] + width[c - 1] + spacing_;
    std::vector<int> top(static_cast<std::size_t>(columns), area.top());
    for (int i = 0; i < items_.size(); ++i) {
        const int c = split.column[static_cast<std::size_t>(i)];
        const int height = items_[i]->sizeHint().height();
        items_[i]->setGeometry(QRect(left[c], top[c], width[c], height));
        top[c] += height + spacing_;
    }
}

}  // namespace vk::gui
