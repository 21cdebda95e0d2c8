// The frame size a data set's records are cut by: EB 3's unless the bytes rule it out.
#include "lis/steps/FrameRules.h"
#include "lis/steps/Steps.h"

#include "lis/LisLayout.h"
#include "platform/Format.h"

#include <algorithm>
#include <cmath>

using lis::ReprCode;

namespace lis::frames {

uint32_t DepthSize(uint8_t code)
{
    const bool depth =
        lis::Is(code, ReprCode::Float) || lis::Is(code, ReprCode::Int32) || lis::Is(code, ReprCode::Int16);
    return depth ? uint32_t(lis::RepresentationSize(code)) : 0;
}

double ReadDepth(const uint8_t* p, const uint8_t* end, uint8_t code)
{
    double depth = 0.0;
    lis::DecodeNumber(code, p, end, depth);
    return depth;
}

namespace {

// Whether padding holds no channel data: every byte zero, or one 4-byte word over and
// over (an absent value written as filler), which takes two words at least: a single
// word is a value like any channel's.
bool Filler(const uint8_t* p, uint32_t size)
{
    if (std::all_of(p, p + size, [](uint8_t b) { return b == 0; })) return true;
    if (size < 8 || size % 4 != 0) return false;
    for (uint32_t i = 4; i < size; ++i)
        if (p[i] != p[i % 4]) return false;
    return true;
}

// Notes of each depth-once frame of a layout whether the bytes behind its channels hold
// channel data: neither filler nor the padding of the frame before (the last of the
// record before for a record's first), which a writer copies on unchanged.
void NotePadding(LayoutTrial& trial, const uint8_t* first, uint32_t frames, uint32_t channels)
{
    const uint32_t size = trial.size - channels;
    for (uint32_t k = 0; k < frames; ++k) {
        const uint8_t* pad = first + uint64_t(k) * trial.size + channels;
        const bool same = trial.lastPad.size() == size && std::equal(pad, pad + size, trial.lastPad.begin());
        trial.padData += !same && !Filler(pad, size);
        trial.lastPad.assign(pad, pad + size);
    }
}

// One layout tried on one record. Depth-once frames carry no depth: a record gives its
// depth and how many whole frames it holds. Frames with depths of their own give every
// depth. Bytes a frame holds behind the channels (`channels` bytes) are padding: it is
// noted whether any holds channel data, and (per frame) whether it holds a depth between
// its frame's and the next's, a frame of its own.
void TryLayout(LayoutTrial& trial, bool once, uint8_t depthCode, double factor, uint32_t channels,
               const uint8_t* body, uint32_t bytes)
{
    if (!trial.fits) return;
    const uint32_t depthSize = DepthSize(depthCode);
    const uint32_t frameBytes = once ? bytes - std::min(bytes, depthSize) : bytes;
    const uint32_t frames = frameBytes / trial.size;
    trial.frames += frames;
    trial.whole = trial.whole && frameBytes % trial.size == 0;
    if (once) {
        if (frames == 0) return;
        if (channels < trial.size) NotePadding(trial, body + std::min(bytes, depthSize), frames, channels);
        trial.depths.push_back(ReadDepth(body, body + bytes, depthCode) * factor);
        trial.counts.push_back(frames);
        return;
    }
    trial.fits = trial.size >= depthSize;
    const bool padDepth = channels < trial.size && trial.size - channels >= depthSize;
    for (uint32_t k = 0; k < frames && trial.fits; ++k) {
        const uint8_t* frame = body + uint64_t(k) * trial.size;
        const double depth = ReadDepth(frame, body + bytes, depthCode) * factor;
        trial.fits = std::isfinite(depth);
        if (padDepth && !trial.depths.empty()) {
            const double before = trial.depths.back(), pad = trial.padDepth;
            trial.padBetween += (pad - before) * (depth - pad) > 0.0;
        }
        if (padDepth) trial.padDepth = ReadDepth(frame + channels, body + bytes, depthCode) * factor;
        trial.depths.push_back(depth);
    }
    if (!trial.fits) trial.depths = std::vector<double>();
}

// Whether frames of a layout keep a step at all: a garbled reading's depths do not.
bool KeepsAStep(const LayoutTrial& trial, uint8_t code, double factor)
{
    const double precision = StepPrecisionOf(trial.depths, code, factor);
    const double step = MeasuredStep(trial.depths, trial.counts, precision, code);
    return step > 0.0 && !FitStep(trial.depths, trial.counts, step, precision, !lis::IsRealCode(code), true).Disproves();
}

} // namespace

LayoutTrials LayoutsToTry(const CLisLogicalFile& f)
{
    LayoutTrials trials;
    const uint32_t declared = f.m_declaredFrameSize, channels = f.m_channelBytes;
    if (declared == 0 || channels == 0 || declared == channels) return trials;
    trials.declared.size = declared;
    trials.channels.size = channels;
    return trials;
}

void TryLayouts(LayoutTrials& trials, const CLisLogicalFile& f, const uint8_t* body, uint32_t bytes)
{
    const bool once = f.m_depthMode == kDepthPerRecord;
    if (trials.declared.size > 0)
        TryLayout(trials.declared, once, f.m_depthCode, f.m_depthFactor, trials.channels.size, body, bytes);
    if (trials.channels.size > 0)
        TryLayout(trials.channels, once, f.m_depthCode, f.m_depthFactor, trials.channels.size, body, bytes);
}

uint32_t SettleFrameLayout(const LayoutTrials& trials, const CLisLogicalFile& f, std::string* why)
{
    std::string ignored;
    std::string& ruled = why ? *why : ignored;
    ruled.clear();
    const bool once = f.m_depthMode == kDepthPerRecord;
    const LayoutTrial &declared = trials.declared, &channels = trials.channels;
    const uint8_t code = f.m_depthCode;
    const double factor = f.m_depthFactor;
    // Depth-once frames carry no depth: records of whole frames are all that bears a size out.
    const auto read = [&](const LayoutTrial& t) { return t.size > 0 && t.frames > 0 && t.fits && (!once || t.whole); };
    if (!read(declared) && !read(channels)) return 0;
    // Frames whose depths turn back and forth are no frames: a reading cut across the
    // channels. Of two readings that run one way, one whose depths keep no step where the
    // other's do is none either.
    const auto runs = [&](const LayoutTrial& t) { return read(t) && (once || RunsOneWay(t.depths)); };
    const bool channelsRun = runs(channels);
    const bool stepless = !once && runs(declared) && channelsRun && !KeepsAStep(declared, code, factor)
                          && KeepsAStep(channels, code, factor);
    ruled = !read(declared) ? "its frames cannot be read"
            : !declared.whole && channels.whole && channelsRun ? "the data records do not hold whole frames of it"
            : !runs(declared) && (channelsRun || !declared.whole) ? "its frames' depths turn back and forth"
            : stepless                                        ? "its frames' depths keep no step"
                                                              : "";
    // Its padding holds frames: the next frame's depth between two of its frames' depths,
    // or (once a record) channel data where padding would be filler. Not where the
    // channels' own reading does not run one way (then the padding is a counter, a time or
    // a depth of the writer's), nor, once a record, where a usable EB 8 steps its frames
    // from record to record with no gap after enough of them (frames missing at random
    // leave one after most) and misplaces fewer of them than the channels' frames.
    const double spacing = std::fabs(f.m_frameSpacing);
    const auto byEntry8 = [&](const LayoutTrial& t) {
        return FitStep(t.depths, t.counts, spacing, StepPrecisionOf(t.depths, code, factor), !lis::IsRealCode(code));
    };
    // Where EB 8 misplaces records of the channels' frames that it lays EB 3's out without,
    // taking the channels' frames overrules EB 8 as well: the two headers stand together
    // unless the channels' frames at the step their own depths give are read strictly
    // better (ReadingOrder: frames lost, then records off their place, then gaps).
    const auto anchorsOf = [&](const LayoutTrial& t) {
        StepAnchors a;
        a.anchors.depths = t.depths, a.anchors.counts = t.counts;
        a.precision = StepPrecisionOf(t.depths, code, factor);
        a.integer = !lis::IsRealCode(code);
        return a;
    };
    const auto channelsNoBetter = [&] {
        const StepAnchors d = anchorsOf(declared), c = anchorsOf(channels);
        const double measured = MeasuredStep(c.anchors.depths, c.anchors.counts, c.precision, code);
        if (!(measured > 0.0)) return true;
        const Reading atEntry8 = ReadingAt(d, spacing), own = ReadingAt(c, measured);
        if (atEntry8.Off() > 0 || Spliced(atEntry8)) return false;
        return !(ReadingOrder(own) < ReadingOrder(atEntry8));
    };
    const auto entry8StepsDeclared = [&] {
        if (!(spacing > 0.0) || !read(channels)) return false;
        const StepFit ofDeclared = byEntry8(declared), ofChannels = byEntry8(channels);
        if (!(ofDeclared.Misplaced() < ofChannels.Misplaced())) return false;
        return (!ofDeclared.Disproves() && ofDeclared.EnoughGapless(true)) || channelsNoBetter();
    };
    // Frames that fill every record whole, where the channels' leave bytes unread, are
    // the records' frames: the depth behind their channels is the writer's own.
    const bool fillsRecords = declared.whole && !channels.whole;
    if (ruled.empty() && !once && channelsRun && Most(declared.padBetween, declared.depths.size()) && !fillsRecords)
        ruled = "the bytes behind its channels hold the next frames' depths";
    // Frames smaller than the channels, where the records hold whole frames of the
    // channels too, leave channel data unread.
    if (ruled.empty() && declared.size < channels.size && read(channels) && channels.whole && channelsRun)
        ruled = "the data records hold whole frames of the channels, which reach past its frames";
    if (ruled.empty() && once && channelsRun && Most(declared.padData, declared.frames) && !entry8StepsDeclared())
        ruled = "the bytes behind its channels hold channel data, not filler";
    if (ruled.empty()) return declared.size;
    return channelsRun ? channels.size : 0;
}

std::string LayoutRefusal(const CLisLogicalFile& f)
{
    if (!f.m_layoutRefused) return std::string();
    const char* why = f.m_depthMode == kDepthPerRecord ? "not every data record holds whole frames of either"
                                                       : "the frames' depths of either do not run one way across "
                                                         "the data records";
    return Format("its data records fit neither the DFSR frame size (entry 3) of %u bytes nor the %u bytes of its "
                  "channels: %s",
                  unsigned(f.m_declaredFrameSize), unsigned(f.m_channelBytes), why);
}

} // namespace lis::frames
