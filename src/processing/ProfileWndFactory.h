// Opens a depth-profile window from the Depth Profile Setup's values: the data set,
// the domain and its axis range, the depth range and scale, the presentation, the
// search ranges and the output path. No command of this edition calls it.
#pragma once

#include "settings/ProcessingSetupGroups.h"

#include <string>

class CProfileWnd;

// The window (owned by its frame), or nullptr when it could not open (the reason has
// been shown) or the domain is not one of the profile window's four.
CProfileWnd* OpenProfileWnd(const DepthProfileSetupGroup& setup, const std::string& windowClass);

class CKalmanWnd;

// The Kalman window on the Kalman Filter Setup's data set, depth range, scale and time
// window; nullptr when it could not open (the reason has been shown).
CKalmanWnd* OpenKalmanWnd(const KalmanSetupGroup& setup, const std::string& windowClass);

class CTimeFrequencyWnd;

// The time-frequency profile window from the Depth Profile Setup's values with the
// time/frequency domain: the data set, its waveform datum (chosen in the selection
// dialog), the depth range and scale, the time and frequency ranges, the slowness
// search range, the presentation and the output path; nullptr when it could not open
// (the reason has been shown).
CTimeFrequencyWnd* OpenTimeFrequencyWnd(const DepthProfileSetupGroup& setup, const std::string& windowClass);

class CViewerWnd;

// The Depth Profile Setup on the stored settings; "Run" keeps the values and opens the
// window of the chosen domain (time/frequency: the time-frequency window; the other
// four: the depth-profile window). nullptr after Save Setup, Cancel or a window that
// could not open.
CViewerWnd* RunDepthProfileSetup(const std::string& windowClass);
