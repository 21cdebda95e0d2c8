// The LIS formats in one place: the layout of every record this program reads or
// writes (a named byte offset per field beside the record's size), the entry types of
// a data format specification (DFSR), the representation codes and one decoder (and
// encoder) per code. The record layer, the reader, the scan and the writer take them
// from here.
//
// LIS numbers are big-endian, TIF words little-endian. Text fields are blank-padded
// and carry no terminating zero. Offsets of a logical record count from its start,
// the 2-byte logical header included; those of a block (component, entry, datum
// specification) from the block's start.
#pragma once

#include "platform/Endian.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace lis {

// A text field: where it starts and how many bytes it takes.
struct Field {
    size_t offset;
    size_t size;
};

enum Framing : int { kNotLis = -1, kPlain = 0, kTif = 1 };

// ---- framing ---------------------------------------------------------------------------

// TIF header: before every physical record, and alone as a file mark.
constexpr size_t kTifHeaderSize = 12;
constexpr size_t kTifType = 0;     // u32 LE; 0: a physical record follows, otherwise a file mark
constexpr size_t kTifPrevious = 4; // u32 LE: offset of the previous TIF header
constexpr size_t kTifNext = 8;     // u32 LE: offset of the next TIF header
// The length a TIF file mark reports.
constexpr uint32_t kFileMarkLength = 12;

// Physical record header; the trailers the attribute bits announce (2 bytes each) end
// the physical record.
constexpr size_t kPhysicalHeaderSize = 4;
constexpr size_t kPhysicalLength = 0;     // u16: the whole physical record
constexpr size_t kPhysicalAttributes = 2; // u16, bits below
constexpr size_t kTrailerSize = 2;

constexpr uint16_t kSuccessor = 0x0001;   // the logical record goes on in the next physical record
constexpr uint16_t kPredecessor = 0x0002; // it began in the one before
constexpr uint16_t kRecordNumberTrailer = 0x0200;
constexpr uint16_t kFileNumberTrailer = 0x0400;
constexpr uint16_t kChecksumTrailer = 0x1000;

// Logical record header.
constexpr size_t kLogicalHeaderSize = 2;
constexpr size_t kRecordType = 0;      // u8, RecordType
constexpr size_t kRecordAttribute = 1; // u8, 0 in every record read or written here

enum RecordType : uint8_t {
    kNormalData = 0,
    kInformation = 34,
    kToolString = 47,
    kDataFormatSpec = 64,
    kFileHeader = 128,
    kFileTrailer = 129,
    kTapeHeader = 130,
    kTapeTrailer = 131,
    kReelHeader = 132,
    kReelTrailer = 133,
    kComment = 232,
};

// The format's other record types that a log tape holds. The readers pass them by (the
// scan report calls them unknown), yet a LIS file may hold any of them, at its start too.
// The records that load programs into the logging unit (95 to 102) hold no log.
constexpr uint8_t kOtherRecordTypes[] = {
    1,                  // alternate data
    32,                 // job identification
    39,                 // tool string information
    42,                 // encrypted table dump
    137, 138, 139, 141, // logical end of file, beginning of tape, end of tape, end of medium
    224, 225, 227,      // operator command, operator response, system output to the operator
    234,                // blank record
};

// Whether a logical record header is one of a log tape's: a record type above and the
// attribute byte 0 (a record of another attribute byte matches no type for the readers).
constexpr bool IsLisRecord(uint8_t type, uint8_t attribute)
{
    if (attribute != 0) return false;
    switch (RecordType(type)) {
    case kNormalData:
    case kInformation:
    case kToolString:
    case kDataFormatSpec:
    case kFileHeader:
    case kFileTrailer:
    case kTapeHeader:
    case kTapeTrailer:
    case kReelHeader:
    case kReelTrailer:
    case kComment: return true;
    default: break;
    }
    for (const uint8_t other : kOtherRecordTypes)
        if (other == type) return true;
    return false;
}

// ---- fixed records ---------------------------------------------------------------------

// Reel and tape header and trailer (the tape's comment stays blank).
constexpr size_t kReelSize = 128;
constexpr Field kReelServiceName{2, 6};
constexpr Field kReelDate{14, 8}; // YY/MM/DD
constexpr Field kReelOrigin{24, 4};
constexpr Field kReelName{30, 8};
constexpr Field kReelContinuation{40, 2};
constexpr Field kReelPreviousName{44, 8};
constexpr Field kReelComment{54, 74};

// File header and trailer.
constexpr size_t kFileSize = 58;
constexpr Field kFileName{2, 10};
constexpr Field kFileSubLevel{14, 6};
constexpr Field kFileVersion{20, 8};
constexpr Field kFileDate{28, 8};
constexpr Field kFileMaxPhysical{37, 5}; // decimal text, "%5d"
constexpr Field kFileType{44, 2};
constexpr Field kFilePreviousName{48, 10};

