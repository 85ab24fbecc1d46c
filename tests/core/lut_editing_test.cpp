#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/lut/curve_editor.h"
#include "core/lut/curve_sampler.h"
#include "core/lut/standard_curve.h"

namespace vk::lut {
namespace {

std::vector<GraphPoint> PointsOf(const EditPoints& e) {
    return {e.Points().begin(), e.Points().end()};
}

TEST(LutEditPoints, PressNearAPointMovesItElsewhereAddsOneSortedByX) {
    EditPoints points;  // (0, 260) and (260, 0)
    EXPECT_EQ(points.PressAt({100, 100}), 1);
    EXPECT_EQ(PointsOf(points), (std::vector<GraphPoint>{{0, 260}, {100, 100}, {260, 0}}));

    // Within 32 on both axes: moved, not added.
    EXPECT_EQ(points.PressAt({132, 68}), 1);
    EXPECT_EQ(PointsOf(points), (std::vector<GraphPoint>{{0, 260}, {132, 68}, {260, 0}}));
    // 33 away on one axis: added.
    EXPECT_EQ(points.PressAt({165, 68}), 2);
    EXPECT_EQ(points.Count(), 4);

    // Two points near: the first in index order moves, and the order follows x again.
    EditPoints near;
    near.PressAt({100, 100});
    near.PressAt({140, 100});
    EXPECT_EQ(near.PressAt({120, 100}), 1);
    EXPECT_EQ(PointsOf(near),
              (std::vector<GraphPoint>{{0, 260}, {120, 100}, {140, 100}, {260, 0}}));
    EXPECT_EQ(near.MoveTo(1, {200, 50}), 2);  // dragged past its neighbour
    EXPECT_EQ(PointsOf(near), (std::vector<GraphPoint>{{0, 260}, {140, 100}, {200, 50}, {260, 0}}));
}

TEST(LutEditPoints, RightPressDeletesOnlyInnerPointsNearIt) {
    EditPoints points;
    EXPECT_FALSE(points.DeleteAt({0, 256}));  // two points: nothing to delete
    EXPECT_FALSE(points.DeleteAt({256, 4}));
    points.PressAt({100, 100});
    points.PressAt({200, 30});
    EXPECT_FALSE(points.DeleteAt({117, 100}));  // 17 away
    EXPECT_TRUE(points.DeleteAt({116, 84}));
    EXPECT_EQ(PointsOf(points), (std::vector<GraphPoint>{{0, 260}, {200, 30}, {260, 0}}));
    EXPECT_FALSE(points.DeleteAt({250, 10}));  // the last point stays
    EXPECT_TRUE(points.DeleteAt({200, 30}));
    EXPECT_EQ(points.Count(), 2);
}

TEST(LutEditPoints, AdditionsStopAtFifteenPoints) {
    EditPoints points;
    for (int i = 1; i <= 13; ++i)
        ASSERT_GE(points.PressAt({i * 18, i % 2 ? 200 : 100}), 0) << i;
    ASSERT_EQ(points.Count(), 15);
    const std::vector<GraphPoint> full = PointsOf(points);
    EXPECT_EQ(points.PressAt({100, 20}), -1);  // far from every point: not added
    EXPECT_EQ(PointsOf(points), full);
    EXPECT_EQ(points.PressAt({36, 110}), 2);  // moving still works
    EXPECT_TRUE(points.DeleteAt({36, 110}));
    EXPECT_EQ(points.PressAt({100, 20}), 5);  // and after a delete one more fits
    EXPECT_EQ(points.Count(), 15);

    // Sixteen points come only from Convert Editable; an addition then has no slot at all.
    std::vector<GraphPoint> sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen.push_back({i * 17, 260 - i * 17});
    points.Assign(sixteen);
    EXPECT_EQ(points.PressAt({100, 20}), -1);
    EXPECT_EQ(points.Count(), 16);
}

TEST(LutCurveEditor, StartsAsTheStraightLineInEditMode) {
    CurveEditor editor;
    EXPECT_EQ(editor.Mode(), EditorMode::Edit);
    EXPECT_EQ(editor.Values()[0], 0);
    EXPECT_NEAR(editor.Values()[128], 2048, 5);
    EXPECT_EQ(editor.CurveStart().y, 260);
}

TEST(LutCurveEditor, ViewModeKeepsTheTableWhileThePointsStillChange) {
    CurveEditor editor;
    Table shown{};
    shown.fill(1000);
    shown[7] = 9999;
    editor.ShowTable(shown);
    EXPECT_EQ(editor.Mode(), EditorMode::View);
    EXPECT_EQ(editor.Values()[7], 4095);
    EXPECT_EQ(editor.Values()[8], 1000);

    EXPECT_EQ(editor.PressAt({128, 30}), 1);  // the points change...
    EXPECT_EQ(editor.Values()[128], 1000);    // ...the table does not
    EXPECT_EQ(editor.CurveStart().y, 260);
    EXPECT_EQ(editor.PressAt({300, 30}), -1);  // outside the mouse area

    editor.Clear();
    EXPECT_EQ(editor.Mode(), EditorMode::Edit);
    EXPECT_EQ(editor.Points().Count(), 2);
    EXPECT_NEAR(editor.Values()[128], 2048, 5);
}

TEST(LutCurveEditor, AnEditRecomputesTheTableAtOnce) {
    CurveEditor editor;
    ASSERT_EQ(editor.PressAt({128, 30}), 1);
    EXPECT_NEAR(editor.Values()[128], (260 - 30) * 16, 16);
    EXPECT_EQ(editor.DragTo(1, {128, 200}), 1);
    EXPECT_NEAR(editor.Values()[128], (260 - 200) * 16, 16);
    EXPECT_TRUE(editor.DeleteAt({130, 198}));
    EXPECT_NEAR(editor.Values()[128], 2048, 5);
}

TEST(LutCurveEditor, ConvertEditableTakesPointsFromTheCurveAsDrawn) {
    Table table{};
    for (int i = 0; i < kEntries; ++i)
        table[std::size_t(i)] = 1000 + 8 * i;
    EXPECT_EQ(PointsFromTable(table, 2),
              (std::vector<GraphPoint>{{0, 197}, {256, 70}}));  // 1000 and 3040
    const std::vector<GraphPoint> eight = PointsFromTable(table, 8);
    ASSERT_EQ(eight.size(), 8u);
    const int xs[] = {0, 36, 73, 109, 146, 182, 219, 256};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(eight[std::size_t(i)].x, xs[i]) << i;
        const int entry = std::min(xs[i], 255);
        EXPECT_EQ(eight[std::size_t(i)].y, ValueToY(table[std::size_t(entry)])) << i;
    }
    EXPECT_EQ(PointsFromTable(table, 1).size(), 2u);
    EXPECT_EQ(PointsFromTable(table, 40).size(), 16u);
}

TEST(LutCurveEditor, ConvertedPointsLieOnTheTableSoTheCurveStaysWhereItWas) {
    for (const double gamma : {1.0, 0.45, 2.2}) {
        CurveEditor editor;
        const Table table = *GammaTable(gamma);
        editor.ShowTable(table);
        editor.ConvertEditable(16);
        EXPECT_EQ(editor.Mode(), EditorMode::Edit);
        ASSERT_EQ(editor.Points().Count(), 16);
        // Through every point the new table meets the old one within a pixel's rounding.
        for (const GraphPoint p : editor.Points().Points()) {
            const auto entry = std::size_t(std::min(p.x, 255));
            EXPECT_NEAR(editor.Values()[entry], table[entry], 16) << gamma << " entry " << entry;
        }
        if (gamma == 1.0) {
            for (int i = 0; i < kEntries; ++i)
                EXPECT_NEAR(editor.Values()[std::size_t(i)], table[std::size_t(i)], 24) << i;
        }
    }
}

TEST(LutStandardCurve, GammaAndLinear) {
    const Table linear = LinearTable();
    EXPECT_EQ(linear[0], 0);
    EXPECT_EQ(linear[1], 16);  // 4095 / 255 = 16.06
    EXPECT_EQ(linear[128], 2056);
    EXPECT_EQ(linear[255], 4095);
    const Table bright = *GammaTable(0.5);
    EXPECT_EQ(bright[64], static_cast<int>(std::lround(4095 * std::sqrt(64 / 255.0))));
    EXPECT_EQ(bright[255], 4095);
    for (const double bad : {0.0, -1.0, std::nan(""), double(INFINITY)})
        EXPECT_FALSE(GammaTable(bad)) << bad;
}

}  // namespace
}  // namespace vk::lut
