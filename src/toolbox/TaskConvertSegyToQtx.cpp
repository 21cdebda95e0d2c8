// Convert SEGY To QTX: a SEG-Y file this program wrote (its own variant, or the
// published layout of one earlier version) as a data set of one datum, one frame per
// shot in the file's order, each at its shot's own depth.
#include "toolbox/OneFrameStep.h"
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"
#include "dataset/ReceiverGeometry.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace {

const char kCut[] = "Imported %lld whole shot(s) of file :\n%s\nThe file ends %lld byte(s) into shot %lld: that shot "
                    "is cut and was left out.";

// The datum's mnemonic by its category and item type; its unit (0 too) and first index
// as the file says them, else (a file without them) the unit by its category.
CQtxDatum DescribeDatum(const CSegyFile& s)
{
    const uint8_t type = s.m_shape.itemType;
    uint8_t unit = kUnitMicroseconds;
    std::string mnemonic = "    ";
    switch (s.m_shape.category) {
    case kCategoryWaveform:
        mnemonic = InFamily(type, ItemFamily::InstFrequency)  ? CReceiverGeometry::GetInstFrequencyMnemonic(type)
                   : InFamily(type, ItemFamily::InstSlowness) ? CReceiverGeometry::GetInstSlownessMnemonic(type)
                                                              : CReceiverGeometry::GetWaveformMnemonic(type);
        break;
    case kCategorySlowness:
        unit = kUnitMicrosecondsPerFoot;
        mnemonic = InFamily(type, ItemFamily::Semblance) ? CReceiverGeometry::GetSemblanceMnemonic(type)
                                                         : CReceiverGeometry::GetDistributionMnemonic(type);
        break;
    case kCategoryAzimuth:
        unit = kUnitDegrees;
        mnemonic = CReceiverGeometry::GetComponentEnergyMnemonic(type);
        break;
    default: break;
    }
    if (s.m_shape.axisGiven) unit = s.m_shape.axisUnit;
    return CQtxDatum(1, mnemonic, type, s.m_shape.category, type, 1, uint16_t(s.m_shape.tracesPerShot), 1, qtx::kDepthSize, 0,
                     unit, s.m_shape.firstIndex, uint16_t(s.m_shape.samplesPerTrace), s.m_shape.sampleInterval);
}

int ShotFrame(CToolsWnd& e)
{
    CSegyFile& s = e.Segy().file;
    if (!s.ReadShotAt(e.Segy().shotBuffer, e.Task().singleFrameIndex)) return 0;
    // The shot's own depth: depths rebuilt from the step would not be the file's.
    if (!e.Output().StageDepth(CSegyFile::TraceDepth(e.Segy().shotBuffer.data()))) return 0;
    const size_t bytes = size_t(s.m_shape.samplesPerTrace) * sizeof(float);
    for (int t = 0; t < s.m_shape.tracesPerShot; ++t) {
        uint8_t* to = e.Output().ReserveFrameBytes(bytes);
        if (!to) return 0;
        // The slots hold little-endian floats, as the data set does: the bytes go over as they are.
        std::memcpy(to, e.Segy().shotBuffer.data() + size_t(t) * segy::kSlotSize + segy::kSamples, bytes);
    }
    return 1;
}

// Every shot's depth against the file's one depth rule, before the output exists.
int CheckShotDepths(CToolsWnd& e, const CSegyDepthGrid& rule)
{
    CSegyFile& s = e.Segy().file;
    CSegyDepthGrid grid = rule;
    // Past the first shot off its place too: the refusal names where the depths break.
    for (int64_t k = 0; k < s.ShotCount() && !grid.Broken(); ++k) {
        const double depth = s.ReadShotDepth(e.Segy().traceHeader, k);
        if (s.ReadFailed()) return 0;
        grid.Take(depth);
    }
    if (grid.Kept()) return 1;
    MessageBox(DepthRefusal(e.Task().primary.path, grid.Detail()), MB_OK | MB_ICONSTOP);
    return 0;
}

} // namespace

int ConvertSegyToQtx(CToolsWnd& e)
{
    CSegyFile& s = e.Segy().file;
    const std::string& path = e.Task().primary.path;
    if (!s.OpenInput(e.Segy().fileHeader, path)) return -1;
    const double first = s.ReadFirstShotDepth(e.Segy().traceHeader);
    const double last = s.ReadFailed() ? 0.0 : s.ReadLastShotDepth(e.Segy().traceHeader);
    const CSegyDepthGrid grid(s.m_shape.logDirection, first, last, s.ShotCount());
    if (s.ReadFailed() || !CheckShotDepths(e, grid)) {
        e.Inputs().CloseInputs();
        return -1;
    }
    const bool up = s.m_shape.logDirection == segy::kLogUp;
    const bool metres = s.m_shape.depthUnits == segy::kUnitsMetres;
    const bool oneShot = s.ShotCount() == 1;
    // Up logs store their step below zero, as the grid gives it for more shots.
    const double oneStep = one_frame::Step(metres) * (up ? -1.0 : 1.0);
    const double step = oneShot ? oneStep : grid.Step();
    // The frame writer's own guard judges neighbours: two shots each up to the grid's
    // tolerance off their places are up to twice that off one step.
    e.Output().SetDepthResolution(2.0 * grid.Tolerance());
    e.Task().firstIndex = 0;
    e.Task().endIndex = int32_t(std::min<int64_t>(s.ShotCount(), INT32_MAX));
    e.Task().depthUnitLabel = metres ? "M" : "FT";
    e.Task().logDirectionLabel = up ? "UP" : "DOWN";
    e.Settings().startDepth = std::min(first, last);
    e.Settings().stopDepth = std::max(first, last);
    e.Task().taskLine = "*** Tools (Convert SEGY to QTX)";
    const ToolOutputHead head{s.m_shape.logDirection, s.m_shape.depthUnits, first, last, step, nullptr};
    if (!e.Output().WriteOutputHead(head, {DescribeDatum(s)})) return -1;
    const int64_t torn = s.TornBytes(), shots = s.ShotCount();
    const int result = e.Output().RunFrames("Convert to QTX : ", 0, 1, first, step, [&e](double) { return ShotFrame(e); });
    // A file that ends inside a shot was cut: its whole shots are the data set, and the
    // user hears that the rest is missing.
    if (result == 1 && torn > 0 && !e.Task().stopped)
        MessageBox(Format(kCut, static_cast<long long>(shots), path.c_str(), static_cast<long long>(torn),
                          static_cast<long long>(shots) + 1),
                   MB_OK | MB_ICONEXCLAMATION);
    else if (result == 1 && oneShot && !e.Task().stopped)
        MessageBox(one_frame::Headline("shot", path) + "\n" + one_frame::StepLine("shot", step, metres),
                   MB_OK | MB_ICONINFORMATION);
    return result;
}
