#include "platform/Controls.h"
#include "res/ResourceIds.h"

DialogTemplate DomainSetupDialogTemplate() { return {kIddDomainSetup, "Domain Setup", {}}; }
