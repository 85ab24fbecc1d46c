#pragma once

#include <QAbstractListModel>
#include <QTimer>
#include <cstdint>

#include "core/comm/line_log.h"

namespace vk::gui {

// Shows a core line log in a list view, newest line on top. The log keeps the lines and
// its own bound; the model follows it in batches (a line a millisecond must not cost a
// view update each), catching up at most every kBatchMs.
class LineLogModel : public QAbstractListModel, private LineLogObserver {
    Q_OBJECT
public:
    static constexpr int kBatchMs = 40;

    explicit LineLogModel(LineLog& log, QObject* parent = nullptr);
    ~LineLogModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Brings the rows up to the log now instead of at the next batch.
    void CatchUp();

private:
    void OnLineAdded(const std::string& line) override;
    void OnCleared() override;

    LineLog& log_;
    int rows_ = 0;
    std::uint64_t seen_ = 0;  // the log's TotalAdded() that the rows show
    QTimer batch_;
};

}  // namespace vk::gui
