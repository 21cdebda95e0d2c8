#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"

using namespace lis::recognise;

namespace {

constexpr float kPeriod = 6.4f; // microseconds; the file's parameters are not read
constexpr unsigned kPackedReceivers = 4;

} // namespace

int RecogniseScout(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    return RecogniseEntries(scan, file, kScout, FirstChannel::LongWave,
                            [&](const CLisDictionaryEntry& entry, CLisChannelItem& first, CWaveformPickItem& item) {
        item.m_typeCode = ItemTypeOfLabel(kScout, entry.m_itemLabel);
        item.m_samplePeriod = kPeriod;
        if (entry.m_mnemonicCount == 1) {
            // One channel holds the four receivers one after another.
            SlicePackedReceivers(item, first, entry.m_waveName.substr(0, 3), kPackedReceivers);
        } else {
            item.m_samplesPerWaveform = uint16_t(first.SampleCount());
            item.m_receiverCount = GatherWaveChannels(scan, item, entry, first);
        }
        item.m_traceCount = item.m_receiverCount;
        return true;
    });
}
