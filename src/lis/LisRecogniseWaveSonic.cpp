#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"

#include <cstring>
#include <string>

using namespace lis::recognise;

namespace {

// The single-precision periods of the tool's two sampling rates.
constexpr float kMonoPeriod = 20.3174f;
constexpr float kDipolePeriod = 40.6348f;
// Acquisition delay of every waveform, in microseconds.
constexpr double kDelayUs = -304.761;
constexpr unsigned kPackedReceivers = 8;

struct Label {
    const char* label;
    uint8_t type;
    const char* mnemonic;
    float period;
};

constexpr Label kWaveLabels[] = {
    {"WSMONO", 16, "WMNO", kMonoPeriod},   {"WSDXAC", 17, "WDXX", kDipolePeriod},
    {"WSDXBD", 19, "WDXY", kDipolePeriod}, {"WSDYAC", 20, "WDYX", kDipolePeriod},
    {"WSDYBD", 18, "WDYY", kDipolePeriod}, {"WSMA", 81, "WMNO", kMonoPeriod},
    {"WSMB", 82, "WMNO", kMonoPeriod},     {"WSMC", 83, "WMNO", kMonoPeriod},
    {"WSMD", 84, "WMNO", kMonoPeriod},     {"WSDXA", 71, "WDXX", kDipolePeriod},
    {"WSDXB", 72, "WDXY", kDipolePeriod},  {"WSDXC", 73, "WDXX", kDipolePeriod},
    {"WSDXD", 74, "WDXY", kDipolePeriod},  {"WSDYA", 75, "WDYX", kDipolePeriod},
    {"WSDYB", 76, "WDYY", kDipolePeriod},  {"WSDYC", 77, "WDYX", kDipolePeriod},
    {"WSDYD", 78, "WDYY", kDipolePeriod},
};

constexpr Label kSemblanceLabels[] = {
    {"SEMBMONO", 31, "SMNO", 0.0f}, {"SEMBDXX", 32, "SDXX", 0.0f}, {"SEMBDXY", 34, "SDXY", 0.0f},
    {"SEMBDYX", 35, "SDYX", 0.0f},  {"SEMBDYY", 33, "SDYY", 0.0f},
};

template <size_t N>
const Label* Find(const Label (&table)[N], const std::string& label)
{
    for (const Label& l : table)
        if (label == l.label) return &l;
    return nullptr;
}

} // namespace

int RecogniseWaveSonic(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    if (!FindTool(scan, kWaveSonic)) return 0;
    for (const CLisDictionaryEntry* entry : scan.m_toolEntries) {
        CLisChannelItem* first = FindChannel(scan, entry->m_waveMnemonics[0]);
        if (!first || first->m_size <= kMinLongWaveBytes) continue;
        first->m_used = 1;

        auto item = std::make_unique<CWaveformPickItem>();
        item->m_toolName = kWaveSonic;
        item->m_itemLabel = entry->m_itemLabel;
        item->m_waveformName = entry->m_waveName;
        item->m_displayName = entry->m_waveName + " - " + entry->m_itemLabel;

        if (entry->m_mnemonicCount == 1 && entry->m_itemLabel.compare(0, 4, "SEMB") == 0) {
            const Label* l = Find(kSemblanceLabels, entry->m_itemLabel);
            item->m_typeCode = l ? l->type : 0;
            item->m_mnemonic = l ? l->mnemonic : "UNKN";
            item->m_category = 3;
            item->m_receiverCount = 1;
            item->m_traceCount = 1;
            item->m_samplesPerWaveform = uint16_t(first->SampleCount());
            item->m_waveChannels.push_back(CopyChannel(*first));
            file.m_items.push_back(std::move(item));
            continue;
        }

        if (const Label* l = Find(kWaveLabels, entry->m_itemLabel)) {
            item->m_typeCode = l->type;
            item->m_mnemonic = l->mnemonic;
            item->m_samplePeriod = l->period;
            // In double precision, so that 304.761 / 20.3174 stays 15 samples.
            item->m_fixedDelay = DelaySamples(kDelayUs, double(l->period));
        }
        item->m_category = 1;

        if (entry->m_mnemonicCount == 1) {
            // One channel holds the eight receivers one after another.
            const std::string& mnemonic = entry->m_waveMnemonics[0];
            SlicePackedReceivers(*item, *first, mnemonic.size() > 3 ? mnemonic.substr(0, 3) : mnemonic,
                                 kPackedReceivers);
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
