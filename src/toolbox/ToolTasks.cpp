#include "toolbox/ToolTasks.h"

#include "toolbox/ToolsWnd.h"
#include "platform/Format.h"
#include "platform/Host.h"

// Runners, each in its own file (Task<Name>.cpp).
ToolRunner ReverseDepthOrder, ShiftByFactor, ReverseReceiverOrder;
ToolRunner ExtractDepthRange, ExtractItems, ShiftInDepth, MultiplyByFactor, ConvertDepthUnits, ConvertSlownessUnits,
    OverwriteDepthStep, ResampleDepth, ConvertQtxToSegy, ConvertSegyToQtx;
ToolRunner ComputeAmplitude, SpliceAtDepth, ComputeVpVsPoissonRatio, AddSubtractWaveforms, ComputeFrequencyLog,
    ConstructLssArray, ComputeRmsAverageLog, ConstructMinMaxLog, ConstructQtxDataSet, ComputeWaveEnergy,
    ComputeMechanicalProperties;
ToolRunner ConvertQtxToLas, ConvertLasToQtx, ImportTxtDataSet;

namespace {

// "Compute Average Value" is a task by name only: a run of it ends without work.
int EndWithoutWork(CToolsWnd&) { return 1; }

using T = ToolTask;
using I = ToolInputs;
constexpr ToolFile Q = ToolFile::Qtx, Las = ToolFile::Las, Txt = ToolFile::Text, Sgy = ToolFile::Segy;
constexpr uint16_t kNone = 0, kDepths = kUsesDepthRange, kFactor = kUsesFactor, kList = kUsesPrimaryList,
                   kFactorList = kUsesFactor | kUsesPrimaryList,
                   kSecondary = kUsesSecondaryFile | kUsesSecondaryList,
                   kDensity = kUsesDensityFile | kUsesDensityList;
constexpr ToolPreset kToMetricDepth{&CToolsWnd::m_depthToMetric, 1}, kToImperialDepth{&CToolsWnd::m_depthToMetric, 0},
                     kToMetricSlowness{&CToolsWnd::m_slownessToMetric, 1},
                     kToImperialSlowness{&CToolsWnd::m_slownessToMetric, 0};
constexpr ToolPreset kAdd{&CToolsWnd::m_waveformSign, 1}, kSubtract{&CToolsWnd::m_waveformSign, -1};

constexpr ToolTaskRow kTasks[] = {
    {T::ExtractDepthRange, "Extract Depth Range", I::Primary, kDepths, Q, Q, ExtractDepthRange},
    {T::ExtractItems, "Extract Item(s)", I::Primary, kList, Q, Q, ExtractItems},
    {T::ShiftInDepth, "Shift In Depth", I::Primary, kFactor, Q, Q, ShiftInDepth},
    {T::ComputeAmplitude, "Compute Amplitude", I::Primary, kList, Q, Q, ComputeAmplitude},
    {T::MultiplyByFactor, "Multiply By Factor", I::Primary, kFactorList, Q, Q, MultiplyByFactor},
    {T::ConvertDepthToMetric, "Convert Depth To Metric", I::Primary, kNone, Q, Q, ConvertDepthUnits,
     kToMetricDepth},
    {T::ConvertDepthToImperial, "Convert Depth To Imperial", I::Primary, kNone, Q, Q, ConvertDepthUnits,
     kToImperialDepth},
    {T::SpliceAtDepth, "Splice At Depth", I::PrimarySecondary, kUsesSplice | kUsesSecondaryFile, Q, Q, SpliceAtDepth},
    {T::ComputeVpVsPoissonRatio, "Compute VpVs, Poisson Ratio", I::PrimarySecondary, kList | kSecondary, Q, Q,
     ComputeVpVsPoissonRatio},
    {T::ConvertQtxToLas, "Convert QTX To LAS", I::Primary, kList, Q, Las, ConvertQtxToLas},
    {T::ConvertLasToQtx, "Convert LAS To QTX", I::Primary, kNone, Las, Q, ConvertLasToQtx},
    {T::ConvertSlownessToMetric, "Convert Slowness To Metric", I::Primary, kNone, Q, Q, ConvertSlownessUnits,
     kToMetricSlowness},
    {T::ConvertSlownessToImperial, "Convert Slowness To Imperial", I::Primary, kNone, Q, Q, ConvertSlownessUnits,
     kToImperialSlowness},
    {T::ReverseDepthOrder, "Reverse Depth Order", I::Primary, kNone, Q, Q, ReverseDepthOrder},
    {T::ImportTxtDataSet, "Import TXT Data Set", I::Primary, kNone, Txt, Q, ImportTxtDataSet},
    {T::AddWaveforms, "Add Waveforms", I::PrimarySecondary, kList | kSecondary, Q, Q, AddSubtractWaveforms, kAdd},
    {T::SubtractWaveforms, "Subtract Waveforms", I::PrimarySecondary, kList | kSecondary, Q, Q, AddSubtractWaveforms,
     kSubtract},
    {T::ComputeFrequencyLog, "Compute Frequency Log", I::Primary, kList, Q, Q, ComputeFrequencyLog},
    {T::ConvertQtxToSegy, "Convert QTX To SEGY", I::Primary, kList, Q, Sgy, ConvertQtxToSegy},
    {T::ConvertSegyToQtx, "Convert SEGY To QTX", I::Primary, kNone, Sgy, Q, ConvertSegyToQtx},
    {T::ResampleDepth, "Resample Depth", I::Primary, kFactor, Q, Q, ResampleDepth},
    {T::ShiftByFactor, "Shift By Factor", I::Primary, kFactorList, Q, Q, ShiftByFactor},
    {T::OverwriteDepthStep, "Overwrite Depth Step", I::Primary, kFactorList, Q, Q, OverwriteDepthStep},
    {T::ConstructLssArray, "Construct LSS Array", I::Primary, kList, Q, Q, ConstructLssArray},
    {T::ComputeAverageValue, "Compute Average Value", I::None, kNone, Q, Q, EndWithoutWork},
    {T::ComputeRmsAverageLog, "Compute RMS Average Log", I::PrimarySecondary, kFactorList | kSecondary, Q, Q,
     ComputeRmsAverageLog},
    {T::ConstructMinMaxLog, "Construct Min-Max Log", I::PrimarySecondary, kList | kSecondary, Q, Q, ConstructMinMaxLog},
    {T::ReverseReceiverOrder, "Reverse Receiver Order", I::Primary, kList, Q, Q, ReverseReceiverOrder},
    {T::ConstructQtxDataSet, "Construct QTX Data Set", I::PrimarySecondary, kList | kSecondary, Q, Q,
     ConstructQtxDataSet},
    {T::ComputeWaveEnergy, "Compute Wave Energy", I::PrimarySecondary, kFactorList | kSecondary, Q, Q,
     ComputeWaveEnergy},
    {T::ComputeMechanicalProperties, "Compute Mechanical Properties", I::PrimarySecondaryDensity,
     kList | kSecondary | kDensity, Q, Q, ComputeMechanicalProperties},
};

// A row's place is its code less one: look-ups index, and a row out of place breaks the build.
constexpr bool RowsInCodeOrder()
{
    for (size_t i = 0; i < std::size(kTasks); ++i)
        if (size_t(kTasks[i].task) != i + 1) return false;
    return true;
}
static_assert(RowsInCodeOrder());

} // namespace

