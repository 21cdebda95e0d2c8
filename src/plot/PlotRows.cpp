#include "plot/PlotRows.h"

#include "common/Fft.h"
#include "platform/SafeNumeric.h"
#include "plot/LogPlotItem.h"
#include "plot/PlotModel.h"
#include "plot/PlotPalette.h"

#include <algorithm>
#include <cmath>

namespace {

// A value placed on a curve track of `width` units from x between limits l (at the
// left edge) and r; a reversed track (r < l) measures from its right edge.
int CurveX(float v, float l, float r, int x, int width)
{
    if (l < r) return x + ClampToInt(double(width) * (double(v) - l) / (double(r) - l));
    return x + width - ClampToInt(double(width) * (double(v) - r) / (double(l) - r));
}

bool Absent(float v) { return !(v > kPlotAbsent); } // NaN too

} // namespace

void PlotBand::Reset(const CPlotModel& model, const PlotLayout& layout, int capacity, Color colorLevelZero)
{
    rows = 0;
    windowed = false;
    rowBase = 0;
    drawFrom = 0;
    drawTo = INT32_MAX;
    imageTop = shown = 0;
    depthLines.clear();
    strokes.clear();
    patterns.clear();
    frameRows.clear();
    curves.resize(model.Count());
    for (auto& c : curves) c.clear();
    capacity = std::max(capacity, 0);
    size_t used = 0;
    for (size_t i = 0; i < model.Count(); ++i) {
        const PlotItemView& v = model.View(i);
        if (!v.inUse || v.curve) continue;
        if (rasters.size() <= used) rasters.emplace_back();
        Raster& r = rasters[used++];
        r.item = int(i);
        r.track = v.track;
        r.x = layout.TrackLeft(v.track) + layout.pad;
        const int width = v.track <= layout.tracks ? layout.trackPixels[size_t(v.track)] : 0;
        if (r.image.width != width || r.image.height != capacity) r.image = Image(width, capacity);
        else std::fill(r.image.pixels.begin(), r.image.pixels.end(), 0xFFFFFFFFu);
        const Palette scale = v.item->m_style.palette.Value();
        r.colours = scale != kPaletteNone;
        r.signature = v.item->m_style.waveStyle.Value() == WaveStyle::kSignature;
        const Color zero = v.frequencyImage || v.slownessImage ? kImageLevelZero : colorLevelZero;
        for (int l = 0; l < kScaleLevels; ++l) r.levels[l] = ToArgb(ScaleColour(scale, l, zero));
        // A spectrum has half as many bins as its trace has samples, and one more.
        const int maxIndex = v.domain == kPlotFrequency ? v.padded / 2 : v.padded - 1;
        MapColumns(maxIndex, v.start, v.step, v.span, width, r.columns);
    }
    rasters.resize(used);
}

// ---- row arithmetic ------------------------------------------------------------------------

float LargestOf(const float* v, int first, int last)
{
    // Four running maxima: one would wait on the last comparison at every value.
    float largest[4] = {};
    int k = first;
    for (; k + 3 <= last; k += 4)
        for (int j = 0; j < 4; ++j) largest[j] = std::max(largest[j], v[k + j]);
    for (; k <= last; ++k) largest[0] = std::max(largest[0], v[k]);
    return std::max(std::max(largest[0], largest[1]), std::max(largest[2], largest[3]));
}

float NormalizeRow(float* v, int first, int last, int size, const RowRange& range)
{
    const float max = LargestOf(v, first, last);
    if (max == 0.0f || !std::isfinite(max)) {
        // Nothing above 0 (or no number to scale by): the row is flat.
        std::fill(v + first, v + last + 1, 0.0f);
        return max == 0.0f ? 0.0f : max;
    }
    auto scale = [&](float low, float high) {
        const float width = high - low;
        if (!(width > 0)) {
            std::fill(v + first, v + last + 1, 0.0f);
            return;
        }
        // Values of 0 stay 0 (no data); the others go to 0..1.
        for (int i = first; i <= last; ++i) {
            const float x = v[i];
            const float scaled = std::min(std::max((x - low) / width, 0.0f), 1.0f);
            v[i] = x == 0.0f ? 0.0f : scaled;
        }
    };
    switch (range.mode) {
    case RowRange::Fixed: scale(range.low, range.high); break;
    case RowRange::Auto: {
        // The row's own range, from values whose neighbour is also set; a value
        // followed by a 0 is itself cleared.
        float low = 5000.0f, high = 0.0f;
        for (int i = first; i <= last; ++i) {
            if (v[i] == 0.0f) continue;
            low = std::min(low, v[i]);
            high = std::max(high, v[i]);
            const float neighbour = i + 1 < size ? v[i + 1] : 0.0f;
            if (neighbour == 0.0f) v[i] = 0.0f;
        }
        low = std::max(0.9f * low, range.low);
        high = std::min(1.1f * high, range.high);
        scale(low, high);
        break;
    }
    default:
        for (int i = first; i <= last; ++i) v[i] /= max;
        break;
    }
    return max;
}

