#include "common/Fft.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <climits>
#include <cstdint>
#include <mutex>
#include <vector>

#if defined(__x86_64__) && defined(__GLIBC__)
#include <immintrin.h>
#define FFT_AVX2_LOAD 1
#endif

thread_local float g_fftData[kFftDataSize];

// The points are unpacked into split real and imaginary arrays of double, so the
// butterfly loops vectorise and every product keeps double precision; only the
// result is rounded to float, once. Real input (every imaginary part zero, which
// is how spectra and interpolation fill the array) goes through a complex
// transform of half the length.
namespace {

// On x86-64 the transform is built twice, for AVX2 and for the baseline, and
// the loader picks one; every helper is inlined into both. Neither uses fused
// multiply-add, so both give the same bits. ThreadSanitizer builds take the baseline
// alone: the loader runs the picking function before the sanitizer is set up.
#if defined(__x86_64__) && defined(__GLIBC__) && !defined(__SANITIZE_THREAD__)
#define FFT_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define FFT_CLONES
#endif
#define FFT_INLINE [[gnu::always_inline]] inline

constexpr int kMaxLevels = 15; // spans 1 .. 16384
constexpr int kMaxSpan = 1 << (kMaxLevels - 1);
constexpr int kRevBits = 13; // a first pass groups at most 32768 / 4 points

// Twiddles of the butterflies that span L points sit at [L, 2L):
// exp(i pi j / L) in g_cos1/g_sin1 and exp(i 3 pi j / (2L)) in g_cos3/g_sin3.
// One table, the four a constant distance apart, so a butterfly loop reaches all
// of them from two pointers (fourteen would not stay in registers).
constexpr int kTw = 2 * kMaxSpan;
double g_tw[4 * kTw];
double* const g_cos1 = g_tw;
double* const g_sin1 = g_tw + kTw;
double* const g_cos3 = g_tw + 2 * kTw;
double* const g_sin3 = g_tw + 3 * kTw;
bool g_levelReady[kMaxLevels];
uint16_t g_rev[1 << kRevBits];
bool g_revReady;
// The largest span whose twiddles (and the reversal table) every thread may read.
// The tables are only ever added to, under g_tableMutex, at spans above it: a
// thread reading spans up to what it saw here never meets a write.
std::atomic<int> g_readySpan{0};
std::mutex g_tableMutex;

// The working arrays share one block, each starting at another offset within a
// 4 KiB page: arrays a power of two apart make the loads of one wait on the stores
// to another (the processor matches them by their low address bits). Each thread
// has its own block (780 KiB, what the largest transform needs), so that transforms
// on several threads never share one. A block of fixed place, not one reached
// through a pointer: the butterfly loops run a third slower through a pointer.
constexpr int kStagger = 72; // doubles
alignas(64) thread_local double t_work[3 * kFftMaxPoints + 4 * kStagger];

#define g_re (t_work + 0)
#define g_im (t_work + kFftMaxPoints + kStagger)
#define g_xr (t_work + 2 * (kFftMaxPoints + kStagger)) // a real input's half-length points reversed
#define g_xi (t_work + 2 * (kFftMaxPoints + kStagger) + kFftMaxPoints / 2 + kStagger)

// Fills the tables up to span maxSpan on first need.
void PrepareTables(int maxSpan)
{
    if (g_readySpan.load(std::memory_order_acquire) >= maxSpan) return;
    std::lock_guard lock(g_tableMutex);
    constexpr double kPi = 3.141592653589793;
    for (int level = 0, span = 1; span <= maxSpan; ++level, span *= 2) {
        if (g_levelReady[level]) continue;
        for (int j = 0; j < span; ++j) {
            const double a = kPi * j / span;
            g_cos1[span + j] = std::cos(a);
            g_sin1[span + j] = std::sin(a);
            g_cos3[span + j] = std::cos(1.5 * a);
            g_sin3[span + j] = std::sin(1.5 * a);
        }
        g_levelReady[level] = true;
    }
    if (!g_revReady) {
        for (unsigned i = 0; i < (1u << kRevBits); ++i) {
            unsigned r = 0;
            for (int b = 0; b < kRevBits; ++b)
                if (i & (1u << b)) r |= 1u << (kRevBits - 1 - b);
            g_rev[i] = uint16_t(r);
        }
        g_revReady = true;
    }
    if (g_readySpan.load(std::memory_order_relaxed) < maxSpan) g_readySpan.store(maxSpan, std::memory_order_release);
}

int Log2(int m) { return std::countr_zero(unsigned(m)); }

// Loads m >= 4 points into g_re/g_im in bit-reversed order and applies the
// first two butterfly stages (twiddles 1 and i need no products). Point p has
// its real part at src[stride * p] and its imaginary part at src[stride * p + im].
FFT_INLINE void LoadFirstStages(const float* src, int m, int stride, int im)
{
    const int q = m / 4;
    const int shift = kRevBits - (Log2(m) - 2);
    double* const re = g_re;
    double* const img = g_im;
    for (int k = 0; k < q; ++k) {
        const int o = 4 * (g_rev[k] >> shift);
        // The group of four takes points k, k + m/2, k + m/4, k + 3m/4, in that order.
        const float* p0 = src + stride * k;
        const float* p1 = p0 + stride * q;
        const float* p2 = p1 + stride * q;
        const float* p3 = p2 + stride * q;
        const double ar = p0[0], ai = p0[im], br = p2[0], bi = p2[im];
        const double cr = p1[0], ci = p1[im], dr = p3[0], di = p3[im];
        const double s0r = ar + br, s0i = ai + bi, s1r = ar - br, s1i = ai - bi;
        const double s2r = cr + dr, s2i = ci + di, s3r = cr - dr, s3i = ci - di;
        re[o] = s0r + s2r;
        img[o] = s0i + s2i;
        re[o + 2] = s0r - s2r;
        img[o + 2] = s0i - s2i;
        re[o + 1] = s1r - s3i;
        img[o + 1] = s1i + s3r;
        re[o + 3] = s1r + s3i;
        img[o + 3] = s1i - s3r;
    }
}

#ifdef FFT_AVX2_LOAD
#define FFT_AVX2 __attribute__((target("avx2"))) inline

// Points k .. k+3 of real input from samples[4k] on: the even samples (at 4j) and
// the odd ones (at 4j + 2), as real and imaginary parts (the other way round for
// sign -1).
FFT_AVX2 void LoadFour(const float* samples, int k, int sign, __m256d& re, __m256d& im)
{
    const __m256i pick = _mm256_setr_epi32(0, 4, 2, 6, 1, 3, 5, 7);
    const __m128 a = _mm256_castps256_ps128(_mm256_permutevar8x32_ps(_mm256_loadu_ps(samples + 4 * k), pick));
    const __m128 b = _mm256_castps256_ps128(_mm256_permutevar8x32_ps(_mm256_loadu_ps(samples + 4 * k + 8), pick));
    const __m256d even = _mm256_cvtps_pd(_mm_movelh_ps(a, b)), odd = _mm256_cvtps_pd(_mm_movehl_ps(b, a));
    re = sign > 0 ? even : odd;
    im = sign > 0 ? odd : even;
}

// v0 .. v3 hold outputs 0 .. 3 of groups k .. k+3 (lane g: group k + g); each
// group's four go to its bit-reversed place.
FFT_AVX2 void StoreFour(double* dst, int k, int shift, __m256d v0, __m256d v1, __m256d v2, __m256d v3)
{
    const __m256d t0 = _mm256_unpacklo_pd(v0, v1), t1 = _mm256_unpackhi_pd(v0, v1);
    const __m256d t2 = _mm256_unpacklo_pd(v2, v3), t3 = _mm256_unpackhi_pd(v2, v3);
    _mm256_storeu_pd(dst + 4 * (g_rev[k] >> shift), _mm256_permute2f128_pd(t0, t2, 0x20));
    _mm256_storeu_pd(dst + 4 * (g_rev[k + 1] >> shift), _mm256_permute2f128_pd(t1, t3, 0x20));
    _mm256_storeu_pd(dst + 4 * (g_rev[k + 2] >> shift), _mm256_permute2f128_pd(t0, t2, 0x31));
    _mm256_storeu_pd(dst + 4 * (g_rev[k + 3] >> shift), _mm256_permute2f128_pd(t1, t3, 0x31));
}

// Points k .. k+3 of samples stored one after another (x[2k] on): the even ones
// as real parts, the odd ones as imaginary parts.
FFT_AVX2 void LoadFourPacked(const float* x, int k, __m256d& re, __m256d& im)
{
    const __m256i pick = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m256 v = _mm256_permutevar8x32_ps(_mm256_loadu_ps(x + 2 * k), pick);
    re = _mm256_cvtps_pd(_mm256_castps256_ps128(v));
    im = _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1));
}