std::span<const ToolTaskRow> ToolTaskTable() { return kTasks; }

const ToolTaskRow* FindToolTask(ToolTask task)
{
    const size_t code = size_t(task);
    return code >= 1 && code <= std::size(kTasks) ? &kTasks[code - 1] : nullptr;
}

int ToolTaskCode(const std::string& name)
{
    for (const ToolTaskRow& row : kTasks)
        if (name == row.name) return int(row.task);
    return 0;
}

int RunToolTask(CToolsWnd& engine, ToolTask task, const std::string& primary, const std::string& secondary,
                const std::string& density)
{
    const ToolTaskRow* row = FindToolTask(task);
    if (!row) return -1;
    if (!row->runner) {
        MessageBox(Format("%s is not available in this build yet.", row->name), MB_OK | MB_ICONINFORMATION);
        return -1;
    }
    const int inputs = int(row->inputs);
    engine.m_inputCount = inputs;
    if (inputs >= 1) engine.m_primary.path = primary;
    if (inputs >= 2) engine.m_secondary.path = secondary;
    if (inputs >= 3) engine.m_density.path = density;
    if (row->preset.setting) engine.*(row->preset.setting) = row->preset.value;
    const int result = row->runner(engine);
    engine.CloseInputs(); // whichever way the task ended
    return engine.SettleOutput(result);
}
