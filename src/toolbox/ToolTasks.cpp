#include "toolbox/ToolTasks.h"

namespace {

// Codes 1 to 31 in order.
const char* const kTaskNames[] = {
    "Extract Depth Range",          "Extract Item(s)",          "Shift In Depth",
    "Compute Amplitude",            "Multiply By Factor",       "Convert Depth To Metric",
    "Convert Depth To Imperial",    "Splice At Depth",          "Compute VpVs, Poisson Ratio",
    "Convert QTX To LAS",           "Convert LAS To QTX",       "Convert Slowness To Metric",
    "Convert Slowness To Imperial", "Reverse Depth Order",      "Import TXT Data Set",
    "Add Waveforms",                "Subtract Waveforms",       "Compute Frequency Log",
    "Convert QTX To SEGY",          "Convert SEGY To QTX",      "Resample Depth",
    "Shift By Factor",              "Overwrite Depth Step",     "Construct LSS Array",
    "Compute Average Value",        "Compute RMS Average Log",  "Construct Min-Max Log",
    "Reverse Receiver Order",       "Construct QTX Data Set",   "Compute Wave Energy",
    "Compute Mechanical Properties",
};

} // namespace

int ToolTaskCode(const std::string& name)
{
    for (int i = 0; i < int(std::size(kTaskNames)); ++i)
        if (name == kTaskNames[i]) return i + 1;
    return 0;
}

std::string ToolTaskName(int code)
{
    return code >= 1 && code <= int(std::size(kTaskNames)) ? kTaskNames[code - 1] : std::string();
}
