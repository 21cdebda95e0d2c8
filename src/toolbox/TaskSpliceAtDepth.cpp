// Splice At Depth: the shallower primary's frames down to the splice depth, then the
// secondary's frames below it, as one log on the primary's depth grid continued.
#include "toolbox/ToolsWnd.h"

#include "platform/Format.h"

#include <cmath>

namespace {

const char kChannels[] = "Encountered different number of channels in input files!\nOperation will be abandoned.";
const char kMnemonics[] = "Different channel mnemonics in input files!\nOperation will be abandoned.";
const char kTraces[] = "Different number of channels in input files!\nOperation will be abandoned.";
const char kDatums[] = "Different datums in input files!\nOperation will be abandoned.";
const char kLogUp[] = "Log up is not supported in this release!\nOperation will be abandoned.";
const char kToggle[] = "Please toggle input files!\nOperation will be abandoned.";
const char kSpliceDepth[] = "Could not find splice depth!\nOperation will be abandoned.";

// The datums side by side: the first difference's refusal, or nullptr when they match.
const char* Mismatch(const ToolInput& p, const ToolInput& s)
{
    for (size_t k = 0; k < p.list.size() && k < s.list.size(); ++k) {
        const CQtxDatum& a = *p.list[k];
        const CQtxDatum& b = *s.list[k];
        if (a.m_mnemonic != b.m_mnemonic) return kMnemonics;
        if (a.m_traceCount != b.m_traceCount) return kTraces;
        // Frames are copied datum by datum into the primary's layout: every value must fit.
        if (a.m_size != b.m_size || toolbox::ItemValueCount(a) != toolbox::ItemValueCount(b)) return kDatums;
    }
    return nullptr;
}

// The first frame (0..count) whose depth, truncated to four decimals, lies below the splice.
int32_t FirstBelow(const ToolInput& in, double splice)
{
    const double step = std::fabs(in.step);
    for (int32_t k = 0; k < in.frameCount; ++k)
        if (toolbox::RoundDepth(in.top + k * step) > splice) return k;
    return in.frameCount;
}

} // namespace

int SpliceAtDepth(CToolsWnd& e)
{
    ToolInput& p = e.Task().primary;
    ToolInput& s = e.Task().secondary;
    const double splice = e.Settings().spliceDepth;
    if (!e.Inputs().OpenInputs() || !e.Inputs().Require(p.list.size() == s.list.size(), kChannels)
        || !e.Inputs().CheckInputsAgree(false))
        return -1;
    const char* mismatch = Mismatch(p, s);
    // Inputs that do not overlap leave no depth to splice at, whatever the splice depth.
    if (!e.Inputs().Require(!mismatch, mismatch ? mismatch : "")
        || !e.Inputs().Require(p.logDirection == qtx::kLogDown, kLogUp) || !e.Inputs().Require(p.top < s.top, kToggle)
        || !e.Inputs().Require(splice >= s.top && splice <= p.bottom, kSpliceDepth))
        return -1;

    const int32_t primaryEnd = FirstBelow(p, splice);
    const int32_t secondaryFirst = FirstBelow(s, splice);
    e.Task().firstIndex = 0;
    e.Task().endIndex = primaryEnd + (s.frameCount - secondaryFirst);
    if (!OkOrShow(e.Inputs().HasFramesToConvert())) return -1;
    e.Task().taskLine = Format("*** Tools (Splice at depth) - %10.4f %s", splice, e.Task().depthUnitLabel.c_str());
    if (!e.Output().WriteOutputHead(p.logDirection, p.top, p.bottom)) return -1;
    return e.Output().RunFrames("Splice : ", 0, 1, p.top, e.Inputs().InputDepthStep(),
                                [&e, &p, &s, primaryEnd, secondaryFirst](double depth) {
                                    if (!e.Output().StageDepth(depth)) return 0;
                                    const int k = e.Task().singleFrameIndex;
                                    ToolInput& from = k < primaryEnd ? p : s;
                                    const int frame = k < primaryEnd ? k : k - primaryEnd + secondaryFirst;
                                    for (const auto& item : from.list)
                                        if (!e.Output().CopyItem(from, frame, *item)) return 0;
                                    return 1;
                                });
}
