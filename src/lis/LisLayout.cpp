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

// The word of a normal code-68 value that maps bit for bit onto a normal float (see
// LisFloat68ToIeee), as a float's bits; `fast` is false for every other word.
inline uint32_t Float68Bits(uint32_t word, bool& fast)
{
    const uint32_t sign = word >> 31;
    const uint32_t flip = 0u - sign; // all ones when negative
    // Negative: one's complement exponent, two's complement fraction.
    const uint32_t exponent = ((word >> 23) ^ flip) & 0xFF;
    const uint32_t fraction = (((word & 0x7FFFFF) ^ flip) - flip) & 0x7FFFFF;
    // A positive zero fraction is zero, whatever the exponent.
    const bool zero = (word & 0x807FFFFFu) == 0;
    fast = zero || ((fraction & 0x400000u) != 0 && exponent >= 3);
    const uint32_t bits = (sign << 31) | ((exponent - 2) << 23) | ((fraction << 1) & 0x7FFFFFu);
    return zero ? 0u : bits;
}

// A float's bits as a code-68 word when the float is normal and its exponent leaves
// room for the excess of 2 (see LisFloat68FromIeee); `fast` is false otherwise.
inline uint32_t IeeeBits68(uint32_t bits, bool& fast)
{
    const uint32_t sign = bits >> 31;
    const uint32_t flip = 0u - sign;
    const uint32_t exponent = (bits >> 23) & 0xFF;
    // Zeros and magnitudes too small for a normal float are the word 0.
    fast = exponent < 0xFE;
    const uint32_t fraction = ((bits & 0x7FFFFF) | 0x800000) >> 1;
    const uint32_t word = (sign << 31) | ((((exponent + 2) ^ flip) & 0xFF) << 23) | (((fraction ^ flip) - flip) & 0x7FFFFF);
    return exponent == 0 ? 0u : word;
}

} // namespace

void lis::DecodeFloats(const uint8_t* p, uint32_t count, float* out)
{
    bool allFast = true;
    for (uint32_t i = 0; i < count; ++i) {
        bool fast;
        const uint32_t bits = Float68Bits(endian::GetBE32(p + 4 * size_t(i)), fast);
        std::memcpy(out + i, &bits, sizeof bits);
        allFast &= fast;
    }
    if (allFast) return;
    for (uint32_t i = 0; i < count; ++i) {
        bool fast;
        const uint32_t word = endian::GetBE32(p + 4 * size_t(i));
        Float68Bits(word, fast);
        if (!fast) out[i] = LisFloat68ToIeee(word);
    }
}

void lis::EncodeFloats(uint8_t* p, const float* values, uint32_t count)
{
    bool allFast = true;
    for (uint32_t i = 0; i < count; ++i) {
        bool fast;
        endian::PutBE32(p + 4 * size_t(i), IeeeBits68(std::bit_cast<uint32_t>(values[i]), fast));
        allFast &= fast;
    }
    if (allFast) return;
    for (uint32_t i = 0; i < count; ++i) {
        bool fast;
        IeeeBits68(std::bit_cast<uint32_t>(values[i]), fast);
        if (!fast) endian::PutBE32(p + 4 * size_t(i), LisFloat68FromIeee(values[i]));
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
