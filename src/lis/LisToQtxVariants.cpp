// The conversion variants: how one receiver's LIS channel becomes one trace of a QTX
// datum. Every variant reads the channel's values first and then places them into the
// trace, so that no delay, start-time shift or runner length from a file can reach
// outside the trace: values that would fall before its start are dropped, those past
// its end are cut.
#include "lis/LisToQtx.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace lis::to_qtx;

namespace {

struct VariantRange {
    uint8_t first, last;
    Variant variant;
};

// Item type codes by tool; every code not listed is read plainly.
constexpr VariantRange kVariants[] = {
    {1, 5, Variant::Factor},          {6, 10, Variant::GainAndStart},   {16, 20, Variant::SignedDelay},
    {21, 21, Variant::Offset},        {22, 25, Variant::Offset},        {31, 35, Variant::DelayOnly},
    {71, 78, Variant::SignedDelay},   {81, 84, Variant::SignedDelay},   {85, 86, Variant::CheckedGain3},
    {105, 106, Variant::Factor},      {107, 110, Variant::Offset},      {111, 112, Variant::GainAndStart},
    {219, 219, Variant::CheckedGain1}, {224, 225, Variant::CheckedGain1}, {226, 227, Variant::Factor},
};

// Gain steps: a gain of g makes the samples 10^(-g x step) of what they were.
constexpr double kThreeStepGain = 3.0 * 0.05;
constexpr double kOneStepGain = 0.05;
constexpr float kFactorGainStep = 0.1f;

// A runner counts only when its 32 bits are above 0 and its low 16 bits are too; it
// blanks no more than the samples there are.
int RunnerLength(int32_t runner, int samples)
{
    const uint32_t bits = uint32_t(runner);
    const int low = int(bits & 0xFFFFu);
    return bits > 0 && low > 0 ? std::min(low, samples) : 0;
}

bool IsDead(float v) { return v == lis::kAbsentValue || v == kDeadMarker; }

// Offset subtracted from the `real` samples read, fore and after runners zeroed
// among all n.
void OffsetAndRunners(float* s, int real, int n, const CWaveformPickItem& wave)
{
    if (wave.m_dataOffset != 0.0f)
        for (int j = 0; j < real; ++j) s[j] -= wave.m_dataOffset;
    std::fill_n(s, RunnerLength(wave.m_foreRunner, n), 0.0f);
    const int after = RunnerLength(wave.m_afterRunner, n);
    std::fill_n(s + (n - after), after, 0.0f);
}

void Scale(float* s, int n, float factor)
{
    for (int j = 0; j < n; ++j) s[j] *= factor;
}

// Sample j goes to trace index `start` + j; what lies before `start` is zero. The
// trace has `length` samples; `n` samples are given.
void Place(float* trace, int length, const float* s, int n, int64_t start)
{
    const int zeros = int(std::clamp<int64_t>(start, 0, length));
    std::fill_n(trace, zeros, 0.0f);
    const int64_t skip = start < 0 ? -start : 0;           // samples before the trace's start
    const int64_t room = length - zeros;
    const int64_t count = std::clamp<int64_t>(n - skip, 0, room);
    std::copy_n(s + skip, count, trace + zeros);
    std::fill_n(trace + zeros + count, room - count, 0.0f);
}

} // namespace

namespace lis::to_qtx {

Variant VariantOf(uint8_t typeCode)
{
    for (const VariantRange& r : kVariants)
        if (typeCode >= r.first && typeCode <= r.last) return r.variant;
    return Variant::Plain;
}

} // namespace lis::to_qtx

int64_t CLisToQtx::ReadValues(const CLisDepthEntry& frame, const CLisChannelItem& channel)
{
    const LisFrameRef ref{frame.m_recordPosition, frame.m_dataLength, frame.m_frameOffset, frame.m_depth};
    const LisChannelSlice slice{channel.m_offset, channel.m_size, channel.m_reprCode};
    if (!m_reader.ReadChannel(m_channel.data(), m_channel.size(), ref, slice)) return -1;
    // Text holds no numbers.
    return lis::Is(channel.m_reprCode, lis::ReprCode::Text) ? 0 : int64_t(slice.ElementCount());
}

bool CLisToQtx::ReadFirstValue(const CLisDepthEntry& frame, const CLisChannelItem& channel, float& value)
{
    if (ReadValues(frame, channel) < 1) return false;
    value = m_channel[0];
    return true;
}

int CLisToQtx::ReadSamples(const CLisDepthEntry& frame, const CLisChannelItem& channel, int n)
{
    const int64_t count = ReadValues(frame, channel);
    if (count < 0) return -1;
    // A channel shorter than the item says has no values for the rest.
    if (count < n) std::fill(m_channel.begin() + count, m_channel.begin() + n, lis::kAbsentValue);
    return int(std::min<int64_t>(count, n));
}

int CLisToQtx::FillAbsent(const CWaveformPickItem& wave)
{
    std::fill_n(m_data.begin(), std::clamp(wave.TraceSamples(), 0, kMaxTraceSamples), lis::kAbsentValue);
    return kBadShot;
}

namespace {

// A value read from the file that is negative (or not a number) marks the shot.
bool Usable(float v) { return std::isfinite(v) && v >= 0.0f; }

} // namespace

