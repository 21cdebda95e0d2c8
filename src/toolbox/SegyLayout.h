// The SEG-Y layouts in one place: the file header and trace header of each (a named
// byte offset per field beside each record's size) and the limits of a shot. The
// reader and writer (SegyFile) take them from here.
//
// Two layouts. The export writes the published one (namespace segy::standard below),
// which other programs read. Earlier versions of this program wrote their own variant
// (namespace segy), which the import still reads: unlike the published layout, every
// number is little-endian, the file header is 3596 bytes (not 3600), the samples are
// IEEE 754 floats although the format code says 1, and four bytes of the header carry
// the data set's flags. Published-layout files of other programs carry neither the
// variant's marks nor the export's tag, and are refused.
//
// In memory a trace is always held in the variant's form (its header fields and samples
// little-endian, a slot of a shot buffer); the reader and writer convert at the file.
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

// ---- the published layout (SEG-Y rev 1), as the export writes it ----------------------
// Every number big-endian; samples IEEE 754 floats (format code 5); a 3200-byte EBCDIC
// text header. The data set's own flags ride in the binary header's unassigned bytes
// behind a tag, so that the import knows its own files from foreign ones.
namespace standard {

constexpr size_t kFileHeaderSize = 3600;
constexpr size_t kTextLines = 40;     // of 80 EBCDIC characters
constexpr size_t kTextLineSize = 80;
constexpr size_t kLineNumber = 3204;  // i32, 1
constexpr size_t kReelNumber = 3208;  // i32, 1
constexpr size_t kTracesPerShot = 3212; // i16: traces per ensemble
constexpr size_t kInterval = 3216;    // u16: the sample interval rounded, in its unit (microseconds for time)
constexpr size_t kInterval2 = 3218;   // u16: original interval, the same
constexpr size_t kSamplesPerTrace = 3220; // u16
constexpr size_t kSamplesPerTrace2 = 3222; // u16: original samples, the same
constexpr size_t kFormatCode = 3224;  // u16, 5: IEEE float
constexpr size_t kEnsembleFold = 3226; // u16, 1
constexpr size_t kSortingCode = 3228; // u16, 1: as recorded
constexpr size_t kMeasurement = 3254; // u16: 1 metres, 2 feet
constexpr size_t kTag = 3260;         // 4 bytes kTagValue: the flags that follow are ours
constexpr size_t kDepthUnits = 3264;  // u8, as the variant's
constexpr size_t kLogDirection = 3265; // u8, as the variant's
constexpr size_t kItemType = 3266;    // u8
constexpr size_t kCategory = 3267;    // u8
constexpr size_t kSampleInterval = 3268; // f32, full precision
constexpr size_t kAxisUnit = 3272;    // u8: the datum's axis unit code (microseconds per metre ...)
constexpr size_t kFirstIndex = 3274;  // u16: the datum's first sample index (its axis starts there)
constexpr size_t kRevision = 3500;    // u16, 0x0100: rev 1.0
constexpr size_t kFixedLength = 3502; // u16, 1: every trace has the header's sample count
constexpr size_t kExtendedText = 3504; // i16, 0 extended text headers

constexpr uint8_t kTagValue[4] = {'Q', 'T', 'X', ' '};
constexpr uint16_t kFormatValue = 5;
constexpr uint16_t kRevisionValue = 0x0100;
constexpr uint16_t kMeasurementMetres = 1;
constexpr uint16_t kMeasurementFeet = 2;

// Trace header (big-endian).
constexpr size_t kSequenceInLine = 0; // i32: trace from 1 through the file
constexpr size_t kSequenceInFile = 4; // i32: the same
constexpr size_t kShotNumber = 8;     // i32: field record, the shot from 1
constexpr size_t kTraceNumber = 12;   // i32: receiver 1..traces
constexpr size_t kEnsemble = 20;      // i32: the shot from 1
constexpr size_t kTraceInEnsemble = 24; // i32: receiver 1..traces
constexpr size_t kTraceKind = 28;     // i16, 1: seismic data
constexpr size_t kTraceUse = 34;      // i16, 2
constexpr size_t kReceiverDepth = 40; // i32: the depth x kDepthScale (receiver group elevation)
constexpr size_t kSourceDepth = 48;   // i32: the same (source depth below surface): the tool holds both
constexpr size_t kDepthScalar = 68;   // i16, -1000: divide bytes 41-68 by 1000
constexpr size_t kCoordinateScalar = 70; // i16, 1
constexpr size_t kTraceSamples = 114; // u16
constexpr size_t kTraceInterval = 116; // u16, as the file header's
// Readers that sort traces by in- and crossline find a grid of shots by receivers.
constexpr size_t kInline = 188;       // i32: the shot from 1
constexpr size_t kCrossline = 192;    // i32: receiver 1..traces
constexpr size_t kSamples = 240;      // samples x f32, big-endian

constexpr int16_t kDepthScalarValue = -1000;

} // namespace standard

} // namespace segy
