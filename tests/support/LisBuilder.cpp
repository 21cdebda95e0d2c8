#include "support/LisBuilder.h"

#include "platform/Endian.h"
#include "support/QtxBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace lisb {

int CodeSize(uint8_t code)
{
    switch (code) {
    case 50:
    case 68:
    case 70:
    case 73: return 4;
    case 49:
    case 79: return 2;
    default: return 1;
    }
}

namespace {

// The smallest exponent e in [lo, hi] for which value x 2^(bits - e) is a whole number
// of magnitude below 2^bits (so -1/4 is -1/2 x 2^-1, as the format's tables write it);
// that whole number in `m`. False when none does.
bool FractionAndExponent(double value, int bits, int lo, int hi, int64_t& m, int& e)
{
    const double limit = std::ldexp(1.0, bits);
    for (e = lo; e <= hi; ++e) {
        const double scaled = std::ldexp(value, bits - e);
        if (scaled == std::trunc(scaled) && scaled > -limit && scaled < limit) {
            m = int64_t(scaled);
            return true;
        }
    }
    return false;
}

} // namespace

uint16_t Code49(double value)
{
    int64_t m = 0;
    int e = 0;
    if (!FractionAndExponent(value, 11, 0, 15, m, e)) return 0;
    return uint16_t((uint16_t(m) & 0xFFF) << 4 | uint16_t(e));
}

uint32_t Code50(double value)
{
    int64_t m = 0;
    int e = 0;
    if (!FractionAndExponent(value, 15, -200, 200, m, e)) return 0;
    return uint32_t(uint16_t(int16_t(e))) << 16 | uint16_t(m);
}

uint32_t Code70(double value) { return uint32_t(int32_t(std::llround(value * 65536.0))); }

uint32_t Code68(double value)
{
    const double v = double(float(value));
    if (v == 0.0 || std::isnan(v)) return 0;
    int e = 0;
    const double m = std::frexp(std::fabs(v), &e); // |v| = m x 2^e, 1/2 <= m < 1
    const uint32_t fraction = uint32_t(std::ldexp(m, 23)); // truncated: the 24th bit is dropped
    const uint32_t exponent = uint32_t(e + 128) & 0xFF;
    if (v > 0) return (exponent << 23) | fraction;
    return 0x80000000u | ((~exponent & 0xFF) << 23) | ((0x800000u - fraction) & 0x7FFFFF);
}

namespace {

// Integer codes keep the low bits of the truncated value; clamped first, since a
// double out of an integer's range converts undefined.
uint64_t Bits(double value)
{
    if (std::isnan(value)) return 0;
    return uint64_t(int64_t(std::clamp(value, -9.0e18, 9.0e18)));
}

} // namespace

void AppendValue(std::vector<uint8_t>& out, uint8_t code, double value)
{
    uint8_t b[4] = {};
    switch (code) {
    case 56:
    case 65:
    case 66: out.push_back(uint8_t(Bits(value))); return;
    case 68: endian::PutBE32(b, Code68(value)); break;
    case 49: endian::PutBE16(b, Code49(value)); out.insert(out.end(), b, b + 2); return;
    case 50: endian::PutBE32(b, Code50(value)); break;
    case 70: endian::PutBE32(b, Code70(value)); break;
    case 73: endian::PutBE32(b, uint32_t(Bits(value))); break;
    case 79: endian::PutBE16(b, uint16_t(Bits(value))); out.insert(out.end(), b, b + 2); return;
    default: out.push_back(0); return;
    }
    out.insert(out.end(), b, b + 4);
}

void AppendText(std::vector<uint8_t>& out, const std::string& text, size_t width)
{
    for (size_t i = 0; i < width; ++i) out.push_back(i < text.size() ? uint8_t(text[i]) : uint8_t(' '));
}

std::vector<uint8_t> TifHeader(uint32_t type, uint32_t previous, uint32_t next)
{
    std::vector<uint8_t> b(12);
    endian::PutLE32(b.data(), type);
    endian::PutLE32(b.data() + 4, previous);
    endian::PutLE32(b.data() + 8, next);
    return b;
}

// ---- fixed records ---------------------------------------------------------------

