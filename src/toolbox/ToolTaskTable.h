// The tool box's task table: one row per task, in code order. Adding a task is its runner
// file (Task<Name>.cpp defining `int <Runner>(CToolsWnd&)`) and one row here; the task's
// enumerator, the runner's declaration, the task box's entry and every count derive from
// this list. Included more than once on purpose, each time with its own TOOL_TASK.
//
// TOOL_TASK(enumerator, code, task box text, inputs, fields, primary kind, output kind,
//           runner, preset, shown in the task box)
// - code: the value the settings store; it never changes and is the row's place plus one.
// - inputs: None, Primary, PrimarySecondary or PrimarySecondaryDensity.
// - fields: the Utilities Setup fields it uses (ToolField bits; short names in ToolTasks.cpp).
// - kinds: Q (data set), Las, Txt, Sgy; they pick the file filters and the output name.
// - preset: the engine setting two tasks sharing a runner differ in, or kNoPreset.
// - shown: kInBox, or kNotInBox for a task that has a code but no entry in the box.
#ifndef TOOL_TASK
#error "define TOOL_TASK before including the task table"
#endif

TOOL_TASK(ExtractDepthRange, 1, "Extract Depth Range", Primary, kDepths, Q, Q, ExtractDepthRange, kNoPreset, kInBox)
TOOL_TASK(ExtractItems, 2, "Extract Item(s)", Primary, kList, Q, Q, ExtractItems, kNoPreset, kInBox)
TOOL_TASK(ShiftInDepth, 3, "Shift In Depth", Primary, kFactor, Q, Q, ShiftInDepth, kNoPreset, kInBox)
TOOL_TASK(ComputeAmplitude, 4, "Compute Amplitude", Primary, kList, Q, Q, ComputeAmplitude, kNoPreset, kInBox)
TOOL_TASK(MultiplyByFactor, 5, "Multiply By Factor", Primary, kFactorList, Q, Q, MultiplyByFactor, kNoPreset, kInBox)
TOOL_TASK(ConvertDepthToMetric, 6, "Convert Depth To Metric", Primary, kNone, Q, Q, ConvertDepthUnits, kToMetricDepth,
          kInBox)
TOOL_TASK(ConvertDepthToImperial, 7, "Convert Depth To Imperial", Primary, kNone, Q, Q, ConvertDepthUnits,
          kToImperialDepth, kInBox)
TOOL_TASK(SpliceAtDepth, 8, "Splice At Depth", PrimarySecondary, kUsesSplice | kUsesSecondaryFile, Q, Q, SpliceAtDepth,
          kNoPreset, kInBox)
TOOL_TASK(ComputeVpVsPoissonRatio, 9, "Compute VpVs, Poisson Ratio", PrimarySecondary, kList | kSecondary, Q, Q,
          ComputeVpVsPoissonRatio, kNoPreset, kInBox)
TOOL_TASK(ConvertQtxToLas, 10, "Convert QTX To LAS", Primary, kList, Q, Las, ConvertQtxToLas, kNoPreset, kInBox)
TOOL_TASK(ConvertLasToQtx, 11, "Convert LAS To QTX", Primary, kNone, Las, Q, ConvertLasToQtx, kNoPreset, kInBox)
TOOL_TASK(ConvertSlownessToMetric, 12, "Convert Slowness To Metric", Primary, kNone, Q, Q, ConvertSlownessUnits,
          kToMetricSlowness, kInBox)
TOOL_TASK(ConvertSlownessToImperial, 13, "Convert Slowness To Imperial", Primary, kNone, Q, Q, ConvertSlownessUnits,
          kToImperialSlowness, kInBox)
TOOL_TASK(ReverseDepthOrder, 14, "Reverse Depth Order", Primary, kNone, Q, Q, ReverseDepthOrder, kNoPreset, kInBox)
TOOL_TASK(ImportTxtDataSet, 15, "Import TXT Data Set", Primary, kNone, Txt, Q, ImportTxtDataSet, kNoPreset, kInBox)
TOOL_TASK(AddWaveforms, 16, "Add Waveforms", PrimarySecondary, kList | kSecondary, Q, Q, AddSubtractWaveforms, kAdd,
          kInBox)
TOOL_TASK(SubtractWaveforms, 17, "Subtract Waveforms", PrimarySecondary, kList | kSecondary, Q, Q, AddSubtractWaveforms,
          kSubtract, kInBox)
TOOL_TASK(ComputeFrequencyLog, 18, "Compute Frequency Log", Primary, kList, Q, Q, ComputeFrequencyLog, kNoPreset, kInBox)
TOOL_TASK(ConvertQtxToSegy, 19, "Convert QTX To SEGY", Primary, kList, Q, Sgy, ConvertQtxToSegy, kNoPreset, kInBox)
TOOL_TASK(ConvertSegyToQtx, 20, "Convert SEGY To QTX", Primary, kNone, Sgy, Q, ConvertSegyToQtx, kNoPreset, kInBox)
TOOL_TASK(ResampleDepth, 21, "Resample Depth", Primary, kFactor, Q, Q, ResampleDepth, kNoPreset, kInBox)
TOOL_TASK(ShiftByFactor, 22, "Shift By Factor", Primary, kFactorList, Q, Q, ShiftByFactor, kNoPreset, kInBox)
TOOL_TASK(OverwriteDepthStep, 23, "Overwrite Depth Step", Primary, kFactorList, Q, Q, OverwriteDepthStep, kNoPreset,
          kInBox)
TOOL_TASK(ConstructLssArray, 24, "Construct LSS Array", Primary, kList, Q, Q, ConstructLssArray, kNoPreset, kInBox)
// A task by name only: a run of it ends without work, and the box does not offer it.
TOOL_TASK(ComputeAverageValue, 25, "Compute Average Value", None, kNone, Q, Q, EndWithoutWork, kNoPreset, kNotInBox)
TOOL_TASK(ComputeRmsAverageLog, 26, "Compute RMS Average Log", PrimarySecondary, kFactorList | kSecondary, Q, Q,
          ComputeRmsAverageLog, kNoPreset, kInBox)
TOOL_TASK(ConstructMinMaxLog, 27, "Construct Min-Max Log", PrimarySecondary, kList | kSecondary, Q, Q,
          ConstructMinMaxLog, kNoPreset, kInBox)
TOOL_TASK(ReverseReceiverOrder, 28, "Reverse Receiver Order", Primary, kList, Q, Q, ReverseReceiverOrder, kNoPreset,
          kInBox)
TOOL_TASK(ConstructQtxDataSet, 29, "Construct QTX Data Set", PrimarySecondary, kList | kSecondary, Q, Q,
          ConstructQtxDataSet, kNoPreset, kInBox)
TOOL_TASK(ComputeWaveEnergy, 30, "Compute Wave Energy", PrimarySecondary, kFactorList | kSecondary, Q, Q,
          ComputeWaveEnergy, kNoPreset, kInBox)
TOOL_TASK(ComputeMechanicalProperties, 31, "Compute Mechanical Properties", PrimarySecondaryDensity,
          kList | kSecondary | kDensity, Q, Q, ComputeMechanicalProperties, kNoPreset, kInBox)
