#include "plot/QtxCommand.h"

#include "common/OutputGuard.h"
#include "platform/BinaryFile.h"
#include "platform/Endian.h"
#include "platform/Host.h"
#include "platform/OutputFile.h"
#include "platform/Path.h"
#include "plot/LogCommandLayout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

using namespace logcmd;

// Appends fields to a byte vector; remembers a text too long to store.
class FieldWriter {
public:
    explicit FieldWriter(std::vector<uint8_t>& out) : m_out(out) {}
    bool Ok() const { return m_ok; }

    void U8(uint8_t v) { m_out.push_back(v); }
    void Flag(int32_t v) { U8(uint8_t(v)); } // a 32-bit flag stored in one byte
    void U16(uint16_t v) { Put(2, [v](uint8_t* p) { endian::PutLE16(p, v); }); }
    void I16(int16_t v) { U16(uint16_t(v)); }
    void U32(uint32_t v) { Put(4, [v](uint8_t* p) { endian::PutLE32(p, v); }); }
    void F32(float v) { Put(4, [v](uint8_t* p) { endian::PutLEFloat(p, v); }); }
    void F64(double v) { Put(8, [v](uint8_t* p) { endian::PutLEDouble(p, v); }); }
    void Str(const std::string& s)
    {
        if (s.size() > kMaxString) m_ok = false;
        const size_t n = std::min(s.size(), kMaxString);
        U16(uint16_t(n));
        m_out.insert(m_out.end(), s.begin(), s.begin() + ptrdiff_t(n));
    }
    void Names(const CLogPlotItem& item)
    {
        const size_t count = size_t(std::clamp<int>(item.m_nNameCount, 0, kPlotNameCount));
        for (size_t i = 0; i < kNameSlots; ++i) Str(i < count ? item.m_strNames[i] : std::string());
        for (size_t i = 0; i < kNameSlots; ++i) U8(i < count ? item.m_byItemTypes[i] : 0);
    }

private:
    template <typename Fn> void Put(size_t n, Fn put)
    {
        m_out.resize(m_out.size() + n);
        put(m_out.data() + m_out.size() - n);
    }
    std::vector<uint8_t>& m_out;
    bool m_ok = true;
};

// Reads fields from a file; after the first short read or overlong text every
// later field reads as zero and Ok() stays false.
class FieldReader {
public:
    explicit FieldReader(BinaryFile& file) : m_file(file) {}
    bool Ok() const { return m_ok; }

    void U8(uint8_t& v) { v = Bytes<1>()[0]; }
    void Flag(int32_t& v) { v = Bytes<1>()[0]; }
    void U16(uint16_t& v) { v = endian::GetLE16(Bytes<2>().data()); }
    void I16(int16_t& v) { v = int16_t(endian::GetLE16(Bytes<2>().data())); }
    void U32(uint32_t& v) { v = endian::GetLE32(Bytes<4>().data()); }
    void F32(float& v) { v = endian::GetLEFloat(Bytes<4>().data()); }
    void F64(double& v) { v = endian::GetLEDouble(Bytes<8>().data()); }
    void Str(std::string& s)
    {
        uint16_t n = 0;
        U16(n);
        s.clear();
        if (!m_ok) return;
        if (n > kMaxString) {
            m_ok = false;
            return;
        }
        char buffer[kMaxString];
        if (m_file.Read(buffer, n) != n) {
            m_ok = false;
            return;
        }
        s.assign(buffer, n);
    }
    // Keeps the entries below the item's name count, which is read before them.
    void Names(CLogPlotItem& item)
    {
        const size_t count = size_t(std::clamp<int>(item.m_nNameCount, 0, kPlotNameCount));
        std::string name;
        for (size_t i = 0; i < kNameSlots; ++i) {
            Str(name);
            item.m_strNames[i] = i < count ? name : std::string();
        }
        for (size_t i = 0; i < kNameSlots; ++i) {
            uint8_t type = 0;
            U8(type);
            item.m_byItemTypes[i] = i < count ? type : 0;
        }
    }

private:
    template <size_t N> std::array<uint8_t, N> Bytes()
    {
        std::array<uint8_t, N> b{};
        if (m_ok && m_file.Read(b.data(), N) != N) m_ok = false;
        if (!m_ok) b.fill(0);
        return b;
    }
    BinaryFile& m_file;
    bool m_ok = true;
};

