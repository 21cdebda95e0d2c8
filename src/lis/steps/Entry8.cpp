// Whether EB 8 stands: the rules that rule it out or in against what would take its place,
// and its last word over the step they choose.
#include "lis/steps/Steps.h"

#include "lis/LisRecordIO.h"
#include "platform/Format.h"

#include <algorithm>
#include <cmath>

namespace lis::frames {

std::string SpacingRuling(const StepFit& fit)
{
    switch (fit.Why()) {
    case StepFit::Disproof::None: return "laid from the top, it drifts from the depths over the run";
    case StepFit::Disproof::RunPast: return "a data record's frames at it run past the next data record's depth";
    case StepFit::Disproof::Overlaps: return "most data records' last frames at it meet the next record's depth";
    case StepFit::Disproof::Multiple:
        return Format("every distance between the frames holds a whole multiple (%u) of it", unsigned(fit.multiple));
    case StepFit::Disproof::MostOffGrid:
        return Format("%zu of the %zu distances between the frames or records lie off its places",
                      fit.odd + fit.runPast, fit.Distances());
    case StepFit::Disproof::Odd: break;
    }
    return Format("%zu frame or record depth(s) lie between its places", fit.odd);
}

double StepOfEntry8(const StepAnchors& s, double given, double rounded, const StepFit& byEntry8)
{
    // Held against the step EB 8 counts, measured over its longest stretch, and that
    // followed again while it lengthens the stretch: a step a little off splits the run
    // into short ones. Followed as often as a rough step is: each pass is one over every
    // depth, and the first ones lengthen the stretch by far the most.
    StepFit run = byEntry8;
    for (int again = 0; again < kMostFollows && run.steps > 0; ++again) {
        const StepFit next = s.Hold(run.step);
        if (next.steps <= run.steps) break;
        run = next;
    }
    // (The four places are what EB 8's float as read stands for, and the rounding moves no
    // frame by half the depths' precision over the run: the frames the last record places
    // from its depth counted too. Four places of a value converted from the other unit
    // system are another step.)
    const auto& counts = s.anchors.counts;
    const double placed = counts.empty() ? 0.0 : double(std::max<uint32_t>(counts.back(), 1u) - 1u);
    const double steps = double(std::max(run.counted, byEntry8.counted)) + placed;
    const bool roundedHolds = rounded != given && run.steps > 0 && std::fabs(rounded - given) <= kFloatPlace * given
                              && std::fabs(rounded - given) * steps <= s.precision * kRoundingShare
                              && HoldsOverTheRun(s.Hold(rounded), run);
    return roundedHolds ? rounded : HoldsOverTheRun(byEntry8, run) ? given : run.step;
}

double HeldMultiple(const StepAnchors& s, double given, double read, uint32_t g, const StepFit& held)
{
    const double step = given * g, asRead = read * g;
    const double rounded = asRead != 0.0 ? step * (CLisRecordIO::RoundTo4Decimals(asRead) / asRead) : step;
    return StepOfEntry8(s, step, rounded, held);
}

namespace {

// Whether a whole multiple g of a usable EB 8 (`given`) is the step: every distance holds
// it (byEntry8.multiple, borne out by holding it); or a step `measured` from the depths
// agrees with that multiple. g, else 1.
uint32_t MultipleOfEntry8(const StepFit& byEntry8, double given, double measured)
{
    if (!(given > 0.0) || byEntry8.multiple < 2) return 1;
    if (measured > 0.0) return Agree(measured, given * byEntry8.multiple, 0.0) ? byEntry8.multiple : 1;
    return byEntry8.multiple;
}

// What would take a disproved EB 8's place, held as EB 8 is: nothing looked for yet, the
// whole multiple of it that is the step, or a step measured from the depths (0: none).
struct Alternative {
    enum class Kind : uint8_t { None, Fraction, Multiple, Measured };
    Kind kind = Kind::None;
    double step = 0.0;
    StepFit fit;
};

enum class Verdict : uint8_t { Entry8, Other, Undecided };

// The coarsest whole fraction of a standing EB 8 with odd anchors, more than one odd depth
// makes, that lays the anchors out with none odd, enough of its distances exactly their
// least count (else a fine fraction lands any odd depth on its grid); kind None where none.
Alternative FractionOfEntry8(const StepAnchors& s, double given, const StepFit& byEntry8)
{
    if (byEntry8.odd == 0) return {};
    // Fewer odd anchors than one odd depth makes (a lone odd frame among a few) give way
    // only to a fraction that runs most frames on with no gap.
    const bool few = byEntry8.odd < kOddFloor, once = !s.anchors.counts.empty();
    // A distance exactly its least count of a fraction is shorter than its count of EB 8:
    // one to or from one of EB 8's odd or running-past anchors. Where too few are for any
    // fraction to be exact enough, none is held over the log.
    const size_t shorter = 2 * (byEntry8.odd + byEntry8.runPast), distances = byEntry8.Distances();
    if (few ? !Most(shorter, distances) : shorter * ExactShare(once) < distances) return {};
    for (uint32_t g = 2; g <= kMostMultiple; ++g) {
        const StepFit fit = FitStep(s.anchors.depths, s.anchors.counts, given / g, s.precision, s.integer);
        const bool exact = few ? Most(fit.gapless, fit.onGrid) : fit.EnoughGapless(once);
        if (fit.odd == 0 && exact) return {Alternative::Kind::Fraction, given / g, fit};
    }
    return {};
}

// The one question of EB 8: whether it stands against `other`. It stands where nothing
// in the depths disproves it; where nothing measured takes its place; against its whole
// multiple where that misplaces more anchors and runs records past or onto the next that
// it does not, and nothing but the multiple disproved it (a multiple that misplaces more
// otherwise leaves the question to a measured step); against a measured step that is
// disproved and misses as many anchors, or that is no whole multiple or fraction of it
// and lays the anchors out no better. Without EB 8 a measured step is the step.
Verdict Entry8Against(const StepFit& byEntry8, double given, const Alternative& other)
{
    using Kind = Alternative::Kind;
    if (!(given > 0.0)) return other.kind == Kind::Measured && other.step > 0.0 ? Verdict::Other : Verdict::Undecided;
    // A whole fraction of EB 8 on whose grid its odd anchors lie, more than one odd depth
    // makes, and that lays every anchor out with none odd and no more misplaced: the frames
    // lie between EB 8's places, not off them.
    if (other.kind == Kind::Fraction)
        return byEntry8.odd > 0 && other.fit.odd == 0 && other.fit.Misplaced() < byEntry8.Misplaced()
                       && !other.fit.Disproves()
                   ? Verdict::Other
                   : Verdict::Entry8;
    if (!byEntry8.Disproves()) return Verdict::Entry8;
    const auto misses = [](const StepFit& fit) { return fit.odd + fit.runPast + fit.drift; };
    switch (other.kind) {
    case Kind::None:
    case Kind::Fraction: return Verdict::Undecided;
    case Kind::Multiple: {
        if (other.fit.Misplaced() <= byEntry8.Misplaced()) return Verdict::Other;
        const bool runsOn = other.fit.runPast + other.fit.overlaps > byEntry8.runPast + byEntry8.overlaps;
        return runsOn && byEntry8.Why() == StepFit::Disproof::Multiple ? Verdict::Entry8 : Verdict::Undecided;
    }
    case Kind::Measured:
        if (!(other.step > 0.0)) return Verdict::Entry8;
        if (other.fit.Disproves() && misses(other.fit) >= misses(byEntry8)) return Verdict::Entry8;
        return !WholeRatio(other.step, given) && !(Misfit(other.fit) < Misfit(byEntry8)) ? Verdict::Entry8
                                                                                           : Verdict::Other;
    }
    return Verdict::Undecided;
}

// g x EB 8 written as HeldMultiple writes it; held as EB 8 is where that is g x EB 8 as given.
StepRuling MultipleRuling(const StepAnchors& s, double given, double read, uint32_t g, const StepFit& held)
{
    const double step = HeldMultiple(s, given, read, g, held);
    const double asRead = read * g;
    const bool as = step == given * g
                    || (asRead != 0.0 && step == given * g * (CLisRecordIO::RoundTo4Decimals(asRead) / asRead));
    return {step, false, as};
}

} // namespace

StepRuling RuleTheStep(const StepAnchors& s, double given, double rounded, double read, const StepFit& byEntry8,
                       uint8_t code)
{
    if (Entry8Against(byEntry8, given, {}) == Verdict::Entry8) {
        if (const Alternative fraction = FractionOfEntry8(s, given, byEntry8);
            Entry8Against(byEntry8, given, fraction) == Verdict::Other)
            return {fraction.step, false};
        return {StepOfEntry8(s, given, rounded, byEntry8), true};
    }
    if (const uint32_t g = MultipleOfEntry8(byEntry8, given, 0.0); g > 1) {
        Alternative multiple{Alternative::Kind::Multiple, given * g, s.Hold(given * g)};
        const Verdict v = Entry8Against(byEntry8, given, multiple);
        if (v == Verdict::Entry8) return {given, true};
        if (v == Verdict::Other) return MultipleRuling(s, given, read, g, multiple.fit);
    }
    const auto& a = s.anchors;
    Alternative measured{Alternative::Kind::Measured, MeasuredStep(a.depths, a.counts, s.precision, code), {}};
    if (measured.step > 0.0) measured.step = FinerWhereRunsPast(s, measured.step, given);
    if (measured.step > 0.0 && given > 0.0) {
        if (const uint32_t g = MultipleOfEntry8(byEntry8, given, measured.step); g > 1)
            return MultipleRuling(s, given, read, g, s.Hold(given * g));
        measured.fit = s.Hold(measured.step);
    }
    if (Entry8Against(byEntry8, given, measured) == Verdict::Entry8) return {given, true};
    return {measured.step, false};
}

bool Entry8HasTheLastWord(const StepAnchors& s, double given, double chosen, bool stood)
{
    if (!(given > 0.0) || !(chosen > 0.0) || chosen == given) return given > 0.0;
    const Reading e8 = ReadingAt(s, given), other = ReadingAt(s, chosen);
    // Nor does one with more splices and anchors off their place together than a step
    // stands with.
    // Drift counts against EB 8 only beside the step it is a little off from, measured
    // better.
    const bool near = std::fabs(chosen - given) <= kDriftShare * given;
    const auto disproved = [&](const Reading& r) { return Disproved(r, near); };
    // A step heard against an EB 8 the rules let stand runs some record on exactly and
    // puts no more anchors off their place.
    if (stood) return !disproved(e8) || disproved(other) || other.gapless == 0 || other.Off() > e8.Off();
    if (Spliced(e8) != Spliced(other)) return !Spliced(e8);
    if (e8.lost != other.lost) return e8.lost < other.lost;
    if (WholeRatio(given, chosen)) {
        // Of a step and its whole multiple, the log's is the coarsest that lays every
        // anchor in its place with some distance exactly its frames' count: a finer one
        // lays them too, with a gap after every frame.
        return LaysAsTheStep(e8) && (!LaysAsTheStep(other) || given > chosen);
    }
    if (disproved(e8) != disproved(other)) return !disproved(e8);
    // Else a splice back is no anchor off the step's places, but no record running on
    // either: it counts as a gap does.
    return !(ReadingOrder(other) < ReadingOrder(e8));
}

} // namespace lis::frames
