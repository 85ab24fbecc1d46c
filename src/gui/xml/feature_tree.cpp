#include "gui/xml/feature_tree.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/genicam/feature_rows.h"
#include "core/genicam/node_kinds.h"
#include "core/operation_runner.h"
#include "core/protocol/printable.h"
#include "gui/xml/feature_editor.h"

namespace vk::gui {
namespace {

using genicam::Access;
using genicam::Kind;

constexpr int kNameRole = Qt::UserRole + 1;
constexpr int kReadRole = Qt::UserRole + 2;  // the value was read once
constexpr int kMaxDepth = 32;
constexpr const char* kReadAllText = "Reading every feature of the description.";

// Texts of a description are shown escaped, as everywhere else.
QString Shown(const std::string& text) {
    return QString::fromStdString(Printable(text));
}

bool Readable(Access a) {
    return a == Access::RO || a == Access::RW;
}

bool Writable(Access a) {
    return a == Access::WO || a == Access::RW;
}

}  // namespace

FeatureTree::FeatureTree(QWidget* parent) : QWidget(parent) {
    visibility_ = new QComboBox(this);
    visibility_->setObjectName("featureVisibility");
    visibility_->addItems({tr("Beginner"), tr("Expert"), tr("Guru")});
    search_ = new QLineEdit(this);
    search_->setObjectName("featureSearch");
    search_->setPlaceholderText(tr("Search"));
    search_->setClearButtonEnabled(true);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName("featureTree");
    tree_->setColumnCount(3);
    tree_->setHeaderLabels({tr("Name"), tr("Value"), tr("Unit")});
    tree_->header()->setSectionResizeMode(kName, QHeaderView::Interactive);
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(kValue, QHeaderView::Stretch);
    tree_->setColumnWidth(kName, 220);
    tree_->setAlternatingRowColors(true);

    notesButton_ = new QPushButton(this);
    notesButton_->setObjectName("featureNotes");
    notesButton_->setCheckable(true);
    notesButton_->setFlat(true);
    notes_ = new QListWidget(this);
    notes_->setObjectName("featureNoteList");
    notes_->setWordWrap(true);
    notes_->setMaximumHeight(120);

    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(tr("Visibility"), this));
    filters->addWidget(visibility_);
    filters->addWidget(search_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(filters);
    layout->addWidget(tree_, 1);
    layout->addWidget(notesButton_, 0, Qt::AlignLeft);
    layout->addWidget(notes_);
    ShowNotes();

    connect(notesButton_, &QPushButton::toggled, notes_, &QWidget::setVisible);
    connect(visibility_, &QComboBox::currentIndexChanged, this, [this] { ApplyFilter(); });
    connect(search_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
    connect(tree_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* i) { ReadChildren(i); });
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { Edit(item); });
}

void FeatureTree::SetMap(std::unique_ptr<genicam::NodeMap> map, RegisterPort* port) {
    map_ = std::move(map);
    port_ = port;
    if (map_) map_->SetPort(port_);
    Build();
    ShowNotes();
}

void FeatureTree::ShowNotes() {
    notes_->clear();
    const std::vector<std::string> none;
    const std::vector<std::string>& notes = map_ ? map_->Notes() : none;
    for (const std::string& note : notes)
        notes_->addItem(Shown(note));
    notesButton_->setText(notes.size() == 1 ? tr("1 note on the description")
                                            : tr("%1 notes on the description").arg(notes.size()));
    notesButton_->setToolTip(tr("What was skipped or cut while the description was read"));
    notesButton_->setChecked(false);
    notesButton_->setVisible(!notes.empty());
    notes_->setVisible(false);
}

const genicam::Node* FeatureTree::NodeOf(const QTreeWidgetItem* item) const {
    if (!map_ || item == nullptr) return nullptr;
    return map_->Find(item->data(kName, kNameRole).toString().toStdString());
}

