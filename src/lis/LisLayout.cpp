#include "lis/LisLayout.h"

#include <bit>
#include <cmath>
#include <cstring>

uint32_t LisFloat68FromIeee(double value)
{
    const float f = float(value);
    if (std::isnan(f)) return 0;
    const uint32_t bits = std::bit_cast<uint32_t>(f);
    const bool negative = bits >> 31;
    uint32_t exponent = (bits >> 23) & 0xFF;
    const uint32_t mantissa = bits & 0x7FFFFF;
    if (exponent == 0) return 0; // zero, and magnitudes too small for a normal float
    uint32_t fraction;
    if (exponent == 0xFF || exponent + 2 > 0xFF) {
        // Beyond the largest code-68 magnitude: the largest it can hold.
        exponent = 0xFF;
        fraction = 0x7FFFFF;
    } else {
        exponent += 2;
        fraction = (mantissa | 0x800000) >> 1; // the lowest mantissa bit is dropped
    }
    if (!negative) return (exponent << 23) | fraction;
    fraction = ((~fraction) & 0x7FFFFF) + 1;
    exponent = (~exponent) & 0xFF;
    return 0x80000000u | (exponent << 23) | (fraction & 0x7FFFFF);
}

namespace {

// 2^k, exact, for the k that code 68 reaches (-151 to 127): built from its bits, since
// a library call per value costs more than the rest of the decoding.
double PowerOfTwo(int k) { return std::bit_cast<double>(uint64_t(k + 1023) << 52); }

} // namespace

float LisFloat68ToIeee(uint32_t word)
{
    const bool negative = word >> 31;
    uint32_t exponent = (word >> 23) & 0xFF;
    uint32_t fraction = word & 0x7FFFFF;
    if (fraction == 0) {
        // A positive zero fraction is zero; a negative one is the two's complement of
        // a full fraction, a power of two (0xBF800000 is -1.0).
        if (!negative) return 0.0f;
        exponent = (~exponent) & 0xFF;
        return float(-PowerOfTwo(int(exponent) - 128));
    }
    if (negative) {
        exponent = (~exponent) & 0xFF;
        fraction = (~(fraction - 1)) & 0x7FFFFF;
    }
    // A normalised fraction (1/2 <= F < 1) in a normal float's range maps bit for bit:
    // F x 2^(E - 128) = 1.m x 2^(E - 129), so the float's exponent is E - 2.
    if ((fraction & 0x400000u) && exponent >= 3)
        return std::bit_cast<float>((uint32_t(negative) << 31) | ((exponent - 2) << 23) | ((fraction << 1) & 0x7FFFFFu));
    const double magnitude = double(fraction) * PowerOfTwo(int(exponent) - 128 - 23);
    return float(negative ? -magnitude : magnitude);
}

namespace {

// Four words at a time in a 16-byte vector (GCC and Clang vector extensions): the
// byte swap of a big-endian word has no vector instruction on every x86-64, so the
// compiler would leave a plain loop of them scalar.
using Words = uint32_t __attribute__((vector_size(16)));
using Flags = int32_t __attribute__((vector_size(16)));
constexpr uint32_t kLanes = 4;

inline uint32_t AllOnesIf(bool b) { return 0u - uint32_t(b); }
inline Words AllOnesIf(Flags f) { return Words(f); }

// Halves swapped, then the bytes of each half: shifts and masks every vector unit has.
inline Words SwapBytes(Words v)
{
    if constexpr (std::endian::native == std::endian::little) {
        v = (v << 16) | (v >> 16);
        v = ((v & 0x00FF00FFu) << 8) | ((v >> 8) & 0x00FF00FFu);
    }
    return v;
}
inline uint32_t SwapBytes(uint32_t v) { return endian::GetBE32(reinterpret_cast<const uint8_t*>(&v)); }

template <typename W> W LoadBE(const uint8_t* p)
{
    W v;
    std::memcpy(&v, p, sizeof v);
    return SwapBytes(v);
}
template <typename W> void StoreBE(uint8_t* p, W v)
{
    v = SwapBytes(v);
    std::memcpy(p, &v, sizeof v);
}

// Code-68 words to a float's bits where they map bit for bit (a normal fraction and
// a normal float's exponent, see LisFloat68ToIeee), and positive zero fractions to
// zero; `slow` is all ones for every other word.
template <typename W> W Float68Bits(W word, W& slow)
{
    const W sign = word >> 31;
    const W flip = 0u - sign; // all ones when negative
    // Negative: one's complement exponent, two's complement fraction.
    const W exponent = ((word >> 23) ^ flip) & 0xFF;
    const W fraction = (((word & 0x7FFFFF) ^ flip) - flip) & 0x7FFFFF;
    const W zero = AllOnesIf((word & 0x807FFFFFu) == 0);
    const W normal = AllOnesIf((fraction & 0x400000u) != 0) & AllOnesIf(exponent >= 3);
    slow = ~(zero | normal);
    return ((sign << 31) | ((exponent - 2) << 23) | ((fraction << 1) & 0x7FFFFFu)) & ~zero;
}

// A float's bits to a code-68 word where the float is normal and its exponent leaves
// room for the excess of 2 (see LisFloat68FromIeee); zeros and magnitudes too small
// for a normal float to 0; `slow` is all ones for infinities, NaN and the largest
// exponent.
template <typename W> W IeeeBits68(W bits, W& slow)
{
    const W sign = bits >> 31;
    const W flip = 0u - sign;
    const W exponent = (bits >> 23) & 0xFF;
    slow = AllOnesIf(exponent >= 0xFE);
    const W fraction = ((bits & 0x7FFFFF) | 0x800000) >> 1;
    const W word = (sign << 31) | ((((exponent + 2) ^ flip) & 0xFF) << 23) | (((fraction ^ flip) - flip) & 0x7FFFFF);
    return word & ~AllOnesIf(exponent == 0);
}

bool Any(Words v) { return (v[0] | v[1] | v[2] | v[3]) != 0; }

} // namespace

