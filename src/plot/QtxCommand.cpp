#include "plot/QtxCommand.h"

#include "common/OutputGuard.h"
#include "platform/BinaryFile.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/OutputFile.h"
#include "platform/Path.h"
#include "plot/LogCommandLayout.h"
#include "settings/LogSetupGroup.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace {

using namespace logcmd;

// The Log Item Setup dialog's own words for a reversed depth range.
constexpr const char* kStartAboveStop = "Start depth must be less then stop depth!";

// Appends fields to a byte vector; remembers a text too long to store. Field names
// are the reader's, for its messages.
class FieldWriter {
public:
    using Name = const char*;
    explicit FieldWriter(std::vector<uint8_t>& out) : m_out(out) {}
    bool Ok() const { return m_ok; }

    void U8(Name, uint8_t v) { m_out.push_back(v); }
    void Flag(Name n, int32_t v) { U8(n, uint8_t(v)); } // a 32-bit flag stored in one byte
    void U16(Name, uint16_t v) { Put(2, [v](uint8_t* p) { endian::PutLE16(p, v); }); }
    void I16(Name n, int16_t v) { U16(n, uint16_t(v)); }
    void U32(Name, uint32_t v) { Put(4, [v](uint8_t* p) { endian::PutLE32(p, v); }); }
    void F32(Name, float v) { Put(4, [v](uint8_t* p) { endian::PutLEFloat(p, v); }); }
    void F64(Name, double v) { Put(8, [v](uint8_t* p) { endian::PutLEDouble(p, v); }); }
    template <typename T> void Style(Name n, const StyleChoice<T>& c) { Str(n, c.Text()); }
    void Str(Name n, const std::string& s)
    {
        if (s.size() > kMaxString) m_ok = false;
        const size_t count = std::min(s.size(), kMaxString);
        U16(n, uint16_t(count));
        m_out.insert(m_out.end(), s.begin(), s.begin() + ptrdiff_t(count));
    }
    void Names(const CLogPlotItem& item)
    {
        const size_t count = size_t(std::clamp<int>(item.m_datum.nameCount, 0, kPlotNameCount));
        for (size_t i = 0; i < kNameSlots; ++i) Str("name entry", i < count ? item.m_datum.names[i] : std::string());
        for (size_t i = 0; i < kNameSlots; ++i) U8("item type entry", i < count ? item.m_datum.itemTypes[i] : 0);
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
// later field reads as zero, Ok() stays false and Fault() says which field failed.
class FieldReader {
public:
    using Name = const char*;
    explicit FieldReader(BinaryFile& file) : m_file(file) {}
    bool Ok() const { return m_ok; }
    const std::string& Fault() const { return m_fault; }

    void U8(Name n, uint8_t& v) { v = Bytes<1>(n)[0]; }
    void Flag(Name n, int32_t& v) { v = Bytes<1>(n)[0]; }
    void U16(Name n, uint16_t& v) { v = endian::GetLE16(Bytes<2>(n).data()); }
    void I16(Name n, int16_t& v) { v = int16_t(endian::GetLE16(Bytes<2>(n).data())); }
    void U32(Name n, uint32_t& v) { v = endian::GetLE32(Bytes<4>(n).data()); }
    void F32(Name n, float& v) { v = endian::GetLEFloat(Bytes<4>(n).data()); }
    void F64(Name n, double& v) { v = endian::GetLEDouble(Bytes<8>(n).data()); }
    // A style's stored text, kept as it is: one the program does not know draws as
    // the drawing rules say and is written back unchanged.
    template <typename T> void Style(Name name, StyleChoice<T>& c)
    {
        std::string text;
        Str(name, text);
        c = StyleChoice<T>::FromText(std::move(text));
    }
    void Str(Name name, std::string& s)
    {
        uint16_t n = 0;
        const int64_t at = m_file.GetPosition();
        U16(name, n);
        s.clear();
        if (!m_ok) return;
        if (n > kMaxString) {
            Fail(Format("the %s at byte %lld has a length of %u (at most %u)", name, static_cast<long long>(at),
                        unsigned(n), unsigned(kMaxString)));
            return;
        }
        char buffer[kMaxString];
        if (m_file.Read(buffer, n) != n) {
            Fail(Format("the %s of %u characters at byte %lld runs past the end of the file", name, unsigned(n),
                        static_cast<long long>(at)));
            return;
        }
        s.assign(buffer, n);
    }
    // Keeps the entries below the item's name count, which is read before them.
    void Names(CLogPlotItem& item)
    {
        const size_t count = size_t(std::clamp<int>(item.m_datum.nameCount, 0, kPlotNameCount));
        std::string name;
        for (size_t i = 0; i < kNameSlots; ++i) {
            Str("name entry", name);
            item.m_datum.names[i] = i < count ? name : std::string();
        }
        for (size_t i = 0; i < kNameSlots; ++i) {
            uint8_t type = 0;
            U8("item type entry", type);
            item.m_datum.itemTypes[i] = i < count ? type : 0;
        }
    }

private:
    void Fail(std::string fault)
    {
        if (m_ok) m_fault = std::move(fault);
        m_ok = false;
    }
    template <size_t N> std::array<uint8_t, N> Bytes(Name name)
    {
        std::array<uint8_t, N> b{};
        if (m_ok) {
            const int64_t at = m_file.GetPosition();
            if (m_file.Read(b.data(), N) != N)
                Fail(Format("the %s at byte %lld runs past the end of the file", name, static_cast<long long>(at)));
        }
        if (!m_ok) b.fill(0);
        return b;
    }
    BinaryFile& m_file;
    bool m_ok = true;
    std::string m_fault;
};

// The first-pass record, in file order, for both directions.
template <typename IO, typename Item> void ItemRecord(IO& io, Item& it)
{
    io.Str("path", it.m_file.path);
    io.Str("title", it.m_file.title);
    io.Str("extension", it.m_file.ext);
    io.Str("current name", it.m_datum.currentName);
    io.Str("name", it.m_strName);
    io.Str("units name", it.m_datum.unitsName);
    io.Str("reserved text", it.m_strReserved);
    io.U8("log direction", it.m_file.logDirection);
    io.U8("item type", it.m_datum.itemType);
    io.Style("wave style", it.m_style.waveStyle);
    io.Str("domain name", it.m_datum.domainName);
    io.Style("palette", it.m_style.palette);
    io.Style("line style", it.m_style.lineStyle);
    io.Style("line width", it.m_style.lineWidth);
    io.Style("colour", it.m_style.color);
    io.U16("domain", it.m_datum.domain);
    io.I16("current name index", it.m_datum.current);
    io.I16("track", it.m_scale.track);
    io.I16("name count", it.m_datum.nameCount);
    io.I16("sample count", it.m_datum.sampleCount);
    io.U16("normalize", it.m_scale.normalize);
    io.F32("sample interval", it.m_datum.sampleInterval);
    io.F32("left limit", it.m_scale.leftLimit);
    io.F32("right limit", it.m_scale.rightLimit);
    io.F32("frequency min", it.m_scale.freqMin);
    io.F32("frequency max", it.m_scale.freqMax);
    io.Flag("frequency image", it.m_scale.frequencyImage);
    io.F32("slowness min", it.m_scale.slowMin);
    io.F32("slowness max", it.m_scale.slowMax);
    io.Flag("slowness image", it.m_scale.slownessImage);
    io.U8("slowness unit", it.m_datum.slownessUnit);
    io.F64("start depth", it.m_scale.startDepth);
    io.F64("stop depth", it.m_scale.stopDepth);
    io.F64("depth shift", it.m_scale.depthShift);
    io.F64("data top", it.m_file.dataTop);
    io.F64("data bottom", it.m_file.dataBottom);
    io.F64("depth step", it.m_file.depthStep);
    io.U32("frame count", it.m_file.frameCount);
    io.Names(it);
}

template <typename IO, typename Item> void ShadingRecord(IO& io, Item& it)
{
    io.Style("shade colour", it.m_shade.color);
    io.Style("shade pattern", it.m_shade.pattern);
    io.I16("shade off", it.m_shade.off);
    io.I16("shade min limit", it.m_shade.minLimit);
    io.I16("shade max limit", it.m_shade.maxLimit);
    io.I16("shade curve limit", it.m_shade.curveLimit);
    io.I16("shade curve", it.m_shade.curve);
    io.F32("shade min", it.m_shade.min);
    io.F32("shade max", it.m_shade.max);
}

// The header after the item count, in file order.
template <typename IO, typename Page> void PageFields(IO& io, Page& page)
{
    io.F32("depth scale", page.depthScale);
    for (auto& width : page.trackWidth) io.F32("track width", width);
    io.I16("depth track on", page.depthTrackOn);
    io.I16("depth track off", page.depthTrackOff);
    io.I16("english", page.english);
    io.I16("metric", page.metric);
}

// The counts an item's arrays and the plot window index by, and its depth range:
// what is wrong with the first that is not usable, or an empty text.
std::string ItemFault(const CLogPlotItem& it)
{
    if (it.m_datum.nameCount < 0 || it.m_datum.nameCount > kPlotNameCount)
        return Format("its name count is %d (0 to %d)", int(it.m_datum.nameCount), kPlotNameCount);
    if (it.m_datum.current < 0 || it.m_datum.current >= std::max<int>(it.m_datum.nameCount, 1))
        return Format("its current name index is %d (0 to %d)", int(it.m_datum.current),
                      std::max<int>(it.m_datum.nameCount, 1) - 1);
    if (it.m_scale.track < 1 || it.m_scale.track > kPlotTrackCount)
        return Format("its track is %d (1 to %d)", int(it.m_scale.track), kPlotTrackCount);
    // A reversed range would open a log with no rows in it.
    if (!(it.m_scale.startDepth < it.m_scale.stopDepth))
        return Format("its start depth %.4f is not less than its stop depth %.4f.\n%s", it.m_scale.startDepth,
                      it.m_scale.stopDepth, kStartAboveStop);
    return {};
}

// The shading an item of an older file gets; its pattern stays empty.
void OldFileShading(CLogPlotItem& it)
{
    it.m_shade.color = NamedColour::kGray;
    it.m_shade.pattern = StyleChoice<ShadePattern>();
    it.m_shade.off = 1;
    it.m_shade.minLimit = 0;
    it.m_shade.maxLimit = 0;
    it.m_shade.curveLimit = 0;
    it.m_shade.curve = -1;
    it.m_shade.min = 40.0f;
    it.m_shade.max = 240.0f;
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

bool PageFitsDialog(const LogCommandPage& page) { return PageFault(page).empty(); }

std::string PageFault(const LogCommandPage& page)
{
    using namespace log_page;
    if (!(page.depthScale >= kMinDepthScale && page.depthScale <= kMaxDepthScale))
        return Format("The file's depth scale is %.1f.", double(page.depthScale));
    double combined = 0.0;
    for (size_t i = 0; i < page.trackWidth.size(); ++i) {
        const float w = page.trackWidth[i];
        // The dialog shows an infinite width but takes no such text back.
        if (!std::isfinite(w) || w < kMinTrackWidth)
            return Format("The file's width of track #%zu is %.1f in.", i + 1, double(w));
        if (int(i) < kCombinedTracks) combined += double(w);
    }
    if (combined > double(kMaxCombinedWidth))
        return Format("The file's tracks #1 to #%d are %.1f in. together.", kCombinedTracks, combined);
    return {};
}

bool CQtxCommand::Encode(const PlotItemList& items, const LogCommandPage& page, std::vector<uint8_t>& out)
{
    if (items.size() > std::numeric_limits<uint16_t>::max()) return false;
    std::vector<uint8_t> bytes;
    bytes.reserve(kHeaderSize + items.size() * (kEmptyItemSize + kEmptyShadingSize));
    FieldWriter w(bytes);
    w.U16("item count", uint16_t(items.size()));
    PageFields(w, page);
    for (const auto& item : items) ItemRecord(w, *item);
    for (const auto& item : items) ShadingRecord(w, *item);
    if (!w.Ok()) return false;
    out = std::move(bytes);
    return true;
}

CQtxCommand::Decoded CQtxCommand::Decode(BinaryFile& file, PlotItemList& items, LogCommandPage& page,
                                         std::string* fault)
{
    auto refuse = [fault](Decoded result, const std::string& why) {
        if (fault) *fault = why;
        return result;
    };
    const int64_t length = file.GetLength();
    if (length < 0 || file.Seek(0) != 0) return refuse(Decoded::ReadError, "the file cannot be read");
    FieldReader r(file);
    uint16_t count = 0;
    LogCommandPage read;
    r.U16("item count", count);
    PageFields(r, read);
    if (!r.Ok()) return refuse(Decoded::ReadError, "header: " + r.Fault());
    // Every item takes at least an empty record: a count the file cannot hold is
    // refused before anything is made for it.
    if (uint64_t(length) < kHeaderSize + uint64_t(count) * kEmptyItemSize)
        return refuse(Decoded::ReadError,
                      Format("header: the item count %u needs at least %llu bytes, the file holds %lld",
                             unsigned(count),
                             static_cast<unsigned long long>(kHeaderSize + uint64_t(count) * kEmptyItemSize),
                             static_cast<long long>(length)));

    PlotItemList loaded;
    loaded.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
        auto item = std::make_shared<CLogPlotItem>();
        ItemRecord(r, *item);
        const std::string where = Format("item %u of %u", unsigned(i) + 1, unsigned(count));
        if (!r.Ok()) return refuse(Decoded::ReadError, where + ": " + r.Fault());
        if (const std::string bad = ItemFault(*item); !bad.empty())
            return refuse(Decoded::ReadError, where + " (" + item->m_strName + "): " + bad);
        item->m_strReserved.clear();
        item->m_bEnabled = 1;
        loaded.push_back(std::move(item));
    }
    // Files of older versions end here; a file with more holds the shading.
    if (file.GetPosition() < length) {
        for (size_t i = 0; i < loaded.size(); ++i) {
            ShadingRecord(r, *loaded[i]);
            if (!r.Ok())
                return refuse(Decoded::ReadError,
                              Format("shading of item %zu of %zu: ", i + 1, loaded.size()) + r.Fault());
        }
    } else {
        for (const auto& item : loaded) OldFileShading(*item);
    }

    read.depthTrackOn = OneOrZero(read.depthTrackOn);
    read.depthTrackOff = OneOrZero(read.depthTrackOff);
    read.english = OneOrZero(read.english);
    read.metric = OneOrZero(read.metric);
    // The dialog could not be shown again with such a page, so none of it is taken.
    if (!PageFitsDialog(read)) return refuse(Decoded::PageOutOfRange, PageFault(read));
    items = std::move(loaded);
    page = read;
    return Decoded::Ok;
}

bool CQtxCommand::Write(const PlotItemList& items, const LogCommandPage& page, const std::string& path)
{
    std::vector<std::string> inputs;
    for (const auto& item : items) inputs.push_back(item->m_file.path);
    if (!OkOrShow(OutputSparesInputs(path, inputs))) return false;

    std::vector<uint8_t> bytes;
    if (!Encode(items, page, bytes)) {
        MessageBox("A name or path of the plot list is longer than 255 characters!\n"
                   "Could not write output command file :\n" + path,
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    OutputFile file;
    int openError = 0;
    if (!file.Open(path, &openError)) {
        MessageBox("Could not open output command file :\n" + path + OutputFailureCause(path, openError),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    // A torn command file would not read back: its name keeps what it held before.
    if (!file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
        MessageBox("Error writing output command file :\n" + path + OutputFailureCause(path, file.Error()),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    return true;
}

bool CQtxCommand::Read(PlotItemList& items, LogCommandPage& page, const std::string& path)
{
    BinaryFile file;
    int openError = 0;
    if (!file.Open(path, BinaryFile::modeRead, &openError)) {
        MessageBox("Could not open input command file :\n" + path + OpenFailureCause(path, openError),
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    file.EnableReadAhead();
    std::string fault;
    switch (Decode(file, items, page, &fault)) {
    case Decoded::Ok: return true;
    case Decoded::ReadError:
        MessageBox("Error reading input command file :\n" + path + "\n" + fault, MB_OK | MB_ICONSTOP);
        return false;
    case Decoded::PageOutOfRange:
        MessageBox("Invalid page settings in input command file :\n" + path +
                       "\nThe depth scale must lie in 100.0 - 2500.0, no track width may be negative and "
                       "tracks #1 to #8 may not exceed 24.0 in. together.\n" + fault,
                   MB_OK | MB_ICONSTOP);
        return false;
    }
    return false;
}

void CQtxCommand::RebaseItemPaths(PlotItemList& items, const std::string& commandPath)
{
    // Command files written on other systems carry '\' in their paths.
    const size_t separator = LastSeparator(commandPath);
    if (separator == std::string::npos) return;
    const std::string folder = commandPath.substr(0, separator + 1);
    for (const auto& item : items) {
        // A data set without an extension keeps its name as it is.
        item->m_file.path = folder + item->m_file.title;
        if (!item->m_file.ext.empty()) item->m_file.path += "." + item->m_file.ext;
    }
}