void MapColumns(int maxIndex, float start, float step, float span, int n, ColumnMap& map)
{
    n = std::max(n, 0);
    map.i0.resize(size_t(n));
    map.i1.resize(size_t(n));
    map.frac.resize(size_t(n));
    maxIndex = std::max(maxIndex, 0);
    const double increment = span > 0 && std::isfinite(span) ? double(span) / std::max(n, 1) : 0.0;
    for (int k = 0; k < n; ++k) {
        const double index = (double(start) + k * increment) / step;
        const double floor = std::floor(index);
        const int i0 = std::clamp(ClampToInt(floor), 0, maxIndex);
        const float frac = std::isfinite(index) && k > 0 ? std::clamp(float(index - floor), 0.0f, 1.0f) : 0.0f;
        map.i0[size_t(k)] = i0;
        map.i1[size_t(k)] = std::min(i0 + 1, maxIndex);
        map.frac[size_t(k)] = i0 < maxIndex ? frac : 0.0f; // the last sample has no next one
    }
}

void ResampleRow(const float* v, const ColumnMap& map, float* out)
{
    const size_t n = map.i0.size();
    const int* i0 = map.i0.data();
    const int* i1 = map.i1.data();
    const float* frac = map.frac.data();
    for (size_t k = 0; k < n; ++k) {
        const float a = v[i0[k]], b = v[i1[k]];
        // A column on a sample takes it as it is, whatever its neighbour holds.
        out[k] = frac[k] == 0.0f ? a : a + (b - a) * frac[k];
    }
}

void ColourRow(const float* v, const ColumnMap& map, float scale, const uint32_t* levels, uint32_t* pixels)
{
    // ResampleRow, the scale and the colour level in one pass over the columns, with
    // the same arithmetic (a scale of 1 leaves every value as it is).
    const size_t n = map.i0.size();
    const int* i0 = map.i0.data();
    const int* i1 = map.i1.data();
    const float* frac = map.frac.data();
    for (size_t k = 0; k < n; ++k) {
        const float a = v[i0[k]];
        const float step = (v[i1[k]] - a) * frac[k];
        // A column on a sample takes it as it is, whatever its neighbour holds.
        const float value = a + (frac[k] == 0.0f ? 0.0f : step);
        pixels[k] = levels[ColourLevel(value * scale)];
    }
}

void SpectrumRow(float* v, int n)
{
    float* data = g_fftData;
    for (int k = 0; k < n; ++k) {
        data[2 * k + 1] = std::isfinite(v[k]) ? v[k] : 0.0f;
        data[2 * k + 2] = 0.0f;
    }
    CFft fft;
    fft.m_sign = 1;
    fft.m_n = n;
    fft.Transform();
    float largest = 0.0f;
    for (int k = 0; k <= n / 2; ++k) {
        const double re = data[2 * k + 1], im = data[2 * k + 2];
        v[k] = ClampToFloat(std::sqrt(re * re + im * im));
        largest = std::max(largest, v[k]);
    }
    if (largest > 0 && std::isfinite(largest))
        for (int k = 0; k <= n / 2; ++k) v[k] /= largest;
}

// ---- the walk ------------------------------------------------------------------------------

int CPlotRowWalk::StartAt(int64_t row, double origin, const Settings& settings)
{
    const double step = m_model.m_dDepthStep;
    row = std::max<int64_t>(row, 0);
    const double depth = origin + double(row) * settings.depthPerRow;
    const double frame = step > 0 ? std::floor((depth - origin) / step + 1e-9) : 0.0;
    const int64_t k = std::clamp<int64_t>(int64_t(std::clamp(frame, 0.0, 9.0e15)), 0, INT64_MAX / 2);
    const int result = Start(origin + double(k) * step, settings);
    m_anchored = true;
    m_origin = origin;
    m_rowIndex = row;
    m_frameIndex = k;
    m_rowDepth = depth;
    return result;
}

