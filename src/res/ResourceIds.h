// Resource ids of the dialog templates and the controls that code addresses.
#pragma once

enum DialogId : int {
    kIddAbout = 100,
    kIddQtxFile = 134,
    kIddVdlSetup = 136,
    kIddHistory = 145,
    kIddDomainSetup = 150,
    kIddUtilitiesSetup = 159,
    kIddSaveWait = 32021,
    kIddProgress = 32038,
    kIddSplash = 32060,
    kIddReadWait = 32041,
    kIddMnemonics = 32065,
    kIddWaveformPack = 32068,
    kIddLogSetup = 121,
    kIddLogItemSetup = 122,
    kIddEditCommand = 154,
    kIddDataSetProperties = 131,
    kIddSelectInputFileItems = 138,
    kIddWaveformProperties = 32061,
    kIddBatWaveformProperties = 32063,
    kIddSelectTool = 32067,
    kIddLssSamplePeriod = 32070,
    kIddCnvDataSet = 130,
    kIddQtxDataSet = 132,
    kIddDataOrigin = 133,
    kIddClssToolSetup = 153,
    kIddMacXmacPick = 32062,
    kIddApxToolWaveform = 32064,
    kIddDalToolWaveform = 32066,
    kIddFwsSamplePeriod = 32069,
    kIddPickApxWaveforms = 32071,
    kIddFwsWavePick = 148,
    kIddDepthProfileSetup = 32039,
    kIddSlownessProfileSetup = 32059,
    kIddFrequencyProfileSetup = 143,
    kIddAzimuthProfileSetup = 157,
    kIddXPlotSetup = 146,
    kIddSemblanceMapSetup = 147,
    kIddFilterSetup = 142,
    kIddQuickLookSetup = 32040,
    kIddStatusLight = 32221, // the status light has no resource of its own: this one is the program's
    kIddPickingSetup = 144,
    kIddAnisotropySetup = 152,
    kIddStcSetup = 158,
    kIddDispersionSetup = 32057,
    kIddSlownessUnits = 32222, // shares its resource number with the semblance map setup: this one is the program's
    kIddHeaderSetup = 32022,
    kIddWellInfo = 32037,
    kIddFluidProperties = 32051,
    kIddRemarks = 32052,
    kIddKalmanSetup = 149,
    kIddSmoothingSetup = 151,
};

enum ControlId : int {
    // Progress dialog.
    kIdcProgressBar = 1003,
    kIdcProgressPercent = 1004,
    kIdcProgressStatus = 1005,
    // Data-set history dialog.
    kIdcHistoryText = 1102,
    kIdcSaveHistory = 1103,
    kIdcClearHistory = 1104,
    // Mnemonics reminder.
    kIdcMnemonicsText = 1107,
};

// Controls nobody addresses (labels, pictures) take ids below zero.
constexpr int kIdcStatic = -1;
