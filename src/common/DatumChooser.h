// The one datum a viewer shows, as the user marks it in the "QTX File" dialog.
#pragma once

#include "dataset/QtxFile.h"

#include <cstdint>
#include <string>

struct ChosenDatum {
    std::string mnemonic;
    uint8_t typeCode = 0;
    uint8_t unitCode = kUnitNone; // axis-1 unit; the time domain's only
    uint16_t datumNumber = 0;
    uint32_t offset = 0;          // in the frame, bytes
    float step = 0;               // axis 1
    uint16_t sampleCount = 0;
    uint16_t traceCount = 0;
    // Semblance maps only: axis 1 (slowness) starts at firstIndex x step; axis 2
    // (time) has sampleCount2 samples of step2 from firstIndex2 x step2.
    uint16_t firstIndex = 0;
    float step2 = 0;
    uint16_t sampleCount2 = 0;
    uint16_t firstIndex2 = 0;

    bool operator==(const ChosenDatum&) const = default;
};

// The "Semb Map" tab of the dialog: a semblance map view takes its datum there.
inline constexpr int kTabSemblanceMap = 5;

// Runs the dialog on `datums` of the data set `file` has open, opening on the tab of
// `domain` (1 Time to 4 Azimuth, or kTabSemblanceMap, which offers no Select All),
// and takes the one datum marked on that tab: the view's domain is its command's,
// whichever tab shows at OK. Returns false after Cancel, or after a message when
// that tab holds no marked datum or more than one, or `domain` is none of these;
// `datum` is then untouched.
bool ChooseDatum(const CQtxFile& file, const CQtxDatumList& datums, int domain, ChosenDatum& datum);
// The same for a view whose domain follows the tab: the datum is taken from whichever
// of the four domain tabs shows at OK, and `domain` becomes that tab's (the VDL view).
bool ChooseDatumOfShownTab(const CQtxFile& file, const CQtxDatumList& datums, int& domain, ChosenDatum& datum);
