// The log plot made from the Log Setup values, as Display > Log shows or prints it.
#pragma once

#include "settings/LogSetupGroup.h"

#include <string>

class CPlotWnd;

// Opens the plot of `setup`'s list as the newest viewer, in a window of
// `windowClass`. Returns the window, which owns itself, or null when nothing could
// be shown (the reason was shown).
CPlotWnd* OpenPlotWnd(const LogSetupGroup& setup, const std::string& windowClass);

// Prints the plot of `setup`'s list, titled by its header text, on the host's print
// job. True when a document was written.
bool PrintPlot(const LogSetupGroup& setup);
