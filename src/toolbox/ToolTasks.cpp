#include "toolbox/ToolTasks.h"

#include "toolbox/ToolsWnd.h"
#include "platform/Format.h"
#include "platform/Host.h"

// Runners, each in its own file (Task<Name>.cpp).
ToolRunner ReverseDepthOrder, ShiftByFactor, ReverseReceiverOrder;

namespace {

// "Compute Average Value" is a task by name only: a run of it ends without work.
int EndWithoutWork(CToolsWnd&) { return 1; }

using T = ToolTask;
using I = ToolInputs;

constexpr ToolTaskRow kTasks[] = {
    {T::ExtractDepthRange, "Extract Depth Range", I::Primary, nullptr},
    {T::ExtractItems, "Extract Item(s)", I::Primary, nullptr},
    {T::ShiftInDepth, "Shift In Depth", I::Primary, nullptr},
    {T::ComputeAmplitude, "Compute Amplitude", I::Primary, nullptr},
    {T::MultiplyByFactor, "Multiply By Factor", I::Primary, nullptr},
    {T::ConvertDepthToMetric, "Convert Depth To Metric", I::Primary, nullptr},
    {T::ConvertDepthToImperial, "Convert Depth To Imperial", I::Primary, nullptr},
    {T::SpliceAtDepth, "Splice At Depth", I::PrimarySecondary, nullptr},
    {T::ComputeVpVsPoissonRatio, "Compute VpVs, Poisson Ratio", I::PrimarySecondary, nullptr},
    {T::ConvertQtxToLas, "Convert QTX To LAS", I::Primary, nullptr},
    {T::ConvertLasToQtx, "Convert LAS To QTX", I::Primary, nullptr}, // the primary is a LAS file
    {T::ConvertSlownessToMetric, "Convert Slowness To Metric", I::Primary, nullptr},
    {T::ConvertSlownessToImperial, "Convert Slowness To Imperial", I::Primary, nullptr},
    {T::ReverseDepthOrder, "Reverse Depth Order", I::Primary, ReverseDepthOrder},
    {T::ImportTxtDataSet, "Import TXT Data Set", I::Primary, nullptr}, // the primary is a text file
    {T::AddWaveforms, "Add Waveforms", I::PrimarySecondary, nullptr},
    {T::SubtractWaveforms, "Subtract Waveforms", I::PrimarySecondary, nullptr},
    {T::ComputeFrequencyLog, "Compute Frequency Log", I::Primary, nullptr},
    {T::ConvertQtxToSegy, "Convert QTX To SEGY", I::Primary, nullptr},
    {T::ConvertSegyToQtx, "Convert SEGY To QTX", I::Primary, nullptr}, // the primary is a SEG-Y file
    {T::ResampleDepth, "Resample Depth", I::Primary, nullptr},
    {T::ShiftByFactor, "Shift By Factor", I::Primary, ShiftByFactor},
    {T::OverwriteDepthStep, "Overwrite Depth Step", I::Primary, nullptr},
    {T::ConstructLssArray, "Construct LSS Array", I::Primary, nullptr},
    {T::ComputeAverageValue, "Compute Average Value", I::None, EndWithoutWork},
    {T::ComputeRmsAverageLog, "Compute RMS Average Log", I::PrimarySecondary, nullptr},
    {T::ConstructMinMaxLog, "Construct Min-Max Log", I::PrimarySecondary, nullptr},
    {T::ReverseReceiverOrder, "Reverse Receiver Order", I::Primary, ReverseReceiverOrder},
    {T::ConstructQtxDataSet, "Construct QTX Data Set", I::PrimarySecondary, nullptr},
    {T::ComputeWaveEnergy, "Compute Wave Energy", I::PrimarySecondary, nullptr},
    {T::ComputeMechanicalProperties, "Compute Mechanical Properties", I::PrimarySecondaryDensity, nullptr},
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
    if (inputs >= 1) engine.m_primary.path = primary;
    if (inputs >= 2) engine.m_secondary.path = secondary;
    if (inputs >= 3) engine.m_density.path = density;
    const int result = row->runner(engine);
    engine.CloseInputs(); // whichever way the task ended
    return result;
}
