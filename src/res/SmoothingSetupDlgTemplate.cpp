#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/ResourceIds.h"
#include "res/SetupTemplateRows.h"
#include "res/SmoothingSetupDlgIds.h"

// The input and output data sets of a smoothing run, the data items to smooth and the
// smoothing function: a preset of seven weights or the user's own. Group boxes nobody
// addresses take ids below -1. The item list waits for an input.
DialogTemplate SmoothingSetupDialogTemplate()
{
    using K = ControlKind;
    using enum smoothing_setup::Control;
    constexpr int kFunctionGroup = -2, kItemsGroup = -3;
    return {kIddSmoothingSetup, "Smoothing Setup",
            JoinRows({
                SelectInputRows<smoothing_setup::Control>(),
                {
                    {kFunctionGroup, K::GroupBox, "Smoothing function", 0, 0},
                    {kIdcShort, K::CheckBox, "Short", kFunctionGroup, 0},
                    {kIdcMedium, K::CheckBox, "Medium", kFunctionGroup, 0},
                    {kIdcLong, K::CheckBox, "Long", kFunctionGroup, 0},
                    {kIdcUser, K::CheckBox, "User", kFunctionGroup, 0},
                    {kIdcWeight1, K::Edit, "", kFunctionGroup, 0},
                    {kIdcWeight2, K::Edit, "", kFunctionGroup, 0},
                    {kIdcWeight3, K::Edit, "", kFunctionGroup, 0},
                    {kIdcWeight4, K::Edit, "", kFunctionGroup, 0},
                    {kIdcWeight5, K::Edit, "", kFunctionGroup, 0},
                    {kIdcWeight6, K::Edit, "", kFunctionGroup, 0},
                    {kIdcWeight7, K::Edit, "", kFunctionGroup, 0},
                    {kIdcUnsharpMask, K::CheckBox, "Unsharp Mask", kFunctionGroup, 0},
                    {kIdcStatic, K::Static, "Sharper            0            Softer", kFunctionGroup, 0},
                    {kIdcSharpness, K::Trackbar, "", kFunctionGroup, 0},
                    {kItemsGroup, K::GroupBox, "Data Item(s)", 0, 0},
                    {kIdcItems, K::MultiListBox, "", kItemsGroup, kVScroll | kDisabled},
                },
                SelectOutputRows<smoothing_setup::Control>(),
                {
                    {kIdcSaveSetup, K::Button, "Save Setup", 0, kDefaultButton},
                    {IDCANCEL, K::Button, "Cancel", 0, 0},
                    {kIdcHelp, K::Button, "&Help", 0, 0},
                    {kIdcRun, K::Button, "&Run", 0, 0},
                },
            })};
}