int CLisToQtx::ConvertFactor(const CLisDepthEntry& frame, CWaveformPickItem& wave, const CLisChannelItem& channel,
                             const CLisChannelItem* gain, const CLisChannelItem* start)
{
    // A linear multiplier from the start list, else a gain from the gain list; a
    // negative one leaves the samples as read.
    float factor = 1.0f;
    bool asRead = false;
    float v = 0.0f;
    if (!wave.m_startTimeChannels.empty() && start) {
        if (!ReadFirstValue(frame, *start, v)) return FillAbsent(wave);
        if (Usable(v)) factor = v;
        else asRead = true;
    } else if (gain) {
        if (!ReadFirstValue(frame, *gain, v)) return FillAbsent(wave);
        if (Usable(v)) factor = float(1.0 / std::pow(10.0, double(v * kFactorGainStep)));
        else asRead = true;
    }
    const int n = wave.m_samplesPerWaveform;
    float* s = m_channel.data();
    const int real = ReadSamples(frame, channel, n); // samples read, the rest of n absent
    if (real < 0) return FillAbsent(wave);
    if (!asRead) {
        Scale(s, real, factor);
        OffsetAndRunners(s, real, n, wave);
    }
    Place(m_data.data(), wave.TraceSamples(), s, n, wave.m_fixedDelay);
    return kGoodShot;
}

int CLisToQtx::ConvertGainAndStart(const CLisDepthEntry& frame, CWaveformPickItem& wave,
                                   const CLisChannelItem& channel, const CLisChannelItem* gain,
                                   const CLisChannelItem* start)
{
    const int length = wave.TraceSamples();
    float g = 0.0f, startTime = 0.0f;
    if (gain && !ReadFirstValue(frame, *gain, g)) return FillAbsent(wave);
    if (start && !ReadFirstValue(frame, *start, startTime)) return FillAbsent(wave);
    if (!Usable(g) || !Usable(startTime)) return FillAbsent(wave);
    const float factor = float(1.0 / std::pow(10.0, double(g) * kThreeStepGain));
    // Whole samples of start time; a shift past the trace leaves only zeros.
    const double shift = std::min(std::trunc(double(startTime) / double(wave.m_samplePeriod)), double(length));
    const int n = wave.m_samplesPerWaveform;
    float* s = m_channel.data();
    const int real = ReadSamples(frame, channel, n);
    if (real < 0) return FillAbsent(wave);
    // Offset and runners belong to the recorded samples, wherever the start time
    // puts them: measured from the fixed delay they would hit the zeros around them.
    Scale(s, real, factor);
    OffsetAndRunners(s, real, n, wave);
    Place(m_data.data(), length, s, n, int64_t(shift));
    return kGoodShot;
}

int CLisToQtx::ConvertCheckedGain(const CLisDepthEntry& frame, CWaveformPickItem& wave,
                                  const CLisChannelItem& channel, const CLisChannelItem* gain, double step)
{
    float g = 0.0f;
    if (gain && !ReadFirstValue(frame, *gain, g)) return FillAbsent(wave);
    if (!Usable(g)) return FillAbsent(wave);
    const float factor = float(1.0 / std::pow(10.0, double(g) * step));
    const int n = wave.m_samplesPerWaveform;
    float* s = m_channel.data();
    const int real = ReadSamples(frame, channel, n);
    if (real < 0) return FillAbsent(wave);
    // Dead data: every one of the samples behind the first is a dead marker.
    const int checked = std::min(kDeadCheckSamples, n - 1);
    if (checked > 0 && std::all_of(s + 1, s + 1 + checked, IsDead)) return FillAbsent(wave);
    Scale(s, real, factor);
    OffsetAndRunners(s, real, n, wave);
    Place(m_data.data(), wave.TraceSamples(), s, n, wave.m_fixedDelay);
    return kGoodShot;
}

int CLisToQtx::ConvertWaveform(const CLisDepthEntry& frame, CWaveformPickItem& wave, uint16_t receiver)
{
    const int length = wave.TraceSamples();
    if (length < 1 || length > kMaxTraceSamples) return FillAbsent(wave); // refused before a conversion
    const CLisChannelItem* channel = wave.WaveChannel(receiver);
    if (!channel) {
        FillAbsent(wave);
        return kNoChannel;
    }
    const int n = wave.m_samplesPerWaveform;
    const int delay = wave.m_fixedDelay;
    float* trace = m_data.data();
    float* s = m_channel.data();
    const auto gain = wave.m_gainChannels.size() > receiver ? wave.m_gainChannels[receiver].get() : nullptr;
    const auto start = wave.m_startTimeChannels.size() > receiver ? wave.m_startTimeChannels[receiver].get() : nullptr;

    int real = 0; // samples read, the rest of n absent
    switch (VariantOf(wave.m_typeCode)) {
    case Variant::Plain:
        if ((real = ReadSamples(frame, *channel, n)) < 0) return FillAbsent(wave);
        // From the trace's start, whatever the delay; nothing stands behind the samples.
        std::copy_n(s, std::min(n, length), trace);
        std::fill(trace + std::min(n, length), trace + length, lis::kAbsentValue);
        return kGoodShot;

    case Variant::DelayOnly:
        if ((real = ReadSamples(frame, *channel, n)) < 0) return FillAbsent(wave);
        Place(trace, length, s, n, delay);
        return kGoodShot;

    case Variant::Offset:
    case Variant::SignedDelay:
        if ((real = ReadSamples(frame, *channel, n)) < 0) return FillAbsent(wave);
        OffsetAndRunners(s, real, n, wave);
        Place(trace, length, s, n, delay);
        return kGoodShot;

    case Variant::Factor: return ConvertFactor(frame, wave, *channel, gain, start);
    case Variant::GainAndStart: return ConvertGainAndStart(frame, wave, *channel, gain, start);
    case Variant::CheckedGain3: return ConvertCheckedGain(frame, wave, *channel, gain, kThreeStepGain);
    case Variant::CheckedGain1: return ConvertCheckedGain(frame, wave, *channel, gain, kOneStepGain);
    }
    return FillAbsent(wave);
}
