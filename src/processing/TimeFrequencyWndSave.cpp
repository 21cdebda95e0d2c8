#include "processing/TimeFrequencyWnd.h"

#include "common/OutputGuard.h"
#include "common/ProgressDlg.h"
#include "dataset/ItemTypes.h"
#include "dataset/QtxFrameWriter.h"
#include "platform/BinaryFile.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// A save that failed part-way leaves nothing behind: a data set whose frames stop
// short would read as a whole profile.
int Abandon(CQtxFile& out, const std::string& path)
{
    out.CloseOutput();
    if (FileExists(path)) std::remove(path.c_str());
    return 0;
}

} // namespace

// ---- saving ----------------------------------------------------------------------------------------------

int CTimeFrequencyWnd::SaveProfile()
{
    // A time and a frequency curve per receiver, each named after its receiver.
    const int traces = Traces();
    const size_t count = size_t(traces);
    std::vector<ProfileCurve> times(count), frequencies(count);
    for (int t = 0; t < traces; ++t)
        if (!ArrivalTimeCurve(t, times[size_t(t)]) || !InstantaneousFrequencyCurve(t, frequencies[size_t(t)])) {
            MessageBox(Format("The profile of datum %s cannot be saved: it has %d receivers and profile curves name at "
                              "most %d.\nOperation will be abandoned.",
                              m_mnemonic.c_str(), traces, kProfileCurveReceivers),
                       MB_OK | MB_ICONSTOP);
            return 0;
        }
    if (traces < 1) return 0;
    if (RefuseOutputOverInput(m_outputPath, {m_path})) return 0;
    // A name derived from the input may be another file's: asked once per window.
    if (!m_savedOnce && RefuseToReplaceExisting(m_outputPath)) return 0;

    std::memcpy(m_history, m_file.m_header.history, qtx::kHistorySize);
    if (AppendHistory(HistoryEnd()) < 0) return 0;

    const int first = RangeFirstFrame(), last = RangeLastFrame();
    CQtxFile out;
    if (!out.OpenWrite(m_outputPath)) return 0;
    QtxFileHeader& h = out.m_header;
    h.logDirection = m_file.m_header.logDirection;
    h.depthUnits = m_file.m_header.depthUnits;
    h.frameCount = uint32_t(last - first + 1);
    h.topDepth = m_profileStart;
    h.bottomDepth = m_profileEnd;
    h.depthStep = m_file.m_header.depthStep;
    std::memcpy(h.history, m_history, qtx::kHistorySize);
    CQtxDescriptorList descriptors;
    for (const ProfileCurve& c : times) out.AddDatum(descriptors, c.mnemonic, c.code, 1, kCategoryTrace, 1, kUnitMicroseconds, 1.0f, 1, 0);
    for (const ProfileCurve& c : frequencies) out.AddDatum(descriptors, c.mnemonic, c.code, 1, kCategoryTrace, 1, kUnitHertz, 1.0f, 1, 0);
    if (!out.WriteHeader() || !out.WriteDescriptors(descriptors)) return Abandon(out, m_outputPath);

    CSaveWaitDlg notice;
    notice.Create();
    // Frames in file order: every receiver's time, then every receiver's frequency.
    const bool down = m_frames.IsDown();
    const double step = m_frames.Step();
    std::vector<float> values(size_t(traces) * 2);
    CQtxFrameWriter writer(out);
    for (int frame = first; frame <= last; ++frame) {
        const int j = frame - first;
        const TfRecord* r = m_profile.Record(frame);
        for (int t = 0; t < traces; ++t) {
            const size_t slot = size_t(Slots()[t]);
            values[size_t(t)] = r ? r->times[slot] : kProfileAbsent;
            values[size_t(traces + t)] = r ? r->frequencies[slot] : kProfileAbsent;
        }
        if (!writer.WriteDepth(down ? m_profileStart + j * step : m_profileEnd - j * step)
            || !writer.WriteValues(values.data(), values.size())) {
            writer.Discard();
            return Abandon(out, m_outputPath);
        }
    }
    // A flush that failed inside the finalize leaves a shorter data set: it goes too.
    if (!writer.Finalize()) return Abandon(out, m_outputPath);
    m_savedOnce = true;
    return 1;
}
