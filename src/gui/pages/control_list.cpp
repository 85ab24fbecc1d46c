#include "gui/pages/control_list.h"

#include "gui/pages/page_table.h"

namespace vk::gui {

void PrintControlList(std::ostream& out) {
    const auto& pages = PageInfos();
    for (const PlacedControl& control : PlacedControls()) {
        out << pages.at(static_cast<std::size_t>(control.page)).title << '\t' << control.group
            << '\t' << control.cell.controlId << '\t' << KindName(control.cell.kind) << '\t'
            << control.label << '\n';
    }
}

void PrintItemList(std::ostream& out) {
    for (const PlacedControl& control : PlacedControls()) {
        const Cell& cell = control.cell;
        if (!cell.items || (cell.kind != WidgetKind::Combo && cell.kind != WidgetKind::Radio)) {
            continue;
        }
        for (std::size_t i = 0; i < cell.items->size(); ++i) {
            const ComboItem& item = (*cell.items)[i];
            if (cell.kind == WidgetKind::Combo && item.value == kNoItemData) continue;
            const int value = cell.kind == WidgetKind::Radio ? static_cast<int>(i) : item.value;
            out << cell.controlId << '\t' << value << '\t' << item.text << '\n';
        }
    }
}

}  // namespace vk::gui