void lis::DecodeFloats(const uint8_t* p, uint32_t count, float* out)
{
    Words slow{}, anySlow{};
    uint32_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        const Words bits = Float68Bits(LoadBE<Words>(p + 4 * size_t(i)), slow);
        std::memcpy(out + i, &bits, sizeof bits);
        anySlow |= slow;
    }
    bool rare = Any(anySlow);
    for (; i < count; ++i) {
        uint32_t one;
        const uint32_t bits = Float68Bits(LoadBE<uint32_t>(p + 4 * size_t(i)), one);
        std::memcpy(out + i, &bits, sizeof bits);
        rare = rare || one;
    }
    if (!rare) return;
    for (i = 0; i < count; ++i) {
        uint32_t one;
        const uint32_t word = LoadBE<uint32_t>(p + 4 * size_t(i));
        Float68Bits(word, one);
        if (one) out[i] = LisFloat68ToIeee(word);
    }
}

void lis::EncodeFloats(uint8_t* p, const float* values, uint32_t count)
{
    Words slow{}, anySlow{};
    uint32_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        Words bits;
        std::memcpy(&bits, values + i, sizeof bits);
        StoreBE(p + 4 * size_t(i), IeeeBits68(bits, slow));
        anySlow |= slow;
    }
    bool rare = Any(anySlow);
    for (; i < count; ++i) {
        uint32_t one;
        StoreBE(p + 4 * size_t(i), IeeeBits68(std::bit_cast<uint32_t>(values[i]), one));
        rare = rare || one;
    }
    if (!rare) return;
    for (i = 0; i < count; ++i) {
        uint32_t one;
        IeeeBits68(std::bit_cast<uint32_t>(values[i]), one);
        if (one) StoreBE(p + 4 * size_t(i), LisFloat68FromIeee(values[i]));
    }
}

const uint8_t* lis::DecodeNumber(uint8_t code, const uint8_t* p, const uint8_t* end, double& v)
{
    if (!IsNumberCode(code) || p >= end || size_t(end - p) < size_t(RepresentationSize(code))) return nullptr;
    int32_t n = 0;
    switch (ReprCode(code)) {
    case ReprCode::Float16: return DecodeFloat16(p, v);
    case ReprCode::FloatLow: return DecodeFloatLow(p, v);
    case ReprCode::Fixed: return DecodeFixed(p, v);
    case ReprCode::Int8: p = DecodeInt8(p, n); break;
    case ReprCode::Byte: p = DecodeByte(p, n); break;
    case ReprCode::Int16: p = DecodeInt16(p, n); break;
    case ReprCode::Int32: p = DecodeInt32(p, n); break;
    case ReprCode::Float: {
        float f = 0;
        p = DecodeFloat(p, f);
        v = f;
        return p;
    }
    default: return nullptr;
    }
    v = n;
    return p;
}
