#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/UtilitiesSetupDlgIds.h"

// Group boxes nobody addresses take ids below -1.
DialogTemplate UtilitiesSetupDialogTemplate()
{
    using K = ControlKind;
    using enum utilities_setup::Control;
    constexpr int kTaskGroup = -2, kPrimaryGroup = -3, kDepthGroup = -4, kParameterGroup = -5,
                  kSecondaryGroup = -6, kDensityGroup = -7, kOutputGroup = -8;
    return {kIddUtilitiesSetup,
            "Utilities Setup",
            {
                {kTaskGroup, K::GroupBox, "", 0, 0},
                {kIdcTask, K::DropDownList, "", kTaskGroup, kSorted | kVScroll},

                {kPrimaryGroup, K::GroupBox, "Primary Data Item(s)", 0, 0},
                {kIdcSelectPrimary, K::Button, "Select &Primary File", kPrimaryGroup, 0},
                {kIdcPrimaryFile, K::Static, "Primary File : ", kPrimaryGroup, kPathEllipsis},
                {kIdcPrimaryList, K::MultiListBox, "", kPrimaryGroup, kVScroll},

                {kDepthGroup, K::GroupBox, "Depth Range", 0, 0},
                {kIdcPrimaryStartLabel, K::Static, "Start depth :", kDepthGroup, 0},
                {kIdcPrimaryStart, K::Edit, "", kDepthGroup, 0},
                {kIdcPrimaryStopLabel, K::Static, "Stop depth :", kDepthGroup, 0},
                {kIdcPrimaryStop, K::Edit, "", kDepthGroup, 0},

                {kParameterGroup, K::GroupBox, "", 0, 0},
                {kIdcFactorLabel, K::Static, "Factor : ", kParameterGroup, 0},
                {kIdcFactor, K::Edit, "", kParameterGroup, 0},
                {kIdcStartSampleLabel, K::Static, "Start Sample :", kParameterGroup, 0},
                {kIdcStartSample, K::Edit, "", kParameterGroup, 0},
                {kIdcStopSampleLabel, K::Static, "Stop Sample :", kParameterGroup, 0},
                {kIdcStopSample, K::Edit, "", kParameterGroup, 0},
                {kIdcDecimateLabel, K::Static, "Decimate By :", kParameterGroup, 0},
                {kIdcDecimate, K::Edit, "", kParameterGroup, 0},
                {kIdcSpliceLabel, K::Static, "Splice depth :", kParameterGroup, 0},
                {kIdcSplice, K::Edit, "", kParameterGroup, 0},

                {kSecondaryGroup, K::GroupBox, "Secondary Data Item(s)", 0, 0},
                {kIdcSelectSecondary, K::Button, "Select &Seconadry File", kSecondaryGroup, 0},
                {kIdcSecondaryFile, K::Static, "Secondary File : ", kSecondaryGroup, kPathEllipsis},
                {kIdcSecondaryList, K::MultiListBox, "", kSecondaryGroup, kVScroll},
                {kIdcSecondaryStartLabel, K::Static, "Start depth :", kSecondaryGroup, 0},
                {kIdcSecondaryStart, K::Edit, "", kSecondaryGroup, 0},
                {kIdcSecondaryStopLabel, K::Static, "Stop depth :", kSecondaryGroup, 0},
                {kIdcSecondaryStop, K::Edit, "", kSecondaryGroup, 0},

                {kDensityGroup, K::GroupBox, "Density Data", 0, 0},
                {kIdcSelectDensity, K::Button, "Select &Density File", kDensityGroup, 0},
                {kIdcDensityFile, K::Static, "Density Profile : ", kDensityGroup, kPathEllipsis},
                {kIdcDensityList, K::MultiListBox, "", kDensityGroup, kVScroll},
                {kIdcDensityStartLabel, K::Static, "Start depth :", kDensityGroup, 0},
                {kIdcDensityStart, K::Edit, "", kDensityGroup, 0},
                {kIdcDensityStopLabel, K::Static, "Stop depth :", kDensityGroup, 0},
                {kIdcDensityStop, K::Edit, "", kDensityGroup, 0},

                {kOutputGroup, K::GroupBox, "", 0, 0},
                {kIdcSelectOutput, K::Button, "Select &Output File", kOutputGroup, 0},
                {kIdcOutputFile, K::Static, "Output File : ", kOutputGroup, kPathEllipsis},

                {kIdcRun, K::Button, "Run", 0, kDefaultButton},
                {kIdcSaveSetup, K::Button, "Save Setup", 0, 0},
                {kIdcHelp, K::Button, "Help", 0, 0},
                {IDCANCEL, K::Button, "Cancel", 0, 0},
            }};
}
