#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/CnvDataSetDlgIds.h"

// One line per value; the dialog writes label and value into each.
DialogTemplate CnvDataSetDialogTemplate()
{
    using K = ControlKind;
    using enum cnv_data_set::Control;
    constexpr int kInfoGroup = -2;
    return {kIddCnvDataSet,
            "CNV Data Set",
            {
                {kInfoGroup, K::GroupBox, "Data Set Info", 0, 0},
                {kIdcFileName, K::Static, "File name : ", kInfoGroup, kPathEllipsis},
                {kIdcToolType, K::Static, "Tool type : ", kInfoGroup, 0},
                {kIdcTopDepth, K::Static, "Top depth : ", kInfoGroup, 0},
                {kIdcBottomDepth, K::Static, "Bottom depth : ", kInfoGroup, 0},
                {kIdcDepthStep, K::Static, "Depth step : ", kInfoGroup, 0},
                {kIdcSamplingRate, K::Static, "Sampling rate : ", kInfoGroup, 0},
                {kIdcFrames, K::Static, "Number frames : ", kInfoGroup, 0},
                {kIdcReceivers, K::Static, "Number receivers : ", kInfoGroup, 0},
                {kIdcSamples, K::Static, "Number samples : ", kInfoGroup, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
