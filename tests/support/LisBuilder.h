// Builder of synthetic LIS tape images for tests. It lays out every byte itself
// (explicit big-endian records, little-endian TIF words, its own code-68 encoder), so
// that it stays independent of the record layer and the writer it checks.
//
//   LisBuilder b(lis::kTif);
//   b.ReelHeader().TapeHeader().FileHeader("FILE.001")
//    .Record(bytes, {8188, 8188}, lisb::kChecksum)   // 3 physical records with trailers
//    .Dfsr(dfsr).Data(dfsr, 1000.0, 0.5, 10)          // one data record of 10 frames
//    .FileTrailer().TapeTrailer().ReelTrailer().FileMark().FileMark();
//   std::vector<uint8_t> bytes = b.Bytes();
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace lisb {

// Physical record attribute bits, as the format defines them.
constexpr uint16_t kSuccessor = 0x0001;
constexpr uint16_t kPredecessor = 0x0002;
constexpr uint16_t kChecksum = 0x1000;
constexpr uint16_t kFileNumber = 0x0400;
constexpr uint16_t kRecordNumber = 0x0200;
constexpr uint16_t kAllTrailers = kChecksum | kFileNumber | kRecordNumber;

// Framing values (those of the record layer: 1 TIF, anything else plain).
constexpr int kPlainFraming = 0;
constexpr int kTifFraming = 1;

// Bytes of one element of a representation code (56, 65, 66: 1; 49, 79: 2; 50, 68, 70,
// 73: 4; other codes 1).
int CodeSize(uint8_t code);

// Words of the other real codes, written from the format's definition; 0 for a value
// the code cannot hold exactly.
//   49: 12-bit two's complement fraction M then a 4-bit exponent E (0-15), M / 2^11 x 2^E
//   50: 16-bit two's complement exponent E then a 16-bit two's complement fraction M, M / 2^15 x 2^E
//   70: 32-bit two's complement count of 1/65536 (rounded)
uint16_t Code49(double value);
uint32_t Code50(double value);
uint32_t Code70(double value);

// The representation-code-68 word of a value (rounded to single precision first; the
// lowest mantissa bit dropped); 0 for zero. Magnitudes from 2^-128 to below 2^127 only. Written from the format's definition:
// sign, excess-128 exponent, fraction in [1/2, 1), negatives as the one's complement
// of the exponent and two's complement of the fraction.
uint32_t Code68(double value);

// Big-endian element of `code` holding `value` (text code 65 gets `value` as a
// character); appended to `out`.
void AppendValue(std::vector<uint8_t>& out, uint8_t code, double value);
void AppendText(std::vector<uint8_t>& out, const std::string& text, size_t width); // blank-padded, cut at width

std::vector<uint8_t> TifHeader(uint32_t type, uint32_t previous, uint32_t next);

// ---- fixed records ---------------------------------------------------------------

// Reel (132/133) and tape (130/131) header and trailer fields; 128 bytes.
struct ReelFields {
    std::string service = "BRONTE";
    std::string date = "24/01/31";
    std::string origin = "TEST";
    std::string name = "01";
    std::string continuation = "01";
    std::string previous;
    std::string comment = "Synthetic test image";
};
std::vector<uint8_t> ReelRecord(uint8_t type, const ReelFields& fields = {});

// File header (128) and trailer (129) fields; 58 bytes.
struct FileFields {
    std::string name = "BRONTE.001";
    std::string sublevel;
    std::string version = "1.0";
    std::string date = "24/01/31";
    int maxPhysical = 8192; // "%5d" at offset 37
    std::string fileType = "LO";
    std::string previous;
};
std::vector<uint8_t> FileRecord(uint8_t type, const FileFields& fields = {});

// ---- information records (type 34) ----------------------------------------------

// type, code, size, category, 4-character mnemonic, 4-character units, value.
struct Component {
    uint8_t type = 0;
    uint8_t code = 65;
    uint8_t category = 0;
    std::string mnemonic;
    std::string units;
    std::vector<uint8_t> value;

    static Component Text(uint8_t type, const std::string& mnemonic, const std::string& text,
                          const std::string& units = "");
    // One element of a numeric code (49, 50, 56, 66, 68, 70, 73, 79).
    static Component Number(uint8_t type, const std::string& mnemonic, uint8_t code, double value,
                            const std::string& units = "");
};

// A table row: its columns in order, each a (mnemonic, value text) pair, e.g.
// {{"MNEM", "BS"}, {"PUNI", "IN"}, {"TUNI", "IN"}, {"VALU", "8.5"}, {"DESC", "Bit size"}}.
// The first column becomes a component of type 0, the others of type 69.
using TableRow = std::vector<std::pair<std::string, std::string>>;

// Components of a table: the type-73 "TYPE" block naming it, then the rows.
std::vector<Component> TableComponents(const std::string& name, const std::vector<TableRow>& rows);
std::vector<uint8_t> InformationRecord(const std::vector<Component>& components, uint8_t type = 34);

// ---- data format specification (type 64) and data records (type 0) --------------

struct Channel {
    Channel() = default;
    Channel(std::string name_, std::string units_, uint16_t size_ = 4, uint8_t samples_ = 1, uint8_t code_ = 68)
        : name(std::move(name_)), units(std::move(units_)), size(size_), samples(samples_), code(code_)
    {
    }

    std::string name;     // 4 characters, blank-padded
    std::string units;    // 4 characters, blank-padded
    uint16_t size = 4;    // bytes of the channel in one frame, all samples
    uint8_t samples = 1;
    uint8_t code = 68;
    std::string service;  // service identifier (6) and order number (8): blanks by default
    std::string serviceOrder;
};

struct Dfsr {
    // Depth once per data record (entry block 13 = 1, depth code and units in entry
    // blocks 15 and 14, the value before the first frame); otherwise a "DEPT" channel
    // of that code and units leads every frame.
    bool depthOnce = false;
    uint8_t depthCode = 68;
    std::string depthUnits = "FT";
    uint8_t direction = 1;      // entry block 4: 1 up, 255 down
    double spacing = 0.5;       // entry block 8, code 68
    std::string spacingUnits = "FT";
    bool spacingEntry = true;   // entry blocks 8 and 9 written
    uint8_t maxFrames = 1;      // entry block 11
    uint8_t subtype = 1;        // entry block 16
    int64_t frameSize = -1;     // entry block 3 (code 73); -1: the sum of the channel sizes
    bool absentValue = true;    // entry block 12 with -999.25 (code 68)
    uint8_t terminatorSize = 1; // value bytes of the type-0 entry block
    std::vector<Channel> channels; // data channels; the depth channel is added as said above

    // The datum specification blocks in order (the depth channel first in depth-per-frame mode).
    std::vector<Channel> Blocks() const;
    uint32_t FrameBytes() const;
};
std::vector<uint8_t> DfsrRecord(const Dfsr& dfsr);

// Value of element `element` (0 .. size / code size - 1) of channel `channel` (index
// into Dfsr::channels) in frame `frame`.
using SampleFn = std::function<double(int frame, int channel, int element)>;
// frame x 100 + channel x 10 + element: distinct, exact in every numeric code for small tests.
double DefaultSample(int frame, int channel, int element);

// One data record of `frames` frames; frame k (counted from `firstFrame`) stands at
// depth firstDepth + k x step. Text channels hold the letters of their values.
std::vector<uint8_t> DataRecord(const Dfsr& dfsr, double firstDepth, double step, int frames,
                                const SampleFn& sample = DefaultSample, int firstFrame = 0);

std::vector<uint8_t> CommentRecord(const std::string& text);

} // namespace lisb

