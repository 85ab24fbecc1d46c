#pragma once

#include <vector>

namespace vk::lut {

// A natural cubic spline through values at the knots t = 0, 1, ..., n (unit spacing).
class NaturalSpline {
public:
    explicit NaturalSpline(const std::vector<double>& values);

    // Beyond either end the first or last segment is extended.
    double operator()(double t) const;

private:
    struct Segment {
        double a, b, c, d;
    };
    std::vector<Segment> segments_;
};

}  // namespace vk::lut
