#include "platform/Controls.h"
#include "res/ScratchDlgIds.h"
#include "res/ResourceIds.h"

DialogTemplate ScratchDialogTemplate()
{
    using K = ControlKind;
    return {kIddScratch,
            "Scratch",
            {{kIdcStatic, K::Static, "Value :", 0, 0},
             {scratch::kIdcValue, K::Edit, "", 0, 0},
             {1, K::Button, "OK", 0, kDefaultButton},
             {2, K::Button, "Cancel", 0, 0}}};
}
