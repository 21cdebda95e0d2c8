#include "common/Fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <complex>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Points = std::vector<std::complex<double>>;

constexpr double kTwoPi = 6.283185307179586;

void Load(const Points& x)
{
    for (size_t p = 0; p < x.size(); ++p) {
        g_fftData[2 * p + 1] = float(x[p].real());
        g_fftData[2 * p + 2] = float(x[p].imag());
    }
}

Points Fetch(int n)
{
    Points out(n);
    for (int p = 0; p < n; ++p) out[p] = {g_fftData[2 * p + 1], g_fftData[2 * p + 2]};
    return out;
}

// Values already rounded to float, so the reference sees exactly what the FFT sees.
Points RandomPoints(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    Points x(n);
    for (auto& v : x) v = {dist(rng), dist(rng)};
    return x;
}

// X[k] = sum x[j] exp(sign * 2 pi i jk / n), in double.
Points NaiveDft(const Points& x, int sign)
{
    const size_t n = x.size();
    Points out(n);
    for (size_t k = 0; k < n; ++k) {
        std::complex<double> sum = 0;
        for (size_t j = 0; j < n; ++j)
            sum += x[j] * std::polar(1.0, sign * kTwoPi * double((j * k) % n) / double(n));
        out[k] = sum;
    }
    return out;
}

double MaxError(const Points& a, const Points& b)
{
    double e = 0;
    for (size_t i = 0; i < a.size(); ++i) e = std::max(e, std::abs(a[i] - b[i]));
    return e;
}

double MaxMagnitude(const Points& a)
{
    double m = 0;
    for (const auto& v : a) m = std::max(m, std::abs(v));
    return m;
}

int RunFft(int n, int sign)
{
    CFft fft;
    fft.m_n = n;
    fft.m_sign = sign;
    return fft.Transform();
}

// Fills the whole shared array with a recognisable pattern.
void FillPattern()
{
    for (int i = 0; i < kFftDataSize; ++i) g_fftData[i] = float(i % 977) * 0.25f - 100.0f;
}

struct DftCase {
    int n;
    int sign;
};

void PrintTo(const DftCase& c, std::ostream* os) { *os << "n=" << c.n << " sign=" << c.sign; }

class FftMatchesDft : public ::testing::TestWithParam<DftCase> {};

TEST_P(FftMatchesDft, AgreesWithNaiveTransform)
{
    const auto [n, sign] = GetParam();
    const Points x = RandomPoints(n, unsigned(n * 7 + sign + 3));
    Load(x);
    ASSERT_EQ(RunFft(n, sign), 1);
    const Points expected = NaiveDft(x, sign);
    EXPECT_LE(MaxError(Fetch(n), expected), 1e-5 * std::max(1.0, MaxMagnitude(expected)) * (std::log2(n) + 1));
}

INSTANTIATE_TEST_SUITE_P(Sizes, FftMatchesDft,
                         ::testing::Values(DftCase{1, 1}, DftCase{1, -1}, DftCase{2, 1}, DftCase{2, -1},
                                           DftCase{8, 1}, DftCase{8, -1}, DftCase{1024, 1},
                                           DftCase{1024, -1}),
                         [](const auto& info) {
                             return "n" + std::to_string(info.param.n) + (info.param.sign > 0 ? "Plus" : "Minus");
                         });

// theta = 2 pi / (sign mmax) makes sign the sign of the exponent: an impulse at
// time 1 turns into exp(sign * 2 pi i k / n), so point k = 1 (index 3, 4) of an
// 8-point transform is (cos 45, sign * sin 45).
TEST(FftTest, SignIsTheSignOfTheExponent)
{
    for (int sign : {1, -1}) {
        Points x(8);
        x[1] = 1.0;
        Load(x);
        ASSERT_EQ(RunFft(8, sign), 1);
        EXPECT_NEAR(g_fftData[3], std::sqrt(0.5), 1e-6);
        EXPECT_NEAR(g_fftData[4], sign * std::sqrt(0.5), 1e-6) << "sign " << sign;
    }
}

