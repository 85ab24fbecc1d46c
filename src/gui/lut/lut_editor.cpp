#include "gui/lut/lut_editor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "gui/lut/curve_view.h"
#include "gui/res/pictures.h"
#include "gui/widgets/fitting_scroll_area.h"
#include "gui/widgets/tool_button.h"

namespace vk::gui {
namespace {

struct ChannelLook {
    const char* title;
    QColor colour;
};

const std::array<ChannelLook, 3> kLooks = {{
    {"LUT Setting for Red", QColor(255, 0, 0)},
    {"LUT Setting for Green", QColor(0, 255, 0)},
    {"LUT Setting for Blue", QColor(0, 0, 255)},
}};
constexpr const char* kMonochromeTitle = "LUT Setting for Monochrome";
constexpr std::array<const char*, 3> kCameraButtonTips = {
    "Reads this table from the camera.", "Writes this table into the camera.",
    "Writes this table into every table of the camera."};
constexpr const char* kOffline =
    "The camera does not answer (Offline): reconnect first (Settings > Reconnect, F5).";

constexpr const char* kUsageTexts[] = {
    "<< Add edit point >>\n  Left mouse click\n  on LUT line",
    "<< Delete edit point >>\n  Right mouse click\n  at edit point",
    "<< Move LUT line >>\n  Move with keeping left\n  mouse click on\n  edit point.",
};

const char* ModeText(lut::EditorMode mode) {
    switch (mode) {
        case lut::EditorMode::Edit:
            return "Edit Mode";
        case lut::EditorMode::View:
            return "View Mode";
    }
    return "Unknown Mode";
}

}  // namespace

LutEditor::LutEditor(int channel, QWidget* parent)
    : QDialog(parent), channel_(std::clamp(channel, 0, 2)) {
    setWindowTitle(kLooks[std::size_t(channel_)].title);
    setWindowIcon(ApplicationIcon());
    setSizeGripEnabled(true);

    view_ = new LutCurveView(editor_, kLooks[std::size_t(channel_)].colour, this);
    view_->setObjectName("lutGraph");
    connect(view_, &LutCurveView::edited, this, [this] {
        Refresh();
        emit tableEdited();
    });
    connect(this, &LutEditor::tableEdited, this, [this] { edited_ = true; });

    auto* side = new QVBoxLayout;
    side->addWidget(BuildModeGroup());
    side->addWidget(BuildOperationGroup());
    side->addWidget(BuildEditGroup());
    side->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addLayout(side);
    top->addWidget(view_, 1);

    // On a small or scaled screen the editor may be smaller than its content: it scrolls.
    auto* scroll = new FittingScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    layout_ = new QVBoxLayout(content);
    layout_->addLayout(top, 1);
    layout_->addWidget(BuildUsageGroup());
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    Refresh();
}

QWidget* LutEditor::BuildModeGroup() {
    auto* group = new QGroupBox("Current Mode Status", this);
    modeLabel_ = new QLabel(group);
    modeLabel_->setObjectName("modeLabel");
    modeLabel_->setAlignment(Qt::AlignCenter);
    QFont bold = modeLabel_->font();
    bold.setBold(true);
    modeLabel_->setFont(bold);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(modeLabel_);
    return group;
}

QWidget* LutEditor::BuildOperationGroup() {
    auto* group = new QGroupBox("Operation", this);
    auto* read = MakeButton("Read Table Data", "readTable", group);
    auto* write = MakeButton("Write Table Data", "writeTable", group);
    auto* writeAll =
        MakeButton("Write This Setting To All Other Color Tables", "writeAllTables", group);
    connect(read, &QPushButton::clicked, this, &LutEditor::readRequested);
    connect(write, &QPushButton::clicked, this, &LutEditor::writeRequested);
    connect(writeAll, &QPushButton::clicked, this, &LutEditor::writeAllRequested);
    cameraButtons_ = {read, write, writeAll};
    SetCameraOnline(false);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(read);
    layout->addWidget(write);
    layout->addWidget(writeAll);
    return group;
}

void LutEditor::SetCameraOnline(bool online) {
    for (std::size_t i = 0; i < cameraButtons_.size(); ++i) {
        cameraButtons_[i]->setEnabled(online);
        cameraButtons_[i]->setToolTip(online ? kCameraButtonTips[i]
                                             : QString(kCameraButtonTips[i]) + "\n" + kOffline);
    }
}

QWidget* LutEditor::BuildEditGroup() {
    auto* group = new QGroupBox("Change To Edit Mode", this);
    auto* clear = MakeButton("Clear Table Data", "clearTable", group);
    auto* convert = MakeButton("Convert Editable", "convertEditable", group);
    connect(clear, &QPushButton::clicked, this, &LutEditor::ClearTable);
    connect(convert, &QPushButton::clicked, this, &LutEditor::ConvertEditable);

    auto* countLabel = new QLabel("Edit Point\nCount To Add", group);
    pointCount_ = new QSpinBox(group);
    pointCount_->setObjectName("pointCount");
    pointCount_->setRange(lut::CurveEditor::kMinConvertPoints, lut::CurveEditor::kMaxConvertPoints);
    pointCount_->setValue(lut::CurveEditor::kDefaultConvertPoints);
    countLabel->setBuddy(pointCount_);

    auto* layout = new QGridLayout(group);
    layout->addWidget(clear, 0, 0, 1, 2);
    layout->addWidget(convert, 1, 0, 1, 2);
    layout->addWidget(countLabel, 2, 0);
    layout->addWidget(pointCount_, 2, 1);
    return group;
}

QWidget* LutEditor::BuildUsageGroup() {
    auto* group = new QGroupBox("Usage Descritption", this);
    auto* layout = new QHBoxLayout(group);
    for (const char* text : kUsageTexts) {
        auto* label = new QLabel(text, group);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        layout->addWidget(label, 1);
    }
    return group;
}

void LutEditor::ShowTable(const lut::Table& table) {
    editor_.ShowTable(table);
    edited_ = false;
    Refresh();
}

void LutEditor::SetMonochrome(bool monochrome) {
    setWindowTitle(monochrome ? kMonochromeTitle : kLooks[std::size_t(channel_)].title);
}

void LutEditor::AddFooter(QWidget* footer) {
    layout_->addWidget(footer);
}

void LutEditor::ClearTable() {
    editor_.Clear();
    Refresh();
    emit tableEdited();
}

void LutEditor::ConvertEditable() {
    editor_.ConvertEditable(pointCount_->value());
    Refresh();
    emit tableEdited();
}

void LutEditor::Refresh() {
    modeLabel_->setText(ModeText(editor_.Mode()));
    view_->update();
}

}  // namespace vk::gui
