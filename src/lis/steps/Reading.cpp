// How a step lays a log's anchors out: the one reading every rule compares steps by.
#include "lis/steps/FrameRules.h"
#include "lis/steps/Steps.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace lis::frames {

size_t RecordEnd(const std::vector<CLisDepthEntry>& d, size_t start)
{
    size_t end = start + 1;
    while (end < d.size() && d[end].m_recordPosition == d[start].m_recordPosition) ++end;
    return end;
}

bool Agree(double a, double b, double rounding)
{
    return std::fabs(a - b) <= std::max(kSpacingTolerance * b, rounding);
}

double StepPrecisionOf(const std::vector<double>& depths, uint8_t code, double factor)
{
    double deepest = 0.0;
    for (double d : depths)
        if (std::isfinite(d)) deepest = std::max(deepest, std::fabs(d));
    const double scale = factor != 0.0 && std::isfinite(factor) ? std::fabs(factor) : 1.0;
    return StepPrecision(code, deepest / scale) * scale;
}

bool RunsOnButOneSpliceBack(const StepFit& f, bool once)
{
    return once && f.odd == 0 && f.runPast == 1 && Most(f.gapless, f.Distances());
}

Turns TurnsOf(const std::vector<double>& depths)
{
    Turns t;
    for (size_t j = 1; j < depths.size(); ++j) t.ahead += depths[j] > depths[j - 1], t.back += depths[j] < depths[j - 1];
    return t;
}

bool RunsOneWay(const std::vector<double>& depths)
{
    const Turns t = TurnsOf(depths);
    return std::min(t.ahead, t.back) <= std::max<size_t>(1, (t.ahead + t.back) / kTurnsShare);
}

bool HoldsOverTheRun(const StepFit& fit, const StepFit& best)
{
    return fit.drift == 0 && fit.steps >= best.steps && fit.odd + fit.runPast <= best.odd + best.runPast;
}

GridAnchors AnchorsOf(const CLisLogicalFile& f)
{
    GridAnchors a;
    const auto& d = f.m_depths;
    if (f.m_depthMode != kDepthPerRecord) {
        a.depths.reserve(d.size());
        for (const CLisDepthEntry& e : d) a.depths.push_back(e.m_depth);
        return a;
    }
    for (size_t start = 0, next = 0; start < d.size(); start = next) {
        next = RecordEnd(d, start);
        a.depths.push_back(d[start].m_depth);
        a.counts.push_back(uint32_t(next - start));
    }
    return a;
}

double MeetingWindow(double step, double unit)
{
    return step > 0.0 ? std::min(unit, step * kRoundingShare) : unit * kRoundingShare;
}

std::tuple<size_t, size_t, size_t> Misfit(const StepFit& f)
{
    return {f.Misplaced(), f.drift, f.onGrid - std::min(f.onGrid, f.gapless)};
}

bool WholeRatio(double a, double b)
{
    if (!(a > 0.0) || !(b > 0.0)) return false;
    const double ratio = std::max(a, b) / std::min(a, b), whole = std::nearbyint(ratio);
    return whole >= 2.0 && whole <= kMostMultiple && Agree(ratio, whole, 0.0);
}

Reading ReadingAt(const StepAnchors& s, double step)
{
    return ReadingAt(s.anchors.depths, s.anchors.counts, s.precision, s.integer, step);
}

Reading ReadingAt(const std::vector<double>& d, const std::vector<uint32_t>& c, double precision, bool integer,
                  double step)
{
    const bool once = !c.empty();
    const double window = MeetingWindow(step, precision);
    const auto frames = [&](size_t j) { return once ? double(std::max<uint32_t>(c[j], 1u)) : 1.0; };
    Reading r;
    std::vector<double> depths;
    std::vector<uint32_t> counts;
    const auto hold = [&](size_t from, size_t to) {
        if (to - from < 2) return;
        depths.assign(d.begin() + std::ptrdiff_t(from), d.begin() + std::ptrdiff_t(to));
        if (once) counts.assign(c.begin() + std::ptrdiff_t(from), c.begin() + std::ptrdiff_t(to));
        const StepFit f = HoldStep(depths, counts, step, precision, integer);
        r.misplaced += f.Misplaced();
        r.drift += f.drift;
        r.gaps += f.onGrid - std::min(f.onGrid, f.gapless);
        r.gapless += f.gapless;
    };
    size_t start = 0;
    double way = 0.0;
    for (size_t j = 1; j < d.size(); ++j) {
        const double dist = d[j] - d[j - 1];
        if (dist == 0.0 || !std::isfinite(dist)) continue;
        if (way == 0.0) way = dist > 0.0 ? 1.0 : -1.0;
        ++r.distances;
        // How far on from the record before's last frame this anchor lies.
        const double on = dist * way - (frames(j - 1) - 1.0) * step;
        if (dist * way > 0.0 && on >= -window) {
            r.lost += once && frames(j - 1) >= 2.0 && on <= window;
            continue;
        }
        r.splices += dist * way > 0.0;
        r.turns += dist * way < 0.0;
        hold(start, j);
        start = j;
        way = 0.0;
    }
    hold(start, d.size());
    return r;
}

bool Spliced(const Reading& r)
{
    return r.splices > StepFit::OddAllowed(r.distances) || Most(r.splices, r.distances)
           || (r.splices > 0 && r.gapless == 0);
}

bool Disproved(const Reading& r, bool drift)
{
    return Spliced(r) || r.splices + (drift ? r.Off() : r.misplaced) > StepFit::OddAllowed(r.distances);
}

std::tuple<size_t, size_t, size_t> ReadingOrder(const Reading& r)
{
    return {r.lost, r.Off(), r.gaps + r.splices};
}

bool RunsOn(const Reading& r) { return r.gapless > 0 && !Spliced(r); }

bool LaysAsTheStep(const Reading& r) { return r.Off() == 0 && RunsOn(r); }

bool LaysOut(const Reading& r) { return r.Off() == 0 && r.splices == 0; }

} // namespace lis::frames
