#pragma once

#include <limits>
#include <string>
#include <vector>

#include "gui/pages/page_info.h"

namespace vk::gui {

// What a page widget is; the first five carry a control-table row or an action.
enum class WidgetKind {
    Check,    // check box
    Radio,    // radio-button group, standing under its first button's id
    Combo,    // drop-down list; item data = camera value
    Spin,     // numeric edit with spin
    Button,   // push button that starts an action
    Display,  // read-only field an action or a combined value writes into
    Text,     // free text field an action reads
};

const char* KindName(WidgetKind kind);

struct ComboItem {
    const char* text;
    int value;  // what the camera holds when the item is selected
};
// The value of an item that carries no item data (a list of texts only).
inline constexpr int kNoItemData = std::numeric_limits<int>::min();
using ItemList = std::vector<ComboItem>;

struct Cell {
    int controlId = 0;  // 0 only for displays that carry a name instead
    WidgetKind kind = WidgetKind::Display;
    const ItemList* items = nullptr;  // combo items, or radio-button captions
    const char* text = nullptr;       // button caption, or object name of an id-less display
};

// A labelled line of a form, or one line of a grid (one cell per column; id 0 leaves the
// grid cell empty).
struct TableRow {
    std::string label;
    std::vector<Cell> cells;
};

// A run of rows in a group under an optional sub-caption: a form, or a grid when it has
// column headers.
struct Section {
    const char* caption = nullptr;
    std::vector<std::string> columns;
    std::vector<TableRow> rows;
};

struct GroupLayout {
    const char* caption;
    std::vector<Section> sections;
};

struct PageLayout {
    PageInfo info;
    std::vector<GroupLayout> groups;
};

// The nine pages with every control, in page, group and visual order.
const std::vector<PageLayout>& PageTable();

// The label of one cell: the row label, with the column header in a grid and the caption
// of a button.
std::string CellLabel(const TableRow& row, const Section& section, std::size_t column,
                      const Cell& cell);

// One control of the pages with where it stands; the flat view for listings and checks.
struct PlacedControl {
    int page;
    const char* group;
    std::string label;
    Cell cell;
};
std::vector<PlacedControl> PlacedControls();

}  // namespace vk::gui
