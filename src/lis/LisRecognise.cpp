#include "lis/LisRecognise.h"

#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/WavePickDlg.h"
#include "platform/Format.h"
#include "platform/Host.h"
#include "platform/SafeNumeric.h"
#include "res/StringTable.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace lis::recognise {

bool FindTool(CLisScanState& scan, const std::string& toolName)
{
    scan.m_toolEntries.clear();
    if (!scan.m_dictionary) return false;
    if (scan.m_dictionary->FindTool(scan.m_toolEntries, toolName)) return true;
    // The scan ends here: without a word the user would not know why nothing came of it.
    MessageBox(Format("The tool dictionary holds no entry for the tool %s.\n"
                      "Process > Dictionary imports a dictionary that has one.",
                      toolName.c_str()),
               MB_OK | MB_ICONSTOP);
    return false;
}

CLisChannelItem* FindChannel(CLisScanState& scan, const std::string& mnemonic)
{
    // The blank entry that closes every dictionary section must not take a channel
    // whose name was blank.
    if (mnemonic.empty()) return nullptr;
    for (CLisChannelItem* c : scan.m_channelList)
        if (c && c->m_used == 0 && c->m_mnemonic == mnemonic) return c;
    return nullptr;
}

const CLisDictionaryEntry* FindToolEntry(const CLisScanState& scan, const std::string& mnemonic)
{
    if (mnemonic.empty()) return nullptr; // as in FindChannel
    for (const CLisDictionaryEntry* e : scan.m_toolEntries)
        if (e && e->m_waveMnemonics[0] == mnemonic) return e;
    return nullptr;
}

namespace {

CLisTableRow* FindRow(CLisTable& table, const std::string& name)
{
    for (CLisTableRow& row : table.m_rows)
        if (row.m_mnem == name) return &row;
    return nullptr;
}

} // namespace

const CLisTableRow* FindConsParameter(const CLisLogicalFile& file, const std::string& name)
{
    if (name.empty()) return nullptr;
    for (const auto& table : file.m_tables) {
        if (!table || table->m_name != "CONS") continue;
        if (const CLisTableRow* row = FindRow(*table, name)) return row;
    }
    return nullptr;
}

CLisTableRow* FindQtxParameter(CLisLogicalFile& file, const std::string& name)
{
    if (name.empty()) return nullptr;
    for (auto& table : file.m_tables) {
        if (!table) continue;
        const bool qtx = table->m_name == kQtx
                         || (table->m_name == "CONS" && !table->m_rows.empty() && table->m_rows.front().m_mnem == kQtx);
        if (!qtx) continue;
        if (CLisTableRow* row = FindRow(*table, name)) return row;
    }
    return nullptr;
}

CLisDimRow* FindDimRow(CLisTable& table, const std::string& channel)
{
    for (CLisDimRow& row : table.m_dimRows)
        if (row.m_used == 0 && row.m_chan == channel) return &row;
    return nullptr;
}

CLisDimRow* TakeDimWaveform(CLisTable& dim, CLisDimRow& row)
{
    if (row.m_ndim != "2" || row.m_used) return nullptr;
    row.m_used = 1;
    CLisDimRow* sampling = FindDimRow(dim, row.m_chan);
    if (sampling) sampling->m_used = 1;
    return sampling;
}

double ParamFloat(const CLisTableRow* row) { return row ? ParseDouble(row->m_valu) : 0.0; }

long ParamInt(const CLisTableRow* row) { return row ? ParseLong(row->m_valu) : 0; }

int32_t DelaySamples(double delayUs, double periodUs)
{
    if (!(periodUs > 0.0)) return 0;
    const double q = std::trunc(delayUs / periodUs);
    if (!std::isfinite(q) || q < double(std::numeric_limits<int32_t>::min())
        || q > double(std::numeric_limits<int32_t>::max()))
        return 0;
    return int32_t(q);
}

uint16_t ClampU16(long value) { return uint16_t(std::clamp<long>(value, 0, 0xFFFF)); }

std::unique_ptr<CLisChannelItem> CopyChannel(const CLisChannelItem& channel)
{
    return std::make_unique<CLisChannelItem>(channel);
}

std::unique_ptr<CLisChannelItem> SliceChannel(const CLisChannelItem& channel, const std::string& mnemonic,
                                              uint64_t offset, uint64_t size, bool withUnits)
{
    if (offset > channel.m_size || size > channel.m_size - offset) return nullptr;
    auto slice = std::make_unique<CLisChannelItem>();
    slice->m_mnemonic = mnemonic;
    if (withUnits) slice->m_units = channel.m_units;
    slice->m_offset = uint32_t(channel.m_offset + offset);
    slice->m_size = uint16_t(size);
    slice->m_reprCode = channel.m_reprCode;
    slice->m_used = 1;
    slice->m_index = channel.m_index;
    return slice;
}