// Points k .. k+3 of real input, from the shared layout or (`packed`, sign +1)
// from samples stored one after another.
FFT_AVX2 void LoadFourOf(const float* samples, bool packed, int k, int sign, __m256d& re, __m256d& im)
{
    if (packed) LoadFourPacked(samples, k, re, im);
    else LoadFour(samples, k, sign, re, im);
}

// LoadFirstStages for real input (m >= 16 points of two samples each), four groups
// at once, with a transpose into their places. The same sums in the same order as
// the scalar loop, so the same bits.
__attribute__((target("avx2"))) void LoadRealFirstStagesAvx2(const float* samples, bool packed, int m, int sign)
{
    const int q = m / 4;
    const int shift = kRevBits - (Log2(m) - 2);
    for (int k = 0; k < q; k += 4) {
        __m256d ar, ai, br, bi, cr, ci, dr, di;
        LoadFourOf(samples, packed, k, sign, ar, ai);
        LoadFourOf(samples, packed, k + q, sign, cr, ci);
        LoadFourOf(samples, packed, k + 2 * q, sign, br, bi);
        LoadFourOf(samples, packed, k + 3 * q, sign, dr, di);
        const __m256d s0r = _mm256_add_pd(ar, br), s0i = _mm256_add_pd(ai, bi);
        const __m256d s1r = _mm256_sub_pd(ar, br), s1i = _mm256_sub_pd(ai, bi);
        const __m256d s2r = _mm256_add_pd(cr, dr), s2i = _mm256_add_pd(ci, di);
        const __m256d s3r = _mm256_sub_pd(cr, dr), s3i = _mm256_sub_pd(ci, di);
        StoreFour(g_re, k, shift, _mm256_add_pd(s0r, s2r), _mm256_sub_pd(s1r, s3i), _mm256_sub_pd(s0r, s2r),
                  _mm256_add_pd(s1r, s3i));
        StoreFour(g_im, k, shift, _mm256_add_pd(s0i, s2i), _mm256_add_pd(s1i, s3r), _mm256_sub_pd(s0i, s2i),
                  _mm256_sub_pd(s1i, s3r));
    }
}


