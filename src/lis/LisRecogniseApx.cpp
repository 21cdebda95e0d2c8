#include "dataset/ItemTypes.h"
#include "lis/ApxToolWaveformDlg.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"
#include "lis/PickApxWaveformsDlg.h"
#include "platform/Host.h"
#include "res/StringTable.h"

#include <vector>

using namespace lis::recognise;

namespace {

// The receivers' gains of `entry`'s gain channel, when the file has it free.
void AddGains(CLisScanState& scan, CWaveformPickItem& item, const CLisDictionaryEntry& entry)
{
    const std::string& mnemonic = entry.m_gainMnemonics[0];
    if (const CLisChannelItem* gain = FindChannel(scan, mnemonic))
        SliceElements(item.m_gainChannels, *gain, ReceiverStem(mnemonic), item.m_receiverCount);
}

// The DIM table tells receivers ("NDIM" 2 row), samples and period (the next row of
// the same channel); the dictionary tells the type. Items it leaves incomplete are
// completed in the APX Tool Waveform dialog, or dropped.
void FromDimTable(CLisScanState& scan, CLisLogicalFile& file, CLisTable& dim, CApxToolWaveformDlg& dialog)
{
    std::vector<CWaveformPickItem*> built;
    for (CLisDimRow& row : dim.m_dimRows) {
        CLisDimRow* sampling = TakeDimWaveform(dim, row);
        if (!sampling) continue;
        const std::string stem = ReceiverStem(row.m_chan);
        CLisChannelItem* first = FindChannel(scan, NumberedName(stem, 1));
        if (!first) continue;

        auto item = std::make_unique<CWaveformPickItem>();
        item->m_toolName = kApx;
        item->m_category = 1;
        TakeDimWaveform(scan, *item, row, *sampling, stem, *first);
        item->m_itemLabel = "UNKNOWN";
        item->m_mnemonic = row.m_chan;
        item->m_waveformName = row.m_chan;
        if (const CLisDictionaryEntry* entry = FindToolEntry(scan, row.m_chan)) {
            const uint8_t type = ItemTypeOfLabel(kApx, entry->m_itemLabel);
            if (type != 0) {
                item->m_typeCode = type;
                item->m_itemLabel = entry->m_itemLabel;
                item->m_mnemonic =
                    LoadString(CApxToolWaveformDlg::WaveTypeOf(type) == CApxToolWaveformDlg::kApxQuad ? kIdsWaveQuadrupole
                                                                                                    : kIdsWaveMonopole);
            }
            AddGains(scan, *item, *entry);
        }
        item->m_displayName = item->m_waveformName + " - " + item->m_itemLabel;
        built.push_back(item.get());
        file.m_items.push_back(std::move(item));
    }

    for (CWaveformPickItem* item : built) {
        if (item->m_typeCode != 0 && item->m_receiverCount != 0 && item->m_samplesPerWaveform != 0
            && item->m_samplePeriod != 0.0f)
            continue;
        dialog.m_dataSet = file.m_fileName;
        dialog.ShowItem(*item);
        if (dialog.DoModal() == IDOK)
            dialog.Fill(*item);
        else
            DropItem(file, item); // its channels stay used: not converted, not curves either
    }
}

// Without a DIM table each dictionary entry names one channel that holds every
// receiver's trace; the user tells how it is cut.
bool FromDictionary(CLisScanState& scan, CLisLogicalFile& file, CApxToolWaveformDlg& dialog)
{
    bool found = false;
    for (const CLisDictionaryEntry* entry : scan.m_toolEntries) {
        const std::string& mnemonic = entry->m_waveMnemonics[0];
        CLisChannelItem* channel = FindChannel(scan, mnemonic);
        if (!channel) continue;
        channel->m_used = 1;
        found = true;
        dialog.m_dataSet = file.m_fileName;
        dialog.m_waveform = mnemonic;
        auto item = std::make_unique<CWaveformPickItem>();
        item->m_toolName = kApx;
        item->m_waveformName = mnemonic;
        item->m_typeCode = ItemTypeOfLabel(kApx, entry->m_itemLabel);
        item->m_receiverCount = uint16_t(dialog.m_receivers);
        item->m_samplesPerWaveform = uint16_t(dialog.m_samples);
        item->m_samplePeriod = dialog.m_samplePeriod;
        dialog.m_waveType = CApxToolWaveformDlg::WaveTypeOf(item->m_typeCode);
        dialog.m_prompt = CApxToolWaveformDlg::PromptFor(*item);
        if (dialog.DoModal() != IDOK) continue;
        dialog.Fill(*item);
        item->m_category = 1;
        SliceTraces(item->m_waveChannels, *channel, ReceiverStem(mnemonic), item->m_receiverCount,
                    item->m_samplesPerWaveform, false);
        AddGains(scan, *item, *entry);
        file.m_items.push_back(std::move(item));
    }
    return found;
}

} // namespace

int RecogniseApx(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    if (!FindTool(scan, kApx)) return 0;
    const ToolEntriesEmptied emptied(scan);

    CApxToolWaveformDlg dialog;
    if (CLisTable* dim = FindTable(file, "DIM")) {
        FromDimTable(scan, file, *dim, dialog);
        return 1;
    }
    if (FromDictionary(scan, file, dialog)) return 1;

    CPickApxWaveformsDlg pick;
    TakePicks(pick, scan, file);
    return 1;
}
