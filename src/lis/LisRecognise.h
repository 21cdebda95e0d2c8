// Tool recognition: which channels of a LIS logical file form the receivers of which
// waveform, and with what sampling. One recogniser per acoustic tool turns the tool's
// dictionary entries into CWaveformPickItem records appended to the logical file; the
// scan turns the channels no recogniser took into curve items. The look-ups below
// are shared by every recogniser (the ones with pick dialogs included).
#pragma once

#include "lis/LisDictionary.h"
#include "lis/LisScanModel.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CWavePickDlg;

// The recogniser of a tool code (lis::kTool...; the low byte counts, except for
// lis::kToolQtxWritten); nullptr for unknown codes. Every tool of the Select Tool to
// Convert dialog has one.
LisRecogniser RecogniserFor(int toolCode);

// The recognisers. Each returns 1 when the tool's dictionary entries were processed
// (even when no item came of them), 0 when the dictionary holds none or memory ran out;
// it always leaves scan.m_toolEntries empty.
int RecogniseIsonic(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseDslt(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseSlt(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseQslt(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseScout(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseWaveSonic(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseQtxWritten(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
// These ask the user: DSI for what a file lacks (Waveform Properties), LSS for every
// waveform's sample period (LSS Wave Sample Period; Cancel drops the waveform).
int RecogniseDsi(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseBat(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseLss(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
// The tools whose waveforms the user may also pick by hand: APX (APX Tool Waveform,
// Pick APX Waveforms), MAC and XMAC (Waveform Properties, MAC/XMAC Waveform Pick; then
// a search of the frames for a stable start delay, which the user may stop: 0), DAL
// (DAL Tool Waveform; start delays from the frames) and FWS (FWS Wave Sample Period,
// FWS Wave Pick).
int RecogniseApx(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseMacXmac(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseDal(CLisScanState& scan, CLisLogicalFile& file, int toolCode);
int RecogniseFws(CLisScanState& scan, CLisLogicalFile& file, int toolCode);

namespace lis::recognise {

// Dictionary tool names.
constexpr const char* kIsonic = "Isonic";
constexpr const char* kDslt = "Dslt";
constexpr const char* kSlt = "SLT";
constexpr const char* kQslt = "Qslt";
constexpr const char* kScout = "Scout";
constexpr const char* kWaveSonic = "Wavesonic";
constexpr const char* kQtx = "QTX";
constexpr const char* kDsi = "Dsi";
constexpr const char* kBat = "Bat";
constexpr const char* kLss = "LSS";
constexpr const char* kApx = "Apx";
constexpr const char* kXmac = "Xmac"; // both MAC and XMAC files
constexpr const char* kMac = "MAC";
constexpr const char* kDal = "DAL";
constexpr const char* kFws = "Fws";

// String-table entry of the quadrupole waveform mnemonic "WQUD".
constexpr unsigned kIdsWaveQuadrupole = 61323;

// The BAT tool's two sampling rates, in microseconds, and its receivers.
constexpr float kBatHighPeriod = 4.8f;
constexpr float kBatLowPeriod = 9.6f;
constexpr uint16_t kBatReceivers = 7;

// String-table entry of the monopole waveform mnemonic "WMNO".
constexpr unsigned kIdsWaveMonopole = 61248;
// The tool name under which the item-type table lists the semblance projections.
constexpr const char* kSemblanceTable = "Semblance Proj";

// The long-waveform tools take a first channel only above this many bytes per frame.
constexpr uint32_t kMinLongWaveBytes = 128;

// The item-type table credits the datums of some codes, read back from a LIS file,
// to no tool; their labels are looked up under this empty tool name.
constexpr const char* kNoTool = "";

// Which first channels an entry takes: any free one, or only one above
// kMinLongWaveBytes (the tools whose waveforms are long).
enum class FirstChannel { AnySize, LongWave };

// Fills scan.m_toolEntries with the dictionary's entries of `toolName`; false when
// there is none (after a message that names the tool) or no dictionary.
bool FindTool(CLisScanState& scan, const std::string& toolName);

// First channel of the scan's channel list named `mnemonic` whose used flag is 0;
// nullptr when none (an empty name names no channel).
CLisChannelItem* FindChannel(CLisScanState& scan, const std::string& mnemonic);

// First entry of scan.m_toolEntries whose first wave mnemonic is `mnemonic` (not empty).
const CLisDictionaryEntry* FindToolEntry(const CLisScanState& scan, const std::string& mnemonic);

// First row named `name` of the file's "CONS" tables, in table order; nullptr when
// none (an empty name names no row).
const CLisTableRow* FindConsParameter(const CLisLogicalFile& file, const std::string& name);

// First row named `name` of the file's "QTX" tables and of its "CONS" tables whose
// first row is "QTX", in table order; nullptr when none.
CLisTableRow* FindQtxParameter(CLisLogicalFile& file, const std::string& name);

// First row of a "DIM" table whose CHAN is `channel` and whose used flag is 0.
CLisDimRow* FindDimRow(CLisTable& table, const std::string& channel);

// A waveform of a "DIM" table: `row`, when it is a free "NDIM" 2 row (receivers), and
// the next free row of its channel (samples and period). Marks both used and returns
// the second; nullptr when `row` is no such row or its channel has no second one
// (`row` is taken all the same).
CLisDimRow* TakeDimWaveform(CLisTable& dim, CLisDimRow& row);

// Leading decimal number of a parameter's VALU; 0 without one (or without a row).
double ParamFloat(const CLisTableRow* row);
long ParamInt(const CLisTableRow* row);

// Samples of delay: `delayUs` / `periodUs` truncated toward zero; 0 when the period
// is 0 or less, or the quotient is not a finite number in range.
int32_t DelaySamples(double delayUs, double periodUs);
// A count clamped to the 16-bit members of a pick item.
uint16_t ClampU16(long value);

// A copy of a scan channel for a pick item's lists (the scan keeps the original).
std::unique_ptr<CLisChannelItem> CopyChannel(const CLisChannelItem& channel);
// A slice of `channel`: `size` bytes from `offset` bytes past its start, named
// `mnemonic`, with its units (when `withUnits`), code and index, used 1. nullptr when
// the slice would reach past the channel.
std::unique_ptr<CLisChannelItem> SliceChannel(const CLisChannelItem& channel, const std::string& mnemonic,
                                              uint64_t offset, uint64_t size, bool withUnits = true);

// Name of receiver `receiver` (from 1): `stem` and one digit, 1-9 then A-Z as the LIS
// writer names receiver channels; the decimal number beyond 35.
std::string ReceiverName(const std::string& stem, unsigned receiver);

// The first table of the file named `name`; nullptr when none.
CLisTable* FindTable(CLisLogicalFile& file, const std::string& name);
// A "DIM" row's SIZE as a count (0 without a number, clamped to 16 bits) and its INCR
// as a sample period (0 without a number, and for one that is not above 0 or not finite:
// a period of 0 is one the file does not give).
uint16_t DimCount(const std::string& text);
float DimPeriod(const std::string& text);
// A waveform of a DIM table: receivers from its "NDIM" 2 `row`, samples and period from
// the channel's `sampling` row, and a wave channel per receiver from the numbered
// channels stem1 (`first`), stem2, ... of the scan; a receiver without its channel gets
// none. Every channel taken is marked used.
void TakeDimWaveform(CLisScanState& scan, CWaveformPickItem& item, const CLisDimRow& row, const CLisDimRow& sampling,
                     const std::string& stem, CLisChannelItem& first);

// The stem of per-receiver names: the first three characters of a mnemonic (all of a
// shorter one).
std::string ReceiverStem(const std::string& mnemonic);
// `stem` and the receiver number from 1 ("APX1", ..., "APX12").
std::string NumberedName(const std::string& stem, unsigned receiver);

// One element per receiver of a gain or start-time channel: element r of `channel`
// named NumberedName(stem, r + 1), with its units and code, into `out`. Receivers past
// the channel's elements get none.
void SliceElements(CLisChannelList& out, const CLisChannelItem& channel, const std::string& stem, unsigned receivers);
// `receivers` traces of `samples` each, one after another in `channel`, named
// NumberedName(stem, r + 1), into `out`; traces that would reach past the channel get
// no slice.
void SliceTraces(CLisChannelList& out, const CLisChannelItem& channel, const std::string& stem, unsigned receivers,
                 unsigned samples, bool withUnits);

// Removes `item` from the file's items (deleting it and the channel copies it holds;
// the scan's channels stay as they are).
void DropItem(CLisLogicalFile& file, const CWaveformPickItem* item);

// Empties scan.m_toolEntries when it goes out of scope, however the recogniser returns.
class ToolEntriesEmptied {
public:
    explicit ToolEntriesEmptied(CLisScanState& scan) : m_scan(scan) {}
    ~ToolEntriesEmptied() { m_scan.m_toolEntries.clear(); }
    ToolEntriesEmptied(const ToolEntriesEmptied&) = delete;
    ToolEntriesEmptied& operator=(const ToolEntriesEmptied&) = delete;

private:
    CLisScanState& m_scan;
};

// What a recogniser makes of one dictionary entry whose first wave channel `first`
// it has taken (marked used); it appends its items to the logical file itself.
using EntryRecogniser = std::function<void(const CLisDictionaryEntry& entry, CLisChannelItem& first)>;

// The loop of every dictionary tool's recogniser: fills scan.m_toolEntries with the
// entries of `toolName` (none: returns 0), and for each entry in order whose first
// wave mnemonic names a free channel of the right size, marks that channel used and
// runs `each`. Empties the entry list and returns 1.
int ForEachToolEntry(CLisScanState& scan, const std::string& toolName, FirstChannel size,
                     const EntryRecogniser& each);

// Completes the waveform item of one entry (made by NewWaveformItem, with the
// recogniser's tool name); false drops it.
using ItemFiller = std::function<bool(const CLisDictionaryEntry& entry, CLisChannelItem& first, CWaveformPickItem& item)>;

// ForEachToolEntry making one waveform item per entry and appending it to the
// logical file unless `fill` drops it.
int RecogniseEntries(CLisScanState& scan, CLisLogicalFile& file, const std::string& toolName, FirstChannel size,
                     const ItemFiller& fill);

// The item type of `label` within `tool`: that of `first` when the label is exactly
// `first`, that of `other` for any other label (the tools with two items of which
// one is named and the other is whatever remains).
uint8_t ItemTypeOfLabelOr(const char* tool, const std::string& label, const char* first, const char* other);

// Item type and QTX mnemonic of a semblance projection by its label: the five
// semblance labels ("SEMBMONO" 31 "SMNO", ...); any other label gives 0 and "UNKN".
struct SemblanceKind {
    uint8_t type = 0;
    std::string mnemonic;
};
SemblanceKind SemblanceOf(const std::string& label);

// A semblance projection: one trace, the whole of `channel`, typed by its label.
void MakeSemblanceItem(CWaveformPickItem& item, const std::string& label, const CLisChannelItem& channel);

// A waveform item with the common fields of an entry: mnemonic "WMNO", item label,
// waveform name, display name "<waveName> - <itemLabel>", category 1.
std::unique_ptr<CWaveformPickItem> NewWaveformItem(const std::string& toolName, const CLisDictionaryEntry& entry);

// Appends a copy of `first` to the item's wave channels, then every free channel named
// by wave mnemonics 1 to count - 1 of the entry (each marked used). Returns the number
// of wave channels appended.
uint16_t GatherWaveChannels(CLisScanState& scan, CWaveformPickItem& item, const CLisDictionaryEntry& entry,
                            const CLisChannelItem& first);

// Appends a copy of every free channel named by names[from] to names[to - 1] (each
// marked used) to `out`. Returns the number appended.
uint16_t TakeNamedChannels(CLisScanState& scan, const CLisDictionaryEntry::List& names, size_t from, size_t to,
                           CLisChannelList& out);

// Runs a pick dialog on the scan's channels and, after OK, appends the waveforms
// picked to the file. Returns how many.
size_t TakePicks(CWavePickDlg& dialog, CLisScanState& scan, CLisLogicalFile& file);

// One channel holding `receivers` traces one after another: a slice per receiver,
// named by `stem` and the receiver number, into `item`; samples and receiver count set.
void SlicePackedReceivers(CWaveformPickItem& item, const CLisChannelItem& channel, const std::string& stem,
                          unsigned receivers);

} // namespace lis::recognise

