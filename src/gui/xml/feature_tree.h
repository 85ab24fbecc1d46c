#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "core/genicam/node_map.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vk {
class OperationRunner;
class RegisterPort;
}  // namespace vk

namespace vk::gui {

// A description's node map as a tree of categories with columns name, value and unit.
// Values are read as their category opens; a value is changed with an editor fitting its
// kind and representation; features that cannot be read or written are greyed with the
// reason in their tooltip. Visibility and a search box filter the tree. What the node map
// noted while it was built (nodes skipped, limits reached, missing references) is counted
// under the tree and listed on request.
class FeatureTree : public QWidget {
    Q_OBJECT
public:
    enum Column { kName, kValue, kUnit };

    explicit FeatureTree(QWidget* parent = nullptr);

    // Shows `map`; its values are read and written through `port` (each access an
    // operation of its own).
    void SetMap(std::unique_ptr<genicam::NodeMap> map, RegisterPort* port);
    genicam::NodeMap* Map() const { return map_.get(); }
    QTreeWidget* Tree() const { return tree_; }
    QComboBox* VisibilityFilter() const { return visibility_; }
    QLineEdit* SearchBox() const { return search_; }
    QPushButton* NotesButton() const { return notesButton_; }
    QListWidget* NotesList() const { return notes_; }

    // Reads every readable feature inside one operation of `runner`, reading through
    // `inside` (a port for use inside a running operation), with progress and Cancel.
    void ReadAll(OperationRunner& runner, RegisterPort& inside);
    // Re-reads one feature's row (and the rows a selector selects); true when it read.
    bool Refresh(QTreeWidgetItem* item);
    QTreeWidgetItem* ItemOf(const QString& name) const;
    // Sets a feature from text as its editor would and re-reads what depends on it.
    bool SetValue(const QString& name, const QString& text, QString* reason = nullptr);

private:
    void Build();
    void AddChildren(QTreeWidgetItem* parent, const genicam::Node& category, int depth);
    QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const genicam::Node& node);
    void ShowAccess(QTreeWidgetItem* item, const genicam::Node& node);
    void ReadChildren(QTreeWidgetItem* category);
    void Edit(QTreeWidgetItem* item);
    void ApplyFilter();
    void ShowNotes();
    const genicam::Node* NodeOf(const QTreeWidgetItem* item) const;

    std::unique_ptr<genicam::NodeMap> map_;
    RegisterPort* port_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QComboBox* visibility_ = nullptr;
    QLineEdit* search_ = nullptr;
    QPushButton* notesButton_ = nullptr;
    QListWidget* notes_ = nullptr;
};

}  // namespace vk::gui
