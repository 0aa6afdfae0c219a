#include "world/trig.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr double Pi = 3.141592653589793116;  // the double nearest pi
constexpr double HalfPi = 1.5707963267948966192;
constexpr double QuarterPi = 0.78539816339744830962;
constexpr double TwoOverPi = 0.63661977236758134308;

// pi/2 split in three so that k times the first two parts is exact for the k the game meets:
// the first part keeps 33 significant bits, the second the rest of the double, the third what
// the double misses.
double HighBits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    bits &= ~((uint64_t{1} << 20) - 1);
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
const double HalfPi1 = HighBits(HalfPi);
const double HalfPi2 = HalfPi - HalfPi1;
constexpr double HalfPi3 = 6.123233995736766036e-17;

// Taylor series on |r| <= pi/4, where the terms left out are below 1e-20.
double SineKernel(double r) {
    const double r2 = r * r;
    double sum = 1.0 / 355687428096000.0;  // 1/17!
    sum = sum * r2 - 1.0 / 1307674368000.0;
    sum = sum * r2 + 1.0 / 6227020800.0;
    sum = sum * r2 - 1.0 / 39916800.0;
    sum = sum * r2 + 1.0 / 362880.0;
    sum = sum * r2 - 1.0 / 5040.0;
    sum = sum * r2 + 1.0 / 120.0;
    sum = sum * r2 - 1.0 / 6.0;
    return r + r * r2 * sum;
}

double CosineKernel(double r) {
    const double r2 = r * r;
    double sum = -1.0 / 6402373705728000.0;  // -1/18!
    sum = sum * r2 + 1.0 / 20922789888000.0;
    sum = sum * r2 - 1.0 / 87178291200.0;
    sum = sum * r2 + 1.0 / 479001600.0;
    sum = sum * r2 - 1.0 / 3628800.0;
    sum = sum * r2 + 1.0 / 40320.0;
    sum = sum * r2 - 1.0 / 720.0;
    sum = sum * r2 + 1.0 / 24.0;
    const double half = 0.5 * r2;
    // 1 - r²/2 is where the rounding matters most: keep its error out of the small terms.
    const double lead = 1.0 - half;
    return lead + (((1.0 - lead) - half) + r2 * r2 * sum);
}

// x = k·pi/2 + r with |r| <= pi/4 (a little more for huge x, where no accuracy is promised).
double Reduce(double x, int64_t& quadrant) {
    const double k = std::nearbyint(x * TwoOverPi);
    quadrant = static_cast<int64_t>(std::fmod(k, 4.0));
    if (quadrant < 0) quadrant += 4;
    return ((x - k * HalfPi1) - k * HalfPi2) - k * HalfPi3;
}

// atan on 0 <= t <= 1: two half-angle steps bring t below tan(pi/16), then the series.
double ArcTangentUnit(double t) {
    for (int i = 0; i < 2; ++i) t = t / (1.0 + std::sqrt(1.0 + t * t));
    const double t2 = t * t;
    double sum = 0;
    for (int n = 27; n >= 3; n -= 2) sum = (n % 4 == 1 ? 1.0 : -1.0) / n + t2 * sum;
    return 4.0 * (t + t * t2 * sum);
}

}  // namespace

double Sine(double x) {
    if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
    if (std::fabs(x) <= QuarterPi) return SineKernel(x);
    int64_t quadrant;
    const double r = Reduce(x, quadrant);
    switch (quadrant) {
        case 0:
            return SineKernel(r);
        case 1:
            return CosineKernel(r);
        case 2:
            return -SineKernel(r);
        default:
            return -CosineKernel(r);
    }
}

double Cosine(double x) {
    if (!std::isfinite(x)) return std::numeric_limits<double>::quiet_NaN();
    if (std::fabs(x) <= QuarterPi) return CosineKernel(x);
    int64_t quadrant;
    const double r = Reduce(x, quadrant);
    switch (quadrant) {
        case 0:
            return CosineKernel(r);
        case 1:
            return -SineKernel(r);
        case 2:
            return -CosineKernel(r);
        default:
            return SineKernel(r);
    }
}

double ArcTangent2(double y, double x) {
    if (std::isnan(x) || std::isnan(y)) return std::numeric_limits<double>::quiet_NaN();
    const double ay = std::fabs(y), ax = std::fabs(x);
    double angle;  // the angle of (|x|, |y|), 0..pi/2
    if (std::isinf(ax) && std::isinf(ay)) {
        angle = QuarterPi;
    } else if (ay == 0 && ax == 0) {
        angle = 0;
    } else if (ay <= ax) {
        angle = ArcTangentUnit(ay / ax);
    } else {
        angle = HalfPi - ArcTangentUnit(ax / ay);
    }
    if (std::signbit(x)) angle = Pi - angle;
    return std::signbit(y) ? -angle : angle;
}
