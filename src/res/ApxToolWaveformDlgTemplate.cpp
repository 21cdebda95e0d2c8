#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ApxToolWaveformDlgIds.h"
#include "res/ResourceIds.h"

// The texts of the data-set and waveform lines start with their labels; the class keeps them there.
DialogTemplate ApxToolWaveformDialogTemplate()
{
    using K = ControlKind;
    using enum apx_tool_waveform::Control;
    constexpr int kTypeGroup = -2;
    return {kIddApxToolWaveform,
            "APX Tool Waveform",
            {
                {kIdcPrompt, K::Static, "", 0, 0},
                {kIdcDataSet, K::Static, "Data Set:", 0, 0},
                {kIdcWaveform, K::Static, "Waveform:", 0, 0},
                {kIdcStatic, K::Static, "Number Receivers:", 0, 0},
                {kIdcReceivers, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Number Samples:", 0, 0},
                {kIdcSamples, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Sample Period [uSec]:", 0, 0},
                {kIdcSamplePeriod, K::Edit, "", 0, 0},
                {kTypeGroup, K::GroupBox, "Wave Type", 0, 0},
                {kIdcApxMono, K::RadioButton, "APXMONO", kTypeGroup, kGroupStart},
                {kIdcApxQuad, K::RadioButton, "APXQUAD", kTypeGroup, 0},
                {kIdcStatic, K::Static, "Fixed Delay:", 0, 0},
                {kIdcFixedDelay, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Fore Runner:", 0, 0},
                {kIdcForeRunner, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "After Runner:", 0, 0},
                {kIdcAfterRunner, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Data Ofset:", 0, 0},
                {kIdcDataOffset, K::Edit, "", 0, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
