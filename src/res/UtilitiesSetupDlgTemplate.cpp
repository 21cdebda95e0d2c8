#include "platform/Controls.h"

#include <string>
#include <vector>

// Control ids are shared with CUtilitiesSetupDlg (toolbox/UtilitiesSetupDlg.h).
// Group boxes nobody addresses take ids below -1.
DialogTemplate UtilitiesSetupDialogTemplate()
{
    using K = ControlKind;
    constexpr int kTaskGroup = -2, kPrimaryGroup = -3, kDepthGroup = -4, kParameterGroup = -5,
                  kSecondaryGroup = -6, kDensityGroup = -7, kOutputGroup = -8;
    return {159,
            "Utilities Setup",
            {
                {kTaskGroup, K::GroupBox, "", 0, 0},
                {1230, K::ComboBox, "", kTaskGroup, kSorted | kVScroll},

                {kPrimaryGroup, K::GroupBox, "Primary Data Item(s)", 0, 0},
                {1219, K::Button, "Select &Primary File", kPrimaryGroup, 0},
                {1220, K::Static, "Primary File : ", kPrimaryGroup, 0},
                {1234, K::MultiListBox, "", kPrimaryGroup, kVScroll},

                {kDepthGroup, K::GroupBox, "Depth Range", 0, 0},
                {1236, K::Static, "Start depth :", kDepthGroup, 0},
                {1228, K::Edit, "", kDepthGroup, 0},
                {1237, K::Static, "Stop depth :", kDepthGroup, 0},
                {1229, K::Edit, "", kDepthGroup, 0},

                {kParameterGroup, K::GroupBox, "", 0, 0},
                {1238, K::Static, "Factor : ", kParameterGroup, 0},
                {1231, K::Edit, "", kParameterGroup, 0},
                {1247, K::Static, "Start Sample :", kParameterGroup, 0},
                {1244, K::Edit, "", kParameterGroup, 0},
                {1248, K::Static, "Stop Sample :", kParameterGroup, 0},
                {1245, K::Edit, "", kParameterGroup, 0},
                {1249, K::Static, "Decimate By :", kParameterGroup, 0},
                {1246, K::Edit, "", kParameterGroup, 0},
                {1242, K::Static, "Splice depth :", kParameterGroup, 0},
                {1241, K::Edit, "", kParameterGroup, 0},

                {kSecondaryGroup, K::GroupBox, "Secondary Data Item(s)", 0, 0},
                {1221, K::Button, "Select &Seconadry File", kSecondaryGroup, 0},
                {1222, K::Static, "Secondary File : ", kSecondaryGroup, 0},
                {1235, K::MultiListBox, "", kSecondaryGroup, kVScroll},
                {1239, K::Static, "Start depth :", kSecondaryGroup, 0},
                {1232, K::Edit, "", kSecondaryGroup, 0},
                {1240, K::Static, "Stop depth :", kSecondaryGroup, 0},
                {1233, K::Edit, "", kSecondaryGroup, 0},

                {kDensityGroup, K::GroupBox, "Density Data", 0, 0},
                {1243, K::Button, "Select &Density File", kDensityGroup, 0},
                {1250, K::Static, "Density Profile : ", kDensityGroup, 0},
                {1255, K::MultiListBox, "", kDensityGroup, kVScroll},
                {1251, K::Static, "Start depth :", kDensityGroup, 0},
                {1253, K::Edit, "", kDensityGroup, 0},
                {1252, K::Static, "Stop depth :", kDensityGroup, 0},
                {1254, K::Edit, "", kDensityGroup, 0},

                {kOutputGroup, K::GroupBox, "", 0, 0},
                {1223, K::Button, "Select &Output File", kOutputGroup, 0},
                {1227, K::Static, "Output File : ", kOutputGroup, 0},

                {1224, K::Button, "Run", 0, kDefaultButton},
                {1225, K::Button, "Save Setup", 0, 0},
                {1226, K::Button, "Help", 0, 0},
                {2, K::Button, "Cancel", 0, 0},
            }};
}

// The task box's initial entries: a template holds no list items, so the dialog
// adds these before its controls are loaded, as a resource's init data would.
const std::vector<std::string>& UtilitiesSetupTaskEntries()
{
    static const std::vector<std::string> entries = {
        "Extract Item(s)",
        "Extract Depth Range",
        "Shift In Depth",
        "Multiply By Factor",
        "Shift By Factor",
        "Convert Depth To Metric",
        "Convert Depth To Imperial",
        "Convert Slowness To Metric",
        "Convert Slowness To Imperial",
        "Splice At Depth",
        "Compute Amplitude",
        "Compute RMS Average Log",
        "Compute VpVs, Poisson Ratio",
        "Compute Frequency Log",
        "Convert QTX To LAS",
        "Convert LAS To QTX",
        "Convert QTX To SEGY",
        "Convert SEGY To QTX",
        "Reverse Depth Order",
        "Reverse Receiver Order",
        "Resample Depth",
        "Overwrite Depth Step",
        "Import TXT Data Set",
        "Add Waveforms",
        "Subtract Waveforms",
        "Construct LSS Array",
        "Construct Min-Max Log",
        "Construct QTX Data Set",
        "Compute Wave Energy",
        "Compute Mechanical Properties",
    };
    return entries;
}
