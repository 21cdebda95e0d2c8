#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"
#include "res/WaveformPropertiesDlgIds.h"

// The texts of the static fields start with their labels; the class keeps them there.
DialogTemplate WaveformPropertiesDialogTemplate()
{
    using K = ControlKind;
    using enum waveform_properties::Control;
    return {kIddWaveformProperties, "Waveform Properties",
            JoinRows({
                {
                    {kIdcDataSet, K::Static, "Data Set:", 0, 0},
                    {kIdcToolType, K::Static, "Tool Type:", 0, 0},
                    {kIdcWaveName, K::Static, "Wave Name:", 0, 0},
                },
                LabelledEdits(0, {{"Number Receivers:", kIdcReceivers},
                                  {"Number Samples:", kIdcSamples},
                                  {"Sample Period [uSec]:", kIdcSamplePeriod},
                                  {"Fixed Delay [Samples]:", kIdcFixedDelay},
                                  {"Fore Runner [Samples]:", kIdcForeRunner},
                                  {"After Runner [Samples]:", kIdcAfterRunner},
                                  {"Data Offset [A/D Bits]:", kIdcDataOffset}}),
                {
                    {IDOK, K::Button, "OK", 0, kDefaultButton},
                    {IDCANCEL, K::Button, "Cancel", 0, 0},
                },
            })};
}