// MirrorHalves four points at a time: each point's two floats move as one 64-bit
// lane, the lanes in reverse order, the imaginary parts' signs flipped.
FFT_AVX2 void MirrorHalfAvx2(const float* from, float* to, int m)
{
    const __m256 conj = _mm256_castsi256_ps(_mm256_setr_epi32(0, INT32_MIN, 0, INT32_MIN, 0, INT32_MIN, 0, INT32_MIN));
    int q = 1;
    for (; q + 3 < m / 2; q += 4) {
        // Points q .. q+3 become m-q .. m-q-3: stored from m-q-3 up, reversed.
        const __m256d v = _mm256_castps_pd(_mm256_loadu_ps(from + 2 * q));
        _mm256_storeu_ps(to + 2 * (m - q - 3), _mm256_xor_ps(_mm256_castpd_ps(_mm256_permute4x64_pd(v, 0x1B)), conj));
    }
    for (; q < m / 2; ++q) {
        to[2 * (m - q)] = from[2 * q];
        to[2 * (m - q) + 1] = -from[2 * q + 1];
    }
}

// Reverse and SplitHalves in one pass, four points at a time: Z[m-q] is read
// backwards in fours and turned round in registers. The same operations in the
// same order as SplitHalves, so the same bits.
__attribute__((target("avx2"))) void SplitHalvesAvx2(const double* zr, const double* zi, const double* wr,
                                                    const double* wi, float* lower, float* upper, int m, double s)
{
    const __m256d half = _mm256_set1_pd(0.5), sign = _mm256_set1_pd(s);
    int q = 1;
    for (; q + 3 <= m / 2; q += 4) {
        const __m256d ar = _mm256_loadu_pd(zr + q), ai = _mm256_loadu_pd(zi + q);
        const __m256d cr = _mm256_permute4x64_pd(_mm256_loadu_pd(zr + m - q - 3), 0x1B);
        const __m256d ci = _mm256_permute4x64_pd(_mm256_loadu_pd(zi + m - q - 3), 0x1B);
        const __m256d er = _mm256_mul_pd(half, _mm256_add_pd(ar, cr)), ei = _mm256_mul_pd(half, _mm256_sub_pd(ai, ci));
        const __m256d orr = _mm256_mul_pd(half, _mm256_add_pd(ai, ci)), oi = _mm256_mul_pd(half, _mm256_sub_pd(cr, ar));
        const __m256d tr = _mm256_loadu_pd(wr + q), ti = _mm256_mul_pd(sign, _mm256_loadu_pd(wi + q));
        const __m256d pr = _mm256_sub_pd(_mm256_mul_pd(tr, orr), _mm256_mul_pd(ti, oi));
        const __m256d pi = _mm256_add_pd(_mm256_mul_pd(tr, oi), _mm256_mul_pd(ti, orr));
        const __m128 lr = _mm256_cvtpd_ps(_mm256_add_pd(er, pr)), li = _mm256_cvtpd_ps(_mm256_add_pd(ei, pi));
        const __m128 ur = _mm256_cvtpd_ps(_mm256_sub_pd(er, pr)), ui = _mm256_cvtpd_ps(_mm256_sub_pd(ei, pi));
        _mm_storeu_ps(lower + 2 * q, _mm_unpacklo_ps(lr, li));
        _mm_storeu_ps(lower + 2 * q + 4, _mm_unpackhi_ps(lr, li));
        _mm_storeu_ps(upper + 2 * q, _mm_unpacklo_ps(ur, ui));
        _mm_storeu_ps(upper + 2 * q + 4, _mm_unpackhi_ps(ur, ui));
    }
    for (; q <= m / 2; ++q) {
        const double cr = zr[m - q], ci = zi[m - q];
        const double er = 0.5 * (zr[q] + cr), ei = 0.5 * (zi[q] - ci);
        const double orr = 0.5 * (zi[q] + ci), oi = 0.5 * (cr - zr[q]);
        const double tr = wr[q], ti = s * wi[q];
        const double pr = tr * orr - ti * oi, pi = tr * oi + ti * orr;
        lower[2 * q] = float(er + pr);
        lower[2 * q + 1] = float(ei + pi);
        upper[2 * q] = float(er - pr);
        upper[2 * q + 1] = float(ei - pi);
    }
}

