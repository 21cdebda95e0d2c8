#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"
#include "lis/LssSamplePeriodDlg.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <algorithm>
#include <vector>

using namespace lis::recognise;

namespace {

constexpr float kDefaultPeriod = 4.0f; // microseconds, until the user picks

} // namespace

int RecogniseLss(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    CLssSamplePeriodDlg dialog;
    std::vector<CWaveformPickItem*> built;
    const int result = RecogniseEntries(scan, file, kLss, FirstChannel::AnySize,
                                        [&](const CLisDictionaryEntry& entry, CLisChannelItem& first,
                                            CWaveformPickItem& item) {
        item.m_typeCode = ItemTypeOfLabelOr(kNoTool, entry.m_itemLabel, "LSSNEAR", "LSSFAR");
        item.m_receiverCount = GatherWaveChannels(scan, item, entry, first);
        // A gain channel per receiver; they count no receiver.
        const size_t count = std::min<size_t>(entry.m_mnemonicCount, entry.m_gainMnemonics.size());
        for (size_t i = 0; i < count; ++i) {
            CLisChannelItem* gain = FindChannel(scan, entry.m_gainMnemonics[i]);
            if (!gain) continue;
            gain->m_used = 1;
            item.m_gainChannels.push_back(CopyChannel(*gain));
        }
        item.m_samplePeriod = kDefaultPeriod;
        item.m_samplesPerWaveform = uint16_t(first.SampleCount());
        item.m_traceCount = item.m_receiverCount;
        built.push_back(&item);
        return true;
    });

    // The file's sample period is of no use: ask for each waveform's, in item order.
    for (CWaveformPickItem* item : built) {
        // The tool's dictionary records carry no waveform name: the label tells near from far.
        dialog.m_waveName = item->m_waveformName.empty() ? item->m_itemLabel : item->m_waveformName;
        dialog.m_receivers = Format("%d", int(item->m_receiverCount));
        dialog.m_samples = Format("%d", int(item->m_samplesPerWaveform));
        dialog.m_periodChoice = CLssSamplePeriodDlg::kChoice4us;
        if (dialog.DoModal() == IDOK) {
            item->m_samplePeriod = dialog.ChosenPeriod(item->m_samplePeriod);
            continue;
        }
        // Not converted. The item holds copies of its channels, so dropping it frees
        // none of the scan's; they stay used, so they do not come back as curves.
        auto& items = file.m_items;
        items.erase(std::remove_if(items.begin(), items.end(), [item](const auto& p) { return p.get() == item; }),
                    items.end());
    }
    return result;
}
