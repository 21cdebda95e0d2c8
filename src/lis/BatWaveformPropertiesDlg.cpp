#include "lis/BatWaveformPropertiesDlg.h"

#include "lis/LisRecords.h"
#include "res/DialogTemplates.h"
#include "res/BatWaveformPropertiesDlgIds.h"

#include <algorithm>

namespace {

constexpr float kOffsetLimit = 32768.0f;
constexpr unsigned kMaxSamples = 2048;
constexpr float kMaxPeriod = 256.0f;
constexpr unsigned kMaxReceivers = 32;
constexpr unsigned kMaxDelay = 2048;

} // namespace

CBatWaveformPropertiesDlg::CBatWaveformPropertiesDlg() : CDialog(DialogTemplateFor(kIddBatWaveformProperties)) {}

bool CBatWaveformPropertiesDlg::OnInitDialog()
{
    SetItemText(kIdcDataSet, "Data Set : " + m_dataSet);
    SetItemText(kIdcWaveform, "Waveform: " + m_waveform);
    return CDialog::OnInitDialog();
}

void CBatWaveformPropertiesDlg::DoDataExchange(DataExchange& dx)
{
    dx.Text(kIdcDataOffset, m_dataOffset);
    dx.MinMax(m_dataOffset, -kOffsetLimit, kOffsetLimit);
    dx.Text(kIdcSamples, m_samples);
    dx.MinMax(m_samples, 0u, kMaxSamples);
    dx.Radio(kIdc5us, m_periodChoice);
    dx.Text(kIdcOtherPeriod, m_otherPeriod);
    dx.MinMax(m_otherPeriod, 0.0f, kMaxPeriod);
    dx.Text(kIdcReceivers, m_receivers);
    dx.MinMax(m_receivers, 0u, kMaxReceivers);
    dx.Text(kIdcFixedDelay, m_fixedDelay);
    dx.MinMax(m_fixedDelay, 0u, kMaxDelay);
    dx.Text(kIdcForeRunner, m_foreRunner);
    dx.MinMax(m_foreRunner, 0u, kMaxDelay);
    dx.Text(kIdcAfterRunner, m_afterRunner);
    dx.MinMax(m_afterRunner, 0u, kMaxDelay);
}

bool CBatWaveformPropertiesDlg::EditItem(CWaveformPickItem& item, const std::string& dataSet)
{
    m_dataSet = dataSet;
    m_waveform = item.m_waveChannels.empty()
                     ? std::string()
                     : item.m_waveChannels.front()->m_mnemonic + " - " + item.m_waveChannels.back()->m_mnemonic;
    m_receivers = item.m_receiverCount;
    m_samples = item.m_samplesPerWaveform;
    m_fixedDelay = unsigned(item.m_fixedDelay);
    m_foreRunner = unsigned(item.m_foreRunner);
    m_afterRunner = unsigned(item.m_afterRunner);
    m_dataOffset = item.m_dataOffset;
    const int shown = item.m_samplePeriod == kHighPeriod ? kChoiceHigh
                      : item.m_samplePeriod == kLowPeriod ? kChoiceLow
                                                          : kChoiceOther;
    m_periodChoice = shown;
    if (shown == kChoiceOther) m_otherPeriod = item.m_samplePeriod;
    DoModal();

    bool changed = m_receivers != item.m_receiverCount || m_samples != item.m_samplesPerWaveform;
    item.m_receiverCount = uint16_t(std::min(m_receivers, 0xFFFFu));
    item.m_samplesPerWaveform = uint16_t(std::min(m_samples, 0xFFFFu));
    item.m_traceCount = item.m_receiverCount; // a trace per receiver
    if (m_periodChoice == kChoiceOther || (m_periodChoice != shown && m_periodChoice >= 0)) {
        changed = true;
        item.m_samplePeriod = m_periodChoice == kChoiceHigh  ? kHighPeriod
                              : m_periodChoice == kChoiceLow ? kLowPeriod
                                                             : m_otherPeriod;
    }
    item.m_fixedDelay = int32_t(m_fixedDelay);
    item.m_foreRunner = int32_t(m_foreRunner);
    item.m_afterRunner = int32_t(m_afterRunner);
    item.m_dataOffset = m_dataOffset;
    return changed;
}
