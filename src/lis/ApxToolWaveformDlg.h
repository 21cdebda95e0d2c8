// The "APX Tool Waveform" dialog: the type, receivers, sampling, delay, runners and A/D
// offset of one APX waveform, asked by the APX recogniser for what a file does not
// tell. One dialog serves a whole recognition: what it is not given keeps the values of
// its previous use.
#pragma once

#include "platform/Dialog.h"
#include "res/ApxToolWaveformDlgIds.h"

#include <string>

class CWaveformPickItem;

class CApxToolWaveformDlg : public CDialog {
public:
    using enum apx_tool_waveform::Control; // ids shared with the template
    enum WaveType : int { kNoType = -1, kApxMono = 0, kApxQuad = 1 };

    CApxToolWaveformDlg();

    std::string m_dataSet;    // shown, at most 32 characters
    int m_receivers = 0;      // 0 to 32
    int m_samples = 0;        // 0 to 2048
    float m_samplePeriod = 0; // 0.0 to 2048.0 microseconds
    int m_waveType = kNoType;
    int m_afterRunner = 0;    // 0 to 2048 samples
    float m_dataOffset = 0;   // A/D bits, any number
    int m_fixedDelay = 0;     // 0 to 2040 samples
    int m_foreRunner = 0;     // 0 to 2048 samples
    std::string m_prompt;     // shown, at most 256 characters
    std::string m_waveform;   // shown

    // The wave type of an item type code, and the prompt for what `item` lacks.
    static int WaveTypeOf(uint8_t typeCode);
    static std::string PromptFor(const CWaveformPickItem& item);
    // Shows `item`'s values (with its waveform name and prompt).
    void ShowItem(const CWaveformPickItem& item);
    // Gives `item` what the dialog holds: type, label, mnemonic, display name (from its
    // waveform name), receivers and traces, samples, period, delay, runners and offset.
    void Fill(CWaveformPickItem& item) const;

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
};