// ---- information record: component blocks ---------------------------------------------

constexpr size_t kCompHeaderSize = 12; // the value follows
constexpr size_t kCompType = 0;        // u8, the component types below
constexpr size_t kCompCode = 1;        // u8, representation code of the value
constexpr size_t kCompSize = 2;        // u8, bytes of the value
constexpr size_t kCompCategory = 3;    // u8
constexpr Field kCompMnemonic{4, 4};
constexpr Field kCompUnits{8, 4};
constexpr size_t kCompValue = 12;

constexpr uint8_t kCompRowStart = 0;   // opens a table row (or is a loose parameter)
constexpr uint8_t kCompRowColumn = 69; // a further column of the row
constexpr uint8_t kCompTableName = 73; // first component of a table: its name

// ---- data format specification ---------------------------------------------------------

// Entry block: its header, then the value.
constexpr size_t kEntryType = 0; // u8, EntryType
constexpr size_t kEntrySize = 1; // u8, bytes of the value
constexpr size_t kEntryCode = 2; // u8, representation code of the value
constexpr size_t kEntryValue = 3;

enum class EntryType : uint8_t {
    End = 0, // the datum specification blocks follow its value
    DataRecordType = 1,
    DatumSpecBlockType = 2,
    FrameSize = 3,
    UpDown = 4,            // kLogUp, kLogDown
    OpticalDepthUnits = 5, // kOpticalFeet, kOpticalMetres
    DataReferencePoint = 6,
    DataReferenceUnits = 7,
    FrameSpacing = 8,
    FrameSpacingUnits = 9,
    MaxFramesPerRecord = 11,
    AbsentValue = 12,
    DepthMode = 13, // the values below
    DepthUnits = 14,
    DepthCode = 15,
    DatumSpecSubtype = 16,
};

constexpr uint8_t kLogUp = 1;
constexpr uint8_t kLogDown = 255;
constexpr uint8_t kOpticalFeet = 1;
constexpr uint8_t kOpticalMetres = 255;
// Depth modes.
constexpr uint8_t kDepthPerFrame = 0;  // a depth channel in every frame
constexpr uint8_t kDepthPerRecord = 1; // one depth per data record, before its first frame

// Datum specification block: one channel of the frame.
constexpr size_t kDsbSize = 40;
constexpr Field kDsbMnemonic{0, 4};
constexpr Field kDsbServiceId{4, 6};
constexpr Field kDsbServiceOrder{10, 8};
constexpr Field kDsbUnits{18, 4};
constexpr Field kDsbApiCodes{22, 4};
constexpr size_t kDsbFileNumber = 26;  // u16
constexpr size_t kDsbChannelSize = 28; // u16: bytes of all samples per frame
constexpr Field kDsbPadding{30, 3};    // reserved and process level
constexpr size_t kDsbSamples = 33;     // u8
constexpr size_t kDsbCode = 34;        // u8, representation code
constexpr Field kDsbProcessIndicators{35, 5};
// Readers take the channel size as a signed 16-bit value.
constexpr uint32_t kMaxChannelSize = 0x7FFF;

// ---- representation codes --------------------------------------------------------------

// The codes of the format; a code read from a file may be any byte.
enum class ReprCode : uint8_t {
    Float16 = 49,  // 16-bit float, drawn below
    FloatLow = 50, // 32-bit low-resolution float, drawn below
    Int8 = 56,     // signed byte
    Text = 65,     // one character a byte
    Byte = 66,     // unsigned byte
    Float = 68,    // 32-bit LIS float, drawn below
    Fixed = 70,    // 32-bit fixed point, drawn below
    Int32 = 73,
    Mask = 77,     // bits, no number
    Int16 = 79,
};

constexpr bool Is(uint8_t code, ReprCode c) { return code == uint8_t(c); }

// Codes whose elements are numbers: every one of them has a decoder below. Text, the
// mask and codes the format does not define are not numbers.
constexpr bool IsNumberCode(uint8_t code)
{
    switch (ReprCode(code)) {
    case ReprCode::Float16:
    case ReprCode::FloatLow:
    case ReprCode::Int8:
    case ReprCode::Byte:
    case ReprCode::Float:
    case ReprCode::Fixed:
    case ReprCode::Int32:
    case ReprCode::Int16: return true;
    default: return false;
    }
}

// Number codes whose values have a fraction (the others are whole numbers).
constexpr bool IsRealCode(uint8_t code)
{
    return Is(code, ReprCode::Float16) || Is(code, ReprCode::FloatLow) || Is(code, ReprCode::Float)
           || Is(code, ReprCode::Fixed);
}

