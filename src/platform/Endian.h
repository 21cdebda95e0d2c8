// Explicit little- and big-endian field access for on-disk records.
// Every binary format of the program is read and written through these helpers,
// never by casting packed structs.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace endian {

inline uint16_t GetLE16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t GetLE32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint64_t GetLE64(const uint8_t* p) { return uint64_t(GetLE32(p)) | (uint64_t(GetLE32(p + 4)) << 32); }
inline float GetLEFloat(const uint8_t* p) { return std::bit_cast<float>(GetLE32(p)); }
inline double GetLEDouble(const uint8_t* p) { return std::bit_cast<double>(GetLE64(p)); }

inline uint16_t GetBE16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
inline uint32_t GetBE32(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
inline float GetBEFloat(const uint8_t* p) { return std::bit_cast<float>(GetBE32(p)); }

inline void PutLE16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void PutLE32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); p[2] = uint8_t(v >> 16); p[3] = uint8_t(v >> 24);
}
inline void PutLE64(uint8_t* p, uint64_t v) { PutLE32(p, uint32_t(v)); PutLE32(p + 4, uint32_t(v >> 32)); }
inline void PutLEFloat(uint8_t* p, float v) { PutLE32(p, std::bit_cast<uint32_t>(v)); }
inline void PutLEDouble(uint8_t* p, double v) { PutLE64(p, std::bit_cast<uint64_t>(v)); }

inline void PutBE16(uint8_t* p, uint16_t v) { p[0] = uint8_t(v >> 8); p[1] = uint8_t(v); }
inline void PutBE32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24); p[1] = uint8_t(v >> 16); p[2] = uint8_t(v >> 8); p[3] = uint8_t(v);
}
inline void PutBEFloat(uint8_t* p, float v) { PutBE32(p, std::bit_cast<uint32_t>(v)); }

// Each of `count` 4-byte words of src with its bytes in the opposite order into dst:
// little-endian bytes to big-endian ones or back, whatever the host; one pass that
// the compiler vectorises (a trace of samples a call).
inline void ReverseWords32(uint8_t* dst, const uint8_t* src, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        uint32_t v;
        std::memcpy(&v, src + 4 * i, sizeof v);
        v = __builtin_bswap32(v);
        std::memcpy(dst + 4 * i, &v, sizeof v);
    }
}

// Bulk conversion of float arrays for the frame hot paths: a plain copy on
// little-endian hosts, a byte swap per value elsewhere. No values may come with null
// pointers (an empty vector's data()), which memcpy must never see.
inline void LEBytesToFloats(float* dst, const uint8_t* src, size_t count)
{
    if constexpr (std::endian::native == std::endian::little) {
        if (count > 0) std::memcpy(dst, src, count * sizeof(float));
    } else {
        for (size_t i = 0; i < count; ++i) dst[i] = GetLEFloat(src + 4 * i);
    }
}
inline void FloatsToLEBytes(uint8_t* dst, const float* src, size_t count)
{
    if constexpr (std::endian::native == std::endian::little) {
        if (count > 0) std::memcpy(dst, src, count * sizeof(float));
    } else {
        for (size_t i = 0; i < count; ++i) PutLEFloat(dst + 4 * i, src[i]);
    }
}
// In-place variant: the bytes of `count` little-endian floats already sit in `data`.
inline void LEFloatsInPlace(float* data, size_t count)
{
    if constexpr (std::endian::native != std::endian::little) {
        auto* bytes = reinterpret_cast<uint8_t*>(data);
        for (size_t i = 0; i < count; ++i) {
            uint32_t v = GetLE32(bytes + 4 * i);
            std::memcpy(bytes + 4 * i, &v, 4);
        }
    } else {
        (void)data; (void)count;
    }
}

} // namespace endian
