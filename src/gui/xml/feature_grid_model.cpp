#include "gui/xml/feature_grid_model.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QStyle>

namespace vk::gui {
namespace {

constexpr quintptr kSectionId = 0;  // internal id of a section row; a feature row has section+1

QString AccessText(const FeatureRecord& r) {
    if (r.Readable() && r.Writable()) return QStringLiteral("read/write");
    if (r.Writable()) return QStringLiteral("write only");
    if (r.Readable()) return QStringLiteral("read only");
    return QStringLiteral("no access");
}

QString Describe(const FeatureRecord& r) {
    QString text = QStringLiteral("%1 register at 0x%2, %3 bytes, %4")
                       .arg(QLatin1String(FeatureKindName(r.Kind())))
                       .arg(r.address, 0, 16)
                       .arg(r.length)
                       .arg(AccessText(r));
    if (r.Kind() == FeatureKind::Integer && r.min < r.max) {
        text += QStringLiteral("\nRange %1 to %2").arg(r.min, 0, 'f', 0).arg(r.max, 0, 'f', 0);
    }
    return text;
}

}  // namespace

FeatureGridModel::FeatureGridModel(QObject* parent) : QAbstractItemModel(parent) {}

void FeatureGridModel::SetTable(FeatureTable table) {
    beginResetModel();
    table_ = std::move(table);
    sections_.clear();
    states_.assign(table_.records.size(), {});
    placeOf_.assign(table_.records.size(), {-1, -1});
    for (std::size_t i = 0; i < table_.records.size(); ++i) {
        const int record = static_cast<int>(i);
        if (table_.records[i].IsCategory()) {
            sections_.push_back(Section{record, {}});
            continue;
        }
        if (sections_.empty()) sections_.push_back(Section{});
        Section& section = sections_.back();
        placeOf_[i] = {static_cast<int>(sections_.size()) - 1,
                       static_cast<int>(section.features.size())};
        section.features.push_back(record);
    }
    endResetModel();
}

QModelIndex FeatureGridModel::ValueIndex(int record) const {
    if (record < 0 || record >= static_cast<int>(placeOf_.size())) return {};
    const auto [section, row] = placeOf_[static_cast<std::size_t>(record)];
    if (section < 0) return {};
    return createIndex(row, ValueColumn, static_cast<quintptr>(section) + 1);
}

int FeatureGridModel::RecordOf(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == kSectionId) return -1;
    const Section& section = sections_[index.internalId() - 1];
    return section.features[static_cast<std::size_t>(index.row())];
}

bool FeatureGridModel::ReadRecord(int record) {
    const FeatureRecord& r = table_.records.at(static_cast<std::size_t>(record));
    if (!r.Readable()) return false;
    if (port_ == nullptr) {
        ShowFailure(record, tr("No camera connection"));
        return false;
    }
    const RegisterResult result = port_->Read(r.address, r.length);
    if (!result.ok()) {
        ShowFailure(record, QString::fromStdString(result.reason));
        return false;
    }
    ShowValue(record, ValueFromRegister(r, result.bytes));
    return true;
}

void FeatureGridModel::ShowValue(int record, const FeatureValue& value) {
    ItemState& state = states_.at(static_cast<std::size_t>(record));
    state.value = value;
    state.failure.clear();
    RowChanged(record);
}

void FeatureGridModel::ShowFailure(int record, const QString& reason) {
    states_.at(static_cast<std::size_t>(record)).failure = reason;
    RowChanged(record);
}

std::optional<FeatureValue> FeatureGridModel::ShownValue(int record) const {
    return states_.at(static_cast<std::size_t>(record)).value;
}

QString FeatureGridModel::Failure(int record) const {
    return states_.at(static_cast<std::size_t>(record)).failure;
}

void FeatureGridModel::RowChanged(int record) {
    const QModelIndex value = ValueIndex(record);
    if (!value.isValid()) return;
    emit dataChanged(value.siblingAtColumn(NameColumn), value);
}

QModelIndex FeatureGridModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= ColumnCount) return {};
    if (!parent.isValid()) {
        return row < SectionCount() ? createIndex(row, column, kSectionId) : QModelIndex();
    }
    if (parent.internalId() != kSectionId) return {};
    const Section& section = sections_[static_cast<std::size_t>(parent.row())];
    if (row >= static_cast<int>(section.features.size())) return {};
    return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex FeatureGridModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kSectionId) return {};
    return createIndex(static_cast<int>(child.internalId() - 1), NameColumn, kSectionId);
}

int FeatureGridModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return SectionCount();
    if (parent.internalId() != kSectionId || parent.column() != NameColumn) return 0;
    return static_cast<int>(sections_[static_cast<std::size_t>(parent.row())].features.size());
}

int FeatureGridModel::columnCount(const QModelIndex&) const {
    return ColumnCount;
}

