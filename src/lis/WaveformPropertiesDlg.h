// The "Waveform Properties" dialog: shows one waveform item's receivers, sampling,
// delay, runners and A/D offset for correction. The DSI recogniser asks through it
// for what a file lacks; the item selection lets the user correct an item with it.
#pragma once

#include "platform/Dialog.h"
#include "res/WaveformPropertiesDlgIds.h"

#include <string>

class CWaveformPickItem;

class CWaveformPropertiesDlg : public CDialog {
public:
    using enum waveform_properties::Control; // ids shared with the template

    CWaveformPropertiesDlg();

    // Shown only.
    std::string m_toolType;
    std::string m_waveName;
    // Exchanged; OK keeps them within their ranges.
    int m_receivers = 0;        // 0 to 32
    int m_samples = 0;          // 0 to 2048
    float m_samplePeriod = 0;   // 0.0 to 256.0 microseconds
    std::string m_dataSet;      // shown only
    unsigned m_afterRunner = 0; // 0 to 2048 samples
    int m_fixedDelay = 0;       // -2040 to 2040 samples: some tools record before the firing
    float m_dataOffset = 0;     // A/D bits, any number
    unsigned m_foreRunner = 0;  // 0 to 2048 samples

    // Shows `item` of the data set `dataSet` (the LIS file name) and copies back what
    // the dialog holds when it ends, whatever button ends it. True when the receiver
    // count, samples or sample period changed.
    bool EditItem(CWaveformPickItem& item, const std::string& dataSet);

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
};
