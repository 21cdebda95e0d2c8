#include "lis/ApxToolWaveformDlg.h"

#include "dataset/ItemTypes.h"
#include "lis/LisRecognise.h"
#include "lis/LisRecords.h"
#include "res/DialogTemplates.h"
#include "res/ApxToolWaveformDlgIds.h"
#include "res/StringTable.h"

#include <algorithm>

namespace {

constexpr int kMaxDataSet = 32;
constexpr int kMaxPrompt = 256;
constexpr int kMaxReceivers = 32;
constexpr int kMaxSamples = 2048;
constexpr float kMaxPeriod = 2048.0f;
constexpr int kMaxRunner = 2048;
// As in Waveform Properties: a longer delay leaves a trace no room for its samples.
constexpr int kMaxDelay = 2040;

constexpr const char* kMonoLabel = "APXMONO";
constexpr const char* kQuadLabel = "APXQUAD";

} // namespace

CApxToolWaveformDlg::CApxToolWaveformDlg() : CDialog(DialogTemplateFor(kIddApxToolWaveform)) {}

int CApxToolWaveformDlg::WaveTypeOf(uint8_t typeCode)
{
    if (typeCode != 0 && typeCode == ItemTypeOfLabel(lis::recognise::kApx, kMonoLabel)) return kApxMono;
    if (typeCode != 0 && typeCode == ItemTypeOfLabel(lis::recognise::kApx, kQuadLabel)) return kApxQuad;
    return kNoType;
}

std::string CApxToolWaveformDlg::PromptFor(const CWaveformPickItem& item)
{
    // The last of the checks that holds is shown.
    std::string prompt;
    if (item.m_typeCode == 0) prompt = "APX Waveform Type Unknown - Choose APXMONO or APXQUAD";
    if (item.m_samplePeriod == 0.0f) prompt = "Sample Period  is 0.0 - Enter Waveform Sample Period";
    if (item.m_receiverCount == 0) prompt = "Number Receivers is 0 - Enter Number Receivers for Waveform";
    if (item.m_samplesPerWaveform == 0) prompt = "Number of Samples is 0 - Enter Number of Samples for Waveform";
    return prompt;
}

void CApxToolWaveformDlg::ShowItem(const CWaveformPickItem& item)
{
    m_waveform = item.m_waveformName;
    m_waveType = WaveTypeOf(item.m_typeCode);
    m_receivers = item.m_receiverCount;
    m_samples = item.m_samplesPerWaveform;
    m_samplePeriod = item.m_samplePeriod;
    m_prompt = PromptFor(item);
}

void CApxToolWaveformDlg::Fill(CWaveformPickItem& item) const
{
    using namespace lis::recognise;
    switch (m_waveType) {
    case kApxMono:
        item.m_itemLabel = kMonoLabel;
        item.m_mnemonic = LoadString(kIdsWaveMonopole);
        break;
    case kApxQuad:
        item.m_itemLabel = kQuadLabel;
        item.m_mnemonic = LoadString(kIdsWaveQuadrupole);
        break;
    default:
        item.m_itemLabel = "UNKNOWN";
        item.m_mnemonic = "UNKN";
        break;
    }
    item.m_typeCode = m_waveType == kNoType ? 0 : ItemTypeOfLabel(kApx, item.m_itemLabel);
    item.m_displayName = item.m_waveformName + " - " + item.m_itemLabel;
    item.m_receiverCount = uint16_t(std::clamp(m_receivers, 0, kMaxReceivers));
    item.m_traceCount = item.m_receiverCount;
    item.m_samplesPerWaveform = uint16_t(std::clamp(m_samples, 0, kMaxSamples));
    item.m_samplePeriod = m_samplePeriod;
    item.m_fixedDelay = m_fixedDelay;
    item.m_foreRunner = m_foreRunner;
    item.m_afterRunner = m_afterRunner;
    item.m_dataOffset = m_dataOffset;
}

bool CApxToolWaveformDlg::OnInitDialog()
{
    SetItemText(kIdcWaveform, "Waveform: " + m_waveform);
    return CDialog::OnInitDialog();
}

void CApxToolWaveformDlg::DoDataExchange(DataExchange& dx)
{
    if (!dx.Saving()) {
        SetItemText(kIdcDataSet, "Data Set: " + m_dataSet.substr(0, kMaxDataSet));
        SetItemText(kIdcPrompt, m_prompt.substr(0, kMaxPrompt));
    }
    dx.Text(kIdcReceivers, m_receivers);
    dx.MinMax(m_receivers, 0, kMaxReceivers);
    dx.Text(kIdcSamples, m_samples);
    dx.MinMax(m_samples, 0, kMaxSamples);
    dx.Text(kIdcSamplePeriod, m_samplePeriod);
    dx.MinMax(m_samplePeriod, 0.0f, kMaxPeriod);
    dx.Radio(kIdcApxMono, m_waveType);
    dx.Text(kIdcAfterRunner, m_afterRunner);
    dx.MinMax(m_afterRunner, 0, kMaxRunner);
    dx.Text(kIdcDataOffset, m_dataOffset);
    dx.Text(kIdcFixedDelay, m_fixedDelay);
    dx.MinMax(m_fixedDelay, 0, kMaxDelay);
    dx.Text(kIdcForeRunner, m_foreRunner);
    dx.MinMax(m_foreRunner, 0, kMaxRunner);
}
