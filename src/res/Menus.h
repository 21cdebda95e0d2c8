// Menus, toolbars and the accelerator table as resource data.
#pragma once

#include "platform/Frame.h"

// The menu with this resource id (an empty menu for an unknown id).
const Menu& MenuResourceFor(int id);
const ToolBarDef& ToolBarResourceFor(int id);
const std::vector<Accelerator>& AcceleratorTable();
