#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/QtxFileDlgIds.h"

namespace {

// Group boxes keep each list together with its own buttons in the automatic layout.
enum : int { kFoundGroup = -2, kFoundLabel = -3, kSelectedGroup = -4, kSelectedLabel = -5 };

} // namespace

DialogTemplate QtxFileDialogTemplate()
{
    using K = ControlKind;
    using enum qtx_file::Control;
    return {kIddQtxFile,
            "QTX File",
            {{kIdcFileName, K::Static, "File Name:", 0, kPathEllipsis},
             {kIdcStartDepth, K::Static, "Start Depth:", 0, 0},
             {kIdcStopDepth, K::Static, "Stop Depth:", 0, 0},
             {kIdcDepthStep, K::Static, "Depth Step:", 0, 0},
             {kIdcDepthUnits, K::Static, "Depth Units:", 0, 0},
             {kIdcDepthFrames, K::Static, "Depth Frames:", 0, 0},
             {kIdcTab, K::TabControl, "", 0, 0},
             {kFoundGroup, K::GroupBox, "", 0, 0},
             {kFoundLabel, K::Static, "Found", kFoundGroup, 0},
             {kIdcFound, K::ListBox, "", kFoundGroup, kVScroll},
             {kIdcAdd, K::Button, "---->", kFoundGroup, 0},
             {kIdcSelectAll, K::Button, "Select All", kFoundGroup, 0},
             {kSelectedGroup, K::GroupBox, "", 0, 0},
             {kSelectedLabel, K::Static, "Selected", kSelectedGroup, 0},
             {kIdcSelected, K::ListBox, "", kSelectedGroup, kVScroll},
             {kIdcRemove, K::Button, "<----", kSelectedGroup, 0},
             {kIdcClearAll, K::Button, "Clear All", kSelectedGroup, 0},
             {IDOK, K::Button, "OK", 0, kDefaultButton},
             {kIdcHelp, K::Button, "Help", 0, 0},
             {IDCANCEL, K::Button, "Cancel", 0, 0}}};
}
