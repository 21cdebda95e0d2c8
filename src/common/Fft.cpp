#include "common/Fft.h"

#include <cmath>
#include <utility>

float g_fftData[kFftDataSize];

int CFft::Transform()
{
    const int n = m_n;
    const int sign = m_sign;
    // Both would let the loops run outside the shared array or produce garbage.
    if (n < 1 || n > kFftMaxPoints || (n & (n - 1)) != 0) return 0;
    if (sign != 1 && sign != -1) return 0;

    float* const data = g_fftData; // 1-based: data[1] .. data[N]
    const int N = 2 * n;

    // Bit-reversal reordering of the complex points.
    int j = 1;
    for (int i = 1; i < N; i += 2) {
        if (j > i) {
            std::swap(data[j], data[i]);
            std::swap(data[j + 1], data[i + 1]);
        }
        int m = N / 2;
        while (m >= 2 && j > m) {
            j -= m;
            m /= 2;
        }
        j += m;
    }

    // Danielson-Lanczos butterflies; the twiddle factor advances by a recurrence
    // so each stage costs two sine evaluations.
    int mmax = 2;
    while (N > mmax) {
        const int istep = 2 * mmax;
        const double theta = 6.28318530717959 / (sign * mmax);
        const double wtemp = std::sin(0.5 * theta);
        const double wpr = -2.0 * wtemp * wtemp;
        const double wpi = std::sin(theta);
        double wr = 1.0;
        double wi = 0.0;
        for (int m = 1; m < mmax; m += 2) {
            for (int i = m; i <= N; i += istep) {
                const int k = i + mmax;
                const double tempr = wr * data[k] - wi * data[k + 1];
                const double tempi = wr * data[k + 1] + wi * data[k];
                data[k] = float(data[i] - tempr);
                data[k + 1] = float(data[i + 1] - tempi);
                data[i] = float(data[i] + tempr);
                data[i + 1] = float(data[i + 1] + tempi);
            }
            const double wr0 = wr;
            wr = wr + (wr * wpr - wi * wpi);
            wi = wi + (wi * wpr + wr0 * wpi);
        }
        mmax = istep;
    }
    return 1;
}
