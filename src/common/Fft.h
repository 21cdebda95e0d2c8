// Complex FFT, in place over the one sample array that every spectrum of the
// program shares, or over an array of the caller's.
//
// Threads: everything here may run on several threads at once. Each thread has its
// own g_fftData and its own work area (the shared tables are only added to, under a
// lock), so a thread never sees another's samples; hand no pointer into g_fftData
// to another thread.
#pragma once

// Complex point p (p = 1..n) has its real part at [2p-1] and its imaginary
// part at [2p]; index 0 is unused. Holds whatever the thread's last user left.
inline constexpr int kFftDataSize = 65537;
inline constexpr int kFftMaxPoints = (kFftDataSize - 1) / 2; // 32768
extern thread_local float g_fftData[kFftDataSize];

class CFft {
public:
    // Sign of the exponent: +1 computes X[k] = sum x[j] exp(+2 pi i jk/n), -1 the
    // opposite. Neither direction scales, so a round trip multiplies by n.
    int m_sign = 1;
    // Number of complex points: a power of two, 1..kFftMaxPoints. The default of 0
    // makes an object nobody set up refuse to run.
    int m_n = 0;

    // Transforms points 1..m_n of the calling thread's g_fftData in place. Returns 1, or 0 without
    // touching the array when m_n or m_sign is out of range.
    int Transform();
};

// Transforms n complex points in place, point p (0-based) at points[2p] (real) and
// points[2p + 1] (imaginary), as CFft does with g_fftData and with the same bits.
// Returns 1, or 0 without touching the array when n or sign is out of range.
int FftTransform(float* points, int n, int sign);

// The spectrum (exponent sign +1) of n real samples stored one after another, bins
// 0 .. n/2 into out[2k], out[2k + 1], with the bits FftTransform gives for the same
// samples as points; `out` holds n + 2 floats (nothing past bin n/2 is written) and
// must not overlap `samples`. Safe on several threads at once. Returns 1, or 0
// without touching `out` when n is out of range.
int RealFftForward(const float* samples, int n, float* out);

// The amplitude spectrum of n samples (n a power of two, at most 8192) into bins
// 0 .. n/2, divided by its largest bin; `bins` may be `x`. A trace with a value that
// is not finite has no spectrum: its bins are NaN. Leaves g_fftData alone.
void AmplitudeSpectrum(const float* x, int n, float* bins);
