#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/DataSetPropertiesDlgIds.h"

// The texts of the static fields start with their labels; the class keeps them there.
DialogTemplate DataSetPropertiesDialogTemplate()
{
    using K = ControlKind;
    using enum data_set_properties::Control;
    return {kIddDataSetProperties,
            "Data Set Properties",
            {
                {kIdcDataSetName, K::Static, "Data Set Name:", 0, 0},
                {kIdcStartDepth, K::Static, "Start Depth:", 0, 0},
                {kIdcEndDepth, K::Static, "End Depth:", 0, 0},
                {kIdcDepthInterval, K::Static, "Depth Interval:", 0, 0},
                {kIdcLogDirection, K::Static, "Log Direction:", 0, 0},
                {kIdcFrameCount, K::Static, "Number Depth Frames:", 0, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
            }};
}
