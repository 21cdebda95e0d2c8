#include "processing/ProfileWnd.h"

#include "dataset/ItemTypes.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <algorithm>

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
    if ((m_setup.domain == kDomainTime || m_setup.domain == kDomainAzimuth) && traces > kProfileCurveReceivers)
        return refuse(Format("it has %d receivers and profile curves name at most %d.", traces,
                             kProfileCurveReceivers));
    ProfileCurve curve;
    switch (m_setup.domain) {
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
    return m_setup.domain == kDomainTime        ? "*** Time Domain Profile"
           : m_setup.domain == kDomainFrequency ? "*** Frequency Domain Profile"
           : m_setup.domain == kDomainAzimuth   ? "*** Azimuth Domain Profile"
                                          : "*** Slowness Domain Profile";
}

// ---- saving ----------------------------------------------------------------------------------------------

int CProfileWnd::SaveProfile()
{
    std::vector<ProfileCurve> curves;
    if (!OutputCurves(curves)) return 0;
    const uint8_t unit = m_setup.domain == kDomainTime        ? kUnitMicroseconds
                         : m_setup.domain == kDomainFrequency ? kUnitHertz
                         : m_setup.domain == kDomainAzimuth   ? kUnitDegrees
                         : IsMetric(m_setup.slownessUnit)     ? kUnitMicrosecondsPerMetre
                                                              : kUnitMicrosecondsPerFoot;
    const bool perTrace = m_setup.domain == kDomainTime || m_setup.domain == kDomainAzimuth;
    const size_t count = curves.size();
    return WriteProfile(curves, std::vector<uint8_t>(count, unit), [&](int frame, float* values) {
        const CProfileRecord* r = ProfileRecord(frame);
        for (size_t i = 0; i < count; ++i) {
            const size_t slot = size_t(m_receiverIndex[perTrace ? i : 0]);
            values[i] = r ? r->m_values[slot] : kAbsent;
        }
    });
}
