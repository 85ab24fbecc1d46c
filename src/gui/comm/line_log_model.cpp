#include "comm/line_log_model.h"

#include "comm/line_log.h"

namespace vk::gui {

LineLogModel::LineLogModel(LineLog& log, QObject* parent)
    : QAbstractListModel(parent), log_(log), rows_(static_cast<int>(log.Size())) {
    log_.onAdded = [this](const std::string&) { OnAdded(); };
    log_.onCleared = [this] { OnCleared(); };
}

LineLogModel::~LineLogModel() {
    log_.onAdded = nullptr;
    log_.onCleared = nullptr;
}

int LineLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QVariant LineLogModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= log_.Size()) return {};
    return QString::fromStdString(log_.At(row));
}

void LineLogModel::OnAdded() {
    // The log already holds the new line at the top and may have dropped its oldest one.
    beginInsertRows({}, 0, 0);
    ++rows_;
    endInsertRows();
    const int size = static_cast<int>(log_.Size());
    if (rows_ > size) {
        beginRemoveRows({}, size, rows_ - 1);
        rows_ = size;
        endRemoveRows();
    }
}

void LineLogModel::OnCleared() {
    beginResetModel();
    rows_ = static_cast<int>(log_.Size());
    endResetModel();
}

}  // namespace vk::gui
