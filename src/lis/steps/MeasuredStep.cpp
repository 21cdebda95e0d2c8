// The step a log's anchors give where EB 8 gives none, and the finer fraction a step that
// runs records past gives way to.
#include "lis/steps/FrameRules.h"
#include "lis/steps/Steps.h"

#include "lis/LisLayout.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <utility>

namespace lis::frames {

namespace {

// The step the most distances share: the mean of the steps that agree with it (their sum
// is a difference of depths, which the depths' rounding does not bias).
double CommonestStep(std::vector<double> steps, double rounding)
{
    const auto mean = [&](double step) {
        double sum = 0.0;
        size_t count = 0;
        for (double a : steps)
            if (Agree(a, step, rounding)) sum += a, ++count;
        return std::pair{count > 0 ? sum / double(count) : 0.0, count};
    };
    // Where most steps share one, the middle step is among them.
    const auto middle = steps.begin() + std::ptrdiff_t(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    if (const auto atMiddle = mean(*middle); Most(atMiddle.second, steps.size())) return atMiddle.first;
    // Else the step that agrees with the most: the steps that agree with steps[i] lie in
    // [first, last) of the sorted steps, and both ends only move up with i.
    std::sort(steps.begin(), steps.end());
    size_t best = 0, bestAt = 0, first = 0, last = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        while (!Agree(steps[first], steps[i], rounding)) ++first;
        last = std::max(last, i);
        while (last < steps.size() && Agree(steps[last], steps[i], rounding)) ++last;
        if (last - first > best) {
            best = last - first;
            bestAt = i;
        }
    }
    return mean(steps[bestAt]).first;
}

// The best of four candidates the anchors give, each followed over the run (`course` the
// way the log runs): the commonest distance over its frames, the least (records of frames
// missing at random are followed by a gap more often than not, and a step no record's
// frames run past is no larger), the median, and the least that two distances share;
// `holds` false where they give none.
struct Candidate {
    bool holds = false;
    StepFit fit;
};

Candidate BestCandidate(const std::vector<double>& depths, const std::vector<uint32_t>& counts, double precision,
                        bool integer, double course)
{
    std::vector<double> units;
    uint32_t fewest = UINT32_MAX;
    for (size_t j = 1; j < depths.size(); ++j) {
        const uint32_t least = counts.empty() ? 1u : std::max<uint32_t>(counts[j - 1], 1u);
        if (const double d = (depths[j] - depths[j - 1]) * course; d > 0.0 && std::isfinite(d)) {
            units.push_back(d / double(least));
            fewest = std::min(fewest, least);
        }
    }
    if (units.empty()) return {};
    const double rounding = kCandidateRounding * precision / double(fewest);
    std::vector<double> candidates{CommonestStep(units, rounding)};
    candidates.push_back(*std::min_element(units.begin(), units.end()));
    const auto middle = units.begin() + std::ptrdiff_t(units.size() / 2);
    std::nth_element(units.begin(), middle, units.end());
    candidates.push_back(*middle);
    // The least that another agrees with, from the least distances up, a few more at a
    // time: a long log's sorted whole would cost more a frame than a short one's.
    for (size_t look = std::min(units.size(), kFirstLook), found = 0; !found; look = std::min(units.size(), 4 * look)) {
        const auto end = units.begin() + std::ptrdiff_t(look);
        std::partial_sort(units.begin(), end, units.end());
        for (size_t i = 0; i + 1 < look && !found; ++i)
            if (Agree(units[i + 1], units[i], rounding)) candidates.push_back(units[i]), found = 1;
        if (look == units.size()) break;
    }
    // Ranked: one the depths do not disprove; one that runs no record past the next, or
    // whose records that do are splices back its reading stands with (Disproved: a step
    // that lands fewer depths off its places runs none past); one enough of whose
    // distances are exactly their least count (a finer step is a gap after every frame);
    // one after which most records run on but one that starts inside the one before; the
    // fewest misses, a record's last frame met by the next record's depth among them; the
    // coarsest.
    const bool once = !counts.empty();
    const auto rank = [&](const StepFit& f) {
        const size_t misses = f.odd + f.runPast + f.drift + f.overlaps;
        const bool spliceBack = RunsOnButOneSpliceBack(f, once);
        const bool splicesStand =
            f.runPast == 0 || spliceBack || !Disproved(ReadingAt(depths, counts, precision, integer, f.step), false);
        return std::tuple(!f.Disproves() || spliceBack, splicesStand, f.EnoughGapless(once), spliceBack,
                          SIZE_MAX - misses, f.step);
    };
    Candidate best;
    decltype(rank(StepFit{})) bestRank{};
    for (size_t i = 0; i < candidates.size(); ++i) {
        // (A candidate tried already would fit alike, and rank no higher.)
        const double candidate = candidates[i];
        if (std::find(candidates.begin(), candidates.begin() + std::ptrdiff_t(i), candidate)
            != candidates.begin() + std::ptrdiff_t(i))
            continue;
        const StepFit fit = FitStep(depths, counts, candidate, precision, integer, true);
        if (const auto r = rank(fit); !best.holds || r > bestRank) best = {true, fit}, bestRank = r;
    }
    return best;
}

} // namespace

double MeasuredStep(const std::vector<double>& depths, const std::vector<uint32_t>& counts, double precision,
                    uint8_t code)
{
    const bool integer = !lis::IsRealCode(code), once = !counts.empty();
    // Distances the way the log runs: a turn back is no step.
    const double course = CourseOf(depths) < 0.0 ? -1.0 : 1.0;
    // The grid's step is measured over its whole span already; where the log turns back
    // (a repeat section, a reversal), over its longest stretch that runs one way. A grid
    // a whole multiple of which is the step (CoarsestMultiple, as for a step measured
    // roughly) is no finer than that multiple: the candidates measure the step. Depth once, a grid
    // after which most records leave a gap may be a finer one that a splice back lands
    // on: a candidate at which most run on and one starts inside the one before is the
    // step.
    const auto wholeMultiple = [&](double step) {
        HoldOptions followed;
        followed.follow = true;
        const StepFit fit = HoldStep(depths, counts, step, precision, integer, followed);
        return fit.wholeMultiples != 0
               && CoarsestMultiple(depths, counts, fit, fit.step, precision, integer, fit.wholeMultiples,
                                   StepFrom::Measured) > 1;
    };
    if (const DepthGrid grid = MeasureDepthGrid(depths, counts, precision, integer);
        grid.holds && !wholeMultiple(grid.step)) {
        if (!once || Most(grid.gapless, grid.distances)) return grid.step;
        const Candidate best = BestCandidate(depths, counts, precision, integer, course);
        return best.holds && RunsOnButOneSpliceBack(best.fit, once) ? best.fit.step : grid.step;
    }
    size_t start = 0, from = 0, longest = 0;
    for (size_t j = 1; j <= depths.size(); ++j)
        if (j == depths.size() || (depths[j] - depths[j - 1]) * course < 0.0) {
            if (j - start > longest) longest = j - start, from = start;
            start = j;
        }
    if (longest >= kLongestPiece && longest < depths.size()) {
        const auto first = std::ptrdiff_t(from), last = std::ptrdiff_t(from + longest);
        const std::vector<double> piece(depths.begin() + first, depths.begin() + last);
        // (Depth once, every anchor has its count.)
        const std::vector<uint32_t> pieceCounts =
            once ? std::vector<uint32_t>(counts.begin() + first, counts.begin() + last) : std::vector<uint32_t>();
        if (const DepthGrid grid = MeasureDepthGrid(piece, pieceCounts, precision, integer); grid.holds)
            return grid.step;
    }
    const Candidate best = BestCandidate(depths, counts, precision, integer, course);
    return best.holds ? best.fit.step : 0.0;
}

double FinerWhereRunsPast(const StepAnchors& s, double step, double given)
{
    const StepFit fit = s.Hold(step);
    if (fit.runPast == 0 || RunsOnButOneSpliceBack(fit, !s.anchors.counts.empty())) return step;
    // Records that start inside the one before are splices back, however many, where the
    // step lays every other anchor in its place and runs records on: no fraction of the
    // step is then taken, and one of EB 8 only where it lays every record out, none off its
    // place or spliced back.
    const Reading atStep = ReadingAt(s, step);
    const bool splicesBack = atStep.Off() == 0 && !Spliced(atStep);
    if (splicesBack && !(given > 0.0)) return step;
    // Records running past the next cannot be: the fraction that runs none fits better
    // whatever odd depths it finds.
    const auto misfit = [](const StepFit& f) { return std::tuple(f.runPast + f.overlaps, Misfit(f)); };
    std::vector<double> finer;
    for (const double base : {given, splicesBack ? 0.0 : step})
        for (uint32_t k = 2; base > 0.0 && k <= kMostMultiple; ++k)
            if (base / k < step * (1.0 - kSpacingTolerance)) finer.push_back(base / k);
    std::sort(finer.begin(), finer.end(), std::greater<>());
    double best = step;
    StepFit bestFit = fit;
    for (const double f : finer) {
        const StepFit at = FitStep(s.anchors.depths, s.anchors.counts, f, s.precision, s.integer);
        if (at.Why() != StepFit::Disproof::Multiple && at.EnoughGapless(!s.anchors.counts.empty())
            && misfit(at) < misfit(bestFit) && (!splicesBack || LaysOut(ReadingAt(s, f))))
            best = f, bestFit = at;
    }
    return best;
}

} // namespace lis::frames