std::string ReceiverName(const std::string& stem, unsigned receiver)
{
    if (receiver >= 1 && receiver <= 9) return stem + char('0' + receiver);
    if (receiver >= 10 && receiver <= 35) return stem + char('A' + (receiver - 10));
    return stem + Format("%u", receiver);
}

CLisTable* FindTable(CLisLogicalFile& file, const std::string& name)
{
    for (auto& table : file.m_tables)
        if (table && table->m_name == name) return table.get();
    return nullptr;
}

uint16_t DimCount(const std::string& text) { return ClampU16(ParseLong(text)); }

float DimPeriod(const std::string& text)
{
    const double v = ParseDouble(text);
    return std::isfinite(v) && v > 0.0 ? ClampToFloat(v) : 0.0f;
}

void TakeDimWaveform(CLisScanState& scan, CWaveformPickItem& item, const CLisDimRow& row, const CLisDimRow& sampling,
                     const std::string& stem, CLisChannelItem& first)
{
    first.m_used = 1;
    item.m_receiverCount = DimCount(row.m_size);
    item.m_traceCount = item.m_receiverCount;
    item.m_samplesPerWaveform = DimCount(sampling.m_size);
    item.m_samplePeriod = DimPeriod(sampling.m_incr);
    item.m_waveChannels.push_back(CopyChannel(first));
    for (unsigned r = 2; r <= item.m_receiverCount; ++r) {
        CLisChannelItem* c = FindChannel(scan, NumberedName(stem, r));
        if (!c) continue;
        c->m_used = 1;
        item.m_waveChannels.push_back(CopyChannel(*c));
    }
}

std::string ReceiverStem(const std::string& mnemonic) { return mnemonic.substr(0, 3); }

std::string NumberedName(const std::string& stem, unsigned receiver) { return stem + Format("%u", receiver); }

void SliceElements(CLisChannelList& out, const CLisChannelItem& channel, const std::string& stem, unsigned receivers)
{
    const uint64_t b = uint64_t(channel.BytesPerSample());
    for (unsigned r = 0; r < receivers; ++r) {
        auto slice = SliceChannel(channel, NumberedName(stem, r + 1), uint64_t(r) * b, b);
        if (!slice) break;
        out.push_back(std::move(slice));
    }
}

void SliceTraces(CLisChannelList& out, const CLisChannelItem& channel, const std::string& stem, unsigned receivers,
                 unsigned samples, bool withUnits)
{
    const uint64_t bytes = uint64_t(samples) * uint64_t(channel.BytesPerSample());
    if (bytes == 0) return; // traces without samples read nothing
    for (unsigned r = 0; r < receivers; ++r) {
        auto slice = SliceChannel(channel, NumberedName(stem, r + 1), uint64_t(r) * bytes, bytes, withUnits);
        if (!slice) break;
        out.push_back(std::move(slice));
    }
}

void DropItem(CLisLogicalFile& file, const CWaveformPickItem* item)
{
    auto& items = file.m_items;
    items.erase(std::remove_if(items.begin(), items.end(), [item](const auto& p) { return p.get() == item; }),
                items.end());
}

int ForEachToolEntry(CLisScanState& scan, const std::string& toolName, FirstChannel size,
                     const EntryRecogniser& each)
{
    if (!FindTool(scan, toolName)) return 0;
    // The entries stay the dictionary's; the list is emptied even when `each` throws.
    const ToolEntriesEmptied emptied(scan);
    for (const CLisDictionaryEntry* entry : scan.m_toolEntries) {
        CLisChannelItem* first = FindChannel(scan, entry->m_waveMnemonics[0]);
        if (!first || (size == FirstChannel::LongWave && first->m_size <= kMinLongWaveBytes)) continue;
        first->m_used = 1;
        each(*entry, *first);
    }
    return 1;
}

int RecogniseEntries(CLisScanState& scan, CLisLogicalFile& file, const std::string& toolName, FirstChannel size,
                     const ItemFiller& fill)
{
    return ForEachToolEntry(scan, toolName, size, [&](const CLisDictionaryEntry& entry, CLisChannelItem& first) {
        auto item = NewWaveformItem(toolName, entry);
        if (fill(entry, first, *item)) file.m_items.push_back(std::move(item));
    });
}

uint8_t ItemTypeOfLabelOr(const char* tool, const std::string& label, const char* first, const char* other)
{
    return ItemTypeOfLabel(tool, label == first ? first : other);
}

SemblanceKind SemblanceOf(const std::string& label)
{
    static const struct {
        const char* label;
        unsigned mnemonicId; // string-table entry of the QTX mnemonic
    } kinds[] = {{"SEMBMONO", 61253}, {"SEMBDXX", 61254}, {"SEMBDXY", 61255}, {"SEMBDYX", 61256}, {"SEMBDYY", 61257}};
    for (const auto& k : kinds)
        if (label == k.label) return {ItemTypeOfLabel(kSemblanceTable, k.label), LoadString(k.mnemonicId)};
    return {0, "UNKN"};
}

