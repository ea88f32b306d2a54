#pragma once

// Sine and cosine computed by this program rather than by the C library, whose results may
// differ in the last bit between processors; the generated content must come out the same
// bit for bit everywhere. Accurate to about 1e-15 in double.
constexpr double kPi = 3.14159265358979323846;

double PortableSin(double radians);
double PortableCos(double radians);