__attribute__((target("avx2"))) void MirrorHalvesAvx2(float* lower, float* upper, int m)
{
    MirrorHalfAvx2(upper, lower, m);
    MirrorHalfAvx2(lower, upper, m);
}

bool HaveAvx2()
{
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return avx2;
}
#endif

// One radix-4 butterfly column: the four sub-transforms of span L hold the
// points 4r, 4r + 2, 4r + 1 and 4r + 3 of their block; W = exp(i pi / 2L).
// w1 is g_cos1 + 2L (W^j), w2 is g_cos1 + L (W^2j; W^3j kTw * 2 further on).
// Separate restrict parameters let the compiler vectorise without alias checks.
FFT_INLINE void Radix4(double* __restrict r0, double* __restrict r1, double* __restrict r2, double* __restrict r3,
                       double* __restrict i0, double* __restrict i1, double* __restrict i2, double* __restrict i3,
                       const double* __restrict w1, const double* __restrict w2, int span)
{
    for (int j = 0; j < span; ++j) {
        const double w1r = w1[j], w1i = w1[kTw + j], w2r = w2[j], w2i = w2[kTw + j];
        const double w3r = w2[2 * kTw + j], w3i = w2[3 * kTw + j];
        const double br = w2r * r1[j] - w2i * i1[j], bi = w2r * i1[j] + w2i * r1[j];
        const double cr = w1r * r2[j] - w1i * i2[j], ci = w1r * i2[j] + w1i * r2[j];
        const double dr = w3r * r3[j] - w3i * i3[j], di = w3r * i3[j] + w3i * r3[j];
        const double t0r = r0[j] + br, t0i = i0[j] + bi, t1r = r0[j] - br, t1i = i0[j] - bi;
        const double t2r = cr + dr, t2i = ci + di;
        const double t3r = di - ci, t3i = cr - dr; // i (c - d)
        r0[j] = t0r + t2r;
        i0[j] = t0i + t2i;
        r2[j] = t0r - t2r;
        i2[j] = t0i - t2i;
        r1[j] = t1r + t3r;
        i1[j] = t1i + t3i;
        r3[j] = t1r - t3r;
        i3[j] = t1i - t3i;
    }
}