QVariant FeatureGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (index.internalId() == kSectionId) {
        return SectionData(sections_[static_cast<std::size_t>(index.row())], index.column(), role);
    }
    return FeatureData(RecordOf(index), index.column(), role);
}

QVariant FeatureGridModel::SectionData(const Section& section, int column, int role) const {
    switch (role) {
        case Qt::DisplayRole:
            if (column != NameColumn) return {};
            return section.record < 0
                       ? tr("(no category)")
                       : QString::fromStdString(
                             table_.records[static_cast<std::size_t>(section.record)].displayName);
        case Qt::FontRole: {
            QFont font = QApplication::font();
            font.setBold(true);
            return font;
        }
        case Qt::BackgroundRole:
            return QApplication::palette().color(QPalette::Window).darker(106);
        default:
            return {};
    }
}

QVariant FeatureGridModel::FeatureData(int record, int column, int role) const {
    const FeatureRecord& r = table_.records[static_cast<std::size_t>(record)];
    const ItemState& state = states_[static_cast<std::size_t>(record)];
    const bool failed = !state.failure.isEmpty();
    switch (role) {
        case Qt::DisplayRole:
            if (column == NameColumn) return QString::fromStdString(r.displayName);
            if (r.Kind() == FeatureKind::Command) return tr("Execute");
            if (!state.value) return {};
            return QString::fromStdString(FormatFeatureValue(r, *state.value));
        case Qt::EditRole:
            if (column != ValueColumn || !state.value) return {};
            if (const auto* real = std::get_if<double>(&*state.value)) return *real;
            if (const auto* text = std::get_if<std::string>(&*state.value)) {
                return QString::fromStdString(*text);
            }
            return static_cast<qlonglong>(std::get<std::int64_t>(*state.value));
        case Qt::ToolTipRole:
            if (failed) return state.failure;
            return column == NameColumn ? Describe(r) : QVariant();
        case Qt::DecorationRole:
            if (column == NameColumn && failed) {
                return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            }
            return {};
        case Qt::BackgroundRole:
            if (failed) return QColor(255, 226, 222);
            return {};
        case Qt::ForegroundRole:
            if (column == ValueColumn && !r.Writable()) {
                return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
            }
            return {};
        case KindRole:
            return static_cast<int>(r.Kind());
        case MinimumRole:
            return r.min;
        case MaximumRole:
            return r.max;
        case EntryNamesRole: {
            QStringList names;
            for (const FeatureEntry& e : r.entries)
                names << QString::fromStdString(e.name);
            return names;
        }
        case LengthRole:
            return static_cast<int>(r.length);
        case FailedRole:
            return failed;
        default:
            return {};
    }
}

std::optional<FeatureValue> FeatureGridModel::FromVariant(const FeatureRecord& record,
                                                          const QVariant& value) const {
    bool ok = true;
    switch (record.Kind()) {
        case FeatureKind::Float: {
            // The camera keeps single precision; show what it will hold.
            const double real = static_cast<float>(value.toDouble(&ok));
            return ok ? std::optional<FeatureValue>(real) : std::nullopt;
        }
        case FeatureKind::Text:
            return FeatureValue{value.toString().toStdString()};
        case FeatureKind::Command:
            return FeatureValue{std::int64_t{0}};
        default: {
            const qlonglong number = value.toLongLong(&ok);
            return ok ? std::optional<FeatureValue>(std::int64_t{number}) : std::nullopt;
        }
    }
}

bool FeatureGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const int record = RecordOf(index);
    if (role != Qt::EditRole || index.column() != ValueColumn || record < 0) return false;
    const FeatureRecord& r = table_.records[static_cast<std::size_t>(record)];
    if (!r.Writable()) return false;
    const std::optional<FeatureValue> shown = FromVariant(r, value);
    const std::vector<std::uint8_t> bytes =
        shown ? RegisterBytesFor(r, *shown) : std::vector<std::uint8_t>{};
    if (bytes.empty()) {
        ShowFailure(record, tr("The value does not fit this feature"));
        return false;
    }
    if (port_ == nullptr) {
        ShowFailure(record, tr("No camera connection"));
        return false;
    }
    const RegisterResult result = port_->Write(r.address, bytes);
    if (!result.ok()) {
        ShowFailure(record, tr("Write failed: %1").arg(QString::fromStdString(result.reason)));
        return false;
    }
    if (r.Kind() == FeatureKind::Command) {
        ShowFailure(record, {});
    } else {
        ShowValue(record, *shown);
    }
    return true;
}

Qt::ItemFlags FeatureGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int record = RecordOf(index);
    if (record >= 0 && index.column() == ValueColumn &&
        table_.records[static_cast<std::size_t>(record)].Writable()) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

QVariant FeatureGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == NameColumn ? tr("Feature") : tr("Value");
}

}  // namespace vk::gui
