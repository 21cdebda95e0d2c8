#include "processing/TimeFrequencyWnd.h"

#include "dataset/ItemTypes.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <algorithm>

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
    // Every receiver's time, then every receiver's frequency.
    std::vector<ProfileCurve> curves = times;
    curves.insert(curves.end(), frequencies.begin(), frequencies.end());
    std::vector<uint8_t> units(count, kUnitMicroseconds);
    units.resize(count * 2, kUnitHertz);
    return WriteProfile(curves, units, [&](int frame, float* values) {
        const TfRecord* r = m_profile.Record(frame);
        for (int t = 0; t < traces; ++t) {
            const size_t slot = size_t(Slots()[t]);
            values[t] = r ? r->times[slot] : kProfileAbsent;
            values[traces + t] = r ? r->frequencies[slot] : kProfileAbsent;
        }
    });
}
