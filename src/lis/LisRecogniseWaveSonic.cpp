#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"

#include <string>

using namespace lis::recognise;

namespace {

// The single-precision periods of the tool's two sampling rates.
constexpr float kMonoPeriod = 20.3174f;
constexpr float kDipolePeriod = 40.6348f;
// Acquisition delay of every waveform, in microseconds.
constexpr double kDelayUs = -304.761;
constexpr unsigned kPackedReceivers = 8;

// QTX mnemonic and sample period by label; the item type is the table's.
struct Label {
    const char* label;
    const char* mnemonic;
    float period;
};

constexpr Label kWaveLabels[] = {
    {"WSMONO", "WMNO", kMonoPeriod},   {"WSDXAC", "WDXX", kDipolePeriod}, {"WSDXBD", "WDXY", kDipolePeriod},
    {"WSDYAC", "WDYX", kDipolePeriod}, {"WSDYBD", "WDYY", kDipolePeriod}, {"WSMA", "WMNO", kMonoPeriod},
    {"WSMB", "WMNO", kMonoPeriod},     {"WSMC", "WMNO", kMonoPeriod},     {"WSMD", "WMNO", kMonoPeriod},
    {"WSDXA", "WDXX", kDipolePeriod},  {"WSDXB", "WDXY", kDipolePeriod},  {"WSDXC", "WDXX", kDipolePeriod},
    {"WSDXD", "WDXY", kDipolePeriod},  {"WSDYA", "WDYX", kDipolePeriod},  {"WSDYB", "WDYY", kDipolePeriod},
    {"WSDYC", "WDYX", kDipolePeriod},  {"WSDYD", "WDYY", kDipolePeriod},
};

const Label* FindWave(const std::string& label)
{
    for (const Label& l : kWaveLabels)
        if (label == l.label) return &l;
    return nullptr;
}

} // namespace

int RecogniseWaveSonic(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    return RecogniseEntries(scan, file, kWaveSonic, FirstChannel::LongWave,
                            [&](const CLisDictionaryEntry& entry, CLisChannelItem& first, CWaveformPickItem& item) {
        if (entry.m_mnemonicCount == 1 && entry.m_itemLabel.compare(0, 4, "SEMB") == 0) {
            MakeSemblanceItem(item, entry.m_itemLabel, first);
            return true;
        }

        // An unknown label leaves type, mnemonic, period and delay unset.
        item.m_mnemonic.clear();
        if (const Label* l = FindWave(entry.m_itemLabel)) {
            item.m_typeCode = ItemTypeOfLabel(kWaveSonic, l->label);
            item.m_mnemonic = l->mnemonic;
            item.m_samplePeriod = l->period;
            // In double precision, so that 304.761 / 20.3174 stays 15 samples.
            item.m_fixedDelay = DelaySamples(kDelayUs, double(l->period));
        }

        if (entry.m_mnemonicCount == 1) {
            // One channel holds the eight receivers one after another.
            const std::string& mnemonic = entry.m_waveMnemonics[0];
            SlicePackedReceivers(item, first, mnemonic.size() > 3 ? mnemonic.substr(0, 3) : mnemonic,
                                 kPackedReceivers);
        } else {
            item.m_samplesPerWaveform = uint16_t(first.SampleCount());
            item.m_receiverCount = GatherWaveChannels(scan, item, entry, first);
        }
        item.m_traceCount = item.m_receiverCount;
        return true;
    });
}