int CPlotRowWalk::Start(double depth, const Settings& settings)
{
    m_anchored = false;
    m_rowIndex = m_frameIndex = 0;
    m_settings = settings;
    m_frameDepth = m_rowDepth = depth;
    m_rowsSinceFrame = 0;
    m_newPage = true;
    m_curveState.assign(m_model.Count(), 0);
    m_row.assign(CPlotModel::kMaxSamples, 0.0f);
    m_columns.assign(size_t(std::max(m_layout.pageWidth, 1)), 0.0f);
    // The first depth number at or after the start.
    const float step = settings.grid.labelStep;
    m_nextLabel = 0.0f;
    if (depth > 0)
        m_nextLabel = std::max(step, ClampToFloat(std::ceil(depth / step - 1e-9) * step));
    if (m_model.ReadFrames(depth) < 0) return -1;
    m_model.ShiftFrames();
    return 1;
}

double CPlotRowWalk::BottomSlack() const
{
    // Frames that add up their steps may land a rounding away from the bottom.
    return std::abs(m_model.m_dDepthStep) * 1e-6;
}

bool CPlotRowWalk::AdvanceFrame()
{
    const double step = m_model.m_dDepthStep, bottom = m_model.m_dBottomDepth;
    // Rows coarser than frames pass several frames at once: the next frame is the
    // first at or below the row, found without walking to it, but not past the
    // log's last frame, which every log draws.
    double frames = 1.0;
    bool held = false;
    if (m_settings.depthPerRow > step) {
        frames = std::max(1.0, std::ceil((m_rowDepth - m_frameDepth) / step - 1e-9));
        const double toLast = std::floor((bottom - m_frameDepth) / step + 1e-6);
        held = toLast >= 1.0 && frames > toLast;
        if (held) frames = toLast;
    }
    if (!m_anchored) {
        m_frameDepth += frames * step;
    } else {
        m_frameIndex += int64_t(std::min(frames, 9.0e15));
        m_frameDepth = m_origin + double(m_frameIndex) * step;
    }
    // A frame a rounding off the bottom is the bottom's, and in its items' range.
    if (std::abs(m_frameDepth - bottom) <= BottomSlack()) m_frameDepth = bottom;
    return held;
}

CPlotRowWalk::End CPlotRowWalk::Walk(PlotBand& band, int rowLimit)
{
    const double bottom = m_model.m_dBottomDepth;
    while (band.rows < rowLimit) {
        bool last = false;
        if (m_rowDepth >= m_frameDepth) {
            // A walk started below the log's end has nothing to draw.
            if (m_frameDepth > bottom + BottomSlack()) return End::Bottom;
            CurvePoints(band);
            band.frameRows.push_back(band.rows);
            m_model.ShiftFrames();
            // The log's last frame is drawn as every other: its row, then the end.
            last = !(m_frameDepth < bottom - BottomSlack());
            if (!last) {
                const bool held = AdvanceFrame();
                if (m_frameDepth > bottom) return End::Bottom;
                if (m_model.ReadFrames(m_frameDepth) < 0) return End::ReadFailed;
                m_rowsSinceFrame = 0;
                // Held at the last frame, which lies above this row: it is reached here.
                if (held) continue;
            }
            m_rowsSinceFrame = 0;
        }
        DepthRow(band);
        WaveRows(band);
        CurveShading(band);
        if (m_anchored) m_rowDepth = m_origin + double(++m_rowIndex) * m_settings.depthPerRow;
        else m_rowDepth += m_settings.depthPerRow;
        ++band.rows;
        ++m_rowsSinceFrame;
        if (last) return End::Bottom;
    }
    return End::Rows;
}

void CPlotRowWalk::InterpolateRow(size_t i)
{
    const PlotItemView& v = m_model.View(i);
    const float* prev = m_model.Prev(i);
    const float* next = m_model.Next(i);
    const float f = float(m_rowsSinceFrame * m_settings.depthPerRow / v.depthStep);
    // Only the window is drawn (and the sample after it, which bounds it); a spectrum
    // takes the whole trace.
    const bool whole = v.curve || v.domain == kPlotFrequency;
    const int from = whole ? 0 : v.first, to = whole ? v.padded : std::min(v.last + 2, v.padded);
    float* row = m_row.data();
    if (v.slownessImage) {
        for (int k = from; k < to; ++k)
            row[k] = prev[k] != 0.0f && next[k] != 0.0f ? prev[k] + (next[k] - prev[k]) * f : 0.0f;
        return;
    }
    for (int k = from; k < to; ++k) row[k] = prev[k] + (next[k] - prev[k]) * f;
}

