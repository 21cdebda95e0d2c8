#include "cnv/ScanLabel.h"

#include "platform/Dialog.h"
#include "platform/Format.h"
#include "platform/Path.h"

std::string ShortenLabel(const std::string& label, const std::string& value)
{
    if (label.size() + value.size() <= 50 || value.size() <= 30) return label + value;
    const size_t separator = LastSeparator(value);
    if (separator != std::string::npos) return label + "..." + value.substr(separator);
    return label + "..." + value.substr(value.size() - 12);
}

void ShowScannedRange(CDialog& dialog, const ScannedRangeIds& ids, const ScannedRange& range)
{
    dialog.SetItemText(ids.fileName, ShortenLabel("File name : ", range.path));
    dialog.SetItemText(ids.topDepth, ShortenLabel("Top depth : ", Format("%10.4f", range.topDepth)));
    dialog.SetItemText(ids.bottomDepth, ShortenLabel("Bottom depth : ", Format("%10.4f", range.bottomDepth)));
    dialog.SetItemText(ids.depthStep, ShortenLabel("Depth step : ", Format("%6.4f", range.depthStep)));
    dialog.SetItemText(ids.frames, ShortenLabel("Number frames : ", Format("%u", range.frameCount)));
}
