// Resource ids of the shell's own small dialogs (their templates are in DialogTemplates.cpp)
// and of the controls code addresses in them. Every other dialog keeps its id beside its
// control ids in res/<Name>DlgIds.h, so that adding or changing one rebuilds only its users.
#pragma once

enum DialogId : int {
    kIddAbout = 100,
    kIddHistory = 145,
    kIddSaveWait = 32021,
    kIddProgress = 32038,
    kIddSplash = 32060,
    kIddReadWait = 32041,
    kIddMnemonics = 32065,
    kIddWaveformPack = 32068,
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
