#include "processing/ProfileSearchSetupDlg.h"

#include "common/RangeCheck.h"
#include "res/AzimuthProfileSetupDlgIds.h"
#include "res/DialogTemplates.h"
#include "res/FrequencyProfileSetupDlgIds.h"
#include "res/SlownessProfileSetupDlgIds.h"

namespace {

// The messages name uSec/ft whatever unit the data set's slowness has.
constexpr RangeFields kSlowness{slowness_profile_setup::kIdcMinimum, slowness_profile_setup::kIdcMaximum,
                                "minimum slowness", "maximum slowness", "uSec/ft", 30.0, 1250.0};
constexpr RangeFields kFrequency{frequency_profile_setup::kIdcMinimum, frequency_profile_setup::kIdcMaximum,
                                 "minimum frequency", "maximum frequency", "Hz", 0.0, 50000.0};
constexpr RangeFields kAzimuth{azimuth_profile_setup::kIdcMinimum, azimuth_profile_setup::kIdcMaximum,
                               "minimum azimuth", "maximum azimuth", "deg", 0.0, 360.0};

} // namespace

CSlownessProfileSetupDlg::CSlownessProfileSetupDlg() : CDialog(DialogTemplateFor(kIddSlownessProfileSetup)) {}

bool CSlownessProfileSetupDlg::OnInitDialog()
{
    SetItemText(slowness_profile_setup::kIdcRangeGroup, "Slowness range " + m_unitText);
    CDialog::OnInitDialog();
    CenterWindow();
    return true;
}

void CSlownessProfileSetupDlg::DoDataExchange(DataExchange& dx) { ExchangeRange(dx, kSlowness, m_minimum, m_maximum); }

CFrequencyProfileSetupDlg::CFrequencyProfileSetupDlg() : CDialog(DialogTemplateFor(kIddFrequencyProfileSetup)) {}

void CFrequencyProfileSetupDlg::DoDataExchange(DataExchange& dx)
{
    ExchangeRange(dx, kFrequency, m_minimum, m_maximum);
}

CAzimuthProfileSetupDlg::CAzimuthProfileSetupDlg() : CDialog(DialogTemplateFor(kIddAzimuthProfileSetup))
{
    On(azimuth_profile_setup::kIdcTrackMinimum, Notify::Clicked, [this] { OnTrackMinimum(); });
    On(azimuth_profile_setup::kIdcTrackMaximum, Notify::Clicked, [this] { OnTrackMaximum(); });
}

void CAzimuthProfileSetupDlg::DoDataExchange(DataExchange& dx)
{
    using enum azimuth_profile_setup::Control;
    ExchangeRange(dx, kAzimuth, m_minimum, m_maximum);
    if (dx.Failed()) return;
    // The boxes show the flags both ways; only their handlers change the flags.
    if (ControlState* box = Item(kIdcTrackMinimum)) box->SetCheck(m_trackMinimum ? 1 : 0);
    if (ControlState* box = Item(kIdcTrackMaximum)) box->SetCheck(m_trackMaximum ? 1 : 0);
}

void CAzimuthProfileSetupDlg::OnTrackMinimum()
{
    using enum azimuth_profile_setup::Control;
    m_trackMinimum = 1;
    m_trackMaximum = 0;
    if (ControlState* box = Item(kIdcTrackMinimum)) box->SetCheck(1);
    if (ControlState* box = Item(kIdcTrackMaximum)) box->SetCheck(0);
}

void CAzimuthProfileSetupDlg::OnTrackMaximum()
{
    using enum azimuth_profile_setup::Control;
    m_trackMaximum = 1;
    m_trackMinimum = 0;
    if (ControlState* box = Item(kIdcTrackMaximum)) box->SetCheck(1);
    if (ControlState* box = Item(kIdcTrackMinimum)) box->SetCheck(0);
}
