#include "platform/Controls.h"
#include "res/ResourceIds.h"

namespace {

// Group boxes keep each list together with its own buttons in the automatic layout.
enum : int { kFoundGroup = -2, kFoundLabel = -3, kSelectedGroup = -4, kSelectedLabel = -5 };

} // namespace

DialogTemplate QtxFileDialogTemplate()
{
    using K = ControlKind;
    return {kIddQtxFile,
            "QTX File",
            {{1010, K::Static, "File Name:", 0, 0},
             {1042, K::Static, "Start Depth:", 0, 0},
             {1043, K::Static, "Stop Depth:", 0, 0},
             {1044, K::Static, "Depth Step:", 0, 0},
             {1045, K::Static, "Depth Units:", 0, 0},
             {1046, K::Static, "Depth Frames:", 0, 0},
             {1047, K::TabControl, "", 0, 0},
             {kFoundGroup, K::GroupBox, "", 0, 0},
             {kFoundLabel, K::Static, "Found", kFoundGroup, 0},
             {1049, K::ListBox, "", kFoundGroup, kVScroll},
             {1051, K::Button, "---->", kFoundGroup, 0},
             {1052, K::Button, "Select All", kFoundGroup, 0},
             {kSelectedGroup, K::GroupBox, "", 0, 0},
             {kSelectedLabel, K::Static, "Selected", kSelectedGroup, 0},
             {1050, K::ListBox, "", kSelectedGroup, kVScroll},
             {1053, K::Button, "<----", kSelectedGroup, 0},
             {1054, K::Button, "Clear All", kSelectedGroup, 0},
             {1, K::Button, "OK", 0, kDefaultButton},
             {1016, K::Button, "Help", 0, 0},
             {2, K::Button, "Cancel", 0, 0}}};
}
