// Construct LSS Array: two selected two-trace waveform datums of one data set, recorded
// a fixed spacing apart along the hole, as one datum of three traces: A's first trace,
// the mean of A's second and B's first, B's second. A and B are aligned by the frames
// the spacing spans.
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"
#include "common/Fft.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <cmath>

namespace {

const char kSelection[] = "Unrecognized selection list!\nOperation will be abandoned.";
const char kSamples[] = "Different number of samples in selected items!\nOperation will be abandoned.";
const char kChannels[] = "Different number of channels in selected items!\nOperation will be abandoned.";
const char kPrimaryItem[] = "Unrecognized primary item selection!\nOperation will be abandoned.";
const char kSecondaryItem[] = "Unrecognized secondary item selection!\nOperation will be abandoned.";
const char kTwoTraces[] = "Encountered selected items of less than two channels!\nOperation will be abandoned.";

constexpr double kSpacingFeet = 2.0;
constexpr double kSpacingMetres = 0.6048; // the program's own figure, not 0.6096
bool IsA(uint8_t type) { return type == kItemTypeLssNear || type == kItemTypeDsltNear; }
bool IsB(uint8_t type) { return type == kItemTypeLssFar || type == kItemTypeDsltFar; }

struct Lss {
    CToolsWnd& e;
    const CQtxDatum& a;
    const CQtxDatum& b;
    int32_t n; // frames between A and B

    // One trace of a datum at a frame, into `to`.
    int Trace(const CQtxDatum& d, int frame, int trace, float* to) const
    {
        const size_t samples = d.m_axis1.m_sampleCount;
        return toolbox::ReadValues(e.Task().primary, frame, d, uint64_t(trace) * samples, samples, to);
    }

    int Frame(double depth) const
    {
        const int k = e.Task().singleFrameIndex;
        // Depth increasing: the frame's depth is B's, A is taken n frames deeper; up logs the other way.
        const bool up = e.Task().primary.logDirection == qtx::kLogUp;
        const int atA = up ? k : k + n, atB = up ? k + n : k;
        const size_t s = a.m_axis1.m_sampleCount;
        float* va = g_fftData + 1;
        float* vb = g_toolBuffer + 1;
        if (!e.Output().StageDepth(depth) || !Trace(a, atA, 0, va) || !e.Output().StageValues(va, s)
            || !Trace(a, atA, 1, va) || !Trace(b, atB, 0, vb))
            return 0;
        for (size_t i = 0; i < s; ++i) va[i] = ClampToFloat((double(vb[i]) + double(va[i])) * 0.5);
        return e.Output().StageValues(va, s) && Trace(b, atB, 1, vb) && e.Output().StageValues(vb, s);
    }
};

} // namespace

int ConstructLssArray(CToolsWnd& e)
{
    ToolInput& in = e.Task().primary;
    if (!e.Inputs().TakeSelection() || !e.Inputs().Require(in.selectedCount == 2, kSelection)) return -1;
    if (!e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().DatumListsFit()) || !e.Inputs().RequireSelectedDatums())
        return -1;
    const CQtxDatum* first = toolbox::FirstSelected(in);
    const CQtxDatum* second = toolbox::LastSelected(in);
    // The flags counted two, yet the list may hold only one of them.
    if (!e.Inputs().Require(first != second, kSelection)) return -1;
    const uint8_t t1 = first->m_typeCode, t2 = second->m_typeCode;
    // One A item and one B item, each of one axis with two traces or more: an A or B
    // pair would leave the other operand unread.
    if (!e.Inputs().Require(first->m_axis1.m_sampleCount == second->m_axis1.m_sampleCount, kSamples)
        || !e.Inputs().Require(first->m_traceCount == second->m_traceCount, kChannels)
        || !e.Inputs().Require((IsA(t1) || IsB(t1)) && !toolbox::IsTwoAxis(*first), kPrimaryItem)
        || !e.Inputs().Require((IsA(t2) || IsB(t2)) && !toolbox::IsTwoAxis(*second) && IsA(t1) != IsA(t2),
                               kSecondaryItem)
        || !e.Inputs().Require(first->m_traceCount >= 2, kTwoTraces))
        return -1;
    const CQtxDatum& a = IsA(t1) ? *first : *second;
    const CQtxDatum& b = IsA(t1) ? *second : *first;

    const double spacing = in.depthUnits == qtx::kUnitsMetres ? kSpacingMetres : kSpacingFeet;
    const int32_t n = std::clamp(ClampToInt(spacing / std::fabs(in.step) + 0.1), 0, in.frameCount);
    e.Task().endIndex = in.frameCount - n;
    if (!OkOrShow(e.Inputs().HasFramesToConvert())) return -1;
    e.Task().taskLine = "*** Tools (Lss array)";
    const CQtxDatum array(1, first->m_mnemonic, kItemTypeLssArray, first->m_category, kItemTypeLssArray, 0, 3, 1, qtx::kDepthSize, 0,
                          first->m_axis1.m_unit, first->m_axis1.m_firstIndex, first->m_axis1.m_sampleCount,
                          first->m_axis1.m_step);
    if (!e.Output().WriteOutputHead(e.Output().PrimaryHead(in.logDirection, in.top, in.bottom), {array})) return -1;
    const Lss lss{e, a, b, n};
    return e.Output().RunFrames("Lss array : ", 0, 1, in.top, e.Inputs().InputDepthStep(),
                                [&lss](double depth) { return lss.Frame(depth); });
}
