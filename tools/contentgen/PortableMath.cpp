#include "tools/contentgen/PortableMath.h"

#include <cmath>

namespace {

// Taylor series on [-pi/4, pi/4], where twelve terms are far below double's resolution.
double SinKernel(double x)
{
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n < 12; ++n) {
        term *= -x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

double CosKernel(double x)
{
    const double x2 = x * x;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n < 12; ++n) {
        term *= -x2 / static_cast<double>((2 * n - 1) * (2 * n));
        sum += term;
    }
    return sum;
}

}  // namespace

double PortableSin(double radians)
{
    const double quarter = kPi / 2.0;
    const double k = std::floor(radians / quarter + 0.5);
    const double r = radians - k * quarter;
    const long q = static_cast<long>(k) & 3L;
    switch (q) {
    case 0: return SinKernel(r);
    case 1: return CosKernel(r);
    case 2: return -SinKernel(r);
    default: return -CosKernel(r);
    }
}

double PortableCos(double radians)
{
    return PortableSin(radians + kPi / 2.0);
}
