#include "dataset/ItemTypes.h"
#include "lis/FwsSamplePeriodDlg.h"
#include "lis/FwsWavePickDlg.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <algorithm>
#include <vector>

using namespace lis::recognise;

namespace {

constexpr unsigned kPackedReceivers = 4;
constexpr const char* kWaveLabel = "FWSMONO"; // the item type of every FWS waveform

void MakeSemblance(CWaveformPickItem& item, const CLisDictionaryEntry& entry, const CLisChannelItem& channel)
{
    item.m_toolName = kWaveSonic; // the item-type table credits the semblances to it
    MakeSemblanceItem(item, entry.m_itemLabel, channel);
}

void MakeWaveform(CLisScanState& scan, CWaveformPickItem& item, const CLisDictionaryEntry& entry,
                  const CLisChannelItem& channel)
{
    item.m_typeCode = ItemTypeOfLabel(kNoTool, kWaveLabel);
    if (entry.m_mnemonicCount <= 1) {
        // One datum holds the four receivers one after another.
        const unsigned samples = channel.m_size / (kPackedReceivers * unsigned(channel.BytesPerSample()));
        item.m_samplesPerWaveform = uint16_t(samples);
        SliceTraces(item.m_waveChannels, channel, ReceiverStem(channel.m_mnemonic), kPackedReceivers, samples, false);
        item.m_receiverCount = kPackedReceivers;
    } else {
        // A datum per receiver, each with the gain datum at the same place in the entry.
        item.m_waveChannels.push_back(CopyChannel(channel));
        if (const CLisChannelItem* gain = FindChannel(scan, entry.m_gainMnemonics[0]))
            item.m_gainChannels.push_back(CopyChannel(*gain));
        const size_t count = std::min<size_t>(entry.m_mnemonicCount, entry.m_waveMnemonics.size());
        for (size_t i = 1; i < count; ++i) {
            CLisChannelItem* wave = FindChannel(scan, entry.m_waveMnemonics[i]);
            if (!wave) continue;
            wave->m_used = 1;
            item.m_waveChannels.push_back(CopyChannel(*wave));
            if (const CLisChannelItem* gain = FindChannel(scan, entry.m_gainMnemonics[i]))
                item.m_gainChannels.push_back(CopyChannel(*gain));
        }
        item.m_samplesPerWaveform = uint16_t(channel.SampleCount());
        item.m_receiverCount = uint16_t(item.m_waveChannels.size());
    }
    item.m_traceCount = item.m_receiverCount;
}

} // namespace

int RecogniseFws(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    if (!FindTool(scan, kFws)) return 0;
    const ToolEntriesEmptied emptied(scan);

    std::vector<CWaveformPickItem*> built;
    for (CLisChannelItem* channel : scan.m_channelList) {
        if (channel->m_used) continue; // also the further datums of an entry taken before
        const CLisDictionaryEntry* entry = FindToolEntry(scan, channel->m_mnemonic);
        if (!entry || channel->m_size <= kMinLongWaveBytes) continue;
        channel->m_used = 1;
        auto item = NewWaveformItem(kFws, *entry);
        if (entry->m_mnemonicCount <= 1 && entry->m_itemLabel.compare(0, 4, "SEMB") == 0)
            MakeSemblance(*item, *entry, *channel);
        else
            MakeWaveform(scan, *item, *entry, *channel);
        built.push_back(item.get());
        file.m_items.push_back(std::move(item));
    }

    if (!built.empty()) {
        for (CWaveformPickItem* item : built) {
            CFwsSamplePeriodDlg dialog;
            dialog.m_waveName = item->m_waveformName;
            dialog.m_receivers = Format("%d", int(item->m_receiverCount));
            dialog.m_samples = Format("%d", int(item->m_samplesPerWaveform));
            dialog.m_periodChoice = CFwsSamplePeriodDlg::kChoice4us;
            if (dialog.DoModal() == IDOK)
                item->m_samplePeriod = dialog.ChosenPeriod(item->m_samplePeriod);
            else
                DropItem(file, item); // its channels stay used: not converted, not curves either
        }
        return 1;
    }

    CFwsWavePickDlg pick;
    TakePicks(pick, scan, file);
    return 1;
}
