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
        const size_t count = std::min<size_t>(entry.m_mnemonicCount, entry.m_extraMnemonics.size());
        for (size_t i = 0; i < count; ++i) {
            CLisChannelItem* start = FindChannel(scan, entry.m_extraMnemonics[i]);
            if (!start) continue;
            start->m_used = 1;
            item.m_startTimeChannels.push_back(CopyChannel(*start));
        }

        item.m_receiverCount = receivers;
        item.m_samplePeriod = kPeriod;
        item.m_samplesPerWaveform = uint16_t(first.SampleCount());
        if (const CLisTableRow* delay = FindConsParameter(file, entry.m_delayParam))
            item.m_fixedDelay = DelaySamples(ParamFloat(delay), kPeriod);
        item.m_traceCount = receivers;
        return true;
    });
}
