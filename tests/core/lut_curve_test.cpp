#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/lut/curve_editor.h"
#include "core/lut/curve_sampler.h"
#include "core/lut/spline.h"

namespace vk::lut {
namespace {

// A natural cubic spline in its second-derivative form, solved with a general
// tridiagonal elimination: worked out apart from the code under test.
double ReferenceSpline(const std::vector<double>& a, double t) {
    const int n = static_cast<int>(a.size()) - 1;
    std::vector<double> m(a.size(), 0.0);  // second derivatives, zero at both ends
    if (n >= 2) {
        std::vector<double> diag(n - 1, 4.0), rhs(n - 1);
        for (int k = 1; k < n; ++k)
            rhs[k - 1] = 6.0 * (a[k + 1] - 2.0 * a[k] + a[k - 1]);
        for (int k = 1; k < n - 1; ++k) {
            const double w = 1.0 / diag[k - 1];
            diag[k] -= w;
            rhs[k] -= w * rhs[k - 1];
        }
        for (int k = n - 2; k >= 0; --k)
            m[k + 1] = (rhs[k] - (k + 1 < n - 1 ? m[k + 2] : 0.0)) / diag[k];
    }
    int k = static_cast<int>(std::floor(t));
    k = std::max(0, std::min(k, n - 1));
    const double u = t - k;
    return a[k] * (1 - u) + a[k + 1] * u + ((1 - u) * (1 - u) * (1 - u) - (1 - u)) * m[k] / 6.0 +
           (u * u * u - u) * m[k + 1] / 6.0;
}

// The value the curve through the points has at an entry: the curve's height where
// 16·x(t) meets the entry's input level, found by bisection on the rising x(t).
double ReferenceValue(const std::vector<GraphPoint>& points, int entry) {
    std::vector<double> xs, ys;
    for (auto p : points) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    double lo = 0.0, hi = static_cast<double>(points.size());
    const double target = InputPosition(entry) / 16.0;
    for (int i = 0; i < 60; ++i) {
        const double mid = (lo + hi) / 2;
        (ReferenceSpline(xs, mid) < target ? lo : hi) = mid;
    }
    return (260.0 - ReferenceSpline(ys, lo)) * 16.0;
}

TEST(LutSpline, MatchesTheSecondDerivativeFormEverywhere) {
    const std::vector<std::vector<double>> cases = {
        {0, 260}, {260, 100, 0}, {0, 40, 10, 200, 180, 256}, {5, 5, 5, 5}};
    for (const auto& values : cases) {
        const NaturalSpline spline(values);
        for (double t = -0.5; t <= values.size() + 0.5; t += 0.037) {
            EXPECT_NEAR(spline(t), ReferenceSpline(values, t), 1e-9) << values.size() << " " << t;
        }
    }
}

TEST(LutSpline, SamplesReachOneUnitBeyondTheLastPointAndStopAt8000) {
    const std::vector<GraphPoint> line = {{0, 260}, {260, 0}};
    const std::vector<CurvePoint> two = SampleCurve(line);
    EXPECT_NEAR(two.back().x, 520.0, 0.6);  // x(t) = 260·t up to t = 2
    EXPECT_NEAR(two[1].x, 0.52, 1e-9);

    std::vector<GraphPoint> many;
    for (int i = 0; i < 16; ++i)
        many.push_back({i * 16, 256 - i * 16});
    const std::vector<CurvePoint> full = SampleCurve(many);
    EXPECT_EQ(full.size(), kMaxSamples);  // t would run to 16, the store ends at 15.998
    EXPECT_NEAR(full.back().x, 15.998 * 16, 1e-6);
}

TEST(LutSpline, NearestSampleKeepsTheEarliestWithinTheSameWholeDistance) {
    // Distances 0.48 and 0.32: both below 1, so the first stays although the second is nearer.
    const std::vector<CurvePoint> samples = {{5, 0}, {10.0, 0}, {10.05, 0}, {9.0, 0}};
    EXPECT_EQ(NearestSample(samples, static_cast<int>(16 * 10.03 + 0.5)), 1u);
    // A whole unit nearer replaces it.
    const std::vector<CurvePoint> farther = {{10.1, 0}, {10.0, 0}};
    EXPECT_EQ(NearestSample(farther, 160), 1u);
}

TEST(LutSpline, StraightLineFromCornerToCornerGivesSixteenTimesTheEntry) {
    const Table table = TableFromPoints(std::vector<GraphPoint>{{0, 260}, {260, 0}});
    EXPECT_EQ(table[0], 0);
    for (int i = 1; i < 255; ++i)
        EXPECT_NEAR(table[std::size_t(i)], 16 * i, 5) << i;
    EXPECT_NEAR(table[255], 4095, 5);
}

TEST(LutSpline, TableFollowsTheCurveThroughTwoThreeAndSixteenPoints) {
    std::vector<GraphPoint> sixteen;
    for (int i = 0; i < 16; ++i) {
        const int x = i * 256 / 15;
        sixteen.push_back({x, 260 - static_cast<int>(256.0 * std::pow(x / 256.0, 0.45))});
    }
    const std::vector<std::vector<GraphPoint>> cases = {
        {{0, 200}, {256, 60}},
        {{0, 260}, {128, 200}, {256, 4}},
        {{0, 256}, {64, 40}, {256, 30}},
        sixteen,
    };
    for (const auto& points : cases) {
        const Table table = TableFromPoints(points);
        for (int i = 0; i < kEntries; ++i) {
            const double expected = std::clamp(ReferenceValue(points, i), 0.0, 4095.0);
            // Samples lie up to half a pixel apart on x and the nearest one is picked by whole
            // distances; with these slopes that keeps a value within 10 of the exact curve.
            EXPECT_NEAR(table[std::size_t(i)], expected, 10) << points.size() << " entry " << i;
        }
    }
}

// A peak and a dip make the spline swing; the table still passes through every point.
TEST(LutSpline, TheTablePassesThroughEveryEditPoint) {
    const std::vector<GraphPoint> points = {{0, 260}, {60, 60}, {120, 240}, {200, 30}, {256, 4}};
    const Table table = TableFromPoints(points);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[60], 3200);
    EXPECT_EQ(table[120], 320);
    EXPECT_EQ(table[200], 3680);
    EXPECT_EQ(table[255], 4095);  // the end handle at the top
}

TEST(LutSpline, ValuesBelowTheBottomEdgeAreZeroAndAboveTheTopAre4095) {
    // A curve that dips below the bottom edge and overshoots the top.
    const Table table =
        TableFromPoints(std::vector<GraphPoint>{{0, 250}, {40, 256}, {80, 0}, {256, 0}});
    for (int i = 0; i < kEntries; ++i) {
        EXPECT_GE(table[std::size_t(i)], 0);
        EXPECT_LE(table[std::size_t(i)], 4095);
    }
    const Table low = TableFromPoints(std::vector<GraphPoint>{{0, 300}, {256, 280}});
    EXPECT_EQ(low[0], 0);
    EXPECT_EQ(low[255], 0);
}

TEST(LutGraph, ValueAndRowMapBothWays) {
    EXPECT_EQ(ValueToY(0), 260);
    EXPECT_EQ(ValueToY(7), 260);
    EXPECT_EQ(ValueToY(8), 259);  // a remainder of 8 or more rounds up
    EXPECT_EQ(ValueToY(4095), 4);
    EXPECT_EQ(YToValue(4), 4095);
    EXPECT_EQ(YToValue(0), 4095);
    EXPECT_EQ(YToValue(260), 0);
    EXPECT_EQ(YToValue(261), 0);
    for (int v = 0; v <= 4095; v += 16)
        EXPECT_EQ(YToValue(ValueToY(v)), v) << v;

    Table table{};
    table[3] = 5000;  // outside the area: left out, the line goes on from the entry before
    const std::vector<CurvePoint> path = CurvePath(table, {0, 260});
    ASSERT_EQ(path.size(), 256u);
    EXPECT_DOUBLE_EQ(path[3].x, 2.0);
    EXPECT_DOUBLE_EQ(path[4].x, 4.0);
    EXPECT_DOUBLE_EQ(path.back().x, 4095 / 16.0);
}

}  // namespace
}  // namespace vk::lut
