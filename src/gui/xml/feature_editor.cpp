#include "gui/xml/feature_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <algorithm>
#include <climits>

#include "core/genicam/node_kinds.h"
#include "core/protocol/printable.h"

namespace vk::gui {
namespace {

using genicam::IntLimits;
using genicam::Kind;

// Up and Down step the value by the increment, kept inside the limits.
class HexEdit : public QLineEdit {
public:
    HexEdit(const QString& text, IntLimits limits, QWidget* parent)
        : QLineEdit(text, parent), limits_(limits) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int dir = event->key() == Qt::Key_Up ? 1 : event->key() == Qt::Key_Down ? -1 : 0;
        const std::optional<std::int64_t> now = genicam::ParseInt(text().toStdString());
        if (dir == 0 || !now) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        const auto inc = static_cast<std::uint64_t>(std::max<std::int64_t>(limits_.inc, 1));
        const auto u = [](std::int64_t v) { return static_cast<std::uint64_t>(v); };
        // The highest value on a step; differences taken unsigned so nothing overflows.
        const auto top = static_cast<std::int64_t>(u(limits_.min) +
                                                   (u(limits_.max) - u(limits_.min)) / inc * inc);
        const std::int64_t at = std::clamp(*now, limits_.min, top);
        std::int64_t next = at;
        if (dir > 0) next = u(top) - u(at) < inc ? top : static_cast<std::int64_t>(u(at) + inc);
        if (dir < 0) {
            next =
                u(at) - u(limits_.min) < inc ? limits_.min : static_cast<std::int64_t>(u(at) - inc);
        }
        setText(HexText(next));
    }

private:
    IntLimits limits_;
};

QLineEdit* HexEditor(QWidget* parent, const IntLimits& l, const QString& current) {
    auto* line = new HexEdit(current, l, parent);
    line->setValidator(
        new QRegularExpressionValidator(QRegularExpression("-?0[xX][0-9A-Fa-f]{1,16}"), line));
    line->setToolTip(QObject::tr("Hexadecimal, %1 to %2 in steps of %3")
                         .arg(HexText(l.min), HexText(l.max), HexText(l.inc)));
    return line;
}

}  // namespace

QString HexText(std::int64_t value) {
    const auto magnitude =
        value < 0 ? 0 - static_cast<qulonglong>(value) : static_cast<qulonglong>(value);
    return QString(value < 0 ? "-0x" : "0x") + QString::number(magnitude, 16).toUpper();
}

QWidget* MakeFeatureEditor(QWidget* parent, genicam::NodeMap& map, const genicam::Node& node,
                           const QString& current, std::function<void(const QString&)> commit) {
    if (const auto* e = dynamic_cast<const genicam::EnumerationNode*>(&node)) {
        auto* box = new QComboBox(parent);
        for (const genicam::EnumEntry* entry : e->Entries(map.Eval())) {
            const std::string symbolic = genicam::EnumerationNode::Symbolic(node, *entry);
            box->addItem(QString::fromStdString(
                             Printable(entry->displayName.empty() ? symbolic : entry->displayName)),
                         QString::fromStdString(symbolic));
        }
        box->setCurrentIndex(box->findData(current));
        QObject::connect(box, &QComboBox::activated, box,
                         [box, commit](int i) { commit(box->itemData(i).toString()); });
        return box;
    }
    if (node.GetKind() == Kind::Boolean) {
        auto* check = new QCheckBox(parent);
        check->setChecked(current == "true");
        QObject::connect(check, &QCheckBox::toggled, check,
                         [commit](bool on) { commit(on ? "true" : "false"); });
        return check;
    }
    const genicam::Got<IntLimits> l =
        node.GetKind() == Kind::Integer ? node.Limits(map.Eval()) : genicam::Got<IntLimits>{};
    if (l && node.Representation() == "Linear" && l.value->min >= INT_MIN &&
        l.value->max <= INT_MAX) {
        auto* slider = new QSlider(Qt::Horizontal, parent);
        slider->setRange(static_cast<int>(l.value->min), static_cast<int>(l.value->max));
        slider->setSingleStep(static_cast<int>(std::clamp<std::int64_t>(l.value->inc, 1, INT_MAX)));
        slider->setValue(current.toInt());
        QObject::connect(slider, &QSlider::sliderReleased, slider,
                         [slider, commit] { commit(QString::number(slider->value())); });
        return slider;
    }
    QLineEdit* line = l && node.Representation() == "HexNumber"
                          ? HexEditor(parent, *l.value, current)
                          : new QLineEdit(current, parent);
    QObject::connect(line, &QLineEdit::editingFinished, line, [line, commit] {
        if (line->hasAcceptableInput()) commit(line->text());
    });
    return line;
}

}  // namespace vk::gui
