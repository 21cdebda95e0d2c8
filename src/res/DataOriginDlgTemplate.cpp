#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/DataOriginDlgIds.h"
#include "res/ResourceIds.h"

// The list is filled by the dialog from the entries of its id header.
DialogTemplate DataOriginDialogTemplate()
{
    using K = ControlKind;
    return {kIddDataOrigin,
            "Data Origin",
            {
                {kIdcStatic, K::Static, "Data origin :", 0, 0},
                {data_origin::kIdcOrigin, K::DropDownList, "", 0, kVScroll},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
