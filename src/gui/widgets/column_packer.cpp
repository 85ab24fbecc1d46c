#include "gui/widgets/column_packer.h"

#include <algorithm>
#include <limits>

namespace vk::gui {
namespace {

int ColumnHeight(const std::vector<BoxSize>& boxes, std::size_t from, std::size_t to, int spacing) {
    int h = 0;
    for (std::size_t i = from; i < to; ++i)
        h += boxes[i].height + (i > from ? spacing : 0);
    return h;
}

// The contiguous split into exactly `columns` non-empty columns whose tallest column is
// lowest, by dynamic programming over the split points (a page has a dozen boxes at most).
ColumnSplit BestSplit(const std::vector<BoxSize>& boxes, std::size_t columns, int spacing) {
    const std::size_t n = boxes.size();
    const std::size_t k = columns;
    constexpr int kInf = std::numeric_limits<int>::max();
    // best[j][i]: lowest tallest column for the first i boxes in j columns; cut[j][i]: where
    // the last of those columns starts.
    std::vector<std::vector<int>> best(k + 1, std::vector<int>(n + 1, kInf));
    std::vector<std::vector<std::size_t>> cut(k + 1, std::vector<std::size_t>(n + 1, 0));
    best[0][0] = 0;
    for (std::size_t j = 1; j <= k; ++j) {
        for (std::size_t i = j; i <= n; ++i) {
            for (std::size_t s = j - 1; s < i; ++s) {
                if (best[j - 1][s] == kInf) continue;
                const int h = std::max(best[j - 1][s], ColumnHeight(boxes, s, i, spacing));
                if (h < best[j][i]) {
                    best[j][i] = h;
                    cut[j][i] = s;
                }
            }
        }
    }
    ColumnSplit split;
    split.column.assign(n, 0);
    split.columnWidths.assign(k, 0);
    split.height = best[k][n];
    std::size_t end = n;
    for (std::size_t j = k; j >= 1; --j) {
        const std::size_t start = cut[j][end];
        for (std::size_t i = start; i < end; ++i) {
            split.column[i] = static_cast<int>(j - 1);
            split.columnWidths[j - 1] = std::max(split.columnWidths[j - 1], boxes[i].width);
        }
        end = start;
    }
    for (int w : split.columnWidths)
        split.width += w;
    split.width += spacing * static_cast<int>(k - 1);
    return split;
}

}  // namespace

ColumnSplit PackColumns(const std::vector<BoxSize>& boxes, int availableWidth, int spacing,
                        int maxColumns) {
    if (boxes.empty()) return {};
    const std::size_t most =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(maxColumns, 1)), 1, boxes.size());
    ColumnSplit chosen = BestSplit(boxes, 1, spacing);
    for (std::size_t k = 2; k <= most; ++k) {
        ColumnSplit split = BestSplit(boxes, k, spacing);
        if (split.width <= availableWidth && split.height < chosen.height) chosen = split;
    }
    return chosen;
}

}  // namespace vk::gui