// The first-pass record, in file order, for both directions.
template <typename IO, typename Item> void ItemRecord(IO& io, Item& it)
{
    io.Str(it.m_strFilePath);
    io.Str(it.m_strFileTitle);
    io.Str(it.m_strFileExt);
    io.Str(it.m_strCurrentName);
    io.Str(it.m_strName);
    io.Str(it.m_strUnitsName);
    io.Str(it.m_strReserved);
    io.U8(it.m_byLogDirection);
    io.U8(it.m_byItemType);
    io.Str(it.m_strWaveStyle);
    io.Str(it.m_strDomain);
    io.Str(it.m_strPalette);
    io.Str(it.m_strLineStyle);
    io.Str(it.m_strLineWidth);
    io.Str(it.m_strColor);
    io.U16(it.m_nDomain);
    io.I16(it.m_nCurrentName);
    io.I16(it.m_nTrack);
    io.I16(it.m_nNameCount);
    io.I16(it.m_nSampleCount);
    io.U16(it.m_bNormalize);
    io.F32(it.m_fSampleInterval);
    io.F32(it.m_fLeftLimit);
    io.F32(it.m_fRightLimit);
    io.F32(it.m_fFreqMin);
    io.F32(it.m_fFreqMax);
    io.Flag(it.m_bFrequencyImage);
    io.F32(it.m_fSlowMin);
    io.F32(it.m_fSlowMax);
    io.Flag(it.m_bSlownessImage);
    io.U8(it.m_bySlownessUnit);
    io.F64(it.m_dStartDepth);
    io.F64(it.m_dStopDepth);
    io.F64(it.m_dDepthShift);
    io.F64(it.m_dDataTop);
    io.F64(it.m_dDataBottom);
    io.F64(it.m_dDepthStep);
    io.U32(it.m_nFrameCount);
    io.Names(it);
}

template <typename IO, typename Item> void ShadingRecord(IO& io, Item& it)
{
    io.Str(it.m_strShadeColor);
    io.Str(it.m_strShadePattern);
    io.I16(it.m_nShadeOff);
    io.I16(it.m_nShadeMinLimit);
    io.I16(it.m_nShadeMaxLimit);
    io.I16(it.m_nShadeCurveLimit);
    io.I16(it.m_nShadeCurve);
    io.F32(it.m_fShadeMin);
    io.F32(it.m_fShadeMax);
}

// The header after the item count, in file order.
template <typename IO, typename Page> void PageFields(IO& io, Page& page)
{
    io.F32(page.depthScale);
    for (auto& width : page.trackWidth) io.F32(width);
    io.I16(page.depthTrackOn);
    io.I16(page.depthTrackOff);
    io.I16(page.english);
    io.I16(page.metric);
}

// The counts an item's arrays and the plot window index by.
bool CountsValid(const CLogPlotItem& it)
{
    if (it.m_nNameCount < 0 || it.m_nNameCount > kPlotNameCount) return false;
    if (it.m_nCurrentName < 0 || it.m_nCurrentName >= std::max<int>(it.m_nNameCount, 1)) return false;
    return it.m_nTrack >= 1 && it.m_nTrack <= kPlotTrackCount;
}

// The shading an item of an older file gets; its pattern stays empty.
void OldFileShading(CLogPlotItem& it)
{
    it.m_strShadeColor = "Gray";
    it.m_strShadePattern.clear();
    it.m_nShadeOff = 1;
    it.m_nShadeMinLimit = 0;
    it.m_nShadeMaxLimit = 0;
    it.m_nShadeCurveLimit = 0;
    it.m_nShadeCurve = -1;
    it.m_fShadeMin = 40.0f;
    it.m_fShadeMax = 240.0f;
}

int16_t OneOrZero(int16_t v) { return v ? 1 : 0; }

} // namespace

LogCommandPage PageOf(const LogSetupGroup& s)
{
    return {s.depthScale, s.trackWidth, s.depthTrackOn, s.depthTrackOff, s.english, s.metric};
}

void SetPage(LogSetupGroup& s, const LogCommandPage& page)
{
    s.depthScale = page.depthScale;
    s.trackWidth = page.trackWidth;
    s.depthTrackOn = page.depthTrackOn;
    s.depthTrackOff = page.depthTrackOff;
    s.english = page.english;
    s.metric = page.metric;
}

bool PageFitsDialog(const LogCommandPage& page)
{
    using namespace log_page;
    if (!(page.depthScale >= kMinDepthScale && page.depthScale <= kMaxDepthScale)) return false;
    double combined = 0.0;
    for (size_t i = 0; i < page.trackWidth.size(); ++i) {
        const float w = page.trackWidth[i];
        // The dialog shows an infinite width but takes no such text back.
        if (!std::isfinite(w) || w < kMinTrackWidth) return false;
        if (int(i) < kCombinedTracks) combined += double(w);
    }
    return combined <= double(kMaxCombinedWidth);
}

