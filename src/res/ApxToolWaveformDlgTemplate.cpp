#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ApxToolWaveformDlgIds.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"

// The texts of the data-set and waveform lines start with their labels; the class keeps them there.
DialogTemplate ApxToolWaveformDialogTemplate()
{
    using K = ControlKind;
    using enum apx_tool_waveform::Control;
    constexpr int kTypeGroup = -2;
    return {kIddApxToolWaveform, "APX Tool Waveform",
            JoinRows({
                {
                    {kIdcPrompt, K::Static, "", 0, 0},
                    {kIdcDataSet, K::Static, "Data Set:", 0, 0},
                    {kIdcWaveform, K::Static, "Waveform:", 0, 0},
                },
                LabelledEdits(0, {{"Number Receivers:", kIdcReceivers},
                                  {"Number Samples:", kIdcSamples},
                                  {"Sample Period [uSec]:", kIdcSamplePeriod}}),
                {
                    {kTypeGroup, K::GroupBox, "Wave Type", 0, 0},
                    {kIdcApxMono, K::RadioButton, "APXMONO", kTypeGroup, kGroupStart},
                    {kIdcApxQuad, K::RadioButton, "APXQUAD", kTypeGroup, 0},
                },
                LabelledEdits(0, {{"Fixed Delay:", kIdcFixedDelay},
                                  {"Fore Runner:", kIdcForeRunner},
                                  {"After Runner:", kIdcAfterRunner},
                                  {"Data Ofset:", kIdcDataOffset}}),
                {
                    {IDOK, K::Button, "OK", 0, kDefaultButton},
                    {IDCANCEL, K::Button, "Cancel", 0, 0},
                },
            })};
}
