#include "common/ProgressDlg.h"
#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"
#include "lis/LisStartDelay.h"
#include "lis/MacXmacPickDlg.h"
#include "lis/WaveformPropertiesDlg.h"
#include "platform/Host.h"
#include "res/StringTable.h"

#include <algorithm>
#include <cmath>

using namespace lis::recognise;

namespace {

constexpr const char* kMissingInformation = "MAC/XMAC Waveform missing information";
constexpr const char* kSearchStatus = "Scanning File for Start Delay";
constexpr const char* kStopQuestion = "Are you sure you want to stop scanning?";
// The receivers row of this channel may describe a later entry's waveform.
constexpr const char* kSharedReceiversChannel = "YYWV";
// Equal frames after which a start delay counts, and the mark of a finished search.
constexpr uint16_t kStableFrames = 20;
constexpr uint16_t kSearchDone = 21;
constexpr int kProgressSteps = 1000;
// Waveforms whose channels are shorter hold no acoustic trace.
constexpr int kMinPickSamples = 128;

// Label, item type and QTX mnemonic of an entry's label ("UNKN" and 0 for any other).
void SetKind(CWaveformPickItem& item, const std::string& label)
{
    static const struct {
        const char* label;
        unsigned mnemonicId;
    } kinds[] = {{"XMACMONO", 61248}, {"XMACDXX", 61249}, {"XMACDXY", 61250}, {"XMACDYX", 61251}, {"XMACDYY", 61252}};
    item.m_itemLabel = label;
    item.m_typeCode = 0;
    item.m_mnemonic = "UNKN";
    for (const auto& k : kinds)
        if (label == k.label) {
            item.m_typeCode = ItemTypeOfLabel(kXmac, k.label);
            item.m_mnemonic = LoadString(k.mnemonicId);
        }
}

// Receivers, samples and period that the DIM rows give, asked where they are 0. False
// when the user cancels.
bool CompleteSampling(const CLisLogicalFile& file, const std::string& waveName, uint16_t& receivers,
                      uint16_t& samples, float& period)
{
    while (receivers == 0 || samples == 0 || period == 0.0f) {
        CWaveformPropertiesDlg dialog;
        dialog.m_toolType = kMissingInformation;
        dialog.m_waveName = waveName;
        dialog.m_dataSet = file.m_fileName;
        dialog.m_receivers = receivers;
        dialog.m_samples = samples;
        dialog.m_samplePeriod = period;
        if (dialog.DoModal() != IDOK) return false;
        receivers = uint16_t(std::clamp(dialog.m_receivers, 0, 0xFFFF));
        samples = uint16_t(std::clamp(dialog.m_samples, 0, 0xFFFF));
        period = dialog.m_samplePeriod;
    }
    return true;
}

enum class DimResult { Done, Incomplete };

// The entries that the DIM table describes; Incomplete when an entry lacks one of its
// two wave rows (the user then picks the rest). `made` counts the items built.
DimResult FromDimTable(CLisScanState& scan, CLisLogicalFile& file, CLisTable& dim, size_t& made)
{
    for (const CLisDictionaryEntry* entry : scan.m_toolEntries) {
        const std::string& wave = entry->m_waveMnemonics[0];
        CLisDimRow* samplesRow = nullptr;
        CLisDimRow* receiversRow = nullptr;
        auto classify = [&](CLisDimRow* row) {
            row->m_used = 1;
            if (row->m_ndim == "1") samplesRow = row;
            if (row->m_ndim == "2") receiversRow = row;
        };
        CLisDimRow* row = FindDimRow(dim, wave);
        if (!row) continue;
        classify(row);
        if (CLisDimRow* second = FindDimRow(dim, wave)) classify(second);
        if (!samplesRow || !receiversRow) return DimResult::Incomplete;

        CLisDimRow* gainRow = FindDimRow(dim, entry->m_gainMnemonics[0]);
        if (gainRow) gainRow->m_used = 1;
        CLisDimRow* startRow = FindDimRow(dim, entry->m_extraMnemonics[0]);
        if (startRow) startRow->m_used = 1;
        if (!gainRow && !startRow) {
            if (receiversRow->m_chan == kSharedReceiversChannel) samplesRow->m_used = receiversRow->m_used = 0;
            continue;
        }

        uint16_t samples = DimCount(samplesRow->m_size);
        float period = DimPeriod(samplesRow->m_incr);
        uint16_t receivers = DimCount(receiversRow->m_size);

        const std::string stem = ReceiverStem(wave);
        CLisChannelItem* channel = FindChannel(scan, wave);
        const bool packed = channel != nullptr;
        if (!channel) channel = FindChannel(scan, NumberedName(stem, 1));
        if (!channel || channel->m_size <= kMinLongWaveBytes) continue;
        channel->m_used = 1;
        if (!CompleteSampling(file, wave, receivers, samples, period)) continue;

        auto item = NewWaveformItem(kXmac, *entry);
        SetKind(*item, entry->m_itemLabel);
        ++made;
        if (packed) {
            SliceTraces(item->m_waveChannels, *channel, stem, receivers, samples, false);
        } else {
            item->m_waveChannels.push_back(CopyChannel(*channel));
            for (unsigned r = 2; r <= receivers; ++r) {
                CLisChannelItem* c = FindChannel(scan, NumberedName(stem, r));
                if (!c) continue;
                c->m_used = 1;
                item->m_waveChannels.push_back(CopyChannel(*c));
            }
        }
        // The gain and start-time channels stay free: they also become curves.
        const std::string& gainName = entry->m_gainMnemonics[0];
        if (const CLisChannelItem* gain = FindChannel(scan, gainName))
            SliceElements(item->m_gainChannels, *gain, ReceiverStem(gainName), receivers);
        const std::string& startName = entry->m_extraMnemonics[0];
        if (const CLisChannelItem* start = FindChannel(scan, startName))
            SliceElements(item->m_startTimeChannels, *start, ReceiverStem(startName), receivers);
        item->m_receiverCount = receivers;
        item->m_traceCount = receivers;
        item->m_samplesPerWaveform = samples;
        item->m_samplePeriod = period;
        file.m_items.push_back(std::move(item));
    }
    return DimResult::Done;
}

// The user's picks, when the file has channels long enough for a waveform.
void FromPickDialog(CLisScanState& scan, CLisLogicalFile& file, size_t& made)
{
    const bool any = std::any_of(scan.m_channelList.begin(), scan.m_channelList.end(),
                                 [](const CLisChannelItem* c) { return c->SampleCount() > kMinPickSamples; });
    if (!any) return;
    CMacXmacPickDlg dialog;
    made = TakePicks(dialog, scan, file);
}

bool IsSearched(const CWaveformPickItem& item)
{
    return (item.m_toolName == kXmac || item.m_toolName == kMac) && !item.m_startTimeChannels.empty()
           && item.m_startDelayFrames < kStableFrames;
}

// One frame's start times of `item`: the run of equal largest start times grows, or
// starts again; at 20 equal frames the delay becomes the item's fixed delay.
void SearchFrame(CWaveformPickItem& item, const CLisFrameReader& reader, uint32_t frameOffset)
{
    int counted = 0;
    double largest = 0.0;
    for (const auto& channel : item.m_startTimeChannels) {
        double v = 0.0; // the tool's other codes count as a start time of 0
        if (lis::start_delay::IsTimeCode(channel->m_reprCode)) {
            const auto value = reader.Value(frameOffset, *channel);
            if (!value) continue; // past the end of the record
            v = *value;
        }
        if (!(v >= 0.0)) continue;
        ++counted;
        largest = std::max(largest, v);
    }
    if (counted == item.m_receiverCount) {
        ++item.m_startDelayFrames;
        if (item.m_startDelayFrames == 1) item.m_startDelay = float(largest);
        if (float(largest) != item.m_startDelay) {
            item.m_startDelayFrames = 0;
            item.m_startDelay = 0.0f;
        }
    } else {
        item.m_startDelayFrames = 0;
        item.m_startDelay = 0.0f;
    }
    if (item.m_startDelayFrames == kStableFrames) {
        item.m_startDelayFrames = kSearchDone;
        const int32_t delay = DelaySamples(item.m_startDelay, item.m_samplePeriod);
        if (delay > item.m_fixedDelay) item.m_fixedDelay = delay;
        item.m_fixedDelay = lis::start_delay::FitDelay(item.m_fixedDelay, item.m_samplesPerWaveform);
    }
}

// The frames' start times, depth entry by depth entry, until every item with start
// times has found its delay. False when the user stops.
bool SearchStartDelay(CLisScanState& scan, CLisLogicalFile& file, CProgressDlg& progress)
{
    CLisFrameReader reader(scan.m_inputFile, scan.m_framing);
    const size_t total = file.m_depths.size();
    for (size_t d = 0; d < total; ++d) {
        if (progress.CheckCancelButton() && MessageBox(kStopQuestion, MB_YESNO) == IDYES) return false;
        const CLisDepthEntry& entry = file.m_depths[d];
        reader.Read(entry.m_recordPosition);
        bool searched = false;
        for (auto& item : file.m_items) {
            if (!IsSearched(*item)) continue;
            searched = true;
            SearchFrame(*item, reader, entry.m_frameOffset);
        }
        progress.SetPos(int(double(d + 1) / double(total) * kProgressSteps));
        if (!searched) break;
    }
    return true;
}

} // namespace

int RecogniseMacXmac(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    if (!FindTool(scan, kXmac)) return 0;
    const ToolEntriesEmptied emptied(scan);

    size_t made = 0;
    CLisTable* dim = FindTable(file, "DIM");
    if (!dim || FromDimTable(scan, file, *dim, made) == DimResult::Incomplete) FromPickDialog(scan, file, made);

    CProgressDlg progress;
    progress.Create();
    progress.SetStatus(kSearchStatus);
    progress.SetRange(0, kProgressSteps);
    progress.SetPos(0);
    if (made > 0 && !SearchStartDelay(scan, file, progress)) return 0;
    return 1;
}
