#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/EditCommandDlgIds.h"
#include "res/ResourceIds.h"

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic.
DialogTemplate EditCommandDialogTemplate()
{
    using K = ControlKind;
    using enum edit_command::Control;
    constexpr int kDataGroup = -2, kItemGroup = -3, kLookGroup = -4;
    return {kIddEditCommand,
            "Edit Command",
            {
                {kDataGroup, K::GroupBox, "Data set", 0, 0},
                {kIdcStatic, K::Static, "File name :", kDataGroup, 0},
                {kIdcFileTitle, K::Edit, "", kDataGroup, 0},
                {kIdcStatic, K::Static, "Top depth :", kDataGroup, 0},
                {kIdcDataTop, K::Edit, "", kDataGroup, kReadOnly},
                {kIdcStatic, K::Static, "Bottom depth :", kDataGroup, 0},
                {kIdcDataBottom, K::Edit, "", kDataGroup, kReadOnly},

                {kItemGroup, K::GroupBox, "Item", 0, 0},
                {kIdcStatic, K::Static, "Start depth :", kItemGroup, 0},
                {kIdcStartDepth, K::Edit, "", kItemGroup, 0},
                {kIdcStatic, K::Static, "Stop depth :", kItemGroup, 0},
                {kIdcStopDepth, K::Edit, "", kItemGroup, 0},
                {kIdcStatic, K::Static, "Depth shift :", kItemGroup, 0},
                {kIdcShift, K::Edit, "", kItemGroup, 0},
                {kIdcStatic, K::Static, "Name :", kItemGroup, 0},
                {kIdcName, K::Edit, "", kItemGroup, 0},
                {kIdcStatic, K::Static, "Mnemonic :", kItemGroup, 0},
                {kIdcMnemonic, K::Edit, "", kItemGroup, 0},
                {kIdcStatic, K::Static, "Units : ", kItemGroup, 0},
                {kIdcUnits, K::Edit, "", kItemGroup, 0},
                {kIdcStatic, K::Static, "Left limit :", kItemGroup, 0},
                {kIdcLeftLimit, K::Edit, "", kItemGroup, 0},
                {kIdcStatic, K::Static, "Rigth limit :", kItemGroup, 0},
                {kIdcRightLimit, K::Edit, "", kItemGroup, 0},
                {kIdcStatic, K::Static, "Track number : ", kItemGroup, 0},
                {kIdcTrack, K::Edit, "", kItemGroup, 0},

                {kLookGroup, K::GroupBox, "", 0, 0},
                {kIdcStatic, K::Static, "Color :", kLookGroup, 0},
                {kIdcColor, K::DropDownList, "", kLookGroup, 0},
                {kIdcStatic, K::Static, "Width :", kLookGroup, 0},
                {kIdcLineWidth, K::DropDownList, "", kLookGroup, 0},
                {kIdcStatic, K::Static, "Palette :", kLookGroup, 0},
                {kIdcPalette, K::DropDownList, "", kLookGroup, 0},
                {kIdcPreviousItem, K::Button, "&Previous Item", kLookGroup, 0},
                {kIdcNextItem, K::Button, "&Next Item", kLookGroup, 0},

                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
                {kIdcHelp, K::Button, "&Help", 0, 0},
            }};
}
