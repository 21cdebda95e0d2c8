// The step of a data set settled once its records are read, and depth-once frames placed
// at it.
#include "lis/steps/FrameRules.h"
#include "lis/steps/Steps.h"

#include "lis/LisLayout.h"
#include "lis/LisRecordIO.h"

#include <algorithm>
#include <cmath>

using lis::scan::kMaxFrameSpacing;

namespace lis::frames {

namespace {

constexpr double kMetresPerFoot = 0.3048;

bool Blank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }


} // namespace

void SettleDfsrSpacing(CLisLogicalFile& f, const DfsrUnits& units)
{
    // A spacing without units of its own is in the units of the depths.
    if (!units.spacingGiven) {
        f.m_frameSpacing *= f.m_depthFactor;
        if (Blank(f.m_frameSpacingUnits) && f.m_depthUnitKind != kUnitUnknown)
            f.m_frameSpacingUnits.assign(1, f.m_depthUnitKind == kUnitMetres ? 'M' : 'F');
    }
    // EB 8 given in other units than the depths (metres beside a depth channel in feet) is
    // taken into the depths' units, in which the data set counts its step.
    const uint8_t depth = units.depthKind;
    if (units.spacingGiven && units.spacingKind != kUnitUnknown && depth != kUnitUnknown
        && units.spacingKind != depth) {
        const double into = depth == kUnitFeet ? 1.0 / kMetresPerFoot : kMetresPerFoot;
        f.m_frameSpacing *= into;
        f.m_frameSpacingUnits.assign(1, depth == kUnitMetres ? 'M' : 'F');
        f.m_depthUnitKind = depth;
        // Four places of the other system are no four places of this one (0.0610 m of a
        // 0.06096 m step is 0.2001 ft of a 0.2 ft one): EB 8 as read is rounded once converted.
        if (f.m_spacingRead != 0.0) {
            const double x = f.m_frameSpacing;
            f.m_spacingRead = x;
            f.m_spacingRounding = x != 0.0 ? CLisRecordIO::RoundTo4Decimals(x) / x : 1.0;
        }
    }
    f.m_dfsrSpacing = f.m_frameSpacing;
    // A spacing beyond any log's is no spacing: the frames give the step.
    if (!(std::fabs(f.m_frameSpacing) <= kMaxFrameSpacing)) f.m_frameSpacing = 0.0;
}

double RecordFrameStep(CLisLogicalFile& f, double delta, uint32_t frames, double known)
{
    const double spacing = std::fabs(f.m_frameSpacing);
    const bool haveSpacing = spacing > 0.0 && std::isfinite(spacing);
    double step = known;
    if (delta != 0.0) {
        step = haveSpacing ? std::copysign(spacing, delta) : delta / double(frames);
        f.m_upDown = delta < 0.0 ? kLogUp : kLogDown;
    }
    // Until then up logs count depth down frame by frame, others up.
    if (step == 0.0 && haveSpacing) step = f.m_upDown == kLogUp ? -spacing : spacing;
    return step;
}

double SignedFrameSpacing(const CLisLogicalFile& f)
{
    const double spacing = std::fabs(f.m_frameSpacing);
    if (!std::isfinite(spacing)) return 0.0;
    const auto& d = f.m_depths;
    if (d.size() > 1 && d.front().m_depth != d.back().m_depth)
        return d.back().m_depth > d.front().m_depth ? spacing : -spacing;
    return f.m_upDown == kLogUp ? -spacing : spacing;
}

