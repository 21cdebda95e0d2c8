// The lines of the CNV and QTX Data Set dialogs: a label and its value in a static
// about 50 characters wide.
#pragma once

#include <cstdint>
#include <string>

class CDialog;

// label + value while that has at most 50 characters or the value at most 30.
// Otherwise the value becomes "..." + its tail from the last separator ('\' or '/')
// inclusive, or "..." + its last 12 characters when it has none.
std::string ShortenLabel(const std::string& label, const std::string& value);

// What both dialogs show first: the file's name and its depth range.
struct ScannedRange {
    std::string path;
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    double depthStep = 0.0;
    uint32_t frameCount = 0;
};
// The controls of a dialog's ids header that show a ScannedRange.
struct ScannedRangeIds {
    int fileName;
    int topDepth;
    int bottomDepth;
    int depthStep;
    int frames;
};
// "File name : ", "Top depth : ", "Bottom depth : ", "Depth step : ", "Number frames : ".
void ShowScannedRange(CDialog& dialog, const ScannedRangeIds& ids, const ScannedRange& range);