namespace {

// Writes `text` blank-padded into record[at, at + width).
void Put(std::vector<uint8_t>& record, size_t at, const std::string& text, size_t width)
{
    for (size_t i = 0; i < width; ++i) record[at + i] = i < text.size() ? uint8_t(text[i]) : uint8_t(' ');
}

// Reel and tape record layout.
constexpr size_t kReelSize = 128;
constexpr size_t kReelService = 2, kReelDate = 14, kReelOrigin = 24, kReelName = 30, kReelContinuation = 40,
                 kReelPrevious = 44, kReelComment = 54;
// File record layout.
constexpr size_t kFileSize = 58;
constexpr size_t kFileName = 2, kFileSublevel = 14, kFileVersion = 20, kFileDate = 28, kFileMaxPhysical = 37,
                 kFileType = 44, kFilePrevious = 48;

} // namespace

std::vector<uint8_t> ReelRecord(uint8_t type, const ReelFields& f)
{
    std::vector<uint8_t> r(kReelSize, ' ');
    r[0] = type;
    r[1] = 0;
    Put(r, kReelService, f.service, 6);
    Put(r, kReelDate, f.date, 8);
    Put(r, kReelOrigin, f.origin, 4);
    Put(r, kReelName, f.name, 8);
    Put(r, kReelContinuation, f.continuation, 2);
    Put(r, kReelPrevious, f.previous, 8);
    Put(r, kReelComment, f.comment, kReelSize - kReelComment);
    return r;
}

std::vector<uint8_t> FileRecord(uint8_t type, const FileFields& f)
{
    std::vector<uint8_t> r(kFileSize, ' ');
    r[0] = type;
    r[1] = 0;
    Put(r, kFileName, f.name, 10);
    Put(r, kFileSublevel, f.sublevel, 6);
    Put(r, kFileVersion, f.version, 8);
    Put(r, kFileDate, f.date, 8);
    char length[16];
    std::snprintf(length, sizeof length, "%5d", f.maxPhysical);
    Put(r, kFileMaxPhysical, length, 5);
    Put(r, kFileType, f.fileType, 2);
    Put(r, kFilePrevious, f.previous, 10);
    return r;
}

// ---- information records ---------------------------------------------------------

Component Component::Text(uint8_t type, const std::string& mnemonic, const std::string& text,
                          const std::string& units)
{
    Component c;
    c.type = type;
    c.code = 65;
    c.mnemonic = mnemonic;
    c.units = units;
    c.value.assign(text.begin(), text.end());
    return c;
}

Component Component::Number(uint8_t type, const std::string& mnemonic, uint8_t code, double value,
                            const std::string& units)
{
    Component c;
    c.type = type;
    c.code = code;
    c.mnemonic = mnemonic;
    c.units = units;
    AppendValue(c.value, code, value);
    return c;
}

std::vector<Component> TableComponents(const std::string& name, const std::vector<TableRow>& rows)
{
    std::vector<Component> out;
    out.push_back(Component::Text(73, "TYPE", name.size() < 4 ? name + std::string(4 - name.size(), ' ') : name));
    for (const auto& row : rows)
        for (size_t i = 0; i < row.size(); ++i)
            out.push_back(Component::Text(i == 0 ? 0 : 69, row[i].first, row[i].second));
    return out;
}

std::vector<uint8_t> InformationRecord(const std::vector<Component>& components, uint8_t type)
{
    std::vector<uint8_t> r{type, 0};
    for (const auto& c : components) {
        r.push_back(c.type);
        r.push_back(c.code);
        r.push_back(uint8_t(c.value.size()));
        r.push_back(c.category);
        AppendText(r, c.mnemonic, 4);
        AppendText(r, c.units, 4);
        r.insert(r.end(), c.value.begin(), c.value.end());
    }
    return r;
}

// ---- DFSR and data records -------------------------------------------------------

std::vector<Channel> Dfsr::Blocks() const
{
    std::vector<Channel> blocks;
    if (!depthOnce) {
        Channel depth;
        depth.name = "DEPT";
        depth.units = depthUnits;
        depth.code = depthCode;
        depth.size = uint16_t(CodeSize(depthCode));
        blocks.push_back(depth);
    }
    blocks.insert(blocks.end(), channels.begin(), channels.end());
    return blocks;
}

