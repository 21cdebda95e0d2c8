// The window the spectrum views (VDL, depth profile, time-frequency) take of a
// spectrum: its ends on the bin grid, the top held below the Nyquist frequency.
#pragma once

// The first grid value not below v, the grid walked up from 0 in steps of `step`;
// 0 for v <= 0, v itself for a step that is not a positive number. (A value a
// rounding error above a grid value keeps that value.)
double SnapUp(double v, double step);

struct FrequencyWindow {
    double binStep = 0; // Hz from one bin to the next
    double start = 0;   // Hz, on the bin grid
    double stop = 0;    // Hz, on the bin grid
};

// The window [start, stop] Hz of the spectrum of `samples` samples taken every
// `sampleStep` microseconds: a stop above the Nyquist frequency becomes 0.95 of it
// (the top bins are the transform's noise), then both ends snap up to a bin.
FrequencyWindow SnapFrequencyWindow(double start, double stop, int samples, double sampleStep);
