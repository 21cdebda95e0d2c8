// The window every spectrum view (the domain view, the log plot, VDL, depth profile,
// time-frequency) takes of a spectrum: its ends on the bin grid, the top held below the
// Nyquist frequency. The other domains' windows raise their ends the same way.
#pragma once

// The first grid value not below v, the grid walked up from 0 in steps of `step`;
// 0 for v <= 0 or no number (a window never starts before the first sample), v itself
// for a step that is not a positive number. (A value a rounding error above a grid
// value keeps that value; an infinite v gives a finite value past any data.)
double RaiseToMultiple(double v, double step);

struct FrequencyWindow {
    double binStep = 0; // Hz from one bin to the next
    double start = 0;   // Hz, on the bin grid
    double stop = 0;    // Hz, on the bin grid
};

// The window [start, stop] Hz of the spectrum of `samples` samples taken every
// `sampleStep` microseconds: a stop above the Nyquist frequency becomes 0.95 of it
// (the top bins are the transform's noise), then both ends snap up to a bin.
FrequencyWindow SnapFrequencyWindow(double start, double stop, int samples, double sampleStep);
