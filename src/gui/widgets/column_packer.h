#pragma once

#include <vector>

namespace vk::gui {

struct BoxSize {
    int width;
    int height;
};

struct ColumnSplit {
    std::vector<int> column;        // the column of each box
    std::vector<int> columnWidths;  // of the widest box in each column
    int width = 0;                  // of all columns with the spacing between them
    int height = 0;                 // of the tallest column
};

// Splits a run of boxes, in order, into side-by-side columns no wider together than
// `availableWidth`: the split whose tallest column is lowest, with the fewest columns on a
// tie. Boxes keep their order, so reading order runs down each column in turn. When not
// even one column fits, the result is one column.
ColumnSplit PackColumns(const std::vector<BoxSize>& boxes, int availableWidth, int spacing,
                        int maxColumns);

}  // namespace vk::gui
