#include "res/DialogTemplates.h"

#include "res/ResourceIds.h"

#include <algorithm>
#include <map>

// Every dialog with a template of its own, <Name>DialogTemplate() in
// res/<Name>DlgTemplate.cpp: a dialog is registered by its line here.
#define DIALOG_TEMPLATES(X) \
    X(QtxFile)                \
    X(DomainSetup)            \
    X(UtilitiesSetup)         \
    X(VdlSetup)               \
    X(LogSetup)               \
    X(LogItemSetup)           \
    X(EditCommand)            \
    X(SelectTool)             \
    X(WaveformProperties)     \
    X(LssSamplePeriod)        \
    X(BatWaveformProperties)  \
    X(DataSetProperties)      \
    X(SelectInputFileItems)   \
    X(CnvDataSet)             \
    X(QtxDataSet)             \
    X(DataOrigin)             \
    X(ClssToolSetup)          \
    X(ApxToolWaveform)        \
    X(PickApxWaveforms)       \
    X(MacXmacPick)            \
    X(DalToolWaveform)        \
    X(FwsSamplePeriod)        \
    X(FwsWavePick)            \
    X(DepthProfileSetup)      \
    X(SlownessProfileSetup)   \
    X(FrequencyProfileSetup)  \
    X(AzimuthProfileSetup)    \
    X(SemblanceMapSetup)      \
    X(XPlotSetup)             \
    X(FilterSetup)            \
    X(QuickLookSetup)         \
    X(StatusLight)            \
    X(PickingSetup)           \
    X(KalmanSetup)            \
    X(SmoothingSetup)         \
    X(AnisotropySetup)        \
    X(StcSetup)               \
    X(HeaderSetup)            \
    X(WellInfo)               \
    X(FluidProperties)        \
    X(Remarks)                \
    X(DispersionSetup)        \
    X(SlownessUnits)

#define DECLARE_TEMPLATE(name) DialogTemplate name##DialogTemplate();
DIALOG_TEMPLATES(DECLARE_TEMPLATE)
#undef DECLARE_TEMPLATE

namespace {

using K = ControlKind;

// The shell's small dialogs, whose templates are written here.
std::vector<DialogTemplate> ShellTemplates()
{
    return {
        {kIddProgress, "",
            {{kIdcProgressBar, K::ProgressBar, "", 0, 0},
             {kIdcProgressPercent, K::Static, " 0 %", 0, 0},
             {kIdcProgressStatus, K::Static, "", 0, 0},
             {2, K::Button, "Cancel", 0, kDefaultButton}}},
        {kIddReadWait, "",
            {{kIdcStatic, K::Static, "Reading data file. This might take few minutes. Please wait...", 0, 0}}},
        {kIddSaveWait, "",
            {{kIdcStatic, K::Static, "Saving data file. This might take few minutes. Please wait...", 0, 0}}},
        {kIddHistory, "QTX Data Set History",
            {{kIdcHistoryText, K::MultiLineEdit, "", 0, kVScroll},
             {1, K::Button, "OK", 0, kDefaultButton},
             {kIdcSaveHistory, K::Button, "Save History", 0, 0},
             {kIdcClearHistory, K::Button, "Clear History", 0, 0},
             {2, K::Button, "Cancel", 0, 0}}},
        {kIddMnemonics, "QTX Mnemonics",
            {{kIdcMnemonicsText, K::MultiLineEdit, "", 0, kReadOnly | kVScroll},
             {1, K::Button, "OK", 0, kDefaultButton},
             {2, K::Button, "Cancel", 0, 0}}},
        {kIddAbout, "About Brontelux",
            {{-2, K::Picture, "128", 0, 0},
             {-3, K::Static, "BronteluxViewer Version 1.6", 0, 0},
             {-4, K::Static, "Viewer of borehole acoustic waveform data", 0, 0},
             {1, K::Button, "OK", 0, kDefaultButton},
             {-5, K::Static, "Merrowdyne Revezirider", 0, 0}}},
        {kIddSplash, "",
            {{-2, K::Picture, "143", 0, 0},
             {-3, K::Static, "BronteluxViewer 1.6", 0, 0},
             {-4, K::Static, "Borehole acoustic waveform viewer", 0, 0},
             {-5, K::Static,
              "This program converts, displays, plots and processes\r\nborehole acoustic waveform data.\r\n"
              "Check every result against the original recordings\r\nbefore it is used.",
              0, 0},
             {-6, K::Static, "Merrowdyne Revezirider", 0, 0}},
            kDialogNoCaption},
        {kIddWaveformPack, "Waveform Pack Preference",
            {{-2, K::GroupBox, "Waveform", 0, 0},
             {1136, K::RadioButton, "Packed Waveforms", -2, kGroupStart},
             {1137, K::RadioButton, "Individual Waveforms", -2, 0},
             {-3, K::Static, "Packed waveforms are all receiver waveforms from each transmitter firing concatenated together",
              0, 0},
             {1, K::Button, "OK", 0, kDefaultButton},
             {2, K::Button, "Cancel", 0, 0}}},
    };
}

std::vector<DialogTemplate> BuildRegistered()
{
    std::vector<DialogTemplate> all = ShellTemplates();
#define ADD_TEMPLATE(name) all.push_back(name##DialogTemplate());
    DIALOG_TEMPLATES(ADD_TEMPLATE)
#undef ADD_TEMPLATE
    return all;
}

// By id; of two templates under one id the first is kept (SharedDialogIds names them).
std::map<int, DialogTemplate> BuildTemplates()
{
    std::map<int, DialogTemplate> t;
    for (const DialogTemplate& d : RegisteredDialogTemplates()) t.emplace(d.id, d);
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

const std::vector<DialogTemplate>& RegisteredDialogTemplates()
{
    static const std::vector<DialogTemplate> all = BuildRegistered();
    return all;
}

std::vector<int> SharedDialogIds(std::span<const DialogTemplate> templates)
{
    std::vector<int> ids;
    for (const DialogTemplate& d : templates) ids.push_back(d.id);
    std::ranges::sort(ids);
    std::vector<int> shared;
    for (size_t i = 1; i < ids.size(); ++i)
        if (ids[i] == ids[i - 1] && (shared.empty() || shared.back() != ids[i])) shared.push_back(ids[i]);
    return shared;
}

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
