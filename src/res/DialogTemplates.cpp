#include "res/DialogTemplates.h"

#include "res/ResourceIds.h"

#include <map>

// Templates kept beside the dialogs' own resource files.
DialogTemplate QtxFileDialogTemplate();
DialogTemplate DomainSetupDialogTemplate();
DialogTemplate UtilitiesSetupDialogTemplate();
DialogTemplate VdlSetupDialogTemplate();
DialogTemplate LogSetupDialogTemplate();
DialogTemplate LogItemSetupDialogTemplate();
DialogTemplate EditCommandDialogTemplate();
DialogTemplate SelectToolDialogTemplate();
DialogTemplate WaveformPropertiesDialogTemplate();
DialogTemplate LssSamplePeriodDialogTemplate();
DialogTemplate BatWaveformPropertiesDialogTemplate();
DialogTemplate DataSetPropertiesDialogTemplate();
DialogTemplate SelectInputFileItemsDialogTemplate();
DialogTemplate CnvDataSetDialogTemplate();
DialogTemplate QtxDataSetDialogTemplate();
DialogTemplate DataOriginDialogTemplate();
DialogTemplate ClssToolSetupDialogTemplate();
DialogTemplate ApxToolWaveformDialogTemplate();
DialogTemplate PickApxWaveformsDialogTemplate();
DialogTemplate MacXmacPickDialogTemplate();
DialogTemplate DalToolWaveformDialogTemplate();
DialogTemplate FwsSamplePeriodDialogTemplate();
DialogTemplate FwsWavePickDialogTemplate();
DialogTemplate DepthProfileSetupDialogTemplate();
DialogTemplate SlownessProfileSetupDialogTemplate();
DialogTemplate FrequencyProfileSetupDialogTemplate();
DialogTemplate AzimuthProfileSetupDialogTemplate();
DialogTemplate SemblanceMapSetupDialogTemplate();
DialogTemplate XPlotSetupDialogTemplate();
DialogTemplate FilterSetupDialogTemplate();
DialogTemplate QuickLookSetupDialogTemplate();
DialogTemplate StatusLightDialogTemplate();
DialogTemplate PickingSetupDialogTemplate();
DialogTemplate KalmanSetupDialogTemplate();
DialogTemplate SmoothingSetupDialogTemplate();
DialogTemplate AnisotropySetupDialogTemplate();
DialogTemplate StcSetupDialogTemplate();
DialogTemplate HeaderSetupDialogTemplate();
DialogTemplate WellInfoDialogTemplate();
DialogTemplate FluidPropertiesDialogTemplate();
DialogTemplate RemarksDialogTemplate();
DialogTemplate DispersionSetupDialogTemplate();
DialogTemplate SlownessUnitsDialogTemplate();