namespace {

// The way most depth-once records (`a`) run, where nine in ten or more do, or all but one
// or two (a repeat section, a reversal) of a short log; where records that jump about lie
// near each other at `step`, the way kNearCourseShare times as many run, else the way EB 4
// gives (`header`: 1 down, -1 up, 0 none); else 0 (passes logged apart: each as read).
double RecordsCourse(const GridAnchors& a, double step, double header)
{
    const Turns t = TurnsOf(a.depths);
    const auto most = [](size_t more, size_t fewer) {
        return kCourseShare * fewer <= more + fewer || (fewer <= kFewTurns && more >= kFewTurnsRunOn * fewer);
    };
    if (most(t.ahead, t.back)) return 1.0;
    if (most(t.back, t.ahead)) return -1.0;
    bool near = step > 0.0; // (every record has its count)
    for (size_t j = 1; j < a.depths.size() && near; ++j)
        near = std::fabs(a.depths[j] - a.depths[j - 1]) <= kNearRecords * double(a.counts[j - 1]) * step;
    if (!near) return 0.0;
    return t.ahead >= kNearCourseShare * t.back ? 1.0 : t.back >= kNearCourseShare * t.ahead ? -1.0 : header;
}

// The frames of every depth-once record `step` apart from its recorded depth, the way
// most records run (`course`); where they jump about, each the way it lay as read. A
// last frame placed within the meeting window of the next record's depth is placed at
// it: the two are one depth.
void PlaceRecordFrames(std::vector<CLisDepthEntry>& d, double step, double course, double unit)
{
    const double window = MeetingWindow(step, unit);
    for (size_t start = 0, next = 0; start < d.size(); start = next) {
        next = RecordEnd(d, start);
        const double first = d[start].m_depth;
        const double along = course != 0.0 ? course * step
                             : next - start >= 2 ? std::copysign(step, d[start + 1].m_depth - first) : step;
        for (size_t k = start + 1; k < next; ++k) d[k].m_depth = first + double(k - start) * along;
        if (next < d.size() && next - start >= 2 && std::fabs(d[next - 1].m_depth - d[next].m_depth) <= window)
            d[next - 1].m_depth = d[next].m_depth;
    }
}

// A depth-once record's last frame that its step places on the next record's depth
// (within the meeting window) is no frame of its own: the next record's depth stands for
// it. Only where the next record lies ahead (beyond the window): a repeated or backward
// record depth starts a repeat section, whose frames are kept and named as going back.
// A frame past the next record's depth is kept and named too, as are the frames of a
// record the step runs past the next: the step is in doubt there.
void MarkFramesOnNextRecord(CLisLogicalFile& f, double step, double course, double unit)
{
    f.m_placedOnNext.clear();
    const auto& d = f.m_depths;
    if (f.m_depthMode != kDepthPerRecord || d.size() < 2 || course == 0.0) return;
    const double window = MeetingWindow(step, unit);
    for (size_t start = 0, next = RecordEnd(d, 0); next < d.size(); start = next, next = RecordEnd(d, start)) {
        if ((d[next].m_depth - d[start].m_depth) * course <= window) continue;
        const auto meets = [&](size_t k) { return std::fabs(d[next].m_depth - d[k].m_depth) <= window; };
        const auto behind = [&](size_t k) { return (d[next].m_depth - d[k].m_depth) * course <= window; };
        if (next - start >= 2 && meets(next - 1) && !behind(next - 2)) f.m_placedOnNext.push_back(next - 1);
    }
}

// Depth-once frames at `step` from their records' depths; the last frames placed on the
// next record's depth (`unit` that of the depth code) marked.
void PlaceAndMark(CLisLogicalFile& f, const GridAnchors& records, double step, double unit)
{
    if (f.m_depthMode != kDepthPerRecord) return;
    // Where the records do not tell, EB 4 does (up: depths that decrease).
    const double header = f.m_headerUpDown == kLogUp ? -1.0 : f.m_headerUpDown == kLogDown ? 1.0 : 0.0;
    const double course = RecordsCourse(records, step, header);
    if (step > 0.0) PlaceRecordFrames(f.m_depths, step, course, unit);
    MarkFramesOnNextRecord(f, step, course, unit);
}

} // namespace

