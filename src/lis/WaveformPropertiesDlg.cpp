#include "lis/WaveformPropertiesDlg.h"

#include "lis/LisRecords.h"
#include "res/DialogTemplates.h"
#include "res/WaveformPropertiesDlgIds.h"

#include <algorithm>

namespace {

constexpr int kMaxReceivers = 32;
constexpr int kMaxSamples = 2048;
constexpr float kMaxPeriod = 256.0f;
constexpr unsigned kMaxRunner = 2048;
constexpr int kMaxDelay = 2040;

// "first - last" of the item's wave channels, empty without any.
std::string WaveNameOf(const CWaveformPickItem& item)
{
    if (item.m_waveChannels.empty()) return std::string();
    return item.m_waveChannels.front()->m_mnemonic + " - " + item.m_waveChannels.back()->m_mnemonic;
}

} // namespace

CWaveformPropertiesDlg::CWaveformPropertiesDlg() : CDialog(DialogTemplateFor(kIddWaveformProperties)) {}

bool CWaveformPropertiesDlg::OnInitDialog()
{
    SetItemText(kIdcDataSet, "Data Set: " + m_dataSet);
    SetItemText(kIdcToolType, "Tool Type: " + m_toolType);
    SetItemText(kIdcWaveName, "Wave Name: " + m_waveName);
    return CDialog::OnInitDialog();
}

void CWaveformPropertiesDlg::DoDataExchange(DataExchange& dx)
{
    dx.Text(kIdcReceivers, m_receivers);
    dx.MinMax(m_receivers, 0, kMaxReceivers);
    dx.Text(kIdcSamples, m_samples);
    dx.MinMax(m_samples, 0, kMaxSamples);
    dx.Text(kIdcSamplePeriod, m_samplePeriod);
    dx.MinMax(m_samplePeriod, 0.0f, kMaxPeriod);
    dx.Text(kIdcAfterRunner, m_afterRunner);
    dx.MinMax(m_afterRunner, 0u, kMaxRunner);
    dx.Text(kIdcFixedDelay, m_fixedDelay);
    dx.MinMax(m_fixedDelay, -kMaxDelay, kMaxDelay);
    dx.Text(kIdcDataOffset, m_dataOffset);
    dx.Text(kIdcForeRunner, m_foreRunner);
    dx.MinMax(m_foreRunner, 0u, kMaxRunner);
}

bool CWaveformPropertiesDlg::EditItem(CWaveformPickItem& item, const std::string& dataSet)
{
    m_dataSet = dataSet;
    m_toolType = item.m_toolName;
    m_waveName = WaveNameOf(item);
    m_receivers = item.m_receiverCount;
    m_samples = item.m_samplesPerWaveform;
    m_samplePeriod = item.m_samplePeriod;
    m_fixedDelay = item.m_fixedDelay;
    m_foreRunner = unsigned(item.m_foreRunner);
    m_afterRunner = unsigned(item.m_afterRunner);
    m_dataOffset = item.m_dataOffset;
    DoModal();

    // Cancel leaves the members as they were filled, so copying back changes nothing.
    item.m_fixedDelay = m_fixedDelay;
    item.m_foreRunner = int32_t(m_foreRunner);
    item.m_afterRunner = int32_t(m_afterRunner);
    item.m_dataOffset = m_dataOffset;
    const bool changed = m_receivers != item.m_receiverCount || m_samples != item.m_samplesPerWaveform
                         || m_samplePeriod != item.m_samplePeriod;
    item.m_receiverCount = uint16_t(std::clamp(m_receivers, 0, 0xFFFF));
    item.m_samplesPerWaveform = uint16_t(std::clamp(m_samples, 0, 0xFFFF));
    item.m_samplePeriod = m_samplePeriod;
    // A waveform has a trace per receiver.
    item.m_traceCount = item.m_receiverCount;
    return changed;
}
