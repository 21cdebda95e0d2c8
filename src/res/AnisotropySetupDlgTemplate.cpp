#include "platform/Controls.h"
#include "platform/Host.h"
#include "res/AnisotropySetupDlgIds.h"
#include "res/SetupTemplateRows.h"

// The setup of an anisotropy run: the run, its input and profile data sets and their datums.
DialogTemplate AnisotropySetupDialogTemplate()
{
    using K = ControlKind;
    using enum anisotropy_setup::Control;
    using enum anisotropy_setup::Box;
    return {kIddAnisotropySetup, "Anisotropy Analysis Setup",
            JoinRows({
                {
                    {kIdcSelectInput, K::Button, "Select Cross Dipole File", 0, 0},
                    {kIdcInputFile, K::Static, "Input File : ", 0, kPathEllipsis},
                    {kIdcInputGroup, K::GroupBox, "Input Data", 0, 0},
                    {kIdcInputList, K::MultiListBox, "", kIdcInputGroup, 0},
                    {kIdcInputStartLabel, K::Static, "Start :", kIdcInputGroup, 0},
                    {kIdcInputStart, K::Edit, "", kIdcInputGroup, 0},
                    {kIdcInputStopLabel, K::Static, "Stop : ", kIdcInputGroup, 0},
                    {kIdcInputStop, K::Edit, "", kIdcInputGroup, 0},
                    {kIdcSelectProfile, K::Button, "Select &Tracking Profile", 0, 0},
                    {kIdcProfileFile, K::Static, "Profile : ", 0, kPathEllipsis},
                    {kIdcProfileGroup, K::GroupBox, "Profile", 0, 0},
                    {kIdcProfileList, K::MultiListBox, "", kIdcProfileGroup, 0},
                    {kIdcProfileStartLabel, K::Static, "Start:", kIdcProfileGroup, 0},
                    {kIdcProfileStart, K::Edit, "", kIdcProfileGroup, 0},
                    {kIdcProfileWidthLabel, K::Static, "Width:", kIdcProfileGroup, 0},
                    {kIdcProfileWidth, K::Edit, "", kIdcProfileGroup, 0},
                    {kBoxOptions, K::GroupBox, "Options", 0, 0},
                    {kIdcCollocateTransmitter, K::CheckBox, "Collocate transmitter data", kBoxOptions, 0},
                    {kIdcAnisotropyAnalysis, K::CheckBox, "Anisotropy analysis", kBoxOptions, 0},
                    {kIdcCombineEnergy, K::CheckBox, "Combine energy data", kBoxOptions, 0},
                    {kIdcRotateWaveforms, K::CheckBox, "Rotate waveforms", kBoxOptions, 0},
                    {kIdcAzimuthCoherence, K::CheckBox, "Azimuth coherence", kBoxOptions, 0},
                    {kIdcFastShearAzimuth, K::CheckBox, "Fast shear azimuth", kBoxOptions, 0},
                },
                RunRows<anisotropy_setup::Control>(kIdcRun),
            })};
}