float CPlotRowWalk::InterpolatePartner(const PlotItemView& v)
{
    const size_t p = size_t(v.partner);
    const float prev = m_model.Prev(p)[0], next = m_model.Next(p)[0];
    const float f = float(m_rowsSinceFrame * m_settings.depthPerRow / m_model.View(p).depthStep);
    return prev + (next - prev) * f;
}

void CPlotRowWalk::CurvePoints(PlotBand& band)
{
    for (size_t i = 0; i < m_model.Count(); ++i) {
        PlotItemView& v = m_model.View(i);
        if (!v.inUse || !v.curve || !m_model.InRange(i)) continue;
        float& value = m_model.Next(i)[0];
        if (Absent(value)) {
            m_curveState[i] = 0; // the line breaks here
            continue;
        }
        if (m_newPage) m_curveState[i] = 0;
        const int xt = m_layout.TrackLeft(v.track);
        const int w = m_layout.trackPixels[size_t(v.track)];
        const float l = v.left, r = v.right;
        int x = xt + w / 2; // limits of no width: a straight line down the middle
        if (l != r) {
            value = std::clamp(value, std::min(l, r), std::max(l, r));
            x = CurveX(value, l, r, xt, w);
        }
        auto& points = band.curves[i];
        if (m_curveState[i] == 0 && (!points.empty() || band.windowed)) points.push_back(PlotBand::kBreak);
        points.push_back({x, band.rows});
        m_curveState[i] = 1;
    }
    m_newPage = false;
}

void CPlotRowWalk::DepthRow(PlotBand& band)
{
    const double dpr = m_settings.depthPerRow;
    const DepthGrid& g = m_settings.grid;
    float d = m_nextLabel;
    // A number passed over (rows coarser than the numbers) is not waited for.
    if (double(d) <= m_rowDepth - dpr)
        d = ClampToFloat(std::ceil((m_rowDepth - dpr) / g.labelStep + 1e-9) * g.labelStep), m_nextLabel = d;
    if (!(m_rowDepth - dpr < d && d <= m_rowDepth + dpr)) return;
    // Depths of any size classify in 64 bits.
    const int64_t depth = int64_t(std::clamp(double(d), -9.0e15, 9.0e15));
    const int kind = depth % g.major == 0 ? 0 : depth % g.medium == 0 ? 1 : depth % g.minor == 0 ? 2 : 3;
    band.depthLines.push_back({band.rows, d, kind});
    m_nextLabel = d + g.labelStep;
}

int CPlotRowWalk::WiggleSpacingFor(int rowsPerInch)
{
    return std::max(kWiggleSpacingRows / 2, ClampToInt(std::round(double(rowsPerInch) / kWigglesPerInch)));
}

float CPlotRowWalk::WiggleGain(const PlotItemView& v, int spacing)
{
    // Time waveforms swing about their row; spectra, slowness and azimuth values lie
    // in 0..1 and rise from it.
    const bool signedValues = v.domain == kPlotTime && !v.frequencyImage && !v.slownessImage;
    return kWiggleLift * float(spacing) * (signedValues ? 0.5f : 1.0f);
}