// A tape image assembled in memory, record by record.
class LisBuilder {
public:
    explicit LisBuilder(int framing = lisb::kPlainFraming) : m_tif(framing == lisb::kTifFraming) {}

    // Appends a logical record (its 2-byte header included) as physical records whose
    // data bytes are `bodies` in order, the rest of the record in one more (an empty
    // list: one physical record). `trailers` bits go on every physical record, each with
    // 2 dummy bytes; `extraBits` are ORed into every attribute word. The successor and
    // predecessor bits follow the split unless `continuationBits` is false.
    LisBuilder& Record(const std::vector<uint8_t>& record, const std::vector<size_t>& bodies = {},
                       uint16_t trailers = 0, uint16_t extraBits = 0, bool continuationBits = true);
    // One physical record with any length and attribute word, whatever `body` holds
    // (damaged records); behind a TIF header whose "next" assumes `body` follows.
    LisBuilder& Physical(uint16_t length, uint16_t attributes, const std::vector<uint8_t>& body);
    // A TIF file mark (type 1); adds nothing in plain framing, which has no marks.
    LisBuilder& FileMark();
    // Bytes as they are, no framing.
    LisBuilder& Raw(const std::vector<uint8_t>& bytes);

    LisBuilder& ReelHeader(const lisb::ReelFields& f = {}) { return Record(lisb::ReelRecord(132, f)); }
    LisBuilder& ReelTrailer(const lisb::ReelFields& f = {}) { return Record(lisb::ReelRecord(133, f)); }
    LisBuilder& TapeHeader(const lisb::ReelFields& f = {}) { return Record(lisb::ReelRecord(130, f)); }
    LisBuilder& TapeTrailer(const lisb::ReelFields& f = {}) { return Record(lisb::ReelRecord(131, f)); }
    LisBuilder& FileHeader(const lisb::FileFields& f = {}) { return Record(lisb::FileRecord(128, f)); }
    LisBuilder& FileHeader(const std::string& name);
    LisBuilder& FileTrailer(const lisb::FileFields& f = {}) { return Record(lisb::FileRecord(129, f)); }
    LisBuilder& FileTrailer(const std::string& name);
    LisBuilder& Information(const std::vector<lisb::Component>& components)
    {
        return Record(lisb::InformationRecord(components));
    }
    LisBuilder& Table(const std::string& name, const std::vector<lisb::TableRow>& rows)
    {
        return Information(lisb::TableComponents(name, rows));
    }
    LisBuilder& Dfsr(const lisb::Dfsr& d) { return Record(lisb::DfsrRecord(d)); }
    LisBuilder& Data(const lisb::Dfsr& d, double firstDepth, double step, int frames,
                     const lisb::SampleFn& sample = lisb::DefaultSample, int firstFrame = 0)
    {
        return Record(lisb::DataRecord(d, firstDepth, step, frames, sample, firstFrame));
    }
    LisBuilder& Comment(const std::string& text) { return Record(lisb::CommentRecord(text)); }

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    // A copy for BinaryFile::OpenMemory.
    std::shared_ptr<std::vector<uint8_t>> Shared() const { return std::make_shared<std::vector<uint8_t>>(m_bytes); }
    void Write(const std::string& path) const;
    // Where each appended logical record (its first physical record), raw physical record
    // and file mark starts (at its TIF header in TIF framing): the positions a reader passes.
    const std::vector<uint64_t>& Starts() const { return m_starts; }

private:
    void AppendPhysical(uint16_t length, uint16_t attributes, const uint8_t* body, size_t bodySize,
                        uint16_t trailers);

    bool m_tif;
    std::vector<uint8_t> m_bytes;
    std::vector<uint64_t> m_starts;
    uint32_t m_previousTif = 0; // offset of the last TIF header written
};
