#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"
#include "lis/WaveformPropertiesDlg.h"
#include "res/StringTable.h"

#include <algorithm>
#include <cmath>

using namespace lis::recognise;

namespace {

// Label, QTX mnemonic (string-table entry) and trace-name prefix of a waveform datum;
// its item type is the table's.
struct Kind {
    const char* label;
    unsigned mnemonicId;
    const char* prefix;
};

constexpr Kind kPlainKinds[] = {
    {"DSIMONO", 61248, "MNO"}, {"DSIDXX", 61249, "DXX"}, {"DSIDXY", 61250, "DXY"},
    {"DSIDYX", 61251, "DYX"},  {"DSIDYY", 61252, "DYY"},
};
// The four components of an expanded dipole channel, in their order in it.
constexpr Kind kComponents[] = {
    {"DSIDXX", 61249, "DXX"}, {"DSIDXY", 61250, "DXY"}, {"DSIDYY", 61252, "DYY"}, {"DSIDYX", 61251, "DYX"}};
constexpr int kComponentCount = 4;
constexpr const char* kExpandedLabel = "DSIDEXP";
constexpr uint16_t kDefaultReceivers = 8;
constexpr const char* kMissingInformation = "DSI Waveform missing information";

// A plain label the table does not know: its traces are named by receiver alone.
constexpr const char* kUnknownPrefix = "R";

// The number a CONS parameter gives, truncated toward zero and clamped to a count.
uint16_t CountParameter(const CLisLogicalFile& file, const std::string& name, uint16_t absent)
{
    const CLisTableRow* row = FindConsParameter(file, name);
    if (!row) return absent;
    const double v = std::trunc(ParamFloat(row));
    return std::isfinite(v) ? ClampU16(long(std::clamp(v, 0.0, 65535.0))) : 0;
}

// Per-receiver slices of `channel`, `bytes` each, receiver r at r * bytes plus
// `block`, named prefix and receiver number, into `list`. A slice the channel cannot
// hold ends the slicing: none reaches past the channel.
void SliceReceivers(CLisChannelList& list, const CLisChannelItem& channel, const std::string& prefix,
                    unsigned receivers, uint64_t bytes, uint64_t block)
{
    for (unsigned r = 0; r < receivers; ++r) {
        auto slice = SliceChannel(channel, ReceiverName(prefix, r + 1), block + uint64_t(r) * bytes, bytes);
        if (!slice) break;
        list.push_back(std::move(slice));
    }
}

// The channels of one entry: data, and the gain and normalisation channels found once
// for all its components.
struct EntryChannels {
    const CLisChannelItem& data;
    const CLisChannelItem* gain;
    const CLisChannelItem* normalisation;
};

// One waveform item: the entry's plain datum (component < 0), or component 0-3 of an
// expanded dipole channel.
void AddWaveform(CLisLogicalFile& file, const CLisDictionaryEntry& entry,
                 const EntryChannels& channels, const Kind* kind, int component)
{
    const bool expanded = component >= 0;
    auto item = NewWaveformItem(kDsi, entry);
    const std::string label = kind ? kind->label : entry.m_itemLabel;
    item->m_itemLabel = label;
    item->m_displayName = entry.m_waveName + " - " + label;
    item->m_typeCode = kind ? ItemTypeOfLabel(kDsi, kind->label) : 0;
    item->m_mnemonic = kind ? LoadString(kind->mnemonicId) : "UNKN";

    if (const CLisTableRow* period = FindConsParameter(file, entry.m_periodParam))
        item->m_samplePeriod = float(ParamFloat(period));
    item->m_samplesPerWaveform = CountParameter(file, entry.m_samplesParam, 0);
    uint16_t receivers = CountParameter(file, entry.m_receiversParam, kDefaultReceivers * (expanded ? 4 : 1));
    if (expanded) receivers /= kComponentCount;
    item->m_receiverCount = receivers;

    if (item->m_receiverCount == 0 || item->m_samplesPerWaveform == 0 || item->m_samplePeriod == 0.0f) {
        CWaveformPropertiesDlg dialog;
        dialog.m_toolType = kMissingInformation;
        dialog.m_waveName = item->m_displayName;
        dialog.m_dataSet = file.m_fileName;
        dialog.m_receivers = item->m_receiverCount;
        dialog.m_samples = item->m_samplesPerWaveform;
        dialog.m_samplePeriod = item->m_samplePeriod;
        dialog.DoModal();
        // Whatever ends it: Cancel keeps what it was filled with.
        item->m_receiverCount = uint16_t(std::clamp(dialog.m_receivers, 0, 0xFFFF));
        item->m_samplesPerWaveform = uint16_t(std::clamp(dialog.m_samples, 0, 0xFFFF));
        item->m_samplePeriod = dialog.m_samplePeriod;
        item->m_fixedDelay = dialog.m_fixedDelay;
        item->m_foreRunner = int32_t(dialog.m_foreRunner);
        item->m_afterRunner = int32_t(dialog.m_afterRunner);
        item->m_dataOffset = dialog.m_dataOffset;
    }

    const CLisChannelItem& data = channels.data;
    const unsigned b = unsigned(data.BytesPerSample());
    const uint64_t blocks = uint64_t(item->m_receiverCount) * b * (expanded ? kComponentCount : 1);
    // Without receivers there is nothing to divide the channel among.
    if (item->m_samplesPerWaveform == 0 && blocks > 0) item->m_samplesPerWaveform = uint16_t(data.m_size / blocks);

    const unsigned n = item->m_receiverCount;
    const uint64_t traceBytes = uint64_t(item->m_samplesPerWaveform) * b;
    const unsigned part = expanded ? unsigned(component) : 0;
    const std::string prefix = kind ? kind->prefix : kUnknownPrefix;
    SliceReceivers(item->m_waveChannels, data, prefix, n, traceBytes, uint64_t(n) * traceBytes * part);
    if (const CLisChannelItem* gain = channels.gain) {
        const uint64_t g = uint64_t(gain->BytesPerSample());
        SliceReceivers(item->m_gainChannels, *gain, "GN", n, g, uint64_t(n) * g * part);
    }
    if (const CLisChannelItem* norm = channels.normalisation) {
        const uint64_t g = uint64_t(norm->BytesPerSample());
        SliceReceivers(item->m_startTimeChannels, *norm, "NRM", n, g, uint64_t(n) * g * part);
    }
    item->m_traceCount = item->m_receiverCount;
    item->m_category = 1;
    file.m_items.push_back(std::move(item));
}

const Kind* PlainKind(const std::string& label)
{
    for (const Kind& k : kPlainKinds)
        if (label == k.label) return &k;
    return nullptr;
}

} // namespace

