#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/LogSetupDlgIds.h"
#include "res/ResourceIds.h"

#include <string>

// Group boxes nobody addresses take ids below -1; the labels are kIdcStatic.
DialogTemplate LogSetupDialogTemplate()
{
    using K = ControlKind;
    using enum log_setup::Control;
    constexpr int kDepthGroup = -2, kBackgroundGroup = -3, kTrackGroup = -4, kItemsGroup = -5, kFileGroup = -6;
    DialogTemplate t{kIddLogSetup,
                     "Log Setup",
                     {
                         {kDepthGroup, K::GroupBox, "Depth options", 0, 0},
                         {kIdcStatic, K::Static, "Depth scale :", kDepthGroup, 0},
                         {kIdcDepthScale, K::Edit, "", kDepthGroup, 0},
                         {kIdcStatic, K::Static, "Depth units:", kDepthGroup, 0},
                         {kIdcEnglish, K::RadioButton, "English", kDepthGroup, kGroupStart},
                         {kIdcMetric, K::RadioButton, "Metric", kDepthGroup, 0},

                         {kBackgroundGroup, K::GroupBox, "Background color", 0, 0},
                         {kIdcBackBlue, K::RadioButton, "Blue", kBackgroundGroup, kGroupStart},
                         {kIdcBackBeige, K::RadioButton, "Beige", kBackgroundGroup, 0},
                         {kIdcBackGray, K::RadioButton, "Gray", kBackgroundGroup, 0},

                         {kTrackGroup, K::GroupBox, "Track width [in]", 0, 0},
                         {kIdcDepthTrackOn, K::CheckBox, "Depth column left of track #1", kTrackGroup, 0},
                     }};
    for (int track = 1; track <= 16; ++track) {
        t.controls.push_back({kIdcStatic, K::Static, std::string("#").append(std::to_string(track)).append(" :"), kTrackGroup, 0});
        t.controls.push_back({log_setup::kTrackWidthIds[track - 1], K::Edit, "", kTrackGroup, 0});
        if (track == 1)
            t.controls.push_back(
                {kIdcDepthTrackOff, K::CheckBox, "Depth column between tracks #1 and #2", kTrackGroup, 0});
    }
    const ControlTemplate rest[] = {
        {kItemsGroup, K::GroupBox, "Selected Items", 0, 0},
        {kIdcStatic, K::Static, "Enabled", kItemsGroup, 0},
        {kIdcEnabledList, K::ListBox, "", kItemsGroup, kVScroll},
        {kIdcStatic, K::Static, "Disabled", kItemsGroup, 0},
        {kIdcDisabledList, K::ListBox, "", kItemsGroup, kVScroll},
        {kIdcAdd, K::Button, "&Add", kItemsGroup, 0},
        {kIdcEdit, K::Button, "&Edit", kItemsGroup, 0},
        {kIdcCopy, K::Button, "C&opy", kItemsGroup, 0},
        {kIdcDelete, K::Button, "&Delete", kItemsGroup, 0},
        {kIdcClearAll, K::Button, "&Clear All", kItemsGroup, 0},

        {kFileGroup, K::GroupBox, "", 0, 0},
        {kIdcLoadSettings, K::Button, "&Load Settings", kFileGroup, 0},
        {kIdcSaveSettings, K::Button, "&Save Settings", kFileGroup, 0},
        {kIdcBrowseFolder, K::Button, "&Browse Folder", kFileGroup, 0},
        {kIdcEditCommand, K::Button, "&Edit Command", kFileGroup, 0},

        {kIdcStatic, K::Static, "Header:", 0, 0},
        {kIdcHeader, K::Edit, "", 0, 0},

        {kIdcApply, K::Button, "Apply", 0, kDefaultButton},
        {IDCANCEL, K::Button, "Cancel", 0, 0},
        {kIdcHelp, K::Button, "&Help", 0, 0},
        {kIdcViewLog, K::Button, "&View Log", 0, 0},
        {kIdcPrintLog, K::Button, "&Print PDF File", 0, 0},
    };
    t.controls.insert(t.controls.end(), std::begin(rest), std::end(rest));
    return t;
}
