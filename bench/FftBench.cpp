// The shared-array FFT beside the transform it replaced (kept here only as the
// reference) and, when they are installed, FFTW (single precision, real input at
// 512, 2,048 and 8,192 points, the rows the transform is held to) and KissFFT: a 2,048-sample spectrum as the
// domain view forms it (real samples in, transform, magnitudes out), a complex
// 2,048-point transform, and one receiver's interpolation of 4,096 samples to 8,192.
#include "common/Fft.h"

#include <benchmark/benchmark.h>

#ifdef BRONTE_BENCH_FFTW
#include <fftw3.h>
#endif
#ifdef BRONTE_BENCH_KISSFFT
#include <kiss_fft.h>
#include <kiss_fftr.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// The former transform: bit reversal by counting, radix-2 butterflies whose
// twiddle factor advances by a recurrence, every stage rounded to float.
void OldTransform(int n, int sign)
{
    float* const data = g_fftData;
    const int N = 2 * n;
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
}

void NewTransform(int n, int sign)
{
    CFft fft;
    fft.m_n = n;
    fft.m_sign = sign;
    fft.Transform();
}

enum Which { kOld, kNew };

void Run(int which, int n, int sign)
{
    if (which == kOld) OldTransform(n, sign);
    else NewTransform(n, sign);
}

std::vector<float> Samples(int n)
{
    std::vector<float> v(size_t(n), 0.0f);
    for (int i = 0; i < n; ++i)
        v[size_t(i)] = float(std::exp(-i / 600.0) * std::sin(i * 0.3) + 0.01 * std::sin(i * 1.7));
    return v;
}

const char* Label(int which) { return which == kOld ? "old" : "new"; }

// What the domain view does per receiver: pack, transform, magnitudes.
void Spectrum2048(benchmark::State& state)
{
    const int which = int(state.range(0)), n = 2048;
    const std::vector<float> in = Samples(n);
    std::vector<float> out(size_t(n / 2));
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) {
            g_fftData[2 * i + 1] = in[size_t(i)];
            g_fftData[2 * i + 2] = 0.0f;
        }
        Run(which, n, 1);
        for (int i = 0; i < n / 2; ++i) {
            const double re = g_fftData[2 * i + 1], im = g_fftData[2 * i + 2];
            out[size_t(i)] = float(std::sqrt(re * re + im * im));
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetLabel(Label(which));
}

void Complex2048(benchmark::State& state)
{
    const int which = int(state.range(0)), n = 2048;
    const std::vector<float> in = Samples(2 * n);
    for (auto _ : state) {
        std::copy(in.begin(), in.end(), g_fftData + 1);
        Run(which, n, -1);
        benchmark::DoNotOptimize(g_fftData);
    }
    state.SetLabel(Label(which));
}

// Forward over n real samples, analytic spectrum, inverse over 2n points.
void Interpolate4096To8192(benchmark::State& state)
{
    const int which = int(state.range(0)), n = 4096;
    const std::vector<float> in = Samples(n);
    std::vector<float> out(size_t(2 * n));
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) {
            g_fftData[2 * i + 1] = in[size_t(i)];
            g_fftData[2 * i + 2] = 0.0f;
        }
        Run(which, n, 1);
        std::fill(g_fftData + n + 1, g_fftData + 4 * n + 1, 0.0f);
        for (int i = 3; i <= n; ++i) g_fftData[i] *= 2.0f;
        Run(which, 2 * n, -1);
        for (int i = 0; i < 2 * n; ++i) out[size_t(i)] = g_fftData[2 * i + 1] / float(n);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetLabel(Label(which));
}

// The transform of n real samples as every caller makes it: the samples go into the
// shared array as points with a zero imaginary part and are transformed in place.
void RealForward(benchmark::State& state)
{
    const int n = int(state.range(0));
    const std::vector<float> in = Samples(n);
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) {
            g_fftData[2 * i + 1] = in[size_t(i)];
            g_fftData[2 * i + 2] = 0.0f;
        }
        NewTransform(n, 1);
        benchmark::DoNotOptimize(g_fftData);
    }
    state.SetLabel("ours");
}
BENCHMARK(RealForward)->Arg(512)->Arg(2048)->Arg(8192)->Unit(benchmark::kMicrosecond);

// Arrays on cache-line boundaries, as FFTW's allocator gives them, so that where the
// heap puts a buffer does not decide a row.
struct AlignedFloats {
    explicit AlignedFloats(size_t count)
        : data(static_cast<float*>(std::aligned_alloc(64, (count * sizeof(float) + 63) / 64 * 64)))
    {
        std::fill_n(data, count, 0.0f);
    }
    ~AlignedFloats() { std::free(data); }
    AlignedFloats(const AlignedFloats&) = delete;
    AlignedFloats& operator=(const AlignedFloats&) = delete;
    float* data;
};

// The same transform from real samples stored one after another (as a trace holds
// them), bins 0 .. n/2 out, as the amplitude spectra make it. The transform leaves
// its input alone, as FFTW's below does: nothing but the transform is timed.
void RealSamplesForward(benchmark::State& state)
{
    const int n = int(state.range(0));
    const std::vector<float> in = Samples(n);
    AlignedFloats samples{size_t(n)}, out{2 * size_t(n)};
    std::copy(in.begin(), in.end(), samples.data);
    for (auto _ : state) {
        RealFftForward(samples.data, n, out.data);
        benchmark::DoNotOptimize(out.data);
        benchmark::ClobberMemory();
    }
    state.SetLabel("ours, real samples");
}
BENCHMARK(RealSamplesForward)->Arg(512)->Arg(2048)->Arg(8192)->Unit(benchmark::kMicrosecond);

