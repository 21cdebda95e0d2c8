// The registry of the open viewers' display options: each viewer registers its record
// when it opens and removes it when it closes; activating a viewer loads its record
// into the current display options, and the display commands store them back.
#pragma once

#include "settings/SettingsStore.h"

#include <cstddef>
#include <cstdint>

// A new viewer's start: hands out the next window id, makes it the active one and
// restarts the current pen and background, and the zoom when `resetZoom` (the domain
// and VDL views; the map and the cross-plot keep it). Returns the id.
uint16_t StartNewViewer(bool resetZoom = true);
// Registers a viewer's record; `window` names the viewer so that Close All and the
// mode commands close exactly the windows that own records. Returns the record's index.
size_t AddViewOptions(int windowId, uint16_t kind, const int available[kReceivers], CWnd* window = nullptr);
void RemoveViewOptions(uint16_t windowId);
const CViewOptions* FindViewOptions(uint16_t windowId);
// The active viewer's record into the current display options (defaults when none).
void LoadViewOptions();
// The current display options into the active viewer's record, then repaints it.
void StoreViewOptions();
void RepaintActiveView();
int CountShownReceivers();
