// The data ranges of the four domains that the Domain, VDL and Depth Profile setups
// share: frequency (Hz), time (uSec), slowness (its unit's), azimuth (degrees).
#pragma once

struct DomainRanges {
    float freqStart = 0.0f, freqStop = 0.0f;
    float timeStart = 0.0f, timeStop = 0.0f;
    float slowMin = 0.0f, slowMax = 0.0f;
    float azimMin = 0.0f, azimMax = 0.0f;

    // The start-up ranges: 0..10000 Hz, 0..5000 uSec, 40..240 uSec/ft, 0..360 degrees.
    void SetDefaultRanges();
    bool operator==(const DomainRanges&) const = default;
};
