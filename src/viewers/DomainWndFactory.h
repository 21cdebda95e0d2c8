// The domain view made from the Domain Setup values, as Display > Time, Frequency,
// Slowness and Azimuth open it.
#pragma once

#include "settings/DomainSetupGroup.h"

#include <string>

class CDomainWnd;

// Opens the view of `domain` (a DomainCode) on the file, depth frame and ranges of
// `setup` as the newest viewer, in a window of `windowClass`. Returns the view, which
// its window owns, or null when nothing could be opened (the reason was shown).
CDomainWnd* OpenDomainWnd(const DomainSetupGroup& setup, int domain, const std::string& windowClass);
