#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"

using namespace lis::recognise;

namespace {

constexpr float kDefaultPeriod = 20.0f;  // microseconds
constexpr double kDefaultDelayUs = 400.0; // of every waveform but the monopole "MON"

} // namespace

int RecogniseIsonic(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    return RecogniseEntries(scan, file, kIsonic, FirstChannel::LongWave,
                            [&](const CLisDictionaryEntry& entry, CLisChannelItem& first, CWaveformPickItem& item) {
        const uint16_t receivers = GatherWaveChannels(scan, item, entry, first);
        item.m_receiverCount = receivers;
        item.m_samplesPerWaveform = uint16_t(first.SampleCount());

        const CLisTableRow* period = FindConsParameter(file, entry.m_periodParam);
        item.m_samplePeriod = period ? float(ParamFloat(period)) : kDefaultPeriod;
        if (const CLisTableRow* delay = FindConsParameter(file, entry.m_delayParam))
            item.m_fixedDelay = DelaySamples(ParamFloat(delay), item.m_samplePeriod);
        else if (entry.m_waveName != "MON")
            item.m_fixedDelay = DelaySamples(kDefaultDelayUs, item.m_samplePeriod);

        // The receivers found tell the tool and its variant apart; other counts name neither.
        item.m_toolName = receivers == 4 ? "Isonic" : receivers == 8 ? "IsonicPlus" : "";
        item.m_typeCode = receivers == 4 || receivers == 8 ? kItemTypeIsonic : 0;
        item.m_traceCount = receivers;
        return true;
    });
}
