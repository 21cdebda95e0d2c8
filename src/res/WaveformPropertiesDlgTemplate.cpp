#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/WaveformPropertiesDlgIds.h"

// The texts of the static fields start with their labels; the class keeps them there.
DialogTemplate WaveformPropertiesDialogTemplate()
{
    using K = ControlKind;
    using enum waveform_properties::Control;
    return {kIddWaveformProperties,
            "Waveform Properties",
            {
                {kIdcDataSet, K::Static, "Data Set:", 0, 0},
                {kIdcToolType, K::Static, "Tool Type:", 0, 0},
                {kIdcWaveName, K::Static, "Wave Name:", 0, 0},
                {kIdcStatic, K::Static, "Number Receivers:", 0, 0},
                {kIdcReceivers, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Number Samples:", 0, 0},
                {kIdcSamples, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Sample Period [uSec]:", 0, 0},
                {kIdcSamplePeriod, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Fixed Delay [Samples]:", 0, 0},
                {kIdcFixedDelay, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Fore Runner [Samples]:", 0, 0},
                {kIdcForeRunner, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "After Runner [Samples]:", 0, 0},
                {kIdcAfterRunner, K::Edit, "", 0, 0},
                {kIdcStatic, K::Static, "Data Offset [A/D Bits]:", 0, 0},
                {kIdcDataOffset, K::Edit, "", 0, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
