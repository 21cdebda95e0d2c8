#include "lis/LssSamplePeriodDlg.h"

#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"

namespace {

// A period of 0 would leave the waveform without a time axis.
constexpr unsigned kMinOtherPeriod = 1;
constexpr unsigned kMaxOtherPeriod = 256;

} // namespace

CLssSamplePeriodDlg::CLssSamplePeriodDlg() : CDialog(DialogTemplateFor(kIddLssSamplePeriod)) {}

float CLssSamplePeriodDlg::ChosenPeriod(float current) const
{
    switch (m_periodChoice) {
    case kChoice4us: return 4.0f;
    case kChoice8us: return 8.0f;
    case kChoiceOther: return float(m_otherPeriod);
    default: return current;
    }
}

bool CLssSamplePeriodDlg::OnInitDialog()
{
    SetItemText(kIdcWaveName, "Wave Name: " + m_waveName);
    SetItemText(kIdcReceivers, "Number Receivers: " + m_receivers);
    SetItemText(kIdcSamples, "Number Samples: " + m_samples);
    return CDialog::OnInitDialog();
}

void CLssSamplePeriodDlg::DoDataExchange(DataExchange& dx)
{
    dx.Radio(kIdc4us, m_periodChoice);
    dx.Text(kIdcOtherPeriod, m_otherPeriod);
    if (m_periodChoice == kChoiceOther) dx.MinMax(m_otherPeriod, kMinOtherPeriod, kMaxOtherPeriod);
}