FFT_INLINE void Radix2(double* __restrict r0, double* __restrict r1, double* __restrict i0, double* __restrict i1,
                       const double* __restrict wr, const double* __restrict wi, int span)
{
    for (int j = 0; j < span; ++j) {
        const double tr = wr[j] * r1[j] - wi[j] * i1[j], ti = wr[j] * i1[j] + wi[j] * r1[j];
        r1[j] = r0[j] - tr;
        i1[j] = i0[j] - ti;
        r0[j] += tr;
        i0[j] += ti;
    }
}

// The remaining stages, exponent sign +1, on g_re/g_im after LoadFirstStages.
FFT_INLINE void LaterStages(int m)
{
    double* const re = g_re;
    double* const im = g_im;
    int span = 4;
    // The first, with four points per column, is spelt out with a constant span:
    // the general loop spends more on its set-up per block than on the block.
    if (16 <= m) {
        for (int b = 0; b < m; b += 16)
            Radix4(re + b, re + b + 4, re + b + 8, re + b + 12, im + b, im + b + 4, im + b + 8, im + b + 12, g_tw + 8,
                   g_tw + 4, 4);
        span = 16;
    }
    for (; 4 * span <= m; span *= 4)
        for (int b = 0; b < m; b += 4 * span)
            Radix4(re + b, re + b + span, re + b + 2 * span, re + b + 3 * span, im + b, im + b + span,
                   im + b + 2 * span, im + b + 3 * span, g_tw + 2 * span, g_tw + span, span);
    // An odd number of stages ends with one radix-2 stage over the whole array.
    if (2 * span == m) Radix2(re, re + span, im, im + span, g_cos1 + span, g_sin1 + span, span);
}

// Rounds the points to float into the shared array's layout.
FFT_INLINE void Store(float* __restrict out, const double* __restrict zr, const double* __restrict zi, int n)
{
    for (int k = 0; k < n; ++k) {
        out[2 * k] = float(zr[k]);
        out[2 * k + 1] = float(zi[k]);
    }
}

// Exponent sign -1 is the +1 transform with real and imaginary parts exchanged
// on the way in and out.
FFT_INLINE void ComplexTransform(float* out, int n, int sign)
{
    if (n == 1) return;
    if (n == 2) {
        const double ar = out[0], ai = out[1], br = out[2], bi = out[3];
        out[0] = float(ar + br);
        out[1] = float(ai + bi);
        out[2] = float(ar - br);
        out[3] = float(ai - bi);
        return;
    }
    if (sign > 0) LoadFirstStages(out, n, 2, 1);
    else LoadFirstStages(out + 1, n, 2, -1);
    LaterStages(n);
    if (sign > 0) Store(out, g_re, g_im, n);
    else Store(out, g_im, g_re, n);
}

// Z[m-q] for q = 1 .. m/2, read backwards once, so the loop below runs forwards over
// every array (a backward read beside float stores defeats the vectoriser).
FFT_INLINE void Reverse(const double* __restrict zr, const double* __restrict zi,
                        double* __restrict cr, double* __restrict ci, int m)
{
    for (int q = 1; q <= m / 2; ++q) {
        cr[q] = zr[m - q];
        ci[q] = zi[m - q];
    }
}

