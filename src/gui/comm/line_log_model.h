#pragma once

#include <QAbstractListModel>

namespace vk {
class LineLog;
}

namespace vk::gui {

// Shows a core line log in a list view, newest line on top. The log keeps the lines and
// its own bound; the model only follows it.
class LineLogModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LineLogModel(LineLog& log, QObject* parent = nullptr);
    ~LineLogModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void OnAdded();
    void OnCleared();

    LineLog& log_;
    int rows_ = 0;
};

}  // namespace vk::gui
