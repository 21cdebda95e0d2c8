#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/XPlotSetupDlgIds.h"

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic.
DialogTemplate XPlotSetupDialogTemplate()
{
    using K = ControlKind;
    using enum xplot_setup::Control;
    constexpr int kInputGroup = -2, kDepthGroup = -3;
    return {kIddXPlotSetup,
            "Freqeuncy/Slowness X-Plot Viewer Setup",
            {
                {kInputGroup, K::GroupBox, "", 0, 0},
                {kIdcInputFile, K::Static, "Input File : ", kInputGroup, 0},
                {kIdcSelectInputFile, K::Button, "Select &Input File", kInputGroup, 0},
                {kIdcDatums, K::MultiListBox, "", kInputGroup, kVScroll},

                {kDepthGroup, K::GroupBox, "Depth Range", 0, 0},
                {kIdcStatic, K::Static, "Top depth :", kDepthGroup, 0},
                {kIdcTopDepth, K::Edit, "", kDepthGroup, 0},
                {kIdcStatic, K::Static, "Bottom depth :", kDepthGroup, 0},
                {kIdcBottomDepth, K::Edit, "", kDepthGroup, 0},

                {kIdcFrequencyGroup, K::GroupBox, "Frequency range [Hz]", 0, 0},
                {kIdcStatic, K::Static, "Min:", kIdcFrequencyGroup, 0},
                {kIdcFreqMin, K::Edit, "", kIdcFrequencyGroup, 0},
                {kIdcStatic, K::Static, "Max:", kIdcFrequencyGroup, 0},
                {kIdcFreqMax, K::Edit, "", kIdcFrequencyGroup, 0},

                {kIdcSlownessGroup, K::GroupBox, "Slowness range [uSec/ft]", 0, 0},
                {kIdcStatic, K::Static, "Min:", kIdcSlownessGroup, 0},
                {kIdcSlowMin, K::Edit, "", kIdcSlownessGroup, 0},
                {kIdcStatic, K::Static, "Max:", kIdcSlownessGroup, 0},
                {kIdcSlowMax, K::Edit, "", kIdcSlownessGroup, 0},

                {kIdcRun, K::Button, "Run", 0, kDefaultButton},
                {kIdcSaveSetup, K::Button, "Save Setup", 0, 0},
                {kIdcHelp, K::Button, "Help", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
