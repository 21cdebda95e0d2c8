#include "platform/Controls.h"

DialogTemplate UtilitiesSetupDialogTemplate() { return {159, "Utilities Setup", {}}; }
