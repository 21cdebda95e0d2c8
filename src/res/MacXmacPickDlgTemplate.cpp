#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/MacXmacPickDlgIds.h"
#include "res/ResourceIds.h"

// Each field with its -----> and <----- buttons sits in a group box of its own, so that
// the automatic layout keeps the buttons beside their field.
DialogTemplate MacXmacPickDialogTemplate()
{
    using K = ControlKind;
    using enum mac_xmac_pick::Control;
    constexpr int kDatumGroup = -2, kWaveGroup = -3, kGainGroup = -4, kStartGroup = -5, kMnemonicGroup = -6,
                  kListGroup = -7;
    return {kIddMacXmacPick,
            "MAC/XMAC Waveform Pick",
            {
                {kIdcStatic, K::Static,
                 "1. Pick Wave, Gain, and Start mnemonics from the Datum List\r\n"
                 "2. FIll in Number of Receivers (XMACX 8, MAC 6 or 8)\r\n"
                 "3. Fill in Sample Period in microseconds",
                 0, 0},
                {kIdcDataSet, K::Static, "Data Set:", 0, 0},
                {kDatumGroup, K::GroupBox, "Datum List", 0, 0},
                {kIdcDatumList, K::ListBox, "", kDatumGroup, kVScroll},
                {kWaveGroup, K::GroupBox, "Wave:", 0, 0},
                {kIdcStatic, K::Static, "Datum(s)", kWaveGroup, 0},
                {kIdcWaveDatums, K::ListBox, "", kWaveGroup, kVScroll},
                {kIdcAddWave, K::Button, "----->", kWaveGroup, 0},
                {kIdcRemoveWave, K::Button, "<-----", kWaveGroup, 0},
                {kListGroup, K::GroupBox, "Wave List", 0, 0},
                {kIdcWaveList, K::ListBox, "", kListGroup, kVScroll},
                {kIdcTransfer, K::Button, "Transfer To ----->", kListGroup, 0},
                {kIdcClearWave, K::Button, "<----- Clear From", kListGroup, 0},
                {kGainGroup, K::GroupBox, "Gain", 0, 0},
                {kIdcStatic, K::Static, "Gain:", kGainGroup, 0},
                {kIdcGain, K::Edit, "", kGainGroup, 0},
                {kIdcSetGain, K::Button, "----->", kGainGroup, 0},
                {kIdcClearGain, K::Button, "<-----", kGainGroup, 0},
                {kStartGroup, K::GroupBox, "Start", 0, 0},
                {kIdcStatic, K::Static, "Start Time:", kStartGroup, 0},
                {kIdcStart, K::Edit, "", kStartGroup, 0},
                {kIdcSetStart, K::Button, "----->", kStartGroup, 0},
                {kIdcClearStart, K::Button, "<-----", kStartGroup, 0},
                {kIdcStatic, K::Static, "Number receivers:", 0, 0},
                {kIdcReceivers, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Sampling period:", 0, 0},
                {kIdcSamplePeriod, K::Edit, "", 0, 0},
                {kMnemonicGroup, K::GroupBox, "Waveform Mnemonic", 0, 0},
                {kIdcWmno, K::RadioButton, "WMNO", kMnemonicGroup, kGroupStart},
                {kIdcWdxx, K::RadioButton, "WDXX", kMnemonicGroup, 0},
                {kIdcWdxy, K::RadioButton, "WDXY", kMnemonicGroup, 0},
                {kIdcWdyx, K::RadioButton, "WDYX", kMnemonicGroup, 0},
                {kIdcWdyy, K::RadioButton, "WDYY", kMnemonicGroup, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
