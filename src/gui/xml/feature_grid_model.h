#pragma once

#include <QAbstractItemModel>
#include <QString>
#include <optional>
#include <vector>

#include "core/genicam/feature_table.h"
#include "core/genicam/feature_value.h"
#include "core/genicam/register_port.h"

namespace vk::gui {

// The feature table as a two-level tree: a section per category, an item per feature with
// its name and value. Values are read and written through the register port it is given;
// a write happens as soon as the value cell is changed, and an item whose write or read
// failed says so until its next success.
class FeatureGridModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { NameColumn, ValueColumn, ColumnCount };
    enum Role {
        KindRole = Qt::UserRole + 1,  // FeatureKind, as int
        MinimumRole,                  // the feature's limits (double)
        MaximumRole,
        EntryNamesRole,  // QStringList of an enumeration's entries
        LengthRole,      // the register length in bytes
        FailedRole,      // true while the last transfer failed
    };

    explicit FeatureGridModel(QObject* parent = nullptr);

    void SetTable(FeatureTable table);
    const FeatureTable& Table() const { return table_; }
    // Not owned; null: values cannot be read or written.
    void SetPort(RegisterPort* port) { port_ = port; }

    // The value cell of a feature record, invalid for a category or a record out of range.
    QModelIndex ValueIndex(int record) const;
    // The record an index shows; -1 for a section.
    int RecordOf(const QModelIndex& index) const;
    int SectionCount() const { return static_cast<int>(sections_.size()); }

    // Reads one feature's register and shows its value; false (and the item marked) when
    // the read failed.
    bool ReadRecord(int record);
    void ShowValue(int record, const FeatureValue& value);
    void ShowFailure(int record, const QString& reason);
    std::optional<FeatureValue> ShownValue(int record) const;
    QString Failure(int record) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Section {
        int record = -1;  // the category record; -1 for features before any category
        std::vector<int> features;
    };
    struct ItemState {
        std::optional<FeatureValue> value;
        QString failure;
    };

    QVariant SectionData(const Section& section, int column, int role) const;
    QVariant FeatureData(int record, int column, int role) const;
    std::optional<FeatureValue> FromVariant(const FeatureRecord& record,
                                            const QVariant& value) const;
    void RowChanged(int record);

    FeatureTable table_;
    std::vector<Section> sections_;
    std::vector<ItemState> states_;             // by record
    std::vector<std::pair<int, int>> placeOf_;  // by record: section and row; -1 for categories
    RegisterPort* port_ = nullptr;
};

}  // namespace vk::gui
