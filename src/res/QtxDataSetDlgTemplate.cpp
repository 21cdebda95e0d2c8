#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/QtxDataSetDlgIds.h"

// One line per header value, then the datums' list; the dialog fills both.
DialogTemplate QtxDataSetDialogTemplate()
{
    using K = ControlKind;
    using enum qtx_data_set::Control;
    constexpr int kInfoGroup = -2, kDatumGroup = -3;
    return {kIddQtxDataSet,
            "QTX Data Set",
            {
                {kInfoGroup, K::GroupBox, "Data Set Info", 0, 0},
                {kIdcFileName, K::Static, "File name : ", kInfoGroup, kPathEllipsis},
                {kIdcTopDepth, K::Static, "Top depth : ", kInfoGroup, 0},
                {kIdcBottomDepth, K::Static, "Bottom depth : ", kInfoGroup, 0},
                {kIdcDepthStep, K::Static, "Depth step : ", kInfoGroup, 0},
                {kIdcFrames, K::Static, "Number frames : ", kInfoGroup, 0},
                {kIdcLogDirection, K::Static, "Log direction : ", kInfoGroup, 0},
                {kDatumGroup, K::GroupBox, "Datums", 0, 0},
                {kIdcDatums, K::ListBox, "", kDatumGroup, kVScroll},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {kIdcHistory, K::Button, "History", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