int RecogniseDsi(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    return ForEachToolEntry(scan, kDsi, FirstChannel::LongWave, [&](const CLisDictionaryEntry& entry,
                                                                     CLisChannelItem& channel) {
        if (entry.m_itemLabel.compare(0, 4, "SEMB") == 0) {
            // One trace of slowness values: no receivers, no dialog.
            auto item = NewWaveformItem(kDsi, entry);
            const SemblanceKind kind = SemblanceOf(entry.m_itemLabel);
            item->m_typeCode = kind.type;
            item->m_mnemonic = kind.mnemonic;
            item->m_category = 3;
            item->m_samplesPerWaveform = uint16_t(channel.SampleCount());
            item->m_receiverCount = 1;
            item->m_traceCount = 1;
            if (const CLisTableRow* period = FindConsParameter(file, entry.m_periodParam))
                item->m_samplePeriod = float(ParamFloat(period));
            // A delay without a period has no length in samples: none.
            if (const CLisTableRow* delay = FindConsParameter(file, entry.m_delayParam))
                item->m_fixedDelay = DelaySamples(ParamFloat(delay), item->m_samplePeriod);
            item->m_waveChannels.push_back(CopyChannel(channel));
            file.m_items.push_back(std::move(item));
            return;
        }

        // The gain and normalisation channels hold the values of every component one
        // block after another: found once, they serve all four.
        auto take = [&](const std::string& mnemonic) {
            CLisChannelItem* c = FindChannel(scan, mnemonic);
            if (c) c->m_used = 1;
            return c;
        };
        const CLisChannelItem* gain = take(entry.m_gainMnemonics[0]);
        const CLisChannelItem* normalisation = take(entry.m_extraMnemonics[0]);
        const EntryChannels channels{channel, gain, normalisation};
        if (entry.m_itemLabel == kExpandedLabel) {
            for (int component = 0; component < kComponentCount; ++component)
                AddWaveform(file, entry, channels, &kComponents[component], component);
        } else {
            AddWaveform(file, entry, channels, PlainKind(entry.m_itemLabel), -1);
        }
    });
}