void FeatureTree::Build() {
    tree_->clear();
    if (!map_) return;
    const genicam::Node* root = map_->Root();
    if (root == nullptr) return;
    AddChildren(tree_->invisibleRootItem(), *root, 0);
    ApplyFilter();
}

void FeatureTree::AddChildren(QTreeWidgetItem* parent, const genicam::Node& category, int depth) {
    if (depth > kMaxDepth) return;  // a looping tree stops here
    for (const genicam::Node* node : map_->Features(category)) {
        QTreeWidgetItem* item = AddItem(parent, *node);
        if (node->GetKind() == Kind::Category) AddChildren(item, *node, depth + 1);
    }
}

QTreeWidgetItem* FeatureTree::AddItem(QTreeWidgetItem* parent, const genicam::Node& node) {
    auto* item = new QTreeWidgetItem(parent);
    item->setText(kName, Shown(node.DisplayName()));
    item->setData(kName, kNameRole, QString::fromStdString(node.Name()));
    item->setText(kUnit, Shown(node.Unit()));
    QString tip = Shown(node.Name());
    for (const char* text : {"ToolTip", "Description"}) {
        if (const std::string t = node.Text(text); !t.empty()) tip += "\n" + Shown(t);
    }
    item->setToolTip(kName, tip);
    if (node.GetKind() == Kind::Category) {
        QFont bold = item->font(kName);
        bold.setBold(true);
        item->setFont(kName, bold);
        item->setFlags(Qt::ItemIsEnabled);
        return item;
    }
    if (node.GetKind() == Kind::Command) {
        auto* run = new QPushButton(tr("Execute"), tree_);
        run->setObjectName(QString::fromStdString("execute" + node.Name()));
        connect(run, &QPushButton::clicked, this, [this, item] {
            const genicam::Node* n = NodeOf(item);
            if (n == nullptr) return;
            const genicam::Done done = genicam::ExecuteFeature(*map_, *n);
            ShowAccess(item, *n);
            if (!done) item->setToolTip(kValue, Shown(done.reason));
        });
        tree_->setItemWidget(item, kValue, run);
    }
    return item;
}

void FeatureTree::ShowAccess(QTreeWidgetItem* item, const genicam::Node& node) {
    std::string reason;
    const Access access = node.GetAccess(map_->Eval(), &reason);
    const bool usable = access > Access::NA;
    // The default colour for what can be changed; the window may be disabled right now (an
    // operation runs), so its current colours are not asked for.
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (int c : {kName, kValue, kUnit}) {
        if (usable && Writable(access)) {
            item->setData(c, Qt::ForegroundRole, QVariant());
        } else {
            item->setForeground(c, grey);
        }
    }
    QString tip = QStringLiteral("%1 (%2)").arg(Shown(node.Name()), genicam::AccessName(access));
    if (!reason.empty()) tip += "\n" + Shown(reason);
    item->setToolTip(kValue, tip);
    if (QWidget* w = tree_->itemWidget(item, kValue)) w->setEnabled(usable && Writable(access));
}

bool FeatureTree::Refresh(QTreeWidgetItem* item) {
    const genicam::Node* node = NodeOf(item);
    if (node == nullptr || node->GetKind() == Kind::Category) return false;
    ShowAccess(item, *node);
    item->setData(kName, kReadRole, true);
    if (node->GetKind() == Kind::Command) return true;
    if (!Readable(node->GetAccess(map_->Eval()))) {
        item->setText(kValue, {});
        return false;
    }
    const genicam::Got<std::string> v = genicam::FeatureText(*map_, *node);
    QString shown = v ? Shown(*v) : tr("(%1)").arg(Shown(v.reason));
    if (v && node->Representation() == "HexNumber") {
        if (const auto n = genicam::ParseInt(*v)) shown = HexText(*n);
    }
    item->setText(kValue, shown);
    return v.value.has_value();
}

void FeatureTree::ReadChildren(QTreeWidgetItem* category) {
    for (int i = 0; i < category->childCount(); ++i) {
        QTreeWidgetItem* child = category->child(i);
        if (!child->data(kName, kReadRole).toBool() && !child->isHidden()) Refresh(child);
    }
}

