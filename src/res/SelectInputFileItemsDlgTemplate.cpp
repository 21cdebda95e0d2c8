#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/SelectInputFileItemsDlgIds.h"

// Group boxes keep the tree and the list each with its own buttons in the automatic
// layout; the texts of the static fields start with their labels.
DialogTemplate SelectInputFileItemsDialogTemplate()
{
    using K = ControlKind;
    using enum select_input_items::Control;
    constexpr int kInputGroup = -2, kSelectedGroup = -3;
    return {kIddSelectInputFileItems,
            "Select Input File Items",
            {
                {kIdcInputFile, K::Static, "Input File Name:", 0, 0},
                {kIdcDataSet, K::Static, "Data Set:", 0, 0},
                {kInputGroup, K::GroupBox, "Input Data Sets", 0, 0},
                {kIdcTree, K::Tree, "", kInputGroup, 0},
                {kIdcAdd, K::Button, "----->", kInputGroup, 0},
                {kSelectedGroup, K::GroupBox, "Selected Output Items", 0, 0},
                {kIdcSelected, K::ListBox, "", kSelectedGroup, kVScroll},
                {kIdcRemove, K::Button, "<-----", kSelectedGroup, 0},
                {kIdcClearAll, K::Button, "Clear All", kSelectedGroup, 0},
                {IDOK, K::Button, "OK", 0, kDefaultButton},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
