// What the Slowness Time Coherence setup shows of a semblance map: its slowness
// (axis 1) and time (axis 2) ranges.
#pragma once

#include "dataset/QtxFile.h"

#include <string>

struct StcMapRanges {
    std::string slownessTitle;
    float slownessStep = 0.0f, slownessMin = 0.0f, slownessMax = 0.0f;
    int slownessCount = 0;
    float timeStep = 0.0f, timeStart = 0.0f, timeStop = 0.0f;
    int timeField = 0, timeCount = 0;
};

// The ranges of the last semblance-map datum of `datums`; false (outputs untouched)
// when it holds none. Fields and sample counts are read as signed 16-bit numbers.
bool ReadStcMapRanges(const CQtxDatumList& datums, StcMapRanges& ranges);
