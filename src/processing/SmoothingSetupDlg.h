// Smoothing Setup: the input data set and the data items of it to smooth, a smoothing
// function of seven weights (three presets with fixed weights, or the user's own), the
// Unsharp Mask option and the output data set. "&Run" ends with kRun, "Save Setup"
// with kSavedSetup; both give the edited group back, with the items' listed and
// selected flags in the input's datum order.
#pragma once

#include "common/SetupDlg.h"
#include "dataset/QtxFile.h"
#include "res/SmoothingSetupDlgIds.h"
#include "settings/ProcessingSetupGroups.h"

#include <array>
#include <string>

class CSmoothingSetupDlg : public CSetupDlg<SmoothingSetupGroup> {
public:
    using enum smoothing_setup::Control;
    enum : int { kRun = kIdcRun, kSavedSetup = kIdcSaveSetup };
    enum Preset : int { kShort, kMedium, kLong, kUser };

    CSmoothingSetupDlg();

    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    // Each returns 1 when a file was chosen (and, for the input, its items read), else 0.
    int OnSelectInputFile();
    int OnSelectOutputFile();
    // Checks the preset's box alone, shows its weights and lets only "User" edit them.
    void OnPreset(Preset preset);
    void OnUnsharpMask();
    void OnSelChangeItems();
    void OnRun();
    void OnSaveSetup();
    void OnHelp();

    // The weights each preset shows, as text.
    static const std::array<const char*, 7>& PresetWeights(Preset preset);
    // "<title>~.qtx": the output proposed for an input of file title `title`.
    static std::string OutputName(const std::string& title);
    // Whether the list offers a datum of this category: waveforms, slowness, azimuth, traces.
    static bool Smoothable(uint8_t category);

private:
    // Lists the smoothable datums of `datums` and marks them listed, none selected.
    // False, with nothing listed, when the flags cannot hold every datum.
    bool ListItems(const CQtxDatumList& datums);
    void End(int code);
};