namespace {

using K = ControlKind;

std::map<int, DialogTemplate> BuildTemplates()
{
    std::map<int, DialogTemplate> t;
    auto add = [&t](DialogTemplate d) { t.emplace(d.id, std::move(d)); };

    add({kIddProgress, "",
         {{kIdcProgressBar, K::ProgressBar, "", 0, 0},
          {kIdcProgressPercent, K::Static, " 0 %", 0, 0},
          {kIdcProgressStatus, K::Static, "", 0, 0},
          {2, K::Button, "Cancel", 0, kDefaultButton}}});
    add({kIddReadWait, "",
         {{kIdcStatic, K::Static, "Reading data file. This might take few minutes. Please wait...", 0, 0}}});
    add({kIddSaveWait, "",
         {{kIdcStatic, K::Static, "Saving data file. This might take few minutes. Please wait...", 0, 0}}});
    add({kIddHistory, "QTX Data Set History",
         {{kIdcHistoryText, K::MultiLineEdit, "", 0, kVScroll},
          {1, K::Button, "OK", 0, kDefaultButton},
          {kIdcSaveHistory, K::Button, "Save History", 0, 0},
          {kIdcClearHistory, K::Button, "Clear History", 0, 0},
          {2, K::Button, "Cancel", 0, 0}}});
    add({kIddMnemonics, "QTX Mnemonics",
         {{kIdcMnemonicsText, K::MultiLineEdit, "", 0, kReadOnly | kVScroll},
          {1, K::Button, "OK", 0, kDefaultButton},
          {2, K::Button, "Cancel", 0, 0}}});
    add({kIddAbout, "About Brontelux",
         {{-2, K::Picture, "128", 0, 0},
          {-3, K::Static, "BronteluxViewer Version 1.6", 0, 0},
          {-4, K::Static, "Viewer of borehole acoustic waveform data", 0, 0},
          {1, K::Button, "OK", 0, kDefaultButton},
          {-5, K::Static, "Merrowdyne Revezirider", 0, 0}}});
    add({kIddSplash, "",
         {{-2, K::Picture, "143", 0, 0},
          {-3, K::Static, "BronteluxViewer 1.6", 0, 0},
          {-4, K::Static, "Borehole acoustic waveform viewer", 0, 0},
          {-5, K::Static,
           "This program converts, displays, plots and processes\r\nborehole acoustic waveform data.\r\n"
           "Check every result against the original recordings\r\nbefore it is used.",
           0, 0},
          {-6, K::Static, "Merrowdyne Revezirider", 0, 0}},
         kDialogNoCaption});
    add({kIddWaveformPack, "Waveform Pack Preference",
         {{-2, K::GroupBox, "Waveform", 0, 0},
          {1136, K::RadioButton, "Packed Waveforms", -2, kGroupStart},
          {1137, K::RadioButton, "Individual Waveforms", -2, 0},
          {-3, K::Static, "Packed waveforms are all receiver waveforms from each transmitter firing concatenated together",
           0, 0},
          {1, K::Button, "OK", 0, kDefaultButton},
          {2, K::Button, "Cancel", 0, 0}}});
    add(QtxFileDialogTemplate());
    add(DomainSetupDialogTemplate());
    add(UtilitiesSetupDialogTemplate());
    add(VdlSetupDialogTemplate());
    add(LogSetupDialogTemplate());
    add(LogItemSetupDialogTemplate());
    add(EditCommandDialogTemplate());
    add(SelectToolDialogTemplate());
    add(WaveformPropertiesDialogTemplate());
    add(LssSamplePeriodDialogTemplate());
    add(BatWaveformPropertiesDialogTemplate());
    add(DataSetPropertiesDialogTemplate());
    add(SelectInputFileItemsDialogTemplate());
    add(CnvDataSetDialogTemplate());
    add(QtxDataSetDialogTemplate());
    add(DataOriginDialogTemplate());
    add(ClssToolSetupDialogTemplate());
    add(ApxToolWaveformDialogTemplate());
    add(PickApxWaveformsDialogTemplate());
    add(MacXmacPickDialogTemplate());
    add(DalToolWaveformDialogTemplate());
    add(FwsSamplePeriodDialogTemplate());
    add(FwsWavePickDialogTemplate());
    add(DepthProfileSetupDialogTemplate());
    add(SlownessProfileSetupDialogTemplate());
    add(FrequencyProfileSetupDialogTemplate());
    add(AzimuthProfileSetupDialogTemplate());
    add(SemblanceMapSetupDialogTemplate());
    add(XPlotSetupDialogTemplate());
    add(FilterSetupDialogTemplate());
    add(QuickLookSetupDialogTemplate());
    add(StatusLightDialogTemplate());
    add(PickingSetupDialogTemplate());
    add(KalmanSetupDialogTemplate());
    add(SmoothingSetupDialogTemplate());
    add(AnisotropySetupDialogTemplate());
    add(StcSetupDialogTemplate());
    add(HeaderSetupDialogTemplate());
    add(WellInfoDialogTemplate());
    add(FluidPropertiesDialogTemplate());
    add(RemarksDialogTemplate());
    add(DispersionSetupDialogTemplate());
    add(SlownessUnitsDialogTemplate());
    return t;
}

} // namespace

namespace {
const std::map<int, DialogTemplate>& Templates()
{
    static const std::map<int, DialogTemplate> templates = BuildTemplates();
    return templates;
}
} // namespace

const DialogTemplate& DialogTemplateFor(int id)
{
    static const DialogTemplate empty;
    const auto it = Templates().find(id);
    return it == Templates().end() ? empty : it->second;
}

std::vector<int> DialogTemplateIds()
{
    std::vector<int> ids;
    for (const auto& [id, t] : Templates()) ids.push_back(id);
    return ids;
}
