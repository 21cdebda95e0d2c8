#include "common/Fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <climits>
#include <cmath>
#include <complex>
#include <cstdint>
#include <random>
#include <thread>
#include <vector>

namespace {

using Points = std::vector<std::complex<double>>;

constexpr double kTwoPi = 6.283185307179586;

int RunFft(int n, int sign)
{
    CFft fft;
    fft.m_n = n;
    fft.m_sign = sign;
    return fft.Transform();
}

// Fills the whole shared array with a recognisable pattern; returns a copy of it.
std::vector<float> FillPattern()
{
    for (int i = 0; i < kFftDataSize; ++i) g_fftData[i] = float(i % 977) * 0.25f - 100.0f;
    return {g_fftData, g_fftData + kFftDataSize};
}

// X[k] = sum x[j] exp(sign * 2 pi i jk / n), in double.
Points NaiveDft(const Points& x, int sign)
{
    const size_t n = x.size();
    Points w(n), out(n);
    for (size_t k = 0; k < n; ++k) w[k] = std::polar(1.0, sign * kTwoPi * double(k) / double(n));
    for (size_t k = 0; k < n; ++k)
        for (size_t j = 0; j < n; ++j) out[k] += x[j] * w[(j * k) % n];
    return out;
}

// Real input takes a half-length path of its own; one stray imaginary part must
// send the points down the complex one. Bins above 1% of the peak agree to 1e-6 of
// their own size, the rest to 1e-6 of the peak; elements 0 and beyond 2n belong to
// other users and stay as they were.
TEST(FftTest, AgreesWithNaiveTransformAndStaysInItsPoints)
{
    enum Input { Real, Complex, RealButLastImaginary };
    for (int n : {1, 2, 4, 8, 16, 32, 64, 2048})
        for (int sign : {1, -1})
            for (Input input : {Real, Complex, RealButLastImaginary}) {
                SCOPED_TRACE("n " + std::to_string(n) + " sign " + std::to_string(sign) + " input " +
                             std::to_string(input));
                std::mt19937 rng(unsigned(n * 7 + sign + 3 * input));
                std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
                Points x(size_t(n), 0.0);
                for (auto& v : x) v = {dist(rng), input == Complex ? dist(rng) : 0.0f};
                if (input == RealButLastImaginary) x.back().imag(0.5f);

                const std::vector<float> before = FillPattern();
                for (int p = 0; p < n; ++p) {
                    g_fftData[2 * p + 1] = float(x[size_t(p)].real());
                    g_fftData[2 * p + 2] = float(x[size_t(p)].imag());
                }
                ASSERT_EQ(RunFft(n, sign), 1);
                EXPECT_EQ(g_fftData[0], before[0]);
                EXPECT_TRUE(std::equal(g_fftData + 2 * n + 1, g_fftData + kFftDataSize, before.begin() + 2 * n + 1));

                const Points expected = NaiveDft(x, sign);
                double peak = 0;
                for (const auto& v : expected) peak = std::max(peak, std::abs(v));
                for (int k = 0; k < n; ++k) {
                    const double size = std::abs(expected[size_t(k)]);
                    const std::complex<double> got(g_fftData[2 * k + 1], g_fftData[2 * k + 2]);
                    ASSERT_LE(std::abs(got - expected[size_t(k)]), 1e-6 * (size > 0.01 * peak ? size : peak))
                        << "point " << k + 1;
                }
            }
}

// X[k] of sign -1 by halves, in double with every twiddle factor from std::polar:
// its own error is some 1e-15 of the peak, far below what is checked against it.
Points DoubleFft(const Points& x)
{
    const size_t n = x.size();
    if (n == 1) return x;
    Points even(n / 2), odd(n / 2), out(n);
    for (size_t j = 0; j < n / 2; ++j) {
        even[j] = x[2 * j];
        odd[j] = x[2 * j + 1];
    }
    const Points e = DoubleFft(even), o = DoubleFft(odd);
    for (size_t k = 0; k < n / 2; ++k) {
        const std::complex<double> t = std::polar(1.0, -kTwoPi * double(k) / double(n)) * o[k];
        out[k] = e[k] + t;
        out[k + n / 2] = e[k] - t;
    }
    return out;
}

// The sizes the views transform, real input as they give it, both signs: the float
// result stays within 1e-7 of the peak of a double-precision transform, bin by bin
// (rounding the exact result to float alone costs up to 0.6e-7), and within 1e-7
// overall (the root of the summed squared errors over that of the bins).
TEST(FftTest, RealInputIsAsAccurateAsADoubleTransformRoundedToFloat)
{
    for (int n : {512, 2048, 8192})
        for (int sign : {1, -1}) {
            SCOPED_TRACE("n " + std::to_string(n) + " sign " + std::to_string(sign));
            std::mt19937 rng(unsigned(n + sign));
            std::normal_distribution<float> noise(0.0f, 0.05f);
            Points x(static_cast<size_t>(n), 0.0);
            for (int i = 0; i < n; ++i)
                x[size_t(i)] = std::exp(-i / 900.0) * std::sin(i * 0.37) + 0.3 * std::sin(i * 0.011) + noise(rng);
            for (auto& v : x) v = float(v.real());
            for (int p = 0; p < n; ++p) {
                g_fftData[2 * p + 1] = float(x[size_t(p)].real());
                g_fftData[2 * p + 2] = 0.0f;
            }
            ASSERT_EQ(RunFft(n, sign), 1);
            Points expected = DoubleFft(x);
            if (sign > 0) // X(+)[k] = X(-)[n - k] for real input
                for (size_t k = 1; k < size_t(n) / 2; ++k) std::swap(expected[k], expected[size_t(n) - k]);
            double peak = 0, worst = 0, errors = 0, bins = 0;
            for (int k = 0; k < n; ++k) {
                const std::complex<double> want = expected[size_t(k)];
                const double err = std::abs(std::complex<double>(g_fftData[2 * k + 1], g_fftData[2 * k + 2]) - want);
                peak = std::max(peak, std::abs(want));
                worst = std::max(worst, err);
                errors += err * err;
                bins += std::norm(want);
            }
            EXPECT_LE(worst, 1e-7 * peak);
            EXPECT_LE(std::sqrt(errors / bins), 1e-7);
        }
}

// The largest transform fills the array to its last element; the sanitizer
// build reports any access past it. The impulse exercises every twiddle factor,
// the real path forward and the complex one back.
TEST(FftTest, LargestTransformUsesTheWholeArray)
{
    const int n = kFftMaxPoints;
    ASSERT_EQ(n, 32768);
    std::fill(g_fftData, g_fftData + kFftDataSize, 0.0f);
    g_fftData[0] = 123.0f;
    g_fftData[2 * 3 + 1] = 1.0f; // impulse at time 3
    ASSERT_EQ(RunFft(n, 1), 1);
    EXPECT_EQ(g_fftData[0], 123.0f);
    double err = 0;
    for (int k = 0; k < n; ++k) {
        const auto expected = std::polar(1.0, kTwoPi * double((3 * k) % n) / n);
        err = std::max(err, std::abs(std::complex<double>(g_fftData[2 * k + 1], g_fftData[2 * k + 2]) - expected));
    }
    EXPECT_LT(err, 1e-6);

    ASSERT_EQ(RunFft(n, -1), 1);
    for (int i = 1; i < kFftDataSize; ++i) ASSERT_NEAR(g_fftData[i], i == 2 * 3 + 1 ? float(n) : 0.0f, 1e-3) << i;
}

TEST(FftTest, BadSetupReturnsZeroAndLeavesTheArray)
{
    const std::pair<int, int> cases[] = {{0, 1},     {-8, 1},    {INT_MIN, -1}, {3, 1}, {12, -1},
                                         {32769, 1}, {65536, 1}, {8, 0},        {8, 2}, {8, -2}};
    for (const auto& [n, sign] : cases) {
        const std::vector<float> before = FillPattern();
        EXPECT_EQ(RunFft(n, sign), 0) << n << " points, sign " << sign;
        EXPECT_TRUE(std::equal(before.begin(), before.end(), g_fftData)) << n << " points, sign " << sign;
    }
    const std::vector<float> before = FillPattern();
    EXPECT_EQ(CFft().Transform(), 0) << "an object nobody set up";
    EXPECT_TRUE(std::equal(before.begin(), before.end(), g_fftData));
}

// Page renders transform frames on every core at once, the first of them while the
// tables are still being filled: each thread's results are the bits one thread alone
// gets (through their own points, their own g_fftData, or AmplitudeSpectrum), and
// the calling thread's g_fftData is left alone.
TEST(FftTest, TransformsOnSeveralThreadsAtOnceGiveTheBitsOfOne)
{
    const int sizes[] = {8192, 16, 512, 2048, 64, 4096, 8};
    auto input = [](int n, int i) { return float(std::sin(i * 0.37 + n) + 0.25 * std::cos(i * 0.05)); };
    std::vector<std::vector<float>> transforms, spectra;
    for (int n : sizes) {
        for (int i = 0; i < n; ++i) {
            g_fftData[2 * i + 1] = input(n, i);
            g_fftData[2 * i + 2] = 0.0f;
        }
        ASSERT_EQ(RunFft(n, 1), 1);
        transforms.emplace_back(g_fftData + 1, g_fftData + 1 + 2 * n);
        std::vector<float> x(static_cast<size_t>(n)), bins(static_cast<size_t>(n / 2 + 1));
        for (int i = 0; i < n; ++i) x[size_t(i)] = input(n, i);
        AmplitudeSpectrum(x.data(), n, bins.data());
        spectra.push_back(bins);
    }
    const std::vector<float> before = FillPattern();
    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round)
                for (size_t s = 0; s < std::size(sizes); ++s) {
                    const int n = sizes[(s + size_t(t)) % std::size(sizes)];
                    const size_t which = (s + size_t(t)) % std::size(sizes);
                    std::vector<float> points(2 * static_cast<size_t>(n), 0.0f), x(static_cast<size_t>(n)), bins(static_cast<size_t>(n / 2 + 1));
                    for (int i = 0; i < n; ++i) points[2 * size_t(i)] = x[size_t(i)] = input(n, i);
                    if (FftTransform(points.data(), n, 1) != 1 || points != transforms[which]) ++mismatches;
                    // The shared array's users too: each thread transforms in an array of its own.
                    for (int i = 0; i < n; ++i) {
                        g_fftData[2 * i + 1] = x[size_t(i)];
                        g_fftData[2 * i + 2] = 0.0f;
                    }
                    if (RunFft(n, 1) != 1 || !std::equal(points.begin(), points.end(), g_fftData + 1)) ++mismatches;
                    AmplitudeSpectrum(x.data(), n, bins.data());
                    if (bins != spectra[which]) ++mismatches;
                }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), g_fftData));
    std::vector<float> points(16, 1.0f);
    EXPECT_EQ(FftTransform(points.data(), 12, 1), 0);
    EXPECT_EQ(FftTransform(points.data(), 8, 0), 0);
    EXPECT_EQ(points, std::vector<float>(16, 1.0f));
}


