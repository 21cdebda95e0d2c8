#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"

#include <algorithm>

using namespace lis::recognise;

namespace {

constexpr float kPeriod = 10.0f; // microseconds, whatever the file says

} // namespace

int RecogniseDslt(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    return RecogniseEntries(scan, file, kDslt, FirstChannel::AnySize,
                            [&](const CLisDictionaryEntry& entry, CLisChannelItem& first, CWaveformPickItem& item) {
        item.m_typeCode = ItemTypeOfLabelOr(kNoTool, entry.m_itemLabel, "DSLTNEAR", "DSLTFAR");
        const uint16_t receivers = GatherWaveChannels(scan, item, entry, first);

        // One start-time channel per receiver; they count no receiver.
        TakeNamedChannels(scan, entry.m_extraMnemonics, 0, entry.m_mnemonicCount, item.m_startTimeChannels);

        item.m_receiverCount = receivers;
        item.m_samplePeriod = kPeriod;
        item.m_samplesPerWaveform = uint16_t(first.SampleCount());
        if (const CLisTableRow* delay = FindConsParameter(file, entry.m_delayParam))
            item.m_fixedDelay = DelaySamples(ParamFloat(delay), kPeriod);
        item.m_traceCount = receivers;
        return true;
    });
}