std::unique_ptr<CWaveformPickItem> NewWaveformItem(const std::string& toolName, const CLisDictionaryEntry& entry)
{
    auto item = std::make_unique<CWaveformPickItem>();
    item->m_toolName = toolName;
    item->m_mnemonic = LoadString(kIdsWaveMonopole);
    item->m_itemLabel = entry.m_itemLabel;
    item->m_waveformName = entry.m_waveName;
    item->m_displayName = entry.m_waveName + " - " + entry.m_itemLabel;
    item->m_category = 1;
    return item;
}

uint16_t GatherWaveChannels(CLisScanState& scan, CWaveformPickItem& item, const CLisDictionaryEntry& entry,
                            const CLisChannelItem& first)
{
    item.m_waveChannels.push_back(CopyChannel(first));
    return uint16_t(1 + TakeNamedChannels(scan, entry.m_waveMnemonics, 1, entry.m_mnemonicCount, item.m_waveChannels));
}

uint16_t TakeNamedChannels(CLisScanState& scan, const CLisDictionaryEntry::List& names, size_t from, size_t to,
                           CLisChannelList& out)
{
    uint16_t found = 0;
    for (size_t i = from; i < to && i < names.size(); ++i) {
        CLisChannelItem* c = FindChannel(scan, names[i]);
        if (!c) continue;
        c->m_used = 1;
        out.push_back(CopyChannel(*c));
        ++found;
    }
    return found;
}

void MakeSemblanceItem(CWaveformPickItem& item, const std::string& label, const CLisChannelItem& channel)
{
    const SemblanceKind kind = SemblanceOf(label);
    item.m_typeCode = kind.type;
    item.m_mnemonic = kind.mnemonic;
    item.m_category = 3;
    item.m_receiverCount = 1;
    item.m_traceCount = 1;
    item.m_samplesPerWaveform = uint16_t(channel.SampleCount());
    item.m_waveChannels.push_back(CopyChannel(channel));
}

size_t TakePicks(CWavePickDlg& dialog, CLisScanState& scan, CLisLogicalFile& file)
{
    dialog.m_channelList = scan.m_channelList;
    dialog.m_dataSetName = file.m_fileName;
    if (dialog.DoModal() != IDOK) return 0;
    const size_t picked = dialog.m_picked.size();
    for (auto& item : dialog.m_picked) file.m_items.push_back(std::move(item));
    return picked;
}

void SlicePackedReceivers(CWaveformPickItem& item, const CLisChannelItem& channel, const std::string& stem,
                          unsigned receivers)
{
    const unsigned b = unsigned(channel.BytesPerSample());
    const unsigned samples = receivers ? channel.m_size / (receivers * b) : 0;
    item.m_samplesPerWaveform = uint16_t(samples);
    for (unsigned r = 1; r <= receivers; ++r) {
        auto slice = SliceChannel(channel, stem + char('0' + r), uint64_t(r - 1) * samples * b, uint64_t(samples) * b,
                                  false);
        if (slice) item.m_waveChannels.push_back(std::move(slice));
    }
    item.m_receiverCount = uint16_t(receivers);
}

} // namespace lis::recognise

namespace {

// No exception leaves a recogniser: running out of memory is its failure result.
template <LisRecogniser Recognise>
int Guarded(CLisScanState& scan, CLisLogicalFile& file, int toolCode)
{
    try {
        return Recognise(scan, file, toolCode);
    } catch (const std::bad_alloc&) {
        scan.m_toolEntries.clear();
        return 0;
    }
}

} // namespace

LisRecogniser RecogniserFor(int toolCode)
{
    if (toolCode == lis::kToolQtxWritten) return &Guarded<RecogniseQtxWritten>;
    switch (toolCode & 0xFF) {
    case lis::kToolIsonic: return &Guarded<RecogniseIsonic>;
    case lis::kToolSlt: return &Guarded<RecogniseSlt>;
    case lis::kToolQslt: return &Guarded<RecogniseQslt>;
    case lis::kToolWaveSonic: return &Guarded<RecogniseWaveSonic>;
    case lis::kToolScout: return &Guarded<RecogniseScout>;
    case lis::kToolDslt: return &Guarded<RecogniseDslt>;
    case lis::kToolDsi: return &Guarded<RecogniseDsi>;
    case lis::kToolBat: return &Guarded<RecogniseBat>;
    case lis::kToolLss: return &Guarded<RecogniseLss>;
    case lis::kToolApx: return &Guarded<RecogniseApx>;
    case lis::kToolXmac:
    case lis::kToolMac: return &Guarded<RecogniseMacXmac>;
    case lis::kToolDal: return &Guarded<RecogniseDal>;
    case lis::kToolFws: return &Guarded<RecogniseFws>;
    default: return nullptr;
    }
}
