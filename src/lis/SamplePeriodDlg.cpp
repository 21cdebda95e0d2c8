#include "lis/SamplePeriodDlg.h"

#include "res/DialogTemplates.h"

namespace {

// A period of 0 would leave the waveform without a time axis.
constexpr unsigned kMinOtherPeriod = 1;
constexpr unsigned kMaxOtherPeriod = 256;

} // namespace

CSamplePeriodDlg::CSamplePeriodDlg(int templateId, const Controls& controls)
    : CDialog(DialogTemplateFor(templateId)), m_controls(controls)
{
}

float CSamplePeriodDlg::ChosenPeriod(float current) const
{
    switch (m_periodChoice) {
    case kChoice4us: return 4.0f;
    case kChoice8us: return 8.0f;
    case kChoiceOther: return float(m_otherPeriod);
    default: return current;
    }
}

bool CSamplePeriodDlg::OnInitDialog()
{
    const size_t n = m_controls.maxText;
    SetItemText(m_controls.waveName, "Wave Name: " + m_waveName.substr(0, n));
    SetItemText(m_controls.receivers, m_controls.receiversLabel + m_receivers.substr(0, n));
    SetItemText(m_controls.samples, "Number Samples: " + m_samples.substr(0, n));
    return CDialog::OnInitDialog();
}

void CSamplePeriodDlg::DoDataExchange(DataExchange& dx)
{
    dx.Radio(m_controls.radio4us, m_periodChoice);
    dx.Text(m_controls.otherPeriod, m_otherPeriod);
    if (m_periodChoice == kChoiceOther) dx.MinMax(m_otherPeriod, kMinOtherPeriod, kMaxOtherPeriod);
}
