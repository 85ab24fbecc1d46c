#include "gui/comm/line_log_model.h"

namespace vk::gui {

LineLogModel::LineLogModel(LineLog& log, QObject* parent)
    : QAbstractListModel(parent),
      log_(log),
      rows_(static_cast<int>(log.Size())),
      seen_(log.TotalAdded()) {
    batch_.setSingleShot(true);
    batch_.setInterval(kBatchMs);
    connect(&batch_, &QTimer::timeout, this, &LineLogModel::CatchUp);
    log_.AddObserver(this);
}

LineLogModel::~LineLogModel() {
    log_.RemoveObserver(this);
}

int LineLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QVariant LineLogModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    // Lines added since the last batch sit above the rows shown; a row keeps its line.
    const auto row = static_cast<std::size_t>(index.row()) + (log_.TotalAdded() - seen_);
    if (row >= log_.Size()) return {};
    return QString::fromStdString(log_.At(row));
}

void LineLogModel::OnLineAdded(const std::string&) {
    if (!batch_.isActive()) batch_.start();
}

void LineLogModel::CatchUp() {
    batch_.stop();
    const int size = static_cast<int>(log_.Size());
    const std::uint64_t added = log_.TotalAdded() - seen_;
    seen_ = log_.TotalAdded();
    if (added == 0 && rows_ == size) return;
    if (added >= static_cast<std::uint64_t>(size)) {
        // Every row is new: one reset is cheaper than moving them all.
        beginResetModel();
        rows_ = size;
        endResetModel();
        return;
    }
    // The new lines are on top; the log may have dropped as many of its oldest.
    const int newRows = static_cast<int>(added);
    if (newRows > 0) {
        beginInsertRows({}, 0, newRows - 1);
        rows_ += newRows;
        endInsertRows();
    }
    if (rows_ > size) {
        beginRemoveRows({}, size, rows_ - 1);
        rows_ = size;
        endRemoveRows();
    }
}

void LineLogModel::OnCleared() {
    batch_.stop();
    beginResetModel();
    rows_ = static_cast<int>(log_.Size());
    seen_ = log_.TotalAdded();
    endResetModel();
}

}  // namespace vk::gui
