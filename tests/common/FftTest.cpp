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
    Points out(size_t(n), 0.0);
    for (int p = 0; p < n; ++p) out[size_t(p)] = {g_fftData[2 * p + 1], g_fftData[2 * p + 2]};
    return out;
}

// X[k] = sum x[j] exp(sign * 2 pi i jk / n), in double.
Points NaiveDft(const Points& x, int sign)
{
    const size_t n = x.size();
    Points w(n), out(n);
    for (size_t k = 0; k < n; ++k) w[k] = std::polar(1.0, sign * kTwoPi * double(k) / double(n));
    for (size_t k = 0; k < n; ++k) {
        std::complex<double> sum = 0;
        for (size_t j = 0; j < n; ++j) sum += x[j] * w[(j * k) % n];
        out[k] = sum;
    }
    return out;
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

// Real input takes a half-length path of its own; one stray imaginary part
// must send the points down the complex one.
enum class Input { Real, Complex, RealButLastImaginary };

struct DftCase {
    int n;
    int sign;
    Input input;
};

std::string Name(const DftCase& c)
{
    static const char* const kInput[] = {"Real", "Complex", "RealButLastImaginary"};
    return "n" + std::to_string(c.n) + (c.sign > 0 ? "Plus" : "Minus") + kInput[int(c.input)];
}

void PrintTo(const DftCase& c, std::ostream* os) { *os << Name(c); }

class FftMatchesDft : public ::testing::TestWithParam<DftCase> {};

// Bins above 1% of the peak agree to 1e-6 of their own size, the rest to 1e-6 of
// the peak; elements 0 and beyond 2n belong to other users and stay as they were.
TEST_P(FftMatchesDft, AgreesWithNaiveTransformAndStaysInItsPoints)
{
    const auto [n, sign, input] = GetParam();
    std::mt19937 rng(unsigned(n * 7 + sign + 3 * int(input)));
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    Points x(size_t(n), 0.0);
    for (auto& v : x) v = {dist(rng), input == Input::Complex ? dist(rng) : 0.0f};
    if (input == Input::RealButLastImaginary) x.back().imag(0.5f);

    FillPattern();
    const std::vector<float> before(g_fftData, g_fftData + kFftDataSize);
    Load(x);
    ASSERT_EQ(RunFft(n, sign), 1);
    EXPECT_EQ(g_fftData[0], before[0]);
    EXPECT_TRUE(std::equal(g_fftData + 2 * n + 1, g_fftData + kFftDataSize, before.begin() + 2 * n + 1));

    const Points expected = NaiveDft(x, sign);
    const Points got = Fetch(n);
    double peak = 0;
    for (const auto& v : expected) peak = std::max(peak, std::abs(v));
    for (size_t k = 0; k < size_t(n); ++k) {
        const double size = std::abs(expected[k]);
        const double allowed = 1e-6 * (size > 0.01 * peak ? size : peak);
        ASSERT_LE(std::abs(got[k] - expected[k]), allowed) << "point " << k + 1;
    }
}

std::vector<DftCase> DftCases()
{
    std::vector<DftCase> cases;
    for (int n : {1, 2, 4, 8, 16, 32, 64, 2048})
        for (int sign : {1, -1})
            for (Input input : {Input::Real, Input::Complex, Input::RealButLastImaginary})
                cases.push_back({n, sign, input});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Sizes, FftMatchesDft, ::testing::ValuesIn(DftCases()),
                         [](const auto& info) { return Name(info.param); });

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
    for (int i = 1; i < kFftDataSize; ++i) {
        const float expected = i == 2 * 3 + 1 ? float(n) : 0.0f;
        ASSERT_NEAR(g_fftData[i], expected, 1e-3) << "index " << i;
    }
}

// The domain view's interpolation of 16 receivers of 4,096 samples to 8,192: a
// forward transform, the analytic spectrum (negative frequencies dropped,
// positive ones doubled), an inverse transform of twice the length, real parts
// over n. Sums of whole-bin cosines interpolate exactly, so the result is
// known in closed form.
TEST(FftTest, InterpolationStaysWithinFiveMillionthsPerSample)
{
    const int n = 4096, out = 2 * n;
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> bin(1, n / 2 - 1);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    double worst = 0;
    for (int receiver = 0; receiver < 16; ++receiver) {
        struct Tone {
            int bin;
            double amplitude, phase;
        };
        std::vector<Tone> tones(12);
        double sum = 0.1; // the constant term
        for (auto& t : tones) sum += (t = {bin(rng), unit(rng), kTwoPi * unit(rng)}).amplitude;
        auto signal = [&](double time) { // in input samples; peaks stay within 1
            double v = 0.1;
            for (const auto& t : tones) v += t.amplitude * std::cos(kTwoPi * t.bin * time / n + t.phase);
            return v / sum;
        };
        for (int i = 0; i < n; ++i) {
            g_fftData[2 * i + 1] = float(signal(i));
            g_fftData[2 * i + 2] = 0.0f;
        }
        ASSERT_EQ(RunFft(n, 1), 1);
        for (int p = n / 2; p < n; ++p) g_fftData[2 * p + 1] = g_fftData[2 * p + 2] = 0.0f;
        for (int i = 3; i <= n; ++i) g_fftData[i] *= 2.0f;
        std::fill(g_fftData + n + 1, g_fftData + 2 * out + 1, 0.0f);
        ASSERT_EQ(RunFft(out, -1), 1);
        for (int i = 0; i < out; ++i)
            worst = std::max(worst, std::abs(double(g_fftData[2 * i + 1] / float(n)) - signal(i / 2.0)));
    }
    EXPECT_LE(worst, 5e-6);
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
