#include "lis/FwsSamplePeriodDlg.h"

#include "res/DialogTemplates.h"
#include "res/ResourceIds.h"

namespace {

// A period of 0 would leave the waveform without a time axis.
constexpr unsigned kMinOtherPeriod = 1;
constexpr unsigned kMaxOtherPeriod = 256;
constexpr size_t kMaxText = 32;

} // namespace

CFwsSamplePeriodDlg::CFwsSamplePeriodDlg() : CDialog(DialogTemplateFor(kIddFwsSamplePeriod)) {}

float CFwsSamplePeriodDlg::ChosenPeriod(float current) const
{
    switch (m_periodChoice) {
    case kChoice4us: return 4.0f;
    case kChoice8us: return 8.0f;
    case kChoiceOther: return float(m_otherPeriod);
    default: return current;
    }
}

bool CFwsSamplePeriodDlg::OnInitDialog()
{
    SetItemText(kIdcWaveName, "Wave Name: " + m_waveName.substr(0, kMaxText));
    SetItemText(kIdcReceivers, "Nuumber Receivers: " + m_receivers.substr(0, kMaxText));
    SetItemText(kIdcSamples, "Number Samples: " + m_samples.substr(0, kMaxText));
    return CDialog::OnInitDialog();
}

void CFwsSamplePeriodDlg::DoDataExchange(DataExchange& dx)
{
    dx.Radio(kIdc4us, m_periodChoice);
    dx.Text(kIdcOtherPeriod, m_otherPeriod);
    if (m_periodChoice == kChoiceOther) dx.MinMax(m_otherPeriod, kMinOtherPeriod, kMaxOtherPeriod);
}