// X[q] = E + W^q O and X[m + q] = E - W^q O for q = 1 .. m/2, with
// E = (Z[q] + conj Z[m-q]) / 2, O = (Z[q] - conj Z[m-q]) / 2i, W = exp(i pi s / m);
// cr/ci hold Z[m-q].
FFT_INLINE void SplitHalves(const double* __restrict zr, const double* __restrict zi,
                            const double* __restrict cr, const double* __restrict ci,
                            const double* __restrict wr, const double* __restrict wi,
                            float* __restrict lower, float* __restrict upper, int m, double s)
{
    for (int q = 1; q <= m / 2; ++q) {
        const double er = 0.5 * (zr[q] + cr[q]), ei = 0.5 * (zi[q] - ci[q]);
        const double orr = 0.5 * (zi[q] + ci[q]), oi = 0.5 * (cr[q] - zr[q]);
        const double tr = wr[q], ti = s * wi[q];
        const double pr = tr * orr - ti * oi, pi = tr * oi + ti * orr;
        lower[2 * q] = float(er + pr);
        lower[2 * q + 1] = float(ei + pi);
        upper[2 * q] = float(er - pr);
        upper[2 * q + 1] = float(ei - pi);
    }
}

// The spectrum of real samples is conjugate symmetric, X[n - k] = conj X[k]: the
// points m/2 + 1 .. m - 1 of each half mirror those of the other half.
FFT_INLINE void MirrorHalves(float* __restrict lower, float* __restrict upper, int m)
{
    for (int q = 1; q < m / 2; ++q) {
        lower[2 * (m - q)] = upper[2 * q];
        lower[2 * (m - q) + 1] = -upper[2 * q + 1];
    }
    for (int q = 1; q < m / 2; ++q) {
        upper[2 * (m - q)] = lower[2 * q];
        upper[2 * (m - q) + 1] = -lower[2 * q + 1];
    }
}

// n >= 8 real samples at out[2p]: the even samples become the real parts and
// the odd ones the imaginary parts of m = n/2 points; their transform Z splits
// into the spectra E of the even and O of the odd samples.
FFT_INLINE void RealTransform(float* out, int n, int sign)
{
    const int m = n / 2;
#ifdef FFT_AVX2_LOAD
    if (m >= 16 && HaveAvx2()) LoadRealFirstStagesAvx2(out, false, m, sign);
    else
#endif
    if (sign > 0) LoadFirstStages(out, m, 4, 2);
    else LoadFirstStages(out + 2, m, 4, -2);
    LaterStages(m);
    const double* zr = sign > 0 ? g_re : g_im;
    const double* zi = sign > 0 ? g_im : g_re;
    out[0] = float(zr[0] + zi[0]);
    out[1] = 0.0f;
    out[2 * m] = float(zr[0] - zi[0]);
    out[2 * m + 1] = 0.0f;
    // exp(i pi q / m) = exp(2 pi i q / n)
#ifdef FFT_AVX2_LOAD
    if (HaveAvx2()) SplitHalvesAvx2(zr, zi, g_cos1 + m, g_sin1 + m, out, out + 2 * m, m, sign);
    else
#endif
    {
        Reverse(zr, zi, g_xr, g_xi, m);
        SplitHalves(zr, zi, g_xr, g_xi, g_cos1 + m, g_sin1 + m, out, out + 2 * m, m, sign);
    }
#ifdef FFT_AVX2_LOAD
    if (HaveAvx2()) MirrorHalvesAvx2(out, out + 2 * m, m);
    else
#endif
        MirrorHalves(out, out + 2 * m, m);
}

// True when every imaginary part of the n points is zero (either sign).
FFT_INLINE bool RealInput(const float* out, int n)
{
    uint32_t bits = 0;
    for (int k = 0; k < n; ++k) bits |= std::bit_cast<uint32_t>(out[2 * k + 1]) << 1;
    return bits == 0;
}

FFT_CLONES void Dispatch(float* out, int n, int sign)
{
    if (n >= 8 && RealInput(out, n)) RealTransform(out, n, sign);
    else ComplexTransform(out, n, sign);
}