uint32_t Dfsr::FrameBytes() const
{
    uint32_t total = 0;
    for (const auto& c : Blocks()) total += c.size;
    return total;
}

namespace {

void Entry(std::vector<uint8_t>& r, uint8_t type, uint8_t code, const std::vector<uint8_t>& value)
{
    r.push_back(type);
    r.push_back(uint8_t(value.size()));
    r.push_back(code);
    r.insert(r.end(), value.begin(), value.end());
}

std::vector<uint8_t> Value(uint8_t code, double v)
{
    std::vector<uint8_t> out;
    AppendValue(out, code, v);
    return out;
}

std::vector<uint8_t> Text(const std::string& s, size_t width)
{
    std::vector<uint8_t> out;
    AppendText(out, s, width);
    return out;
}

// Datum specification block layout, 40 bytes.
constexpr size_t kBlockSize = 40;
constexpr size_t kBlockName = 0, kBlockService = 4, kBlockOrder = 10, kBlockUnits = 18, kBlockSize16 = 28,
                 kBlockSamples = 33, kBlockCode = 34;

} // namespace

std::vector<uint8_t> DfsrRecord(const Dfsr& d)
{
    std::vector<uint8_t> r{64, 0};
    Entry(r, 1, 66, {0});
    Entry(r, 2, 66, {0});
    Entry(r, 3, 73, Value(73, double(d.frameSize >= 0 ? d.frameSize : int64_t(d.FrameBytes()))));
    Entry(r, 4, 66, {d.direction});
    Entry(r, 5, 66, {1});
    if (d.spacingEntry) {
        Entry(r, 8, 68, Value(68, d.spacing));
        Entry(r, 9, 65, Text(d.spacingUnits, 4));
    }
    Entry(r, 11, 66, {d.maxFrames});
    if (d.absentValue) Entry(r, 12, 68, Value(68, -999.25));
    Entry(r, 13, 66, {uint8_t(d.depthOnce ? 1 : 0)});
    if (d.depthOnce) {
        Entry(r, 14, 65, Text(d.depthUnits, 4));
        Entry(r, 15, 66, {d.depthCode});
    }
    Entry(r, 16, 66, {d.subtype});
    Entry(r, 0, 66, std::vector<uint8_t>(d.terminatorSize, 0));
    for (const auto& c : d.Blocks()) {
        std::vector<uint8_t> b(kBlockSize, 0);
        Put(b, kBlockName, c.name, 4);
        Put(b, kBlockService, c.service, 6);
        Put(b, kBlockOrder, c.serviceOrder, 8);
        Put(b, kBlockUnits, c.units, 4);
        endian::PutBE16(b.data() + kBlockSize16, c.size);
        b[kBlockSamples] = c.samples;
        b[kBlockCode] = c.code;
        r.insert(r.end(), b.begin(), b.end());
    }
    return r;
}

double DefaultSample(int frame, int channel, int element) { return frame * 100.0 + channel * 10.0 + element; }

std::vector<uint8_t> DataRecord(const Dfsr& d, double firstDepth, double step, int frames, const SampleFn& sample,
                                int firstFrame)
{
    std::vector<uint8_t> r{0, 0};
    if (d.depthOnce) AppendValue(r, d.depthCode, firstDepth);
    for (int k = 0; k < frames; ++k) {
        if (!d.depthOnce) AppendValue(r, d.depthCode, firstDepth + k * step);
        for (size_t c = 0; c < d.channels.size(); ++c) {
            const Channel& ch = d.channels[c];
            const int elements = ch.size / CodeSize(ch.code);
            for (int e = 0; e < elements; ++e) {
                const double v = sample(firstFrame + k, int(c), e);
                // Text channels: a letter per element, so that misplaced reads show.
                AppendValue(r, ch.code, ch.code == 65 ? double('A' + std::abs(int(v)) % 26) : v);
            }
            // A size that is not a whole number of elements keeps its remainder as zeros.
            for (int pad = elements * CodeSize(ch.code); pad < ch.size; ++pad) r.push_back(0);
        }
    }
    return r;
}

