// The profile searches of one depth frame, one per domain: the first rising zero
// crossing of a waveform followed across the array inside a slowness window (time),
// the spectral peak (frequency), the slowness peak followed from depth to depth
// (slowness) and the extreme azimuth near the previous one (azimuth). Plain
// functions over the frame's samples, so that the profile window and its tests call
// the same code; every index they touch stays inside the samples they are given.
#pragma once

#include "dataset/QtxLayout.h"

#include <cstddef>
#include <cstdint>

// A value that is absent: not searched, invalidated or not found.
inline constexpr float kProfileAbsent = qtx::kAbsentValue;

// The samples of one frame, receiver slot by slot.
struct FrameSlots {
    const float* data = nullptr;
    size_t stride = 0; // floats from one slot to the next
    int count = 0;     // samples of each slot that may be read
    const float* Slot(int slot) const { return data + size_t(slot) * stride; }
};

// ---- time ------------------------------------------------------------------------------
// A rising zero crossing: a sample above 0 after one at or below it.
struct Crossing {
    int sample = 0; // the search's pick index for it
    float time = 0; // interpolated between the two samples, microseconds
};

// From `from` down to 1: the first k with s[k] > 0 and s[k-1] <= 0. Its pick index is k.
bool RisingCrossingBackward(const float* s, int count, int from, float step, Crossing& out);
// From `from` up: the first k with s[k] <= 0 and s[k+1] > 0, k + 1 still a sample. Its
// pick index is k + 1 (`laterSample`) or k.
bool RisingCrossingForward(const float* s, int count, int from, float step, bool laterSample, Crossing& out);

struct TimeSearch {
    float step = 0;                         // of a sample, microseconds
    float minSlowness = 0, maxSlowness = 0; // the window across the array, uSec/ft
    bool singleReceiver = false;            // pick the clicked trace only
};

// The arrival time of every trace, by slot: the clicked trace from `previous` (its
// time on the frame before), the traces after it from their predecessor, those before
// it from their successor, each inside the slowness window or else at the window's
// mean slowness. `offsets` are inches from receiver 1, by slot. `times` and `picks`
// (by slot) hold the previous frame's values and receive this frame's.
void TimeStep(const TimeSearch& search, const FrameSlots& frame, const int* order, int traces, int clicked,
              const float* offsets, float previous, float* times, int* picks);

// ---- frequency -----------------------------------------------------------------------------
// The frequency (Hz) of the largest bin of `spectrum` (bins 0 .. bins - 1, `binStep`
// Hz apart) between the bins of `minimum` and `maximum`, the first of equal ones; 0
// when no bin there is above 0.
float FrequencyPeak(const float* spectrum, int bins, float binStep, float minimum, float maximum);

// ---- slowness -------------------------------------------------------------------------------
struct SlownessSearch {
    float step = 0;                  // of a sample
    float minimum = 0, maximum = 0;  // where peaks are looked for
    float limit = 0;                 // no value above it
};

// The slowness that follows `previous` on the curve `s` (semblance or distribution):
// among its peaks above 0.25 between the limits (strong from 0.5), the nearest to
// `previous` or the largest; a jump of more than 15 % against the previous value is
// damped by a blend that depends on how many peaks there are. No peak: `previous`.
float SlownessStep(const SlownessSearch& search, const float* s, int count, float previous, bool firstFrame);

// ---- azimuth -------------------------------------------------------------------------------
struct AzimuthSearch {
    float step = 0;                 // degrees per sample
    float minimum = 0, maximum = 0; // an accepted value is held inside them
    bool trackMaximum = false, trackMinimum = false;
};

// The azimuth of the largest maximum or the smallest minimum of `s` within 30 degrees
// of `previous` (with both, the minimum wins where there is one); absent when there
// is none or neither is tracked.
float AzimuthStep(const AzimuthSearch& search, const float* s, int count, float previous);
