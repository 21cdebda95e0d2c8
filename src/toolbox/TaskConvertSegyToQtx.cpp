// Convert SEGY To QTX: a SEG-Y file of the program's own variant as a data set of one
// datum, one frame per shot in the file's order, each at its shot's own depth.
#include "toolbox/ToolsWnd.h"

#include "dataset/ItemTypes.h"
#include "dataset/ReceiverGeometry.h"
#include "platform/Host.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace {

const char kStep[] = "Unrecognized depth step in SEGY data set!\nOperation will be abandoned.";

// The datum's unit and mnemonic, by its category and item type.
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
    return CQtxDatum(1, mnemonic, type, s.m_shape.category, type, 1, uint16_t(s.m_shape.tracesPerShot), 1, qtx::kDepthSize, 0,
                     unit, 0, uint16_t(s.m_shape.samplesPerTrace), s.m_shape.sampleInterval);
}

int ShotFrame(CToolsWnd& e, double depth)
{
    CSegyFile& s = e.Segy().file;
    if (!s.ReadShot(e.Segy().shotBuffer, depth)) return 0;
    // The shot's own depth: depths rebuilt from the step would drift, since the step is
    // read from depths cut to thousandths.
    if (!e.Output().StageDepth(CSegyFile::TraceDepth(e.Segy().shotBuffer.data()))) return 0;
    const size_t bytes = size_t(s.m_shape.samplesPerTrace) * sizeof(float);
    for (int t = 0; t < s.m_shape.tracesPerShot; ++t) {
        uint8_t* to = e.Output().ReserveFrameBytes(bytes);
        if (!to) return 0;
        // Both sides hold little-endian floats: the bytes go over as they are.
        std::memcpy(to, e.Segy().shotBuffer.data() + size_t(t) * segy::kSlotSize + segy::kSamples, bytes);
    }
    return 1;
}

} // namespace

int ConvertSegyToQtx(CToolsWnd& e)
{
    CSegyFile& s = e.Segy().file;
    if (!s.OpenInput(e.Segy().fileHeader, e.Task().primary.path)) return -1;
    const double first = s.ReadFirstShotDepth(e.Segy().traceHeader);
    const double last = s.ReadFailed() ? 0.0 : s.ReadLastShotDepth(e.Segy().traceHeader);
    const double step = s.ReadFailed() ? 0.0 : s.ReadDepthStep(e.Segy().shotBuffer);
    if (s.ReadFailed()) {
        e.Inputs().CloseInputs();
        return -1;
    }
    // Depths must move from shot to shot, the way the file says they run.
    const bool up = s.m_shape.logDirection == segy::kLogUp;
    if (!(up ? step < 0.0 : step > 0.0)) {
        e.Inputs().CloseInputs();
        MessageBox(kStep, MB_OK | MB_ICONSTOP);
        return -1;
    }
    // Every shot's depth, before the output exists: the frames take them as they are.
    // Depths in thousandths make steps wobble by one thousandth.
    const double resolution = 1.0 / segy::kDepthScale;
    CDepthRule rule(s.m_shape.logDirection == segy::kLogDown ? qtx::kLogDown : qtx::kLogUp, step, resolution);
    for (int64_t k = 0; k < s.ShotCount(); ++k) {
        const double depth = s.ReadShotDepth(e.Segy().traceHeader, k);
        if (s.ReadFailed() || !OkOrShow(rule.Check(depth, e.Task().primary.path))) {
            e.Inputs().CloseInputs();
            return -1;
        }
    }
    e.Output().SetDepthResolution(resolution);
    s.SetDepthStep(step);
    e.Task().firstIndex = 0;
    e.Task().endIndex = int32_t(std::min<int64_t>(s.ShotCount(), INT32_MAX));
    e.Task().depthUnitLabel = s.m_shape.depthUnits == segy::kUnitsMetres ? "M" : "FT";
    e.Task().logDirectionLabel = up ? "UP" : "DOWN";
    e.Settings().startDepth = std::min(first, last);
    e.Settings().stopDepth = std::max(first, last);
    e.Task().taskLine = "*** Tools (Convert SEGY to QTX)";
    const ToolOutputHead head{s.m_shape.logDirection, s.m_shape.depthUnits, first, last, step, nullptr};
    if (!e.Output().WriteOutputHead(head, {DescribeDatum(s)})) return -1;
    return e.Output().RunFrames("Convert to QTX : ", 0, 1, first, step,
                                [&e](double depth) { return ShotFrame(e, depth); });
}
