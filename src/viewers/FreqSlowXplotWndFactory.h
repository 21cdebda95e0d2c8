// The frequency-slowness cross-plot made from the X-Plot setup values, as Display >
// Xplot Map opens it.
#pragma once

#include "settings/XPlotSetupGroup.h"

#include <string>

class CFreqSlowXplotWnd;

// Opens the cross-plot of the file, datums, depth range and ranges of `setup` as the
// newest viewer, in a window of `windowClass`. Returns the view, which its window
// owns, or null when nothing could be opened (the reason was shown).
CFreqSlowXplotWnd* OpenFreqSlowXplotWnd(const XPlotSetupGroup& setup, const std::string& windowClass);