std::vector<uint8_t> CommentRecord(const std::string& text)
{
    std::vector<uint8_t> r(2 + text.size());
    r[0] = 232; // comment record type, then its attribute byte
    std::copy(text.begin(), text.end(), r.begin() + 2);
    return r;
}

} // namespace lisb

// ---- LisBuilder ----------------------------------------------------------------------

void LisBuilder::AppendPhysical(uint16_t length, uint16_t attributes, const uint8_t* body, size_t bodySize,
                                uint16_t trailers)
{
    const size_t trailerBytes = 2 * (((trailers & lisb::kChecksum) ? 1 : 0) + ((trailers & lisb::kFileNumber) ? 1 : 0)
                                     + ((trailers & lisb::kRecordNumber) ? 1 : 0));
    const uint32_t at = uint32_t(m_bytes.size());
    m_starts.push_back(at);
    if (m_tif) {
        const auto tif = lisb::TifHeader(0, m_previousTif, uint32_t(at + 12 + 4 + bodySize + trailerBytes));
        m_bytes.insert(m_bytes.end(), tif.begin(), tif.end());
        m_previousTif = at;
    }
    uint8_t h[4];
    endian::PutBE16(h, length);
    endian::PutBE16(h + 2, attributes);
    m_bytes.insert(m_bytes.end(), h, h + 4);
    m_bytes.insert(m_bytes.end(), body, body + bodySize);
    // Dummy trailer contents: readers must neither check nor keep them.
    for (size_t i = 0; i < trailerBytes; ++i) m_bytes.push_back(uint8_t(0xE0 + i));
}

LisBuilder& LisBuilder::Record(const std::vector<uint8_t>& record, const std::vector<size_t>& bodies,
                               uint16_t trailers, uint16_t extraBits, bool continuationBits)
{
    std::vector<size_t> pieces;
    size_t used = 0;
    for (size_t b : bodies) {
        const size_t n = std::min(b, record.size() - used);
        pieces.push_back(n);
        used += n;
    }
    if (used < record.size() || pieces.empty()) pieces.push_back(record.size() - used);

    const size_t trailerBytes = 2 * (((trailers & lisb::kChecksum) ? 1 : 0) + ((trailers & lisb::kFileNumber) ? 1 : 0)
                                     + ((trailers & lisb::kRecordNumber) ? 1 : 0));
    const size_t firstStart = m_starts.size();
    size_t offset = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        uint16_t attributes = uint16_t(trailers | extraBits);
        if (continuationBits) {
            if (i + 1 < pieces.size()) attributes |= lisb::kSuccessor;
            if (i > 0) attributes |= lisb::kPredecessor;
        }
        AppendPhysical(uint16_t(4 + pieces[i] + trailerBytes), attributes, record.data() + offset, pieces[i], trailers);
        offset += pieces[i];
    }
    // A logical record is found at its first physical record only.
    m_starts.resize(firstStart + 1);
    return *this;
}

LisBuilder& LisBuilder::Physical(uint16_t length, uint16_t attributes, const std::vector<uint8_t>& body)
{
    AppendPhysical(length, attributes, body.data(), body.size(), 0);
    return *this;
}

LisBuilder& LisBuilder::FileMark()
{
    if (!m_tif) return *this;
    const uint32_t at = uint32_t(m_bytes.size());
    m_starts.push_back(at);
    const auto tif = lisb::TifHeader(1, m_previousTif, at + 12);
    m_bytes.insert(m_bytes.end(), tif.begin(), tif.end());
    m_previousTif = at;
    return *this;
}

LisBuilder& LisBuilder::Raw(const std::vector<uint8_t>& bytes)
{
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

LisBuilder& LisBuilder::FileHeader(const std::string& name)
{
    lisb::FileFields f;
    f.name = name;
    return FileHeader(f);
}

LisBuilder& LisBuilder::FileTrailer(const std::string& name)
{
    lisb::FileFields f;
    f.name = name;
    return FileTrailer(f);
}

void LisBuilder::Write(const std::string& path) const { WriteBytes(path, m_bytes); }
