#include "shared/readablecolours.h"

#include "shared/cdc.h"
#include "shared/drawconstants.h"

#include <QColor>
#include <algorithm>
#include <array>
#include <cmath>

namespace Dayplex {

namespace {

double linear(int channel)
{
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(qint32 colour)
{
    const QColor c = cDC::toQColor(colour);
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

std::array<double, 3> lab(qint32 colour)
{
    const QColor c = cDC::toQColor(colour);
    const double r = linear(c.red()), g = linear(c.green()), b = linear(c.blue());
    // sRGB to XYZ, relative to the D65 white point.
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    const auto f = [](double t) {
        return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

// The colour a fraction t of the way from a to b.
qint32 mix(qint32 a, qint32 b, double t)
{
    const QColor ca = cDC::toQColor(a), cb = cDC::toQColor(b);
    const auto channel = [t](int from, int to) {
        return int(std::nearbyint(from + (to - from) * t));
    };
    return channel(ca.red(), cb.red()) | (channel(ca.green(), cb.green()) << 8)
           | (channel(ca.blue(), cb.blue()) << 16);
}

constexpr int kSteps = 20;

} // namespace

double contrastRatio(qint32 a, qint32 b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

qint32 readableTextColour(qint32 text, qint32 back)
{
    if (contrastRatio(text, back) >= kReadableContrast)
        return text;
    // One of the two ends reaches at least 4.58 against any fill.
    const qint32 end = contrastRatio(kBlack, back) >= contrastRatio(kWhite, back) ? kBlack : kWhite;
    for (int step = 1; step < kSteps; ++step) {
        const qint32 candidate = mix(text, end, double(step) / kSteps);
        if (contrastRatio(candidate, back) >= kReadableContrast)
            return candidate;
    }
    return end;
}

double colourDistance(qint32 a, qint32 b)
{
    const std::array<double, 3> la = lab(a), lb = lab(b);
    return std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
}

qint32 distinctColour(qint32 colour, const QVector<qint32> &others)
{
    const auto nearest = [&others](qint32 candidate) {
        double distance = 1e9;
        for (qint32 other : others)
            distance = std::min(distance, colourDistance(candidate, other));
        return distance;
    };
    qint32 best = colour;
    double bestDistance = nearest(colour);
    // Darker shades keep the hue the user chose, and dark fills take light text.
    for (int step = 1; step <= kSteps && bestDistance < kDistinctColourDistance; ++step) {
        const qint32 candidate = mix(colour, kBlack, 0.75 * step / kSteps);
        const double distance = nearest(candidate);
        if (distance > bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
        if (distance >= kDistinctColourDistance)
            return candidate;
    }
    return best;
}

} // namespace Dayplex
