// The SEG-Y layouts in one place: the file header and trace header of each (a named
// byte offset per field beside each record's size) and the limits of a shot. The
// reader and writer (SegyFile) take them from here.
//
// Two layouts. The export writes the program's own variant (namespace segy), which the
// program's other readers and the programs that exchange files with it read: unlike the
// published SEG-Y layout, every number is little-endian, the file header is 3596 bytes
// (not 3600), the samples are IEEE 754 floats although the format code says 1, and four
// bytes of the header carry the data set's flags. Standard SEG-Y readers do not open it.
// One earlier version wrote the published layout (rev 1, namespace segy::standard)
// instead; users hold such files, so the import reads them too. Published-layout files
// of other programs carry neither the variant's marks nor that version's tag, and are
// refused.
//
// In memory a trace is always held in the variant's form (its header fields and samples
// little-endian, a slot of a shot buffer); the reader converts a published-layout file.
//
// File: the header, then shots without gaps. Shot k (from 0) begins at
// kFileHeaderSize + k x traces x TraceSize(samples); a shot is one trace per receiver,
// receiver 1 first; a trace is a trace header followed by its samples.
#pragma once

#include <cstddef>
#include <cstdint>

namespace segy {

// ---- file header ------------------------------------------------------------------------
constexpr size_t kFileHeaderSize = 3596;
constexpr size_t kTextSize = 3200;        // text part, zeros as written, never read
constexpr size_t kJobNumber = 3200;       // u16, 0
constexpr size_t kReelNumber = 3208;      // u16, 1
constexpr size_t kTracesPerShot = 3212;   // i16, read
constexpr size_t kIntervalWhole = 3216;   // u16: the sample interval truncated toward zero
constexpr size_t kIntervalWhole2 = 3218;  // u16, the same again
constexpr size_t kSamplesPerTrace = 3220; // i16, read
constexpr size_t kSamplesPerTrace2 = 3222; // u16, the same again
constexpr size_t kFormatCode = 3224;      // u16, 1
constexpr size_t kReserved = 3232;        // u16, 0
constexpr size_t kMarks = 3234;           // kMarkCount x u16: 0xFFFF, 0xFFFE, ... (-1 to -7)
constexpr size_t kMarkCount = 7;
constexpr size_t kDepthUnits = 3250;      // u8, as QTX header byte 1: 0xFF metres, 1 feet; read
constexpr size_t kLogDirection = 3251;    // u8, as QTX header byte 0: 0xFF down, 1 up; read
constexpr size_t kItemType = 3252;        // u8 item type code; read
constexpr size_t kCategory = 3253;        // u8 datum category; read
constexpr size_t kSampleInterval = 3254;  // f32, full precision; read
// The datum's axis, in bytes the variant leaves unset (so readers of the variant skip
// them) behind a tag: a file without the tag (earlier versions, other writers of the
// variant, whose unset bytes may hold anything) gives no axis unit and index 0.
constexpr size_t kAxisTag = 3260;         // 4 bytes kAxisTagValue
constexpr size_t kAxisUnit = 3264;        // u8: the datum's axis unit code (microseconds per metre ...)
constexpr size_t kFirstIndex = 3266;      // u16: the datum's first sample index (its axis starts there)

constexpr uint16_t kReelValue = 1;
constexpr uint16_t kFormatValue = 1;
constexpr uint8_t kAxisTagValue[4] = {'Q', 'T', 'X', ' '};

// ---- trace header ---------------------------------------------------------------------
constexpr size_t kTraceHeaderSize = 240;
constexpr size_t kShotNumber = 10;     // u16: the shot's number from 1, low 16 bits
constexpr size_t kTraceNumber = 14;    // u16: receiver 1..traces
constexpr size_t kTraceKind = 28;      // u16, 1
constexpr size_t kTraceUse = 34;       // u16, 2
constexpr size_t kDepth = 40;          // i32: depth in thousandths of the depth unit, rounded (the first
                                       // two as CSegyDepthGrid::LeadShots gives them); read
constexpr size_t kTraceSamples = 114;  // u16: samples in this trace
constexpr size_t kTraceInterval = 116; // u16: sample interval truncated toward zero
constexpr size_t kSamples = 240;       // samples x f32

constexpr uint16_t kTraceKindValue = 1;
constexpr uint16_t kTraceUseValue = 2;
constexpr double kDepthScale = 1000.0; // thousandths in a depth unit

// ---- limits of a shot -------------------------------------------------------------------
constexpr int kMaxTraces = 16;
constexpr int kMaxSamples = 2048;
// A slot of a shot buffer: a trace header and room for the most samples.
constexpr size_t kSlotSize = kTraceHeaderSize + size_t(kMaxSamples) * 4;
constexpr size_t kShotBufferSize = size_t(kMaxTraces) * kSlotSize;

// Values the reader accepts in the header's flag bytes.
constexpr uint8_t kUnitsMetres = 0xFF;
constexpr uint8_t kUnitsFeet = 1;
constexpr uint8_t kLogDown = 0xFF;
constexpr uint8_t kLogUp = 1;
constexpr uint8_t kMaxItemType = 230;
// Categories the import takes: time, frequency, slowness and azimuth (1 to 4). The
// export writes no frequency datum (2), which no view lists; files of earlier
// versions may hold one.
constexpr uint8_t kMinCategory = 1;
constexpr uint8_t kMaxCategory = 4;

// Bytes of one trace of `samples` samples.
constexpr uint64_t TraceSize(uint64_t samples) { return kTraceHeaderSize + 4 * samples; }

// ---- the published layout (SEG-Y rev 1) of one earlier version, read only ---------------
// Every number big-endian; samples IEEE 754 floats (format code 5); a 3600-byte header
// whose unassigned bytes carry the data set's flags behind a tag.
namespace standard {

constexpr size_t kFileHeaderSize = 3600;
constexpr size_t kTracesPerShot = 3212;   // i16: traces per ensemble
constexpr size_t kSamplesPerTrace = 3220; // u16
constexpr size_t kFormatCode = 3224;      // u16, 5: IEEE float
constexpr size_t kTag = 3260;             // 4 bytes kTagValue: the flags that follow are the program's
constexpr size_t kDepthUnits = 3264;      // u8, as the variant's
constexpr size_t kLogDirection = 3265;    // u8, as the variant's
constexpr size_t kItemType = 3266;        // u8
constexpr size_t kCategory = 3267;        // u8
constexpr size_t kSampleInterval = 3268;  // f32, full precision
constexpr size_t kAxisUnit = 3272;        // u8: the datum's axis unit code
constexpr size_t kFirstIndex = 3274;      // u16: the datum's first sample index

constexpr uint8_t kTagValue[4] = {'Q', 'T', 'X', ' '};
constexpr uint16_t kFormatValue = 5;

// Trace header (big-endian).
constexpr size_t kShotNumber = 8;     // i32: field record, the shot from 1
constexpr size_t kTraceNumber = 12;   // i32: receiver 1..traces
constexpr size_t kSourceDepth = 48;   // i32: the depth, times the scalar
constexpr size_t kDepthScalar = 68;   // i16: below 0 divides the depth by its size, above 0 multiplies
constexpr size_t kTraceSamples = 114; // u16
constexpr size_t kTraceInterval = 116; // u16
constexpr size_t kSamples = 240;      // samples x f32, big-endian

constexpr int16_t kDepthScalarValue = -1000; // as that version wrote it: thousandths

} // namespace standard

} // namespace segy
