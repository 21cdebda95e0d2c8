#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"

using namespace lis::recognise;

namespace {

constexpr float kDefaultPeriod = 10.0f; // microseconds
constexpr uint16_t kQsltReceivers = 5;
constexpr unsigned kQsltBlocks = 6;     // per frame: five receivers and one block unused

// Sample period from the CONS parameter (10 us without it), fixed delay from the
// delay parameter (none without it).
void SetTiming(const CLisLogicalFile& file, const CLisDictionaryEntry& entry, CWaveformPickItem& item)
{
    const CLisTableRow* period = FindConsParameter(file, entry.m_periodParam);
    item.m_samplePeriod = period ? float(ParamFloat(period)) : kDefaultPeriod;
    if (const CLisTableRow* delay = FindConsParameter(file, entry.m_delayParam))
        item.m_fixedDelay = DelaySamples(ParamFloat(delay), item.m_samplePeriod);
}

} // namespace

int RecogniseSlt(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    return RecogniseEntries(scan, file, kSlt, FirstChannel::AnySize,
                            [&](const CLisDictionaryEntry& entry, CLisChannelItem& first, CWaveformPickItem& item) {
        item.m_typeCode = ItemTypeOfLabelOr(kSlt, entry.m_itemLabel, "SLTUPPER", "SLTLOWER");
        item.m_receiverCount = GatherWaveChannels(scan, item, entry, first);
        item.m_samplesPerWaveform = uint16_t(first.SampleCount());
        SetTiming(file, entry, item);
        item.m_traceCount = item.m_receiverCount;
        return true;
    });
}

int RecogniseQslt(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    return RecogniseEntries(scan, file, kQslt, FirstChannel::AnySize,
                            [&](const CLisDictionaryEntry& entry, CLisChannelItem& channel, CWaveformPickItem& item) {
        const unsigned b = unsigned(channel.BytesPerSample());
        item.m_typeCode = ItemTypeOfLabelOr(kQslt, entry.m_itemLabel, "QSLTUPPER", "QSLTLOWER");
        item.m_receiverCount = kQsltReceivers;
        SetTiming(file, entry, item);
        const unsigned samples = channel.m_size / (kQsltBlocks * b);
        item.m_samplesPerWaveform = uint16_t(samples);
        // The channel itself stays out of the item: it holds all receivers.
        for (unsigned r = 0; r < kQsltReceivers; ++r) {
            auto slice = SliceChannel(channel, entry.m_waveName + std::to_string(r + 1), uint64_t(r) * samples * b,
                                      uint64_t(samples) * b);
            if (slice) item.m_waveChannels.push_back(std::move(slice));
        }
        item.m_traceCount = kQsltReceivers;
        return true;
    });
}
