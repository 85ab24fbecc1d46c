#include <algorithm>

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/pages/page_info.h"
#include "gui/pages/page_table.h"
#include "gui/pages/row_info.h"
#include "gui/widgets/column_flow_layout.h"
#include "gui/widgets/fitting_scroll_area.h"
#include "gui/widgets/param_widgets.h"

namespace vk::gui {
namespace {

constexpr int kColumnSpacing = 10;
// Widest a form field grows; a wider box leaves room at the right instead.
constexpr int kMaxFieldWidth = 220;
constexpr int kMaxMultiFieldWidth = 340;
constexpr const char* kRowLabel = "rowLabel";
constexpr int kMaxColumns = 4;

void Tag(QWidget* widget, int controlId) {
    if (controlId == 0) return;
    widget->setProperty("controlId", controlId);
    widget->setObjectName(QStringLiteral("ctl%1").arg(controlId));
}

QString ToolTip(const std::string& label, int controlId) {
    QString tip = QString::fromStdString(label);
    if (const ControlEntry* row = RowOfControl(controlId)) {
        tip += QStringLiteral("\n") + QString::fromStdString(MnemonicOf(*row));
        const std::string range = RangeText(*row);
        if (!range.empty()) tip += QStringLiteral(", ") + QString::fromStdString(range);
        // A save leaves it out and a load does not set it: the user should not count on it.
        if (row->controlKind != ControlKind::Button && row->commandId != kNoCommand &&
            row->inSettingFile != 1) {
            tip += QStringLiteral("\nNot kept in setting files.");
        }
    }
    return tip;
}

QWidget* MakeRadioGroup(const Cell& cell, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    const ItemList& captions = *cell.items;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(captions[i].text), box);
        if (i == 0) {
            Tag(button, cell.controlId);
        } else {
            button->setProperty("radioGroup", cell.controlId);
            button->setObjectName(QStringLiteral("ctl%1_%2").arg(cell.controlId).arg(i));
        }
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return box;
}

QWidget* MakeCell(const Cell& cell, const std::string& label, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (cell.kind) {
        case WidgetKind::Check:
            widget = new QCheckBox(parent);
            break;
        case WidgetKind::Radio:
            return MakeRadioGroup(cell, parent);
        case WidgetKind::Combo: {
            auto* box = new ParamComboBox(parent);
            for (const ComboItem& item : *cell.items) {
                if (item.value == kNoItemData) {
                    box->addItem(QString::fromUtf8(item.text));
                } else {
                    box->addItem(QString::fromUtf8(item.text), item.value);
                }
            }
            // A list the camera's value picks from shows nothing until that value is known.
            if (!cell.items->empty() && cell.items->front().value != kNoItemData) {
                box->setCurrentIndex(-1);
            }
            widget = box;
            break;
        }
        case WidgetKind::Spin: {
            auto* spin = new ParamSpinBox(parent);
            int minimum = 0;
            int maximum = 0;
            if (const ControlEntry* row = RowOfControl(cell.controlId)) {
                minimum = row->minimum;
                maximum = row->maximum;
            }
            spin->setUserRange(minimum, maximum);
            widget = spin;
            break;
        }
        case WidgetKind::Button: {
            auto* button = new QPushButton(QString::fromUtf8(cell.text), parent);
            button->setAutoDefault(false);
            button->setEnabled(false);  // until its action is available
            widget = button;
            break;
        }
        case WidgetKind::Display:
        case WidgetKind::Text: {
            auto* edit = new QLineEdit(parent);
            if (cell.kind == WidgetKind::Display) {
                edit->setReadOnly(true);
                edit->setFocusPolicy(Qt::ClickFocus);
                QPalette palette = edit->palette();
                palette.setColor(QPalette::Base, palette.color(QPalette::Window));
                edit->setPalette(palette);
                if (cell.text) edit->setObjectName(QString::fromUtf8(cell.text));
            }
            widget = edit;
            break;
        }
    }
    Tag(widget, cell.controlId);
    widget->setAccessibleName(QString::fromStdString(label));
    widget->setToolTip(ToolTip(label, cell.controlId));
    return widget;
}

QLabel* MakeLabel(const std::string& text, QWidget* parent) {
    return new QLabel(QString::fromUtf8(text.c_str()), parent);
}

// A label in the first column of a form; a page gives them all one width, so that
// the fields of its groups line up.
QLabel* MakeRowLabel(const std::string& text, QWidget* parent) {
    QLabel* label = MakeLabel(text, parent);
    label->setProperty(kRowLabel, true);
    return label;
}

void AddForm(const Section& section, QVBoxLayout* groupLayout, QWidget* parent) {
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (const TableRow& row : section.rows) {
        QWidget* field = nullptr;
        QString tip;
        const bool onlyButtons = std::all_of(row.cells.begin(), row.cells.end(), [](const Cell& c) {
            return c.kind == WidgetKind::Button;
        });
        if (row.cells.size() == 1 && !onlyButtons) {
            field = MakeCell(row.cells[0], CellLabel(row, section, 0, row.cells[0]), parent);
            tip = field->toolTip();
            if (row.cells[0].kind != WidgetKind::Radio) field->setMaximumWidth(kMaxFieldWidth);
        } else {
            field = new QWidget(parent);
            auto* line = new QHBoxLayout(field);
            line->setContentsMargins(0, 0, 0, 0);
            for (std::size_t c = 0; c < row.cells.size(); ++c) {
                const Cell& cell = row.cells[c];
                QWidget* widget = MakeCell(cell, CellLabel(row, section, c, cell), field);
                if (tip.isEmpty()) tip = widget->toolTip();
                line->addWidget(widget, cell.kind == WidgetKind::Button ? 0 : 1);
            }
            if (onlyButtons) {
                line->addStretch(1);
            } else {
                field->setMaximumWidth(kMaxMultiFieldWidth);
            }
        }
        if (row.label.empty() && onlyButtons) {
            // Buttons line up with the fields, not with the labels.
            form->addRow(MakeRowLabel("", parent), field);
        } else if (row.label.empty()) {
            form->addRow(field);
        } else {
            QLabel* label = MakeRowLabel(row.label, parent);
            label->setToolTip(tip);
            label->setBuddy(field);
            form->addRow(label, field);
        }
    }
    groupLayout->addLayout(form);
}

void AddGrid(const Section& section, QVBoxLayout* groupLayout, QWidget* parent) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    for (std::size_t c = 0; c < section.columns.size(); ++c) {
        auto* header = MakeLabel(section.columns[c], parent);
        header->setAlignment(Qt::AlignCenter);
        grid->addWidget(header, 0, static_cast<int>(c) + 1);
        grid->setColumnStretch(static_cast<int>(c) + 1, 1);
    }
    int r = 1;
    for (const TableRow& row : section.rows) {
        grid->addWidget(MakeLabel(row.label, parent), r, 0);
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const Cell& cell = row.cells[c];
            if (cell.controlId == 0) continue;
            QWidget* widget = MakeCell(cell, CellLabel(row, section, c, cell), parent);
            const Qt::Alignment align =
                cell.kind == WidgetKind::Check ? Qt::AlignCenter : Qt::Alignment();
            grid->addWidget(widget, r, static_cast<int>(c) + 1, align);
        }
        ++r;
    }
    groupLayout->addLayout(grid);
}