// Bins n/2 + 1 .. 3n/4 of a real transform, on their way to their mirror images below
// n/2: kept out of the caller's array, which then needs to hold bins 0 .. n/2 only.
alignas(64) thread_local float t_upper[kFftMaxPoints / 2 + 16];

// n >= 8 real samples stored one after another, exponent sign +1: RealTransform's
// steps on the same values, so the same bits, but only bins 0 .. n/2 are made, into
// out[0 .. n + 1].
FFT_CLONES void PackedForward(const float* x, float* out, int n)
{
    const int m = n / 2;
#ifdef FFT_AVX2_LOAD
    if (m >= 16 && HaveAvx2()) LoadRealFirstStagesAvx2(x, true, m, 1);
    else
#endif
        LoadFirstStages(x, m, 2, 1);
    LaterStages(m);
    out[0] = float(g_re[0] + g_im[0]);
    out[1] = 0.0f;
    out[2 * m] = float(g_re[0] - g_im[0]);
    out[2 * m + 1] = 0.0f;
    // upper[2q], upper[2q + 1]: bin m + q, which `out` does not hold.
    float* const upper = t_upper;
#ifdef FFT_AVX2_LOAD
    if (HaveAvx2()) {
        SplitHalvesAvx2(g_re, g_im, g_cos1 + m, g_sin1 + m, out, upper, m, 1);
        MirrorHalfAvx2(upper, out, m);
        return;
    }
#endif
    Reverse(g_re, g_im, g_xr, g_xi, m);
    SplitHalves(g_re, g_im, g_xr, g_xi, g_cos1 + m, g_sin1 + m, out, upper, m, 1);
    for (int q = 1; q < m / 2; ++q) {
        out[2 * (m - q)] = upper[2 * q];
        out[2 * (m - q) + 1] = -upper[2 * q + 1];
    }
}

} // namespace

int FftTransform(float* points, int n, int sign)
{
    // Both would let the loops run outside the array or produce garbage.
    if (n < 1 || n > kFftMaxPoints || (n & (n - 1)) != 0) return 0;
    if (sign != 1 && sign != -1) return 0;
    PrepareTables(n / 2);
    Dispatch(points, n, sign);
    return 1;
}

int CFft::Transform() { return FftTransform(g_fftData + 1, m_n, m_sign); }

int RealFftForward(const float* samples, int n, float* out)
{
    if (n < 1 || n > kFftMaxPoints || (n & (n - 1)) != 0) return 0;
    if (n < 8) {
        float points[16];
        for (int i = 0; i < n; ++i) {
            points[2 * i] = samples[i];
            points[2 * i + 1] = 0.0f;
        }
        FftTransform(points, n, 1);
        std::copy(points, points + 2 * (n / 2 + 1), out); // bins 0 .. n/2
        return 1;
    }
    PrepareTables(n / 2);
    PackedForward(samples, out, n);
    return 1;
}

void AmplitudeSpectrum(const float* x, int n, float* bins)
{
    float largest = 0;
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(x[i])) {
            std::fill(bins, bins + n / 2 + 1, NAN);
            return;
        }
        largest = std::max(largest, std::fabs(x[i]));
    }
    // Scaled first so that no sum of the transform overflows; the spectrum is divided
    // by its largest bin anyway.
    const float scale = largest > 0 ? 1.0f / largest : 1.0f;
    // Sizes the transform refuses get no array: their spectrum is 0.
    if (n < 1 || n > kFftMaxPoints || (n & (n - 1)) != 0) {
        std::fill(bins, bins + std::max(n / 2 + 1, 0), 0.0f);
        return;
    }
    thread_local std::vector<float> work;
    if (work.size() < size_t(3 * n)) work.resize(size_t(3 * n));
    float* const samples = work.data();
    float* const data = samples + n;
    for (int i = 0; i < n; ++i) samples[i] = x[i] * scale;
    RealFftForward(samples, n, data);
    float peak = 0;
    for (int k = 0; k <= n / 2; ++k) {
        const double re = data[2 * k], im = data[2 * k + 1];
        bins[k] = float(std::sqrt(re * re + im * im));
        peak = std::max(peak, bins[k]);
    }
    if (peak > 0)
        for (int k = 0; k <= n / 2; ++k) bins[k] /= peak;
}
