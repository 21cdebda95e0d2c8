#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/PickApxWaveformsDlgIds.h"
#include "res/ResourceIds.h"

// Each field with its ----> and <---- buttons sits in a group box of its own, so that the
// automatic layout keeps the buttons beside their field.
DialogTemplate PickApxWaveformsDialogTemplate()
{
    using K = ControlKind;
    using enum pick_apx::Control;
    constexpr int kDatumGroup = -2, kWaveGroup = -3, kGainGroup = -4, kMnemonicGroup = -5, kListGroup = -6;
    return {kIddPickApxWaveforms,
            "Pick APX Waveforms",
            {
                {kIdcStatic, K::Static,
                 "1.  Pick concatenated or individual Wave mnemonic(s) from the datum list in the  order you want to "
                 "see displayed.\r\n"
                 "2.  Pick associated Gain mnemonic from the datum list (not required).\r\n"
                 "3.  Enter Number of Receivers\r\n"
                 "4.  Enter Sample Period in microseconds",
                 0, 0},
                {kIdcDataSet, K::Static, "Data Set:", 0, 0},
                {kDatumGroup, K::GroupBox, "Datum List", 0, 0},
                {kIdcDatumList, K::ListBox, "", kDatumGroup, kVScroll},
                {kWaveGroup, K::GroupBox, "Wave", 0, 0},
                {kIdcStatic, K::Static, "Datum(s)", kWaveGroup, 0},
                {kIdcWaveDatums, K::ListBox, "", kWaveGroup, kVScroll},
                {kIdcAddWave, K::Button, "---->", kWaveGroup, 0},
                {kIdcRemoveWave, K::Button, "<----", kWaveGroup, 0},
                {kListGroup, K::GroupBox, "Wave List", 0, 0},
                {kIdcWaveList, K::ListBox, "", kListGroup, kVScroll},
                {kIdcTransfer, K::Button, "Transfer To ---->", kListGroup, 0},
                {kIdcClearWave, K::Button, "<---- Clear From", kListGroup, 0},
                {kGainGroup, K::GroupBox, "Gain", 0, 0},
                {kIdcStatic, K::Static, "Gain", kGainGroup, 0},
                {kIdcGain, K::Edit, "", kGainGroup, 0},
                {kIdcSetGain, K::Button, "---->", kGainGroup, 0},
                {kIdcClearGain, K::Button, "<----", kGainGroup, 0},
                {kIdcStatic, K::Static, "Number Receivers", 0, 0},
                {kIdcReceivers, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Sample Period [uSec]", 0, 0},
                {kIdcSamplePeriod, K::Edit, "", 0, 0},
                {kMnemonicGroup, K::GroupBox, "Waveform Mnemonic", 0, 0},
                {kIdcWmno, K::RadioButton, "WMNO (Monopple)", kMnemonicGroup, kGroupStart},
                {kIdcWqud, K::RadioButton, "WQUD (Quadrapole)", kMnemonicGroup, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