#ifdef BRONTE_BENCH_FFTW
// FFTW's single-precision real-input transform, planned once with measurement. An
// out-of-place real-input plan leaves its input alone: filled once, as ours is.
struct FftwReal {
    explicit FftwReal(int n)
        : real(fftwf_alloc_real(size_t(n))), bins(fftwf_alloc_complex(size_t(n / 2 + 1))),
          plan(fftwf_plan_dft_r2c_1d(n, real, bins, FFTW_MEASURE))
    {
        const std::vector<float> in = Samples(n); // after planning, which writes over the input
        std::copy(in.begin(), in.end(), real);
    }
    ~FftwReal()
    {
        fftwf_destroy_plan(plan);
        fftwf_free(bins);
        fftwf_free(real);
    }
    FftwReal(const FftwReal&) = delete;
    FftwReal& operator=(const FftwReal&) = delete;
    float* real;
    fftwf_complex* bins;
    fftwf_plan plan;
};

void FftwRealForward(benchmark::State& state)
{
    FftwReal fftw(int(state.range(0)));
    for (auto _ : state) {
        fftwf_execute(fftw.plan);
        benchmark::DoNotOptimize(fftw.bins);
        benchmark::ClobberMemory();
    }
    state.SetLabel("fftw float");
}
BENCHMARK(FftwRealForward)->Arg(512)->Arg(2048)->Arg(8192)->Unit(benchmark::kMicrosecond);

// RealSamplesForward / FftwRealForward in one row: the two transforms timed in turns
// (rounds of a batch of each), so that the machine's load and clock weigh on both
// alike; `ratio` is the median of the rounds' ratios, `ours_us` and `fftw_us` the
// medians of their times per transform.
void RealSamplesOverFftw(benchmark::State& state)
{
    const int n = int(state.range(0));
    const int batch = std::max(1, 400000 / n);
    const std::vector<float> in = Samples(n);
    AlignedFloats samples{size_t(n)}, out{2 * size_t(n)};
    std::copy(in.begin(), in.end(), samples.data);
    FftwReal fftw(n);
    std::vector<double> ours, theirs, ratios;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int i = 0; i < batch; ++i) {
            RealFftForward(samples.data, n, out.data);
            benchmark::ClobberMemory();
        }
        const auto t1 = Clock::now();
        for (int i = 0; i < batch; ++i) {
            fftwf_execute(fftw.plan);
            benchmark::ClobberMemory();
        }
        const auto t2 = Clock::now();
        const double a = std::chrono::duration<double, std::micro>(t1 - t0).count() / batch;
        const double b = std::chrono::duration<double, std::micro>(t2 - t1).count() / batch;
        ours.push_back(a), theirs.push_back(b), ratios.push_back(a / b);
        state.SetIterationTime(a * 1e-6);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters["ours_us"] = median(ours);
    state.counters["fftw_us"] = median(theirs);
    state.counters["ratio"] = median(ratios);
    state.SetLabel("RealSamplesForward / FftwRealForward");
}
BENCHMARK(RealSamplesOverFftw)->Arg(512)->Arg(2048)->Arg(8192)->Iterations(41)->UseManualTime()->Unit(benchmark::kMicrosecond);
#endif

#ifdef BRONTE_BENCH_KISSFFT
// KissFFT's own real-input transform with its buffers kept, unpacked into the
// shared array's layout so the work matches the spectrum above.
void KissSpectrum2048(benchmark::State& state)
{
    const int n = 2048;
    const std::vector<float> in = Samples(n);
    std::vector<float> real(in.size(), 0.0f), out(in.size() / 2, 0.0f);
    std::vector<kiss_fft_cpx> bins(size_t(n / 2 + 1));
    kiss_fftr_cfg cfg = kiss_fftr_alloc(n, 0, nullptr, nullptr);
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) {
            g_fftData[2 * i + 1] = in[size_t(i)];
            g_fftData[2 * i + 2] = 0.0f;
        }
        for (int i = 0; i < n; ++i) real[size_t(i)] = g_fftData[2 * i + 1];
        kiss_fftr(cfg, real.data(), bins.data());
        for (int i = 0; i < n / 2; ++i) {
            const double re = bins[size_t(i)].r, im = bins[size_t(i)].i;
            out[size_t(i)] = float(std::sqrt(re * re + im * im));
        }
        benchmark::DoNotOptimize(out.data());
    }
    kiss_fftr_free(cfg);
    state.SetLabel("kissfft");
}
BENCHMARK(KissSpectrum2048)->Unit(benchmark::kMicrosecond);
#endif

} // namespace

BENCHMARK(Spectrum2048)->Arg(kOld)->Arg(kNew)->Unit(benchmark::kMicrosecond);
BENCHMARK(Complex2048)->Arg(kOld)->Arg(kNew)->Unit(benchmark::kMicrosecond);
BENCHMARK(Interpolate4096To8192)->Arg(kOld)->Arg(kNew)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
