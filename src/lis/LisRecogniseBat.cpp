#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"

#include <algorithm>

using namespace lis::recognise;

namespace {

// The high-frequency waveforms are sampled at the high rate, the low-frequency ones at the low.
float PeriodOf(const std::string& label)
{
    if (label == "BATHFF" || label == "BATHFB") return kBatHighPeriod;
    if (label == "BATLFF" || label == "BATLFB") return kBatLowPeriod;
    return 0.0f;
}

} // namespace

int RecogniseBat(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    return RecogniseEntries(scan, file, kBat, FirstChannel::LongWave,
                            [&](const CLisDictionaryEntry& entry, CLisChannelItem& first, CWaveformPickItem& item) {
        item.m_samplesPerWaveform = uint16_t(first.SampleCount());
        item.m_typeCode = ItemTypeOfLabel(kBat, entry.m_itemLabel);
        item.m_samplePeriod = PeriodOf(entry.m_itemLabel);
        // Always the tool's six further receivers, whatever count the entry claims.
        item.m_waveChannels.push_back(CopyChannel(first));
        TakeNamedChannels(scan, entry.m_waveMnemonics, 1, kBatReceivers, item.m_waveChannels);
        // The tool's receivers, even when the file lacks some of their channels.
        item.m_receiverCount = kBatReceivers;
        item.m_traceCount = kBatReceivers;
        return true;
    });
}
