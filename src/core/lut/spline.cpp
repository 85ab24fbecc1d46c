#include "core/lut/spline.h"

#include <cmath>
#include <cstddef>

namespace vk::lut {

NaturalSpline::NaturalSpline(const std::vector<double>& a) {
    if (a.size() < 2) {
        segments_.push_back({a.empty() ? 0.0 : a[0], 0.0, 0.0, 0.0});
        return;
    }
    const std::size_t n = a.size() - 1;
    // Tridiagonal system of the natural end conditions (c0 = cn = 0) for unit spacing.
    std::vector<double> mu(n + 1, 0.0), z(n + 1, 0.0), c(n + 1, 0.0);
    for (std::size_t k = 1; k < n; ++k) {
        const double alpha = 3.0 * (a[k + 1] - 2.0 * a[k] + a[k - 1]);
        const double l = 4.0 - mu[k - 1];
        mu[k] = 1.0 / l;
        z[k] = (alpha - z[k - 1]) / l;
    }
    for (std::size_t k = n - 1; k >= 1; --k) {
        c[k] = z[k] - mu[k] * c[k + 1];
    }
    segments_.reserve(n);
    for (std::size_t k = 0; k < n; ++k) {
        const double d = (c[k + 1] - c[k]) / 3.0;
        const double b = (a[k + 1] - a[k]) - c[k] - d;
        segments_.push_back({a[k], b, c[k], d});
    }
}

double NaturalSpline::operator()(double t) const {
    const auto last = static_cast<double>(segments_.size() - 1);
    double k = std::floor(t);
    if (k < 0.0) k = 0.0;
    if (k > last) k = last;
    const double u = t - k;
    const Segment& s = segments_[static_cast<std::size_t>(k)];
    return ((s.d * u + s.c) * u + s.b) * u + s.a;
}

}  // namespace vk::lut
