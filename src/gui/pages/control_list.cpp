#include "pages/control_list.h"

#include "pages/page_table.h"

namespace vk::gui {

void PrintControlList(std::ostream& out) {
    const auto& pages = PageInfos();
    for (const PlacedControl& control : PlacedControls()) {
        out << pages.at(static_cast<std::size_t>(control.page)).title << '\t' << control.group
            << '\t' << control.cell.controlId << '\t' << KindName(control.cell.kind) << '\t'
            << control.label << '\n';
    }
}

}  // namespace vk::gui
