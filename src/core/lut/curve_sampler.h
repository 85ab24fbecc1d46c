#pragma once

#include <span>
#include <vector>

#include "core/lut/lut_graph.h"
#include "core/lut/lut_table.h"

namespace vk::lut {

inline constexpr double kSampleStep = 0.002;
inline constexpr std::size_t kMaxSamples = 8000;

// The parametric natural cubic spline through the points (x and y each a spline over the
// point index), sampled every 0.002 from t = 0 to one unit beyond the last point, at most
// 8000 samples.
std::vector<CurvePoint> SampleCurve(std::span<const GraphPoint> points);

// The sample nearest to an input level on the 4096-wide axis. Distances are compared
// against the integer part of the best so far, so the earliest sample wins a near tie.
std::size_t NearestSample(std::span<const CurvePoint> samples, std::int32_t input);

// The table the curve through the points gives: each entry takes the height of its nearest
// sample, limited to 0..4095; the entry of an edit point (x 256 is entry 255) takes the
// point's own height, so the table passes through every point.
Table TableFromPoints(std::span<const GraphPoint> points, const GraphArea& area = {});

}  // namespace vk::lut
