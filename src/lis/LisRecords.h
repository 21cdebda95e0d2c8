// What the LIS parameter scan learns about a logical file, carried to the LIS-to-QTX
// conversion: one record per channel of the data format, and one per output item
// (a waveform of several receivers, a slowness curve or a plain curve) with the
// channels its values are read from.
#pragma once

#include "lis/LisLayout.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CLisChannelItem {
public:
    std::string m_mnemonic;  // blanks trimmed, or a per-receiver name
    std::string m_units;     // blanks trimmed
    uint32_t m_offset = 0;   // bytes from the start of a data frame
    uint16_t m_size = 0;     // bytes per frame (of one sample's share for multi-sample channels)
    uint16_t m_spare = 0;
    uint8_t m_reprCode = 0;  // LIS representation code
    uint32_t m_used = 0;     // 1 once a pick item, the depth or a dialog took it
    uint32_t m_spare2 = 0;
    uint32_t m_index = 0;    // key in a pick dialog's list, or the channel it was cut from
    // Samples per frame (the DFSR's count; above 1 a fast channel, whose last sample
    // stands at the frame's depth and the others evenly spaced back toward the frame
    // before). m_size stays one sample's share unless the channel is taken whole
    // (m_allSamples: a curve item of every sample).
    uint8_t m_frameSamples = 1;
    bool m_allSamples = false;
    bool m_pastFrameEnd = false; // reaches past the frame's end: nothing of it can be read
    // Its size does not split into whole samples of its code: left out, m_size the
    // channel's whole size.
    bool m_unevenSamples = false;

    int BytesPerSample() const { return lis::RepresentationSize(m_reprCode); }
    // False for a mask or a code the format does not define: nothing can be read of it.
    bool HasValueLayout() const { return lis::IsNumberCode(m_reprCode) || lis::Is(m_reprCode, lis::ReprCode::Text); }
    int SampleCount() const { return m_size / BytesPerSample(); }
    bool IsFast() const { return m_frameSamples > 1; }
};

using CLisChannelList = std::vector<std::unique_ptr<CLisChannelItem>>;

class CWaveformPickItem {
public:
    std::string m_toolName;      // "Apx", "Xmac", ... or a curve's channel mnemonic
    std::string m_displayName;   // waveform name, " - ", item label
    std::string m_mnemonic;      // QTX datum mnemonic; "UNKN" while unknown
    std::string m_itemLabel;     // "APXMONO", ...; "UNKNOWN" while unknown
    uint8_t m_typeCode = 0;      // QTX item type code; 0 unknown
    std::string m_waveformName;  // LIS name of the waveform datum(s)
    uint16_t m_receiverCount = 0;
    int32_t m_fixedDelay = 0;    // samples put in front of every trace
    int32_t m_foreRunner = 0;    // samples zeroed at the start of each trace
    int32_t m_afterRunner = 0;   // samples zeroed at the end of each trace
    float m_dataOffset = 0;      // A/D offset subtracted from every sample
    uint16_t m_samplesPerWaveform = 0;
    float m_samplePeriod = 0;    // microseconds; a fast channel's depth step between values
    // Axis index of the first sample (its axis value is index x period): a fast
    // channel's samples lie before the frame's depth, the last one at it.
    int16_t m_firstIndex = 0;
    uint32_t m_flag = 1;
    uint32_t m_selected = 0;     // 1: convert this item
    uint16_t m_traceCount = 0;
    uint8_t m_category = 0;      // 1 waveform, 3 slowness, 6 curve
    uint16_t m_startDelayFrames = 0;
    float m_startDelay = 0;
    uint32_t m_lastGoodFrame = 0;
    uint16_t m_badFrames = 0;
    float m_firstBadDepth = 0;
    float m_lastBadDepth = 0;
    CLisChannelList m_waveChannels;      // one per receiver, in receiver order (owned copies)
    CLisChannelList m_startTimeChannels; // start-time datums per receiver
    CLisChannelList m_gainChannels;      // gain per receiver
    uint32_t m_spare = 0;
    uint32_t m_key = 0;          // key in a pick dialog's wave list

    // The wave channel of receiver `receiver` (from 0); nullptr past the channels
    // found. A tool may count more receivers than its file holds channels for: those
    // receivers have no values (the conversion writes them as absent values).
    const CLisChannelItem* WaveChannel(size_t receiver) const
    {
        return receiver < m_waveChannels.size() ? m_waveChannels[receiver].get() : nullptr;
    }

    // The QTX datum this item becomes: category 1-6 as it is, anything else 0; a
    // trace of samples per waveform plus the fixed delay.
    uint8_t DescriptorCategory() const { return m_category >= 1 && m_category <= 6 ? m_category : 0; }
    int TraceSamples() const { return int(m_samplesPerWaveform) + m_fixedDelay; }
    uint64_t DatumSize() const { return uint64_t(std::max(TraceSamples(), 0)) * m_receiverCount * 4; }
};

using CWaveformPickList = std::vector<std::unique_ptr<CWaveformPickItem>>;