bool CQtxCommand::Encode(const PlotItemList& items, const LogCommandPage& page, std::vector<uint8_t>& out)
{
    if (items.size() > std::numeric_limits<uint16_t>::max()) return false;
    std::vector<uint8_t> bytes;
    bytes.reserve(kHeaderSize + items.size() * (kEmptyItemSize + kEmptyShadingSize));
    FieldWriter w(bytes);
    w.U16(uint16_t(items.size()));
    PageFields(w, page);
    for (const auto& item : items) ItemRecord(w, *item);
    for (const auto& item : items) ShadingRecord(w, *item);
    if (!w.Ok()) return false;
    out = std::move(bytes);
    return true;
}

CQtxCommand::Decoded CQtxCommand::Decode(BinaryFile& file, PlotItemList& items, LogCommandPage& page)
{
    const int64_t length = file.GetLength();
    if (length < 0 || file.Seek(0) != 0) return Decoded::ReadError;
    FieldReader r(file);
    uint16_t count = 0;
    LogCommandPage read;
    r.U16(count);
    PageFields(r, read);
    if (!r.Ok()) return Decoded::ReadError;
    // Every item takes at least an empty record: a count the file cannot hold is
    // refused before anything is made for it.
    if (uint64_t(length) < kHeaderSize + uint64_t(count) * kEmptyItemSize) return Decoded::ReadError;

    PlotItemList loaded;
    loaded.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        auto item = std::make_shared<CLogPlotItem>();
        ItemRecord(r, *item);
        if (!r.Ok() || !CountsValid(*item)) return Decoded::ReadError;
        item->m_strReserved.clear();
        item->m_bEnabled = 1;
        loaded.push_back(std::move(item));
    }
    // Files of older versions end here; a file with more holds the shading.
    if (file.GetPosition() < length) {
        for (const auto& item : loaded) ShadingRecord(r, *item);
        if (!r.Ok()) return Decoded::ReadError;
    } else {
        for (const auto& item : loaded) OldFileShading(*item);
    }

    read.depthTrackOn = OneOrZero(read.depthTrackOn);
    read.depthTrackOff = OneOrZero(read.depthTrackOff);
    read.english = OneOrZero(read.english);
    read.metric = OneOrZero(read.metric);
    // The dialog could not be shown again with such a page, so none of it is taken.
    if (!PageFitsDialog(read)) return Decoded::PageOutOfRange;
    items = std::move(loaded);
    page = read;
    return Decoded::Ok;
}

int CQtxCommand::Write(const PlotItemList& items, const LogCommandPage& page, const std::string& path)
{
    std::vector<std::string> inputs;
    for (const auto& item : items) inputs.push_back(item->m_strFilePath);
    if (RefuseOutputOverInput(path, inputs)) return -1;

    std::vector<uint8_t> bytes;
    if (!Encode(items, page, bytes)) {
        MessageBox("A name or path of the plot list is longer than 255 characters!\n"
                   "Could not write output command file :\n" + path,
                   MB_OK | MB_ICONSTOP);
        return -1;
    }
    OutputFile file;
    int openError = 0;
    if (!file.Open(path, &openError)) {
        MessageBox("Could not open output command file :\n" + path + OpenFailureCause(path, openError),
                   MB_OK | MB_ICONSTOP);
        return -1;
    }
    // A torn command file would not read back: its name keeps what it held before.
    if (!file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
        MessageBox("Error writing output command file :\n" + path, MB_OK | MB_ICONSTOP);
        return -1;
    }
    return 0;
}

int CQtxCommand::Read(PlotItemList& items, LogCommandPage& page, const std::string& path)
{
    BinaryFile file;
    int openError = 0;
    if (!file.Open(path, BinaryFile::modeRead, &openError)) {
        MessageBox("Could not open input command file :\n" + path + OpenFailureCause(path, openError),
                   MB_OK | MB_ICONSTOP);
        return -1;
    }
    file.EnableReadAhead();
    switch (Decode(file, items, page)) {
    case Decoded::Ok: return 0;
    case Decoded::ReadError:
        MessageBox("Error reading input command file :\n" + path, MB_OK | MB_ICONSTOP);
        return -1;
    case Decoded::PageOutOfRange:
        MessageBox("Invalid page settings in input command file :\n" + path +
                       "\nThe depth scale must lie in 100.0 - 2500.0, no track width may be negative and "
                       "tracks #1 to #8 may not exceed 24.0 in. together.",
                   MB_OK | MB_ICONSTOP);
        return -1;
    }
    return -1;
}

int CQtxCommand::RebaseItemPaths(PlotItemList& items, const std::string& commandPath)
{
    // Command files written on other systems carry '\' in their paths.
    const size_t separator = LastSeparator(commandPath);
    if (separator == std::string::npos) return 0;
    const std::string folder = commandPath.substr(0, separator + 1);
    for (const auto& item : items) {
        // A data set without an extension keeps its name as it is.
        item->m_strFilePath = folder + item->m_strFileTitle;
        if (!item->m_strFileExt.empty()) item->m_strFilePath += "." + item->m_strFileExt;
    }
    return 0;
}
