// Menus, toolbars and the accelerator table as resource data.
#pragma once

#include "platform/Frame.h"

// The menu with this resource id (an empty menu for an unknown id).
const Menu& MenuResourceFor(int id);
const ToolBarDef& ToolBarResourceFor(int id);
const std::vector<Accelerator>& AcceleratorTable();

// Status-bar prompt, tool tip and (optionally) a short button label of a command:
// "prompt\ntip[\nlabel]". The string table's entry where it has one; the buttons of
// the display toolbar and the framework's commands get texts of their own.
std::string CommandPromptText(int id);