// Bytes of one element: 4 for 50, 68, 70 and 73, 2 for 49 and 79, 1 for every other code.
constexpr int RepresentationSize(uint8_t code)
{
    switch (ReprCode(code)) {
    case ReprCode::FloatLow:
    case ReprCode::Float:
    case ReprCode::Fixed:
    case ReprCode::Int32: return 4;
    case ReprCode::Float16:
    case ReprCode::Int16: return 2;
    default: return 1;
    }
}

} // namespace lis

// Code 68 from and to IEEE single precision; the word is in host order, its bytes
// stored most significant first:
//
//   bit 31     sign
//   bits 30-23 exponent E, excess 128 (one's complement when negative)
//   bits 22-0  fraction F, 1/2 <= F < 1 (two's complement within 23 bits when negative)
//   value = F x 2^(E - 128); the word 0 is zero
uint32_t LisFloat68FromIeee(double value);
float LisFloat68ToIeee(uint32_t word);

namespace lis {

// A whole channel of code 68 at once, as LisFloat68ToIeee / LisFloat68FromIeee would
// do value by value: `count` elements of 4 bytes from `p` into out[0, count), and from
// values[0, count) to `p`. The common values (zeros, and normal on both sides) go through one
// branch-free loop; the rare others are redone by the single-value functions.
void DecodeFloats(const uint8_t* p, uint32_t count, float* out);
void EncodeFloats(uint8_t* p, const float* values, uint32_t count);

} // namespace lis

namespace lis {

// One decoder per numeric code: reads the element at `p` and returns the cursor behind
// it. The caller has checked that RepresentationSize(code) bytes lie there.
inline const uint8_t* DecodeInt8(const uint8_t* p, int32_t& v) { v = int8_t(p[0]); return p + 1; }
inline const uint8_t* DecodeByte(const uint8_t* p, int32_t& v) { v = p[0]; return p + 1; }
inline const uint8_t* DecodeInt16(const uint8_t* p, int32_t& v) { v = int16_t(endian::GetBE16(p)); return p + 2; }
inline const uint8_t* DecodeInt32(const uint8_t* p, int32_t& v) { v = int32_t(endian::GetBE32(p)); return p + 4; }
inline const uint8_t* DecodeFloat(const uint8_t* p, float& v) { v = LisFloat68ToIeee(endian::GetBE32(p)); return p + 4; }

// Code 49, two bytes, most significant first:
//
//   bits 15-4  fraction M, 12-bit two's complement (sign and 11 bits)
//   bits 3-0   exponent E, 0 to 15
//   value = M / 2^11 x 2^E          (0x4001 = 1.0, 0x4C88 = 153, 0xB388 = -153)
inline const uint8_t* DecodeFloat16(const uint8_t* p, double& v)
{
    const uint16_t word = endian::GetBE16(p);
    const int fraction = int(int16_t(word & 0xFFF0u)) / 16; // exact: the low 4 bits are zero
    v = std::ldexp(double(fraction), int(word & 0xFu) - 11);
    return p + 2;
}

// Code 50, four bytes, most significant first:
//
//   bits 31-16  exponent E, 16-bit two's complement
//   bits 15-0   fraction M, 16-bit two's complement
//   value = M / 2^15 x 2^E          (0xFFFFC000 = -0.25, 0x00084C80 = 153)
// The exponent reaches far beyond a double: such values come out infinite or zero.
inline const uint8_t* DecodeFloatLow(const uint8_t* p, double& v)
{
    const int exponent = int16_t(endian::GetBE16(p));
    const int fraction = int16_t(endian::GetBE16(p + 2));
    v = std::ldexp(double(fraction), exponent - 15);
    return p + 4;
}

// Code 70, four bytes, most significant first: a 32-bit two's complement integer in
// units of 1/65536 (16 bits of whole number, 16 of fraction).
//   value = I / 2^16                (0x00994000 = 153.25, 0xFFFF0000 = -1.0)
inline const uint8_t* DecodeFixed(const uint8_t* p, double& v)
{
    v = double(int32_t(endian::GetBE32(p))) / 65536.0;
    return p + 4;
}

// The element of any number code at [p, end), checked: the cursor behind it, or
// nullptr with `v` untouched for codes that hold no number and when too few bytes are left.
const uint8_t* DecodeNumber(uint8_t code, const uint8_t* p, const uint8_t* end, double& v);

// The encoders the writer uses: one element at `p`, the cursor behind it returned.
inline uint8_t* EncodeByte(uint8_t* p, uint8_t v) { *p = v; return p + 1; }
inline uint8_t* EncodeInt16(uint8_t* p, int16_t v) { endian::PutBE16(p, uint16_t(v)); return p + 2; }
inline uint8_t* EncodeInt32(uint8_t* p, int32_t v) { endian::PutBE32(p, uint32_t(v)); return p + 4; }
inline uint8_t* EncodeFloat(uint8_t* p, double v) { endian::PutBE32(p, LisFloat68FromIeee(v)); return p + 4; }

} // namespace lis
