#include "processing/ProfileWnd.h"

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

// ---- the curves ------------------------------------------------------------------------------------

bool CProfileWnd::OutputCurves(std::vector<ProfileCurve>& curves)
{
    // Every value a frame carries needs a datum of its own: a profile that would write
    // values no descriptor names is not saved.
    auto refuse = [this](const std::string& why) {
        MessageBox(Format("The profile of datum %s cannot be saved: %s\nOperation will be abandoned.",
                          m_mnemonic.c_str(), why.c_str()),
                   MB_OK | MB_ICONSTOP);
        return false;
    };
    curves.clear();
    const int traces = m_receivers;
    if ((m_domain == kDomainTime || m_domain == kDomainAzimuth) && traces > kProfileCurveReceivers)
        return refuse(Format("it has %d receivers and profile curves name at most %d.", traces,
                             kProfileCurveReceivers));
    ProfileCurve curve;
    switch (m_domain) {
    case kDomainTime:
        for (int t = 0; t < traces; ++t)
            if (ArrivalTimeCurve(t, curve)) curves.push_back(curve);
        return true;
    case kDomainFrequency: curves.push_back(PeakFrequencyCurve()); return true;
    case kDomainSlowness:
        if (!PeakSlownessCurve(m_typeCode, curve))
            return refuse(Format("no slowness curve is defined for its item type %d.", m_typeCode));
        curves.push_back(curve);
        return true;
    default:
        for (int t = 0; t < traces; ++t) {
            if (!AzimuthCurve(m_typeCode, t, curve))
                return refuse(Format("no azimuth curves are defined for its item type %d.", m_typeCode));
            curves.push_back(curve);
        }
        return true;
    }
}

// ---- history ------------------------------------------------------------------------------------------

std::string CProfileWnd::HistoryTitle() const
{
    return m_domain == kDomainTime        ? "*** Time Domain Profile"
           : m_domain == kDomainFrequency ? "*** Frequency Domain Profile"
           : m_domain == kDomainAzimuth   ? "*** Azimuth Domain Profile"
                                          : "*** Slowness Domain Profile";
}

// ---- saving ----------------------------------------------------------------------------------------------

int CProfileWnd::SaveProfile()
{
    std::vector<ProfileCurve> curves;
    if (!OutputCurves(curves) || curves.empty()) return 0;
    if (RefuseOutputOverInput(m_outputPath, {m_path})) return 0;
    // A name derived from the input may be another file's: asked once per window.
    if (!m_savedOnce && RefuseToReplaceExisting(m_outputPath)) return 0;

    std::memcpy(m_history, m_file.m_header.history, qtx::kHistorySize);
    if (AppendHistory(HistoryEnd()) < 0) return 0;

    const uint8_t unit = m_domain == kDomainTime        ? kUnitMicroseconds
                         : m_domain == kDomainFrequency ? kUnitHertz
                         : m_domain == kDomainAzimuth   ? kUnitDegrees
                         : m_slownessUnit == "[uSec/ft]" ? kUnitMicrosecondsPerFoot
                                                         : kUnitMicrosecondsPerMetre;
    const int first = RangeFirstFrame(), last = RangeLastFrame();
    CQtxFile out;
    if (!out.OpenWrite(m_outputPath)) return 0;
    QtxFileHeader& h = out.m_header;
    h.logDirection = m_file.m_header.logDirection;
    h.depthUnits = m_file.m_header.depthUnits;
    h.frameCount = 0; // counted when the save ends: a save cut short leaves no header that lies
    h.topDepth = m_profileStart;
    h.bottomDepth = m_profileEnd;
    h.depthStep = m_file.m_header.depthStep;
    std::memcpy(h.history, m_history, qtx::kHistorySize);
    CQtxDescriptorList descriptors;
    for (const ProfileCurve& c : curves)
        out.AddDatum(descriptors, c.mnemonic, c.code, 1, kCategoryTrace, 1, unit, 1.0f, 1, 0);
    // A save that fails leaves no file.
    if (!out.WriteHeader() || !out.WriteDescriptors(descriptors)) {
        out.CloseOutput();
        if (FileExists(m_outputPath)) std::remove(m_outputPath.c_str());
        return 0;
    }

    CSaveWaitDlg notice;
    notice.Create();
    // Frames in file order; depths counted from the range's first frame.
    const bool down = m_frames.IsDown();
    const double step = m_frames.Step();
    const bool perTrace = m_domain == kDomainTime || m_domain == kDomainAzimuth;
    std::vector<float> values(curves.size());
    CQtxFrameWriter writer(out);
    for (int frame = first; frame <= last; ++frame) {
        const int j = frame - first;
        const CProfileRecord* r = ProfileRecord(frame);
        for (size_t i = 0; i < values.size(); ++i) {
            const size_t slot = size_t(m_receiverIndex[perTrace ? i : 0]);
            values[i] = r ? r->m_values[slot] : kAbsent;
        }
        if (!writer.WriteDepth(down ? m_profileStart + j * step : m_profileEnd - j * step)
            || !writer.WriteValues(values.data(), values.size())) {
            writer.Discard();
            out.CloseOutput();
            if (FileExists(m_outputPath)) std::remove(m_outputPath.c_str());
            return 0;
        }
    }
    if (!writer.Finalize()) return 0;
    m_savedOnce = true;
    return 1;
}
