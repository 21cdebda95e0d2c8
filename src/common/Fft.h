// Complex FFT, in place over the one sample array that every spectrum of the
// program shares.
#pragma once

// Complex point p (p = 1..n) has its real part at [2p-1] and its imaginary
// part at [2p]; index 0 is unused. Holds whatever the last user left.
inline constexpr int kFftDataSize = 65537;
inline constexpr int kFftMaxPoints = (kFftDataSize - 1) / 2; // 32768
extern float g_fftData[kFftDataSize];

class CFft {
public:
    // Sign of the exponent: +1 computes X[k] = sum x[j] exp(+2 pi i jk/n), -1 the
    // opposite. Neither direction scales, so a round trip multiplies by n.
    int m_sign = 1;
    // Number of complex points: a power of two, 1..kFftMaxPoints. The default of 0
    // makes an object nobody set up refuse to run.
    int m_n = 0;

    // Transforms points 1..m_n of g_fftData in place. Returns 1, or 0 without
    // touching the array when m_n or m_sign is out of range.
    int Transform();
};

// The amplitude spectrum of n samples (n a power of two, at most 8192) into bins
// 0 .. n/2, divided by its largest bin; `bins` may be `x`. A trace with a value that
// is not finite has no spectrum: its bins are NaN. Works in g_fftData.
void AmplitudeSpectrum(const float* x, int n, float* bins);