// The spectra of real samples read straight from a trace: the bits of the same
// samples transformed as points, at every size, with values of every scale, into
// an array of the bins only.
TEST(FftTest, RealSamplesGiveTheBinsOfTheSameSamplesAsPoints)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    for (int n = 1; n <= kFftMaxPoints; n *= 2) {
        // `out` holds bins 0 .. n/2 and not a float more (the sanitizers watch its end).
        std::vector<float> samples(size_t(n) + 1), points(2 * size_t(n)), out(size_t(n) + 2);
        for (int i = 0; i < n; ++i) samples[size_t(i) + 1] = value(random) * std::ldexp(1.0f, i % 40 - 20);
        for (int i = 0; i < n; ++i) points[2 * size_t(i)] = samples[size_t(i) + 1];
        ASSERT_EQ(FftTransform(points.data(), n, 1), 1);
        // From an odd address too: a trace's samples need not be aligned.
        ASSERT_EQ(RealFftForward(samples.data() + 1, n, out.data()), 1);
        for (int k = 0; k <= n / 2; ++k) {
            ASSERT_EQ(std::bit_cast<uint32_t>(out[2 * size_t(k)]), std::bit_cast<uint32_t>(points[2 * size_t(k)]))
                << "n " << n << " bin " << k;
            ASSERT_EQ(std::bit_cast<uint32_t>(out[2 * size_t(k) + 1]), std::bit_cast<uint32_t>(points[2 * size_t(k) + 1]))
                << "n " << n << " bin " << k;
        }
    }
    std::vector<float> out(8, 5.0f);
    EXPECT_EQ(RealFftForward(out.data(), 3, out.data() + 4), 0);
    EXPECT_EQ(out[4], 5.0f);
}

} // namespace
