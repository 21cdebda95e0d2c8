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
    if (!FindTool(scan, kScout)) return 0;
    for (const CLisDictionaryEntry* entry : scan.m_toolEntries) {
        CLisChannelItem* first = FindChannel(scan, entry->m_waveMnemonics[0]);
        if (!first || first->m_size <= kMinLongWaveBytes) continue;
        first->m_used = 1;

        auto item = NewWaveformItem(kScout, *entry);
        item->m_typeCode = ItemTypeOfLabel(kScout, entry->m_itemLabel);
        item->m_samplePeriod = kPeriod;

        if (entry->m_mnemonicCount == 1) {
            // One channel holds the four receivers one after another.
            SlicePackedReceivers(*item, *first, entry->m_waveName.substr(0, 3), kPackedReceivers);
        } else {
            item->m_samplesPerWaveform = uint16_t(first->SampleCount());
            item->m_receiverCount = GatherWaveChannels(scan, *item, *entry, *first);
        }
        item->m_traceCount = item->m_receiverCount;
        file.m_items.push_back(std::move(item));
    }
    scan.m_toolEntries.clear();
    return 1;
}
