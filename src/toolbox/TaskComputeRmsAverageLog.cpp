// Compute RMS Average Log and Compute Wave Energy: one waveform datum of the primary
// measured, receiver by receiver, in a window of the factor's length that starts at
// the receiver's pick, a curve of the secondary (one selected curve per receiver, in
// receiver order), over the depths both inputs cover.
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"
#include "common/Fft.h"
#include "dataset/ReceiverGeometry.h"
#include "platform/Format.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const char kMultiple[] = "Encountered multiple selection in primary list!\nOperation will be abandoned.";
const char kPrimaryDomain[] = "Unproper datum domain selection in primary file!\nOperation will be abandoned.";
const char kSecondaryDomain[] = "Unproper domain selection in secondary file!\nOperation will be abandoned.";
const char kReceivers[] = "Different number of selected receivers in input files!\nOperation will be abandoned.";
const char kWindow[] = "Encountered invalid window length : %.4f!\nOperation will be abandoned.";


struct WindowLog {
    CToolsWnd& e;
    const CQtxDatum& wave;
    std::vector<const CQtxDatum*> picks; // one curve per receiver
    bool energy;

    // The samples [start, end) a window of the factor's length covers from a pick, within the trace.
    std::pair<size_t, size_t> Window(float pick) const
    {
        const double dt = wave.m_axis1.m_step;
        const int64_t samples = wave.m_axis1.m_sampleCount;
        const int64_t start = std::max(ClampToInt(double(pick) / dt), 0);
        const int64_t end = std::min(start + ClampToInt(double(e.Settings().factor) / dt), samples);
        return {size_t(std::min(start, samples)), size_t(std::max(end, std::min(start, samples)))};
    }

    // The receiver's value over the window from `pick`. Absent samples are left out of
    // the sum and the count; a window of absent samples only, or an absent pick, gives
    // the absent value.
    float Value(const float* trace, float pick) const
    {
        if (pick == qtx::kAbsentValue) return qtx::kAbsentValue;
        const auto [start, end] = Window(pick);
        float sum = 0.0f;
        size_t used = 0;
        for (size_t i = start; i < end; ++i) {
            if (trace[i] == qtx::kAbsentValue) continue;
            sum += trace[i] * trace[i];
            ++used;
        }
        if (used == 0 && end > start) return qtx::kAbsentValue;
        const double n = double(used);
        // The root is divided once more by the samples used.
        const double value = energy ? double(sum) / double(e.Settings().factor) : n > 0 ? std::sqrt(sum / n) / n : 0.0;
        return ClampToFloat(value);
    }

    int Frame(double depth) const
    {
        if (!e.Output().StageDepth(depth)) return 0;
        const size_t samples = wave.m_axis1.m_sampleCount;
        float* trace = g_fftData + 1;
        for (size_t r = 0; r < picks.size(); ++r) {
            float pick = 0.0f;
            if (!toolbox::ReadValue(e.Task().secondary, e.Task().SecondaryFrame(), *picks[r], pick)
                || !toolbox::ReadValues(e.Task().primary, e.Task().singleFrameIndex, wave, r * samples, samples, trace))
                return 0;
            const float out = Value(trace, pick);
            if (!e.Output().StageValues(&out, 1)) return 0;
        }
        return 1;
    }
};

int RunWindowLog(CToolsWnd& e, bool energy)
{
    ToolInput& p = e.Task().primary;
    ToolInput& s = e.Task().secondary;
    if (!e.Inputs().TakeSelection(p) || !e.Inputs().Require(p.selectedCount == 1, kMultiple)
        || !e.Inputs().TakeSelection(s))
        return -1;
    if (!e.Inputs().OpenInputs() || !e.Inputs().CheckInputsAgree(false) || !e.Inputs().RequireSelectedDatums()
        || !e.Inputs().RequireSelectedCategory(p, kCategoryWaveform, kPrimaryDomain)
        || !e.Inputs().RequireSelectedCategory(s, kCategoryTrace, kSecondaryDomain))
        return -1;
    WindowLog log{e, *toolbox::FirstSelected(p), {}, energy};
    for (size_t k = 0; k < s.list.size(); ++k)
        if (s.IsSelected(k)) log.picks.push_back(s.list[k].get());
    // Every receiver needs its pick, and a window of some length to measure.
    if (!e.Inputs().Require(log.picks.size() == log.wave.m_traceCount, kReceivers)
        || !OkOrShow(e.Inputs().ReceiverCountFits(log.wave))
        || !e.Inputs().Require(e.Settings().factor > 0.0f, Format(kWindow, double(e.Settings().factor))))
        return -1;
    e.Inputs().FindDepthOverlap();
    if (!OkOrShow(e.Inputs().HasFramesToConvert())) return -1;
    // Wave energy adds no task line of its own.
    e.Task().taskLine = energy ? "" : "*** Tools (Compute Rms average log)";
    std::vector<CQtxDatum> curves;
    for (short r = 0; r < short(log.wave.m_traceCount); ++r)
        curves.push_back(energy ? toolbox::CurveDatum(CReceiverGeometry::GetEnergyMnemonic(r),
                                                      CReceiverGeometry::GetEnergyItemType(r), kUnitRatio)
                                : toolbox::CurveDatum(CReceiverGeometry::GetAmplitudeMnemonic(r),
                                                      CReceiverGeometry::GetAmplitudeItemType(r), kUnitMillivolts));
    if (!e.Output().WriteOutputHead(e.Output().PrimaryHead(p.logDirection, e.Task().rangeStart, e.Task().rangeEnd),
                                    curves))
        return -1;
    return e.Output().RunFrames(energy ? "Compute Wave Energy : " : "Compute Rms : ", e.Task().firstIndex, 1,
                                e.Task().rangeStart, e.Inputs().InputDepthStep(),
                                [&log](double depth) { return log.Frame(depth); });
}

} // namespace

int ComputeRmsAverageLog(CToolsWnd& e) { return RunWindowLog(e, false); }
int ComputeWaveEnergy(CToolsWnd& e) { return RunWindowLog(e, true); }