QTreeWidgetItem* FeatureTree::ItemOf(const QString& name) const {
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        if ((*it)->data(kName, kNameRole).toString() == name) return *it;
    }
    return nullptr;
}

bool FeatureTree::SetValue(const QString& name, const QString& text, QString* reason) {
    QTreeWidgetItem* item = ItemOf(name);
    const genicam::Node* node = NodeOf(item);
    if (node == nullptr) return false;
    const genicam::Done done = genicam::SetFeatureText(*map_, *node, text.toStdString());
    if (!done && reason != nullptr) *reason = Shown(done.reason);
    Refresh(item);
    // A selector picks other registers: what it selects is read again.
    for (const genicam::Node* selected : map_->Selected(*node)) {
        if (QTreeWidgetItem* other = ItemOf(QString::fromStdString(selected->Name())))
            Refresh(other);
    }
    return done.value.has_value();
}

void FeatureTree::Edit(QTreeWidgetItem* item) {
    const genicam::Node* node = NodeOf(item);
    if (node == nullptr || node->GetKind() == Kind::Category || node->GetKind() == Kind::Command ||
        !Writable(node->GetAccess(map_->Eval()))) {
        return;
    }
    const QString name = QString::fromStdString(node->Name());
    const auto commit = [this, name](const QString& text) {
        QString reason;
        if (!SetValue(name, text, &reason) && !reason.isEmpty()) {
            if (QTreeWidgetItem* i = ItemOf(name)) i->setToolTip(kValue, reason);
        }
        if (QTreeWidgetItem* i = ItemOf(name)) tree_->removeItemWidget(i, kValue);
    };
    QWidget* editor = MakeFeatureEditor(tree_, *map_, *node, item->text(kValue), commit);
    editor->setObjectName("featureEditor");
    tree_->setItemWidget(item, kValue, editor);
    editor->setFocus();
}

void FeatureTree::ApplyFilter() {
    const int level = visibility_->currentIndex();
    const QString words = search_->text().trimmed();
    // Bottom up: a category shows while any of its features does.
    std::function<bool(QTreeWidgetItem*)> show = [&](QTreeWidgetItem* item) {
        const genicam::Node* node = NodeOf(item);
        bool visible = false;
        if (node != nullptr && node->GetKind() == Kind::Category) {
            for (int i = 0; i < item->childCount(); ++i)
                visible = show(item->child(i)) || visible;
        } else if (node != nullptr) {
            const auto v = static_cast<int>(node->GetVisibility());
            visible =
                v <= level &&
                (words.isEmpty() || item->text(kName).contains(words, Qt::CaseInsensitive) ||
                 item->data(kName, kNameRole).toString().contains(words, Qt::CaseInsensitive));
        }
        item->setHidden(!visible);
        return visible;
    };
    for (int i = 0; i < tree_->topLevelItemCount(); ++i)
        show(tree_->topLevelItem(i));
    if (!words.isEmpty()) tree_->expandAll();
}

void FeatureTree::ReadAll(OperationRunner& runner, RegisterPort& inside) {
    if (!map_) return;
    std::vector<QTreeWidgetItem*> items;
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        const genicam::Node* node = NodeOf(*it);
        if (node != nullptr && node->GetKind() != Kind::Category) items.push_back(*it);
    }
    map_->SetPort(&inside);
    map_->ClearCache();
    runner.Run({kReadAllText, true, true}, [&](Operation& operation) {
        const int total = static_cast<int>(items.size());
        for (int i = 0; i < total; ++i) {
            if (operation.Cancelled()) return ExchangeResult::Failure(ExchangeStatus::Cancelled);
            Refresh(items[static_cast<std::size_t>(i)]);
            operation.Step(i + 1, total);
        }
        return ExchangeResult::Success();
    });
    map_->SetPort(port_);
}

}  // namespace vk::gui