void SettleSpacing(CLisLogicalFile& f)
{
    const double given = std::fabs(f.m_frameSpacing); // EB 8 where it is a log's spacing, else 0
    StepAnchors s;
    s.anchors = AnchorsOf(f);
    const auto& a = s.anchors.depths;
    bool apart = false;
    for (size_t j = 1; j < a.size() && !apart; ++j) apart = a[j] != a[j - 1] && std::isfinite(a[j] - a[j - 1]);
    if (!apart) {
        // No step to judge by (one frame, or one depth): EB 8 stands, or the data set has
        // none; the log tells an EB 8 of no use.
        f.m_spacingOverruled = given == 0.0 && f.m_spacingGiven && f.m_dfsrSpacing != 0.0;
        return;
    }
    s.precision = StepPrecisionOf(a, f.m_depthCode, f.m_depthFactor);
    s.integer = !lis::IsRealCode(f.m_depthCode);
    // EB 8 stands unless the depths disprove it; the step written is EB 8 where it holds
    // over the whole run, else the step measured on the longest stretch it counts.
    const StepFit byEntry8 =
        given > 0.0 ? FitStep(a, s.anchors.counts, given, s.precision, s.integer) : StepFit{};
    const double rounded = given * f.m_spacingRounding; // EB 8 to four places, as read before
    const StepRuling ruling = RuleTheStep(s, given, rounded, f.m_spacingRead, byEntry8, f.m_depthCode);
    const double chosen = ruling.step;
    // A measured step is the one that lays every stretch within the depths' rounding; EB 8's
    // whole multiple as it gives it is held as EB 8 is.
    const double laid = chosen == given || chosen == rounded || ruling.asEntry8
                            ? chosen
                            : StepLayingStretches(a, s.anchors.counts, chosen, s.precision, s.integer);
    double step = CountAcrossLongGaps(a, s.anchors.counts, laid, s.precision, s.integer);
    // Nothing after the rules overrules a usable EB 8 the reading at their step does not
    // better: where they let it stand, the long-gap count gives way to what they wrote.
    bool stands = ruling.entry8;
    if (given > 0.0 && step != given && step != rounded && Entry8HasTheLastWord(s, given, step)) {
        step = stands ? laid : StepOfEntry8(s, given, rounded, byEntry8);
        stands = true;
    }
    // Where the rules let EB 8 stand over depths it does not lay out cleanly, the step the
    // depths give is heard too (its whole multiples have a rule of their own, below; a whole
    // fraction is heard too: EB 8's records running past or onto the next at a multiple of
    // the step are no odd depths its fraction rule looks for), and EB 8 keeps the last word
    // against it unless its own reading is disproved.
    bool heard = false;
    if (stands && ruling.entry8 && byEntry8.Misplaced() + byEntry8.drift > 0) {
        const double measured = MeasuredStep(a, s.anchors.counts, s.precision, f.m_depthCode);
        // (Where the step EB 8 counts over its longest stretch is further from it than a
        // step a little off drifts, EB 8 lays nothing: that step and the depths' are weighed
        // as any two steps.)
        const auto betterThanWritten = [&] {
            return std::fabs(step - given) > kDriftShare * given
                   && ReadingOrder(ReadingAt(s, measured)) < ReadingOrder(ReadingAt(s, step));
        };
        if (measured > 0.0 && (measured < given || !WholeRatio(measured, given))
            && (!Entry8HasTheLastWord(s, given, measured, true) || betterThanWritten())) {
            step = StepLayingStretches(a, s.anchors.counts, measured, s.precision, s.integer);
            stands = false, heard = true;
        }
    }
    // EB 8 the rules let stand over records that run one way with a gap after every one, and
    // odd anchors, is kept only where it misplaces fewer anchors than a whole multiple of it
    // that runs some record on exactly and splices none mostly (the coarsest such); where
    // EB 8's own odd anchors are more than a step stands with they decide nothing, and the
    // multiple that misplaces fewest is the step.
    if (stands && ruling.entry8 && byEntry8.odd > 0 && !s.anchors.counts.empty()) {
        const Reading atEntry8 = ReadingAt(s, given);
        const bool disproved = atEntry8.Off() > StepFit::OddAllowed(atEntry8.distances);
        uint32_t best = 0;
        size_t fewest = disproved ? SIZE_MAX : atEntry8.Off() + 1;
        // (Where a depth turns back, where it lies on a multiple's grid is unknown.)
        const bool oneWay = atEntry8.turns == 0;
        for (uint32_t g = kMostMultiple; oneWay && atEntry8.gapless == 0 && atEntry8.Off() > 0 && g >= 2; --g) {
            const Reading r = ReadingAt(s, given * g);
            if (RunsOn(r) && r.Off() < fewest) best = g, fewest = r.Off();
            if (best > 0 && !disproved) break;
        }
        if (best > 0) {
            step = HeldMultiple(s, given, f.m_spacingRead, best, s.Hold(given * best));
            stands = false, heard = true;
        }
    }
    if (stands && step == rounded) {
        f.m_frameSpacing = std::copysign(rounded, f.m_frameSpacing);
    } else if (step != given) {
        f.m_spacingOverruled = true;
        f.m_frameSpacing = std::copysign(step, f.m_frameSpacing); // measured, not rounded: no drift over the span
        // (A step heard that EB 8 is only a little off from is its drift, as the rules say.)
        const bool drift = std::fabs(step - given) <= kDriftShare * given;
        if (given > 0.0)
            f.m_spacingRuling =
                heard && !drift ? "the step its depths give lays them out better" : SpacingRuling(byEntry8);
    }
    PlaceAndMark(f, s.anchors, step, s.precision);
}

} // namespace lis::frames
