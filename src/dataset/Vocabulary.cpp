#include "dataset/Vocabulary.h"

// The definitions leave the bound to the initialiser, so a list that gains or
// loses an entry no longer matches its declaration and fails to compile.

const char* const g_productMnemonics[] = {
    // Depth mnemonics and caption, LIS depth-unit codes, units of time,
    // slowness, depth, amplitude and angle.
    "DEPT", "Depth", "TDEP", "Depth", "MDEP", ".1IN", ".5MM", ".25C",
    "US", "USEC", "MSEC", "US/F", "US/M", "M", "FT", "F", "IN", "IN", "MM", "CM", "MV", "DEG",
    // Waveforms, semblance peaks, phases, slownesses, receiver-pair slownesses.
    "WVF1", "WVF2", "WVF3", "WVF4", "WVF5", "WVF6", "WVF7", "WVF8",
    "SPCO", "SPXX", "SPXY", "SPYX", "SPYY",
    "PHCM", "PHXX", "PHXY", "PHYX", "PHYY",
    "DTCO", "DTXX", "DTXY", "DTYX", "DTYY",
    "DT12", "DT23", "DT34", "DT45", "DT56", "DT67", "DT78",
    // Transit times, frequency, amplitudes, semblances.
    "TTR1", "TTR2", "TTR3", "TTR4", "TTR5", "TTR6", "TTR7", "TTR8",
    "FREQ",
    "AMP1", "AMP2", "AMP3", "AMP4", "AMP5", "AMP6", "AMP7", "AMP8",
    "SMCO", "SMXX", "SMXY", "SMYX", "SMYY",
    // Units again.
    "FT", "M", "USEC", "US/F", "US/M", "MV", "HZ", "DEG",
};

const char* const g_toolNames[] = {
    "DEPT", "Depth", "TDEP", "Depth", "MDEP", ".1IN", ".5MM", ".25C",
    "US", "USEC", "MSEC", "US/F", "US/M", "M", "FT", "F", "IN", "IN", "MM", "CM", "MV", "DEG",
    // Tools.
    "Apx", "Xmac", "MAC", "DAL", "Dsi", "Isonic", "IsonicPlus", "SLT", "Qslt", "Dslt",
    "Wavesonic", "Bat", "Fws", "Scout", "LSS", "QTX",
    // Kinds of derived data.
    "Semblance Proj", "Phase Dist", "Inst Phase", "Inst Slowness", "Energy", "DepthMnemonics",
    "SEMB", "DXX", "DXY", "DYX", "DYY",
};
