// Dialog templates as resource data, looked up by resource id.
#pragma once

#include "platform/Controls.h"

#include <span>
#include <vector>

// The template with this id; an empty template (no controls) for an unknown id.
const DialogTemplate& DialogTemplateFor(int id);
// Every template's id, in ascending order.
std::vector<int> DialogTemplateIds();
// Every registered template in registration order, two under one id included.
const std::vector<DialogTemplate>& RegisteredDialogTemplates();
// The ids two or more of `templates` share, ascending, each once. A shared id would show
// one dialog's template for another's, so start-up refuses it in a debug build.
std::vector<int> SharedDialogIds(std::span<const DialogTemplate> templates);