void CPlotRowWalk::WaveRows(PlotBand& band)
{
    const int spacing = std::max(m_settings.wiggleSpacing, 1);
    for (PlotBand::Raster& raster : band.rasters) {
        const size_t i = size_t(raster.item);
        const PlotItemView& v = m_model.View(i);
        const int n = raster.image.width;
        if (!m_model.InRange(i) || n <= 0 || band.rows >= raster.image.height) continue;
        if (band.rows < std::max(band.drawFrom, 0) || band.rows >= band.drawTo) continue;
        // A wiggle on every row would fill the track: only every spacing-th row has one.
        if (raster.signature && (band.rowBase + band.rows) % spacing != 0) continue;
        InterpolateRow(i);
        float* row = m_row.data();
        // A row scaled by its largest value is scaled after resampling, which gives the
        // same columns for the columns alone.
        float scale = 1.0f;
        auto byLargest = [&] {
            const float max = LargestOf(row, v.first, v.last);
            scale = max > 0 && std::isfinite(max) ? 1.0f / max : 0.0f;
        };
        switch (v.domain) {
        case kPlotTime:
            if (v.frequencyImage)
                NormalizeRow(row, v.first, v.last, v.padded,
                             {RowRange::Fixed, v.item->m_scale.freqMin, v.item->m_scale.freqMax});
            else if (v.slownessImage)
                NormalizeRow(row, v.first, v.last, v.padded,
                             {RowRange::Auto, v.item->m_scale.slowMin, v.item->m_scale.slowMax});
            else byLargest();
            break;
        case kPlotAzimuth: byLargest(); break;
        case kPlotFrequency: SpectrumRow(row, v.padded); break;
        case kPlotSlowness:
            if (v.item->m_scale.normalize) byLargest();
            break;
        default: break;
        }
        Image& image = raster.image;
        if (!raster.signature) {
            if (raster.colours)
                ColourRow(row, raster.columns, scale, raster.levels, image.Row(band.rows));
            continue;
        }
        if (size_t(n) > m_columns.size()) m_columns.resize(size_t(n));
        float* columns = m_columns.data();
        ResampleRow(row, raster.columns, columns);
        const float gain = WiggleGain(v, spacing);
        // The trace as a line, one point per column, y lifted by the value (held to
        // -1..1, so that no wiggle reaches its neighbours; NaN draws on the row).
        int previous = 0;
        for (int k = 0; k < n; ++k) {
            const float value = columns[k] * scale;
            const float held = value > -1.0f ? (value < 1.0f ? value : 1.0f) : (value <= -1.0f ? -1.0f : 0.0f);
            const int y = std::clamp(band.rows - ClampToInt(std::trunc(held * gain)), -1, image.height);
            const int from = k == 0 ? y : std::min(previous, y), to = k == 0 ? y : std::max(previous, y);
            for (int yy = std::max(from, 0); yy <= std::min(to, image.height - 1); ++yy)
                image.Row(yy)[k] = 0xFF000000u;
            previous = y;
        }
    }
}

void CPlotRowWalk::CurveShading(PlotBand& band)
{
    for (size_t i = 0; i < m_model.Count(); ++i) {
        const PlotItemView& v = m_model.View(i);
        if (!v.inUse || !v.curve || !v.shaded || !m_model.InRange(i)) continue;
        if (Absent(m_model.Next(i)[0]) || m_newPage) {
            m_curveState[i] = 0;
            continue;
        }
        InterpolateRow(i);
        float value = m_row[0];
        const float l = v.left, r = v.right;
        if (l == r || std::isnan(value)) continue; // no scale to shade on
        const float lo = std::min(l, r), hi = std::max(l, r);
        value = std::clamp(value, lo, hi);
        const int xt = m_layout.TrackLeft(v.track);
        const int w = m_layout.trackPixels[size_t(v.track)];
        const int x = CurveX(value, l, r, xt, w);
        int end = l < r ? xt : xt + w;
        const CLogPlotItem& it = *v.item;
        if (it.m_shade.minLimit) {
            const float limit = std::clamp(it.m_shade.min, lo, hi);
            if (value < limit) continue;
            end = CurveX(limit, l, r, xt, w);
        } else if (it.m_shade.maxLimit) {
            const float limit = std::clamp(it.m_shade.max, lo, hi);
            if (value > limit) continue;
            end = CurveX(limit, l, r, xt, w);
        } else if (it.m_shade.curveLimit) {
            if (!v.partnerValid || Absent(v.partnerValue)) continue;
            const PlotItemView& p = m_model.View(size_t(v.partner));
            if (p.left == p.right) continue;
            const float partner = InterpolatePartner(v);
            if (std::isnan(partner)) continue;
            end = CurveX(std::clamp(partner, std::min(p.left, p.right), std::max(p.left, p.right)), p.left, p.right,
                         xt, w);
        }
        if (m_curveState[i] != 1) continue;
        band.strokes.push_back({band.rows, end, x, v.shadeColour});
        if (v.shadePattern != -1 && (band.rowBase + band.rows) % 20 == 0)
            band.patterns.push_back({band.rows, std::min(end, x), std::max(end, x), v.shadePattern});
    }
}
