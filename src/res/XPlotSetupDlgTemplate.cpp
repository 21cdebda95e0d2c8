#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"
#include "res/XPlotSetupDlgIds.h"

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic.
DialogTemplate XPlotSetupDialogTemplate()
{
    using C = xplot_setup::Control;
    using enum xplot_setup::Control;
    constexpr int kInputGroup = -2, kDepthGroup = -3;
    return {kIddXPlotSetup, "Freqeuncy/Slowness X-Plot Viewer Setup",
            JoinRows({
                InputGroupRows<C>(kInputGroup),
                {{kIdcDatums, ControlKind::MultiListBox, "", kInputGroup, kVScroll}},
                LabelledEditGroup(kDepthGroup, "Depth Range",
                                  {{"Top depth :", kIdcTopDepth}, {"Bottom depth :", kIdcBottomDepth}}),
                LabelledEditGroup(kIdcFrequencyGroup, "Frequency range [Hz]",
                                  {{"Min:", kIdcFreqMin}, {"Max:", kIdcFreqMax}}),
                LabelledEditGroup(kIdcSlownessGroup, "Slowness range [uSec/ft]",
                                  {{"Min:", kIdcSlowMin}, {"Max:", kIdcSlowMax}}),
                RunRows<C>(kIdcRun),
            })};
}
