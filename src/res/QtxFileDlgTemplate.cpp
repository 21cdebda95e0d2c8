#include "platform/Controls.h"
#include "res/ResourceIds.h"

DialogTemplate QtxFileDialogTemplate() { return {kIddQtxFile, "QTX File", {}}; }
