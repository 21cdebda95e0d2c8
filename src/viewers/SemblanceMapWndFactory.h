// The semblance map view made from the Semblance Map setup values, as Display > Map
// opens it.
#pragma once

#include "settings/SemblanceMapSetupGroup.h"

#include <string>

class CSemblanceMapWnd;

// Opens the view of the file, depth, windows and presentation of `setup` as the
// newest viewer, in a window of `windowClass`. Returns the view, which its window
// owns, or null when nothing could be opened (the reason was shown).
CSemblanceMapWnd* OpenSemblanceMapWnd(const SemblanceMapSetupGroup& setup, const std::string& windowClass);
