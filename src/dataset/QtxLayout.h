// On-disk layout of a QTX data set: header, datum descriptors, frames. All numbers
// little-endian, records packed; each record is read and written field by field
// through the offsets below.
//
//   [header 4132] [descriptor 39] x N [frame frameSize] x F
//   frame = f64 depth, then every datum's f32 values at its offset, trace by trace
#pragma once

#include <cstddef>
#include <cstdint>

namespace qtx {

constexpr size_t kHeaderSize = 4132;
constexpr size_t kHistorySize = 4096;
constexpr size_t kDescriptorSize = 39;
constexpr size_t kAxisSize = 9;
constexpr size_t kDepthSize = 8;          // f64 depth that opens every frame
constexpr size_t kDataBufferFloats = 8192; // floats one WriteData call can take

// Header fields.
constexpr size_t kHdrLogDirection = 0;  // u8
constexpr size_t kHdrDepthUnits = 1;    // u8
constexpr size_t kHdrFrameCount = 2;    // u32
constexpr size_t kHdrFrameSize = 6;     // u32
constexpr size_t kHdrTopDepth = 10;     // f64
constexpr size_t kHdrBottomDepth = 18;  // f64
constexpr size_t kHdrDepthStep = 26;    // f64
constexpr size_t kHdrDatumCount = 34;   // u16, read as signed
constexpr size_t kHdrHistory = 36;      // 4096 bytes of text

// Datum descriptor fields.
constexpr size_t kDscMnemonic = 0;     // char[4], no terminator
constexpr size_t kDscTypeCode = 4;     // u8 item type code
constexpr size_t kDscCategory = 5;     // u8
constexpr size_t kDscTypeCode2 = 6;    // u8 second type byte
constexpr size_t kDscDatumNumber = 7;  // u16
constexpr size_t kDscTraceCount = 9;   // u16
constexpr size_t kDscAxisCount = 11;   // u16
constexpr size_t kDscOffset = 13;      // u32 byte offset inside a frame
constexpr size_t kDscSize = 17;        // u32 bytes inside a frame
constexpr size_t kDscAxis1 = 21;       // axis record
constexpr size_t kDscAxis2 = 30;       // axis record

// Axis record fields (inside a descriptor).
constexpr size_t kAxUnit = 0;          // u8 unit code
constexpr size_t kAxFirstIndex = 1;    // u16
constexpr size_t kAxSampleCount = 3;   // u16
constexpr size_t kAxStep = 5;          // f32

constexpr uint8_t kLogDown = 0xFF;     // depth increases from frame to frame
constexpr uint8_t kLogUp = 1;          // as written for decreasing depth
constexpr uint8_t kUnitsMetres = 0xFF;
constexpr uint8_t kUnitsFeet = 1;

// A sample value that stands for no value (a receiver without data, a log where it
// cannot be had); computations leave it out.
constexpr float kAbsentValue = -999.25f;

constexpr uint64_t DataStart(uint64_t datumCount) { return kHeaderSize + kDescriptorSize * datumCount; }

} // namespace qtx

enum QtxUnitCode : uint8_t {
    kUnitMicroseconds = 1,
    kUnitMicrosecondsPerFoot = 2,
    kUnitMicrosecondsPerMetre = 3,
    kUnitHertz = 4,
    kUnitDegrees = 5,
    // 6 and 8 to 10 are the codes of derived curves; they have no unit label.
    kUnitRatio = 6, // also energies and peak amplitudes: values without a dimension
    kUnitMillivolts = 7,
    kUnitVelocity = 8,
    kUnitDensity = 9,
    kUnitModulus = 10,
    kUnitNone = 0xFF,
};

enum QtxDatumCategory : uint8_t {
    kCategoryWaveform = 1,
    kCategorySlowness = 3,
    kCategoryAzimuth = 4,
    kCategorySemblanceMap = 5,
    kCategoryTrace = 6,
};

struct QtxAxisDescriptor {
    uint8_t unit = 0;
    uint16_t firstIndex = 0;
    uint16_t sampleCount = 0;
    float step = 0.0f;

    void Encode(uint8_t* out) const;  // kAxisSize bytes
    void Decode(const uint8_t* in);
};

struct QtxDatumDescriptor {
    char mnemonic[4] = {' ', ' ', ' ', ' '};
    uint8_t typeCode = 0;
    uint8_t category = 0;
    uint8_t typeCode2 = 0;
    uint16_t datumNumber = 0;
    uint16_t traceCount = 0;
    uint16_t axisCount = 0;
    uint32_t offset = 0;
    uint32_t size = 0;
    QtxAxisDescriptor axis1;
    QtxAxisDescriptor axis2;

    void Encode(uint8_t* out) const;  // kDescriptorSize bytes
    void Decode(const uint8_t* in);
};

struct QtxFileHeader {
    uint8_t logDirection = qtx::kLogDown;
    uint8_t depthUnits = qtx::kUnitsFeet;
    uint32_t frameCount = 0;
    uint32_t frameSize = 0;
    double topDepth = 0.0;
    double bottomDepth = 0.0;
    double depthStep = 0.0;
    uint16_t datumCount = 0;
    char history[qtx::kHistorySize] = {};

    void Encode(uint8_t* out) const;  // kHeaderSize bytes
    void Decode(const uint8_t* in);
};
