// The VDL view made from the VDL Setup values, as Display > VDL opens it.
#pragma once

#include "settings/VdlSetupGroup.h"

#include <string>

class CVdlWnd;

// Opens the view of the file, depth range, scale, domain, presentation and ranges of
// `setup` as the newest viewer, in a window of `windowClass`. Returns the view, which
// its window owns, or null when nothing could be opened (the reason was shown).
CVdlWnd* OpenVdlWnd(const VdlSetupGroup& setup, const std::string& windowClass);
