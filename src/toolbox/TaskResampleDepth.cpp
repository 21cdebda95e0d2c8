// Resample Depth: the data set at a new, regular depth step (the factor, to four
// decimals); every value interpolated linearly between the two input frames around
// its depth. Input depths are the first depth plus whole input steps.
#include "toolbox/ToolsWnd.h"

#include "common/Fft.h"
#include "dataset/QtxLayout.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/SafeNumeric.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>

namespace {

constexpr uint32_t kNullBits = std::bit_cast<uint32_t>(qtx::kAbsentValue);
// Positions closer than this to an input frame (in input steps) are that frame.
constexpr double kOnFrame = 1e-9;

struct Resampler {
    CToolsWnd& e;
    double inputStep; // magnitude
    double newStep;   // magnitude

    int ReadPiece(int frame, const CQtxDatum& item, uint64_t done, size_t n, float* to) const
    {
        const uint64_t at = uint64_t(item.m_offset) + done * sizeof(float);
        const int offset = at > uint64_t(INT_MAX) ? -1 : int(at);
        return OkOrShow(e.Task().primary.file.ReadFrameItem(frame, offset, 1, int(n), to, kToolSampleCapacity));
    }

    // Output frame k: at k new steps from the first depth, between input frames a and a + 1.
    int Frame(double depth)
    {
        const int k = e.Task().singleFrameIndex;
        const double position = double(k) * newStep / inputStep;
        double whole = std::floor(position + kOnFrame);
        double f = std::max(position - whole, 0.0);
        const int last = e.Task().primary.frameCount - 1;
        if (f < kOnFrame || whole >= last) f = 0.0;
        const int a = std::min(ClampToInt(whole), last);
        if (!toolbox::HoldsFrame(e.Task().primary, f > 0.0 ? a + 1 : a) || !e.Output().StageDepth(depth)) return 0;
        for (const auto& item : e.Task().primary.list) {
            const uint64_t total = toolbox::ItemValueCount(*item);
            for (uint64_t done = 0; done < total;) {
                const size_t n = size_t(std::min<uint64_t>(total - done, kToolSampleCapacity));
                float* va = g_fftData + 1;
                float* vb = g_toolBuffer + 1;
                if (!ReadPiece(a, *item, done, n, va)) return 0;
                // On an input frame its values go out bit for bit.
                if (f > 0.0) {
                    if (!ReadPiece(a + 1, *item, done, n, vb)) return 0;
                    for (size_t i = 0; i < n; ++i) {
                        // A null on either side leaves no value to interpolate.
                        const bool null = std::bit_cast<uint32_t>(va[i]) == kNullBits
                                          || std::bit_cast<uint32_t>(vb[i]) == kNullBits;
                        va[i] = null ? qtx::kAbsentValue : float((double(vb[i]) - double(va[i])) * f + double(va[i]));
                    }
                }
                if (!e.Output().StageValues(va, n)) return 0;
                done += n;
            }
        }
        return 1;
    }
};

} // namespace

int ResampleDepth(CToolsWnd& e)
{
    const ToolInput& in = e.Task().primary;
    // Four decimals of the factor, cut toward zero.
    const double newStep = ClampToInt(double(e.Settings().factor) * 10000.0) * 0.0001;
    if (!e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().HasFramesToConvert())
        || !OkOrShow(e.Inputs().NewDepthStepFits(newStep)) || !OkOrShow(e.Inputs().InputHasDepthStep()))
        return -1;
    const double inputStep = std::fabs(in.step);
    // Output frames from the first depth to the last input frame, that one included.
    const double count = std::floor(double(in.frameCount - 1) * inputStep / newStep + kOnFrame) + 1.0;
    if (!OkOrShow(e.Inputs().NewDepthStepFits(newStep, count))) return -1;
    e.Task().firstIndex = 0;
    e.Task().endIndex = int32_t(count);

    e.Settings().startDepth = e.Inputs().Shallowest();
    e.Settings().stopDepth = e.Inputs().Deepest();
    e.Task().taskLine = Format("*** Tools (Resample depth) - %8.4f", double(e.Settings().factor));
    ToolOutputHead head = e.Output().PrimaryHead(in.logDirection, e.Settings().startDepth,
                                                 e.Settings().startDepth + (count - 1) * newStep);
    head.step = newStep;
    if (!e.Output().WriteOutputHead(head, e.Output().PrimaryDatums())) return -1;
    Resampler resampler{e, inputStep, newStep};
    const double signedStep = in.logDirection == qtx::kLogUp ? -newStep : newStep;
    return e.Output().RunFrames("Resample Depth : ", 0, 1, in.top, signedStep,
                                [&resampler, &e, signedStep, top = in.top](double) {
                                    // Each depth from its index: no rounding accumulates over the frames.
                                    return resampler.Frame(top + e.Task().singleFrameIndex * signedStep);
                                });
}
