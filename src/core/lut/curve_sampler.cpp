#include "core/lut/curve_sampler.h"

#include <algorithm>
#include <cmath>

#include "core/lut/spline.h"

namespace vk::lut {

std::vector<CurvePoint> SampleCurve(std::span<const GraphPoint> points) {
    std::vector<double> xs, ys;
    for (const GraphPoint& p : points) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    const NaturalSpline x(xs), y(ys);
    const auto end = static_cast<double>(points.size());
    std::vector<CurvePoint> samples;
    samples.reserve(kMaxSamples);
    // t accumulates the step, as the table values have always been computed.
    for (double t = 0.0; t <= end && samples.size() < kMaxSamples; t += kSampleStep) {
        samples.push_back({x(t), y(t)});
    }
    return samples;
}

std::size_t NearestSample(std::span<const CurvePoint> samples, std::int32_t input) {
    int best = 999999;
    std::size_t found = 0;
    for (std::size_t j = 0; j < samples.size(); ++j) {
        const double distance = std::fabs(input - 16.0 * samples[j].x);
        if (distance < best) {
            best = static_cast<int>(distance);
            found = j;
        }
    }
    return found;
}

Table TableFromPoints(std::span<const GraphPoint> points, const GraphArea& area) {
    const std::vector<CurvePoint> samples = SampleCurve(points);
    Table table{};
    if (samples.empty()) return table;
    for (int i = 0; i < kEntries; ++i) {
        const CurvePoint& s = samples[NearestSample(samples, InputPosition(i))];
        table[static_cast<std::size_t>(i)] = YToValue(s.y, area);
    }
    // The samples lie apart and the nearest one stands for an entry, so an edit point could
    // miss its own entry (an end handle at the top giving 3917): each point's entry takes
    // the point's height exactly.
    for (const GraphPoint& p : points) {
        const int entry = std::clamp(p.x, 0, kEntries - 1);
        table[static_cast<std::size_t>(entry)] = YToValue(p.y, area);
    }
    return table;
}

}  // namespace vk::lut