TEST(FftTest, ConstantInputGoesToPointOneTimesN)
{
    const int n = 16;
    Load(Points(n, 2.5));
    ASSERT_EQ(RunFft(n, 1), 1);
    const Points y = Fetch(n);
    EXPECT_NEAR(y[0].real(), n * 2.5, 1e-5);
    EXPECT_NEAR(y[0].imag(), 0.0, 1e-5);
    for (int k = 1; k < n; ++k) EXPECT_LT(std::abs(y[k]), 1e-5) << "point " << k + 1;
}

TEST(FftTest, ForwardThenInverseMultipliesByN)
{
    const int n = 1024;
    const Points x = RandomPoints(n, 42);
    Load(x);
    ASSERT_EQ(RunFft(n, 1), 1);
    ASSERT_EQ(RunFft(n, -1), 1);
    Points scaled = x;
    for (auto& v : scaled) v *= double(n);
    EXPECT_LE(MaxError(Fetch(n), scaled), 1e-3);
}

// Only elements 1 .. 2n belong to the transform; the rest of the shared array
// belongs to other users.
TEST(FftTest, LeavesTheRestOfTheSharedArrayAlone)
{
    FillPattern();
    std::vector<float> before(g_fftData, g_fftData + kFftDataSize);
    const int n = 8;
    ASSERT_EQ(RunFft(n, -1), 1);
    EXPECT_EQ(g_fftData[0], before[0]);
    EXPECT_TRUE(std::equal(g_fftData + 2 * n + 1, g_fftData + kFftDataSize, before.begin() + 2 * n + 1));
}

// The largest transform fills the array to its last element; the sanitizer
// build reports any access past it. The impulse exercises every twiddle factor.
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
    EXPECT_LT(err, 1e-4);
    EXPECT_NEAR(g_fftData[kFftDataSize - 2], std::cos(kTwoPi * 3 * (n - 1) / n), 1e-4);
    EXPECT_NEAR(g_fftData[kFftDataSize - 1], std::sin(kTwoPi * 3 * (n - 1) / n), 1e-4);

    ASSERT_EQ(RunFft(n, -1), 1);
    for (int i = 1; i < kFftDataSize; ++i) {
        const float expected = i == 2 * 3 + 1 ? float(n) : 0.0f;
        ASSERT_NEAR(g_fftData[i], expected, 0.05) << "index " << i;
    }
}

struct Refusal {
    const char* what;
    int n;
    int sign;
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.what; }

class FftRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(FftRefuses, ReturnsZeroAndLeavesTheArray)
{
    const Refusal r = GetParam();
    FillPattern();
    std::vector<float> before(g_fftData, g_fftData + kFftDataSize);
    EXPECT_EQ(RunFft(r.n, r.sign), 0);
    EXPECT_EQ(std::memcmp(before.data(), g_fftData, sizeof g_fftData), 0);
}

INSTANTIATE_TEST_SUITE_P(BadSetup, FftRefuses,
                         ::testing::Values(Refusal{"ZeroPoints", 0, 1}, Refusal{"NegativePoints", -8, 1},
                                           Refusal{"MostNegative", INT_MIN, -1}, Refusal{"Three", 3, 1},
                                           Refusal{"Twelve", 12, -1}, Refusal{"TooLarge", 65536, 1},
                                           Refusal{"JustAboveLargest", 32769, 1}, Refusal{"SignZero", 8, 0},
                                           Refusal{"SignTwo", 8, 2}, Refusal{"SignMinusTwo", 8, -2}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(FftTest, UnsetObjectIsRefused)
{
    FillPattern();
    std::vector<float> before(g_fftData, g_fftData + kFftDataSize);
    CFft fft;
    EXPECT_EQ(fft.Transform(), 0);
    EXPECT_EQ(std::memcmp(before.data(), g_fftData, sizeof g_fftData), 0);
}

} // namespace