QGroupBox* BuildGroup(const GroupLayout& spec, QWidget* parent) {
    auto* group = new QGroupBox(QString::fromUtf8(spec.caption), parent);
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(6);
    for (const Section& section : spec.sections) {
        if (section.caption) {
            auto* caption = new QLabel(QString::fromUtf8(section.caption), group);
            QFont font = caption->font();
            font.setBold(true);
            caption->setFont(font);
            caption->setContentsMargins(0, 4, 0, 0);
            layout->addWidget(caption);
        }
        if (section.columns.empty()) {
            AddForm(section, layout, group);
        } else {
            AddGrid(section, layout, group);
        }
    }
    return group;
}

}  // namespace

void BuildPage(int pageIndex, QWidget* page) {
    const PageLayout& spec = PageTable().at(static_cast<std::size_t>(pageIndex));

    auto* scroll = new FittingScrollArea(page);
    scroll->setFrameShape(QFrame::NoFrame);
    // Only the controls take the focus: Tab goes from the tab bar straight to the first one.
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("pageContent"));

    // Groups are made in table order, which is also the focus order; the columns keep it.
    auto* columns = new ColumnFlowLayout(content, kColumnSpacing, kMaxColumns);
    columns->setContentsMargins(8, 8, 8, 8);
    for (const GroupLayout& group : spec.groups) {
        columns->addWidget(BuildGroup(group, content));
    }

    int labelWidth = 0;
    const auto labels = content->findChildren<QLabel*>();
    for (const QLabel* label : labels) {
        if (label->property(kRowLabel).toBool()) {
            labelWidth = std::max(labelWidth, label->sizeHint().width());
        }
    }
    for (QLabel* label : labels) {
        if (label->property(kRowLabel).toBool()) label->setMinimumWidth(labelWidth);
    }
    scroll->setWidget(content);

    QLayout* layout = page->layout();
    if (!layout) {
        layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(scroll);
}

}  // namespace vk::gui
