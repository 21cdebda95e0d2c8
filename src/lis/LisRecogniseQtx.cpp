#include "dataset/ItemTypes.h"
#include "lis/LisDictionary.h"
#include "lis/LisRecognise.h"

#include <algorithm>
#include <cstdint>
#include <limits>

using namespace lis::recognise;

namespace {

// Receiver channels carry one base-36 digit, so no datum has more of them.
constexpr unsigned kMaxReceiverChannels = 35;

// A used row is renamed, so that the next look-up of its name finds the next datum's row.
void MarkTaken(CLisTableRow* row) { row->m_mnem += "X"; }

} // namespace

int RecogniseQtxWritten(CLisScanState& scan, CLisLogicalFile& file, int /*toolCode*/)
{
    if (!FindTool(scan, kQtx)) return 0;
    // Index loop: the list is not changed here, but its channels are.
    for (size_t c = 0; c < scan.m_channelList.size(); ++c) {
        CLisChannelItem* channel = scan.m_channelList[c];
        if (!channel) continue;
        const CLisDictionaryEntry* entry = FindToolEntry(scan, channel->m_mnemonic);
        if (!entry) continue;

        // The writer names the receiver channels of a datum stem + 1, 2, ...
        const bool perReceiver = channel->m_mnemonic.size() >= 4 && channel->m_mnemonic[3] == '1';
        const std::string& key = perReceiver ? entry->m_waveName : entry->m_waveMnemonics[0];
        // Only a datum the table describes is one: a curve that merely shares a
        // dictionary name (SMNO is also a common curve) stays the curve it is.
        CLisTableRow* named = FindQtxParameter(file, key);
        if (!named) continue;

        auto item = std::make_unique<CWaveformPickItem>();
        channel->m_used = 1;
        item->m_mnemonic = named->m_mnem;
        item->m_waveformName = named->m_mnem;
        item->m_typeCode = uint8_t(ParamInt(named) & 0xFF);
        item->m_itemLabel = named->m_desc;
        MarkTaken(named);
        if (CLisTableRow* row = FindQtxParameter(file, entry->m_receiversParam)) {
            item->m_receiverCount = ClampU16(ParamInt(row));
            MarkTaken(row);
        }
        if (CLisTableRow* row = FindQtxParameter(file, entry->m_samplesParam)) {
            item->m_samplesPerWaveform = ClampU16(ParamInt(row));
            MarkTaken(row);
        }
        if (CLisTableRow* row = FindQtxParameter(file, entry->m_periodParam)) {
            item->m_samplePeriod = float(ParamFloat(row));
            MarkTaken(row);
        }
        if (CLisTableRow* row = FindQtxParameter(file, entry->m_delayParam)) {
            item->m_fixedDelay = int32_t(std::clamp<long>(ParamInt(row), std::numeric_limits<int32_t>::min(),
                                                          std::numeric_limits<int32_t>::max()));
            MarkTaken(row);
        }

        const ItemType& type = ItemTypeOf(item->m_typeCode);
        item->m_toolName = type.toolName;
        item->m_category = RecognisedCategory(type.family);
        if (IsProcessed(type.family)) item->m_receiverCount = 1;
        // No datum written here has more receivers than receiver channels can be named;
        // a table that claims more is refused rather than sliced into that many channels.
        if (item->m_receiverCount > kMaxReceiverChannels) continue;
        item->m_displayName = item->m_mnemonic + " - " + item->m_itemLabel;
        item->m_traceCount = item->m_receiverCount;
        const unsigned b = unsigned(channel->BytesPerSample());

        if (perReceiver) {
            item->m_waveChannels.push_back(CopyChannel(*channel));
            const std::string stem = channel->m_mnemonic.substr(0, 3);
            for (unsigned i = 1; i < item->m_receiverCount; ++i) {
                CLisChannelItem* sibling = FindChannel(scan, ReceiverName(stem, i + 1));
                if (!sibling) continue;
                sibling->m_used = 1;
                item->m_waveChannels.push_back(CopyChannel(*sibling));
            }
        } else {
            // Slices the rows would place past the channel are not made.
            const uint64_t bytes = uint64_t(item->m_samplesPerWaveform) * b;
            for (unsigned r = 0; r < item->m_receiverCount; ++r) {
                auto slice = SliceChannel(*channel, ReceiverName("R", r + 1), uint64_t(r) * bytes, bytes);
                if (!slice) break;
                item->m_waveChannels.push_back(std::move(slice));
            }
        }
        file.m_items.push_back(std::move(item));
    }
    scan.m_toolEntries.clear();
    return 1;
}
