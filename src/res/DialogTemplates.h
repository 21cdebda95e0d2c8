// Dialog templates as resource data, looked up by resource id.
#pragma once

#include "platform/Controls.h"

#include <vector>

// The template with this id; an empty template (no controls) for an unknown id.
const DialogTemplate& DialogTemplateFor(int id);
// Every template's id, in ascending order.
std::vector<int> DialogTemplateIds();
