// The program's own SEG-Y variant in one place: the layout of its file header and of
// a trace header (a named byte offset per field beside each record's size) and the
// limits of a shot. The reader and writer (SegyFile) take them from here.
//
// Unlike the published SEG-Y layout, every number is little-endian, the file header
// is 3596 bytes (not 3600), the samples are IEEE 754 floats although the format code
// says 1, and four bytes of the header carry the data set's flags. Files in the
// published layout are therefore foreign input: their flag bytes and counts do not
// pass the checks of the reader.
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

constexpr uint16_t kReelValue = 1;
constexpr uint16_t kFormatValue = 1;

// ---- trace header ---------------------------------------------------------------------
constexpr size_t kTraceHeaderSize = 240;
constexpr size_t kShotNumber = 10;     // u16: the shot's number from 1, low 16 bits
constexpr size_t kTraceNumber = 14;    // u16: receiver 1..traces
constexpr size_t kTraceKind = 28;      // u16, 1
constexpr size_t kTraceUse = 34;       // u16, 2
constexpr size_t kDepth = 40;          // i32: depth in thousandths of the depth unit, truncated; read
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

// Bytes of one trace of `samples` samples.
constexpr uint64_t TraceSize(uint64_t samples) { return kTraceHeaderSize + 4 * samples; }

} // namespace segy
