#include "dataset/ItemTypes.h"
#include "lis/DalToolWaveformDlg.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"
#include "lis/LisStartDelay.h"
#include "platform/Host.h"
#include "res/StringTable.h"

#include <algorithm>

using namespace lis::recognise;

namespace {

// The user's picks, appended in pick order; returns how many.
size_t FromDialog(CLisScanState& scan, CLisLogicalFile& file)
{
    CDalToolWaveformDlg dialog;
    return TakePicks(dialog, scan, file);
}

// The waveforms the DIM table describes: receivers in a "NDIM" 2 row, samples and
// period in the next row of its channel, one channel per receiver. A channel no
// dictionary entry names is left to the user. Returns the items made.
size_t FromDimTable(CLisScanState& scan, CLisLogicalFile& file, CLisTable& dim)
{
    size_t made = 0;
    for (CLisDimRow& row : dim.m_dimRows) {
        CLisDimRow* sampling = TakeDimWaveform(dim, row);
        if (!sampling) continue;
        const CLisDictionaryEntry* entry = FindToolEntry(scan, row.m_chan);
        if (!entry) {
            made += FromDialog(scan, file);
            continue;
        }
        const std::string stem = ReceiverStem(row.m_chan);
        CLisChannelItem* first = FindChannel(scan, NumberedName(stem, 1));
        if (!first) continue;

        auto item = NewWaveformItem(kDal, *entry);
        const std::string& label = entry->m_itemLabel;
        const bool known = label == "DALNEAR" || label == "DALFAR";
        item->m_itemLabel = known ? label : "UNKNOWN";
        item->m_displayName = entry->m_waveName + " - " + item->m_itemLabel;
        item->m_typeCode = known ? ItemTypeOfLabel(kDal, label) : 0;
        TakeDimWaveform(scan, *item, row, *sampling, stem, *first);
        if (const CLisChannelItem* gain = FindChannel(scan, entry->m_gainMnemonics[0]))
            SliceElements(item->m_gainChannels, *gain, ReceiverStem(gain->m_mnemonic), item->m_receiverCount);
        if (const CLisChannelItem* start = FindChannel(scan, entry->m_extraMnemonics[0]))
            SliceElements(item->m_startTimeChannels, *start, ReceiverStem(start->m_mnemonic), item->m_receiverCount);
        file.m_items.push_back(std::move(item));
        ++made;
    }
    return made;
}

bool HasStartTimes(const CWaveformPickItem& item)
{
    return item.m_toolName == kDal && !item.m_startTimeChannels.empty();
}

// Each frame's largest start time, in samples, becomes the fixed delay when it is
// larger; a delay never leaves the trace too short for its samples.
void ReadStartDelays(CLisScanState& scan, CLisLogicalFile& file)
{
    if (std::none_of(file.m_items.begin(), file.m_items.end(), [](const auto& i) { return HasStartTimes(*i); }))
        return;
    CLisFrameReader reader(scan.m_inputFile, scan.m_framing);
    for (const CLisDepthEntry& entry : file.m_depths) {
        if (!reader.Read(entry.m_recordPosition)) continue;
        for (auto& item : file.m_items) {
            if (!HasStartTimes(*item)) continue;
            double largest = 0.0;
            for (const auto& channel : item->m_startTimeChannels)
                if (const auto v = reader.Value(entry.m_frameOffset, *channel); v && *v > largest) largest = *v;
            const int32_t delay = DelaySamples(largest, item->m_samplePeriod);
            if (delay > item->m_fixedDelay)
                item->m_fixedDelay = lis::start_delay::FitDelay(delay, item->m_samplesPerWaveform);
        }
    }
}

} // namespace

int RecogniseDal(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    if (!FindTool(scan, kDal)) return 0;
    const ToolEntriesEmptied emptied(scan);

    CLisTable* dim = FindTable(file, "DIM");
    const size_t made = dim ? FromDimTable(scan, file, *dim) : FromDialog(scan, file);
    if (made > 0) ReadStartDelays(scan, file);
    return 1;
}
