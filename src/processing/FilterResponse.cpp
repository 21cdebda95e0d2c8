#include "processing/FilterResponse.h"

#include "platform/Dc.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr double kAxisStep = 0.0025;            // normalized frequency per point
constexpr double kTwoPi = 6.2831854820251465;   // the single-precision value the shapes use
constexpr double kEdgeRate = 628.3185482025146; // 100 x that
constexpr double kBellRates[] = {240, 160, 104, 80, 60, 52, 44, 40, 36, 32};
constexpr size_t kMaxEditChars = 127;

} // namespace

ResponseValues ResponseBump(double c, double a, double k)
{
    ResponseValues v{};
    double largest = 0.0;
    for (int j = 0; j < kResponsePoints; ++j) {
        const double f = kAxisStep * j;
        v[size_t(j)] = std::exp(-k * std::sqrt((f + c) * (f + c) + a * a)) + std::exp(-k * std::sqrt((f - c) * (f - c) + a * a));
        if (v[size_t(j)] > largest) largest = v[size_t(j)];
    }
    if (largest > 0.0)
        for (double& x : v) x /= largest;
    return v;
}

double BellRateFactor(double h)
{
    for (int i = 0; i < 10; ++i)
        if (h <= 200.0 * (i + 1)) return kBellRates[i];
    return 32.0;
}

ResponseValues BellResponse(double f1, double f2, double interval)
{
    const double d = interval * 1e-6;
    const double h = (f2 - f1) / 2.0;
    const double k = kTwoPi * BellRateFactor(h) * 4.5 / interval;
    return ResponseBump((f1 + f2) / 2.0 * d, h * d, k);
}

ResponseValues SemiRectangularResponse(double f1, double f2, double interval)
{
    const double d = interval * 1e-6;
    const double step = 1e6 / (400.0 * interval);
    const double nyquist = 1e6 / (2.0 * interval);
    ResponseValues v;
    v.fill(1.0);
    if (f1 > 0.0) {
        const ResponseValues lower = ResponseBump(f1 * d, 0.75 * f1 * d, kEdgeRate);
        for (int j = 0; j < kResponsePoints && j * step < f1; ++j) v[size_t(j)] = lower[size_t(j)];
    }
    if (nyquist > f2) {
        const ResponseValues upper = ResponseBump(f2 * d, 1.25 * f2 * d, kEdgeRate);
        for (int j = kResponsePoints - 1; j >= 0 && j * step > f2; --j) v[size_t(j)] = upper[size_t(j)];
    }
    return v;
}

double ResponseEditValue(const std::string& text)
{
    std::string line = text.substr(0, text.find_first_of("\r\n"));
    if (line.size() > kMaxEditChars) line.resize(kMaxEditChars);
    const char* begin = line.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    return end == begin || !std::isfinite(value) ? 0.0 : value;
}

bool DrawResponse(Dc& dc, const Rect& client, bool bell, double f1, double f2, double interval, ResponseValues& values)
{
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const Pen oldPen = dc.SelectPen({PS_SOLID, 1, Rgb(255, 255, 255)});
    const Brush oldBrush = dc.SelectBrush({Rgb(255, 255, 255)});
    dc.Rectangle(client);
    // No sample interval, no frequency axis: the shapes would divide by zero.
    const bool drawn = interval > 0.0 && std::isfinite(interval);
    if (drawn) {
        values = bell ? BellResponse(f1, f2, interval) : SemiRectangularResponse(f1, f2, interval);
        dc.SetViewportOrg(0, 0);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(200, 100);
        dc.SetViewportExt(client.right, client.bottom);
        std::vector<Point> points(200);
        for (int i = 0; i < 200; ++i) {
            const double y = (1.0 - values[size_t(i)]) * 99.0;
            points[size_t(i)] = {i, std::isfinite(y) ? int(y) : 99};
        }
        points.front().y = 99;
        points.back().y = 99;
        dc.SelectBrush({Rgb(192, 192, 192)});
        dc.Polygon(points.data(), int(points.size()));
        dc.SelectPen({PS_SOLID, 1, Rgb(0, 0, 255)});
        dc.Polyline(points.data(), int(points.size()));
    }
    dc.SelectPen(oldPen);
    dc.SelectBrush(oldBrush);
    dc.SetBkMode(oldMode == TRANSPARENT ? OPAQUE : oldMode);
    return drawn;
}
