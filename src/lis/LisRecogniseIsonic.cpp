#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"

using namespace lis::recognise;

namespace {

constexpr float kDefaultPeriod = 20.0f;  // microseconds
constexpr double kDefaultDelayUs = 400.0; // of every waveform but the monopole "MON"

} // namespace

int RecogniseIsonic(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    if (!FindTool(scan, kIsonic)) return 0;
    for (const CLisDictionaryEntry* entry : scan.m_toolEntries) {
        CLisChannelItem* first = FindChannel(scan, entry->m_waveMnemonics[0]);
        if (!first || first->m_size <= kMinLongWaveBytes) continue;
        first->m_used = 1;

        // Tool name and type wait for the receiver count.
        auto item = NewWaveformItem(std::string(), *entry);
        const uint16_t receivers = GatherWaveChannels(scan, *item, *entry, *first);
        item->m_receiverCount = receivers;
        item->m_samplesPerWaveform = uint16_t(first->SampleCount());

        const CLisTableRow* period = FindConsParameter(file, entry->m_periodParam);
        item->m_samplePeriod = period ? float(ParamFloat(period)) : kDefaultPeriod;
        if (const CLisTableRow* delay = FindConsParameter(file, entry->m_delayParam))
            item->m_fixedDelay = DelaySamples(ParamFloat(delay), item->m_samplePeriod);
        else if (entry->m_waveName != "MON")
            item->m_fixedDelay = DelaySamples(kDefaultDelayUs, item->m_samplePeriod);

        if (receivers == 4 || receivers == 8) {
            item->m_toolName = receivers == 4 ? "Isonic" : "IsonicPlus";
            item->m_typeCode = kItemTypeIsonic;
        }
        item->m_traceCount = receivers;
        item->m_category = 1;
        file.m_items.push_back(std::move(item));
    }
    scan.m_toolEntries.clear();
    return 1;
}
