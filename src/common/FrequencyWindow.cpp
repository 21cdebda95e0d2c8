#include "common/FrequencyWindow.h"

#include <algorithm>
#include <cmath>

double RaiseToMultiple(double v, double step)
{
    if (!(v > 0)) return 0;
    if (!(step > 0) || !std::isfinite(step)) return v;
    return std::min(std::ceil(v / step - 1e-6), 1e15) * step;
}

FrequencyWindow SnapFrequencyWindow(double start, double stop, int samples, double sampleStep)
{
    FrequencyWindow w;
    w.binStep = 1e6 / (double(samples) * sampleStep);
    const double nyquist = 1e6 / (2.0 * sampleStep);
    if (stop > nyquist) stop = 0.95 * nyquist;
    w.start = RaiseToMultiple(start, w.binStep);
    w.stop = RaiseToMultiple(stop, w.binStep);
    return w;
}
