// Convert QTX To LAS: the selected curves of a data set (datums of one value per frame)
// as a LAS 2.0 file: the fixed header, one curve line per curve, the "~A" line and one
// line per frame (WRAP NO, whatever the number of curves) holding the frame's own depth
// and each curve's value. Every data line has the same columns, so that a reader that
// cuts each line where the fields of the first one end reads every value whole: a first
// pass over the frames finds each column's widest text, and every field is
// right-aligned in its column, at least 11 wide ("%11.4f" while the values fit it) and
// each value's column one blank wider than its widest text. A value is written in four
// decimals where they read back as the same float, otherwise in the shortest text that
// does; a depth with the decimals it needs (up to nine). What is no number or infinite
// is written as the NULL value and counted at the end. STRT and STOP are the first and
// last frames' depths and STEP their step, 0 when the frames are not evenly spaced, as
// LAS readers take them; a run the user stops keeps its lines, STOP then the last one's
// depth. Every selected curve datum has its column: one of several values per frame
// gives the one at the frame's depth (a fast channel's last sample; the first in older
// data sets), one of several traces or rows its first value, and the end names them.
// Other selected datums have no place in a LAS file and are left out, named at the end;
// a selection of no curve is refused before anything is written. A run that fails or
// writes no data line leaves no file; one stopped before its first line says so.
#include "toolbox/LasDoc.h"
#include "toolbox/ToolsWnd.h"

#include "dataset/DepthRule.h"
#include "dataset/FastDatum.h"
#include "dataset/QtxLayout.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double kLasNull = qtx::kAbsentValue; // the header's NULL
constexpr int32_t kFramesPerStep = 64;
// Frames up to this size are read in blocks of whole frames, one read a block; larger
// ones (waveforms beside the curves) value by value, which reads less.
constexpr size_t kBlockFrameBytes = size_t(64) << 10;
constexpr size_t kBlockBytes = size_t(256) << 10;
// Frames within this part of a step of their places on the grid of the first and last
// are evenly spaced.
constexpr double kStepShare = 0.01;

// Every curve datum is a column; one of several values per frame (a fast channel's
// samples, traces, an array) gives one, and the end says so.
bool IsLasCurve(const CQtxDatum& d) { return d.m_category == kCategoryTrace; }

// A curve whose descriptor gives it no value in a frame: its column holds the NULL value.
bool HoldsNoValue(const CQtxDatum& d) { return toolbox::ItemValueCount(d) == 0 || d.m_size < sizeof(float); }


constexpr size_t kNamedCurves = 8; // a longer list is cut, with a count

// A name as messages show it: its first four characters without the blanks after them.
std::string Shown(const std::string& name)
{
    const std::string four = name.substr(0, 4);
    return four.substr(0, four.find_last_not_of(' ') + 1);
}

// "DT (3), CAL1 (3)": the curves of several values a frame, one of which stands for it.
std::string FirstValueCurves(const std::vector<const CQtxDatum*>& curves)
{
    std::string names;
    size_t named = 0, more = 0;
    for (const CQtxDatum* c : curves) {
        const uint64_t n = toolbox::ItemValueCount(*c);
        if (n < 2) continue;
        if (named == kNamedCurves) {
            ++more;
            continue;
        }
        names += Format("%s%s (%llu)", named ? ", " : "", Shown(c->m_mnemonic).c_str(), static_cast<unsigned long long>(n));
        ++named;
    }
    if (more) names += Format(" and %zu more", more);
    return names;
}

// Four characters, blank-padded; what would end a LAS mnemonic early or is no text
// becomes "_", and so does a blank inside it (LAS mnemonics hold none: "D T" would be
// read as "D"), and a "#" or "~" first, which would make the line a comment or a section.
std::string LasName(const std::string& mnemonic)
{
    std::string name = mnemonic.substr(0, 4);
    name.resize(4, ' ');
    // Blanks before and after the name stand as readers skip them.
    const size_t begin = std::min(name.find_first_not_of(' '), name.size());
    const size_t end = name.find_last_not_of(' ') + 1; // 0 for a blank name
    for (size_t k = begin; k < end; ++k) {
        const char c = name[k];
        if (c < '!' || c > '~' || c == '.' || c == ':' || (k == begin && (c == '#' || c == '~'))) name[k] = '_';
    }
    return name;
}

// "D.T as D_T, #GR as _GR": the curves whose names were mended, cut short with a count.
std::string MendedNames(const std::vector<const CQtxDatum*>& curves)
{
    std::string names;
    size_t named = 0, more = 0;
    for (const CQtxDatum* c : curves) {
        std::string four = c->m_mnemonic.substr(0, 4);
        four.resize(4, ' ');
        const std::string las = LasName(c->m_mnemonic);
        if (las == four) continue;
        if (named == kNamedCurves) {
            ++more;
            continue;
        }
        names += (named++ ? ", " : "") + Shown(c->m_mnemonic) + " as " + Shown(las);
    }
    if (more) names += Format(" and %zu more", more);
    return names;
}

// "Left out 2 selected datum(s) that are no curve: WAVE, AZIM.": the datums a LAS file
// has no column for, cut short with a count.
std::string LeftOutLine(const std::vector<const CQtxDatum*>& leftOut)
{
    std::string names;
    for (size_t k = 0; k < leftOut.size() && k < kNamedCurves; ++k)
        names += (k ? ", " : "") + Shown(leftOut[k]->m_mnemonic);
    if (leftOut.size() > kNamedCurves) names += Format(" and %zu more", leftOut.size() - kNamedCurves);
    return Format("Left out %zu selected datum(s) that are no curve: %s.", leftOut.size(), names.c_str());
}

// The end message: the curves of several values per frame, the names mended, the
// datums left out and the values that were no number or infinite.
void TellEnd(const std::vector<const CQtxDatum*>& curves, const std::vector<const CQtxDatum*>& leftOut,
             uint64_t nulls, const std::string& lasPath)
{
    const std::string first = FirstValueCurves(curves), mended = MendedNames(curves);
    if (first.empty() && mended.empty() && leftOut.empty() && nulls == 0) return;
    std::string text = first.empty() ? "Wrote file :\n" + lasPath
                                     : "Wrote one value a frame of the curves holding several (a fast channel's at the "
                                       "frame's depth, else the first) to file :\n" + lasPath + "\n" + first + ".";
    if (!mended.empty()) text += "\nRenamed the curves whose names LAS readers would not read as they stand: " + mended + ".";
    // Appended: GCC 12 warns falsely (-Wrestrict) on "\n" + a temporary string.
    if (!leftOut.empty()) text.append("\n").append(LeftOutLine(leftOut));
    if (nulls)
        text += Format("\n%llu value(s) that are no number or infinite were written as the NULL value %.4f.",
                       static_cast<unsigned long long>(nulls), kLasNull);
    MessageBox(text, MB_OK | MB_ICONINFORMATION);
}

// A Stop before the first line: nothing was written, and the name keeps what it held.
void TellStoppedUnwritten(const std::string& lasPath)
{
    MessageBox("Stopped before the first line was written to file :\n" + lasPath + "\nNothing was written: " +
                   (FileExists(lasPath) ? "the existing file is unchanged." : "no file was made."),
               MB_OK | MB_ICONINFORMATION);
}

// Values from 1 to 99999 are written in at most ten characters whichever text they
// take: four decimals ("99999.9999"), or the shortest text, at most nine digits and a
// point. Most values of a log are such; the first pass writes none of them.
bool FitsTenCharacters(float value) { return value >= 1.0f && value < 1e5f; }

// Each frame's depth and its curves' values, frame after frame. Frames are read in
// blocks of whole frames; frames larger than kBlockFrameBytes value by value.
class FrameReader {
public:
    FrameReader(CQtxFile& file, int32_t frames, const std::vector<const CQtxDatum*>& curves)
        : m_file(file), m_frames(frames), m_frameSize(file.GetFrameSize())
    {
        // The reader of the descriptors keeps every datum inside its frame.
        for (const CQtxDatum* c : curves)
            m_offsets.push_back(HoldsNoValue(*c) ? kNoValue : c->m_offset + sizeof(float) * qtx::ValueAtFrameDepth(*c));
        // A frame too short for its depth is left to the value reads, which refuse it.
        if (m_frameSize >= qtx::kDepthSize && m_frameSize <= kBlockFrameBytes) m_block.resize(kBlockBytes);
    }
    // Frame `frame`'s depth and values (as many as curves): 1, or 0 after the read's message.
    int Read(int32_t frame, double* depth, float* values)
    {
        if (m_block.empty()) {
            if (!toolbox::ReadFrameDepth(m_file, frame, depth)) return 0;
            for (size_t k = 0; k < m_offsets.size(); ++k) {
                values[k] = NAN;
                if (m_offsets[k] != kNoValue && !OkOrShow(m_file.ReadFrameItem(frame, int64_t(m_offsets[k]), 1, 1, &values[k], 1)))
                    return 0;
            }
            return 1;
        }
        if (frame < m_first || frame - m_first >= m_held) {
            m_first = frame;
            m_held = m_file.ReadFrameBytes(frame, m_frames - frame, m_block.data(), m_block.size());
            if (m_held == 0) {
                (void)OkOrShow(m_file.ReportFrameReadFailure());
                return 0;
            }
        }
        const uint8_t* bytes = m_block.data() + size_t(frame - m_first) * m_frameSize;
        *depth = endian::GetLEDouble(bytes);
        for (size_t k = 0; k < m_offsets.size(); ++k)
            values[k] = m_offsets[k] == kNoValue ? NAN : endian::GetLEFloat(bytes + m_offsets[k]);
        return 1;
    }

private:
    static constexpr uint64_t kNoValue = UINT64_MAX; // the offset of a curve without a value
    CQtxFile& m_file;
    int32_t m_frames;
    uint32_t m_frameSize;
    std::vector<uint64_t> m_offsets; // of each curve's value in a frame
    std::vector<uint8_t> m_block;    // frames m_first .. m_first + m_held - 1; empty: value by value
    int32_t m_first = 0;
    int32_t m_held = 0;
};

// The two passes over the frames: the first measures every column and checks the
// depths, the second writes the lines.
class LasExport {
public:
    LasExport(ToolInput& in, const std::vector<const CQtxDatum*>& curves)
        : m_in(in), m_curves(curves), m_reader(in.file, in.frameCount, curves), m_values(curves.size()),
          m_widths(curves.size() + 1, CLasDoc::kFieldWidth)
    {
    }

    // The depths of the header's STRT and STOP, the first and last frames' own; STEP
    // the data set's until the first pass finds the frames off it. false after a read
    // failed or a depth is no number (told).
    bool ReadEnds(double headerStep)
    {
        m_doc.m_depthStep = headerStep;
        m_headerStep = headerStep;
        // A file cut short is written up to its last whole frame: the header says where that is.
        const int32_t frames = std::min(m_in.frameCount, m_in.framesHeld);
        if (frames < 1) return true; // no frame: no line, no file
        if (!DepthAt(0, &m_doc.m_topDepth) || !DepthAt(frames - 1, &m_doc.m_bottomDepth)) return false;
        m_gridStep = frames > 1 ? (m_doc.m_bottomDepth - m_doc.m_topDepth) / double(frames - 1) : headerStep;
        m_even = m_gridStep != 0.0;
        return true;
    }

    // First pass, one frame: its depth on the grid or not, and each field's width.
    int Measure(int32_t frame)
    {
        // A frame the file does not hold whole ends the second pass, where it is told.
        if (frame >= m_in.framesHeld) return 1;
        double depth = 0.0;
        if (!m_reader.Read(frame, &depth, m_values.data())) return 0;
        if (!std::isfinite(depth)) return Refuse(frame, depth);
        m_even = m_even && std::fabs(depth - (m_doc.m_topDepth + double(frame) * m_gridStep))
                               <= kStepShare * std::fabs(m_gridStep);
        m_text.clear();
        CLasDoc::AppendDepth(m_text, depth, 0);
        m_widths[0] = std::max(m_widths[0], m_text.size());
        for (size_t k = 0; k < m_values.size(); ++k) {
            if (FitsTenCharacters(m_values[k]) && m_widths[k + 1] >= CLasDoc::kFieldWidth) continue;
            m_text.clear();
            AppendLasValue(m_text, m_values[k], 0);
            // A blank before every value: no field runs into the one before it.
            m_widths[k + 1] = std::max(m_widths[k + 1], m_text.size() + 1);
        }
        return 1;
    }

    // Before the first pass: the file, with all its checks (nothing under its name until
    // the close commits it).
    int Open(const std::string& path) { return m_doc.OpenOutput(path); }

    // After the first pass: the header and everything before the data lines.
    int Begin()
    {
        const bool same = std::fabs(m_gridStep - m_headerStep) <= CLasDoc::kDepthResolution;
        if (m_in.frameCount > 1) m_doc.m_depthStep = !m_even ? 0.0 : same ? m_headerStep : m_gridStep;
        // STOP takes the depth column's width: a stopped run writes its last line's depth there.
        m_doc.m_stopWidth = m_widths[0];
        // Data sets are in feet unless they say metres.
        m_doc.WriteLas20Header(m_in.depthUnits == qtx::kUnitsMetres ? 0 : 1);
        std::string line = "~A DEPT     ";
        for (const CQtxDatum* c : m_curves) {
            const std::string name = LasName(c->m_mnemonic);
            // The curve's unit where the data set names one ("US/F" for a slowness).
            std::string unit(CLasDoc::UnitMnemonic(c->m_axis1.m_unit));
            unit.resize(24, ' ');
            m_doc.WriteLine(" " + name + "." + unit + ":");
            line += "    " + name + "   ";
        }
        m_doc.WriteLine(line);
        return 1;
    }

    // Second pass, one frame: its line.
    int Write(int32_t frame)
    {
        double depth = 0.0;
        if (!toolbox::HoldsFrame(m_in, frame) || !m_reader.Read(frame, &depth, m_values.data())) return 0;
        m_text.clear();
        CLasDoc::AppendDepth(m_text, depth, m_widths[0]);
        for (size_t k = 0; k < m_values.size(); ++k) {
            AppendLasValue(m_text, m_values[k], m_widths[k + 1]);
            m_nulls += !std::isfinite(m_values[k]);
        }
        // The columns hold what the first pass read: a data set changed since then is
        // not written from.
        if (m_lines == 0) m_lineLength = m_text.size();
        if (m_text.size() != m_lineLength) {
            MessageBox(Format("Error reading frame data in file :\n%s\nFrame %d changed while it was exported.",
                              m_in.path.c_str(), frame + 1),
                       MB_OK | MB_ICONSTOP);
            return 0;
        }
        m_doc.WriteLine(m_text);
        ++m_lines;
        m_lastDepth = depth;
        return 1;
    }

    // A run the user stopped keeps its lines: STOP then names the depth of the last one.
    void EndAtLastLine()
    {
        if (m_lines > 0 && m_lastDepth != m_doc.m_bottomDepth) (void)m_doc.RewriteStop(m_lastDepth);
    }

    int Close(bool keep) { return m_doc.CloseOutput(keep); }
    uint64_t Lines() const { return m_lines; }
    uint64_t Nulls() const { return m_nulls; }

private:
    // A value with the digits that give back the same float; what is no number the NULL.
    static void AppendLasValue(std::string& line, float value, size_t width)
    {
        if (std::isfinite(value)) return CLasDoc::AppendValue(line, value, width);
        CLasDoc::AppendField(line, kLasNull, width);
    }
    bool DepthAt(int32_t frame, double* depth)
    {
        if (!toolbox::ReadFrameDepth(m_in.file, frame, depth)) return false;
        return std::isfinite(*depth) || Refuse(frame, *depth);
    }
    // The depth is the line's key: the NULL value in its place would be a false depth.
    int Refuse(int32_t frame, double depth)
    {
        MessageBox(DepthRefusal(m_in.path, CDepthRule::NoDepth(frame + 1, depth)), MB_OK | MB_ICONSTOP);
        return 0;
    }

    ToolInput& m_in;
    const std::vector<const CQtxDatum*>& m_curves;
    FrameReader m_reader;
    CLasDoc m_doc;
    std::vector<float> m_values;
    std::vector<size_t> m_widths; // the depth's column, then each curve's
    std::string m_text;
    double m_headerStep = 0.0;
    double m_gridStep = 0.0;
    bool m_even = false;
    double m_lastDepth = 0.0;
    size_t m_lineLength = 0;
    uint64_t m_lines = 0;
    uint64_t m_nulls = 0;
};

// The selected datums split into the curves and those left out. A selection of no curve
// is refused: a file of depths alone would pass for its export, so none is written and
// an older file under the name stays. false after the refusal (the input closed).
bool TakeCurves(CToolsWnd& e, std::vector<const CQtxDatum*>& curves, std::vector<const CQtxDatum*>& leftOut)
{
    const ToolInput& in = e.Task().primary;
    for (size_t k = 0; k < in.list.size(); ++k)
        if (in.IsSelected(k)) (IsLasCurve(*in.list[k]) ? curves : leftOut).push_back(in.list[k].get());
    if (!curves.empty()) return true;
    // Appended piece by piece, as in TellEnd.
    std::string text = "Found no curve among the selected items of file :\n" + in.path;
    if (!leftOut.empty()) text.append("\n").append(LeftOutLine(leftOut));
    text += "\nOperation will be abandoned.";
    e.Inputs().CloseInputs();
    MessageBox(text, MB_OK | MB_ICONSTOP);
    return false;
}

} // namespace

int ConvertQtxToLas(CToolsWnd& e)
{
    ToolInput& in = e.Task().primary;
    if (!e.Inputs().TakeSelection()) return -1;
    if (!e.Inputs().OpenSingleInput() || !OkOrShow(e.Inputs().DatumListsFit()) || !OkOrShow(e.Inputs().HasFramesToConvert()))
        return -1;
    std::vector<const CQtxDatum*> curves, leftOut;
    if (!TakeCurves(e, curves, leftOut)) return -1;
    // LAS readers take numbers only: a header depth that is none is refused, not written.
    const double step = e.Inputs().InputDepthStep();
    if (!std::isfinite(in.top) || !std::isfinite(in.bottom) || !std::isfinite(step)) {
        e.Inputs().CloseInputs();
        MessageBox(DepthRefusal(in.path, Format("The header's depths run from %.4f to %.4f in steps of %.4f.", in.top,
                                                in.bottom, step)),
                   MB_OK | MB_ICONSTOP);
        return -1;
    }
    if (!e.Output().ConfirmOutput()) return -1;

    LasExport las(in, curves);
    // The output before the first pass: one that cannot be written is refused before the
    // data set is read.
    if (!las.Open(e.Settings().outputPath) || !las.ReadEnds(step)) {
        e.Inputs().CloseInputs();
        (void)las.Close(false);
        return -1;
    }
    // The frame loop steps a block of frames at a time, through both passes: its
    // progress and stop question cost more than a line.
    const int32_t frames = in.frameCount;
    const int32_t blocks = frames > 0 ? (frames - 1) / kFramesPerStep + 1 : 0;
    e.Task().firstIndex = 0;
    e.Task().endIndex = 2 * blocks;
    int32_t call = 0;
    const auto block = [&](double) {
        const bool measuring = call < blocks;
        const int32_t first = (measuring ? call : call - blocks) * kFramesPerStep;
        ++call;
        if (!measuring && first == 0 && !las.Begin()) return 0;
        const int32_t end = first + std::min(kFramesPerStep, frames - first);
        for (int32_t frame = first; frame < end; ++frame)
            if (!(measuring ? las.Measure(frame) : las.Write(frame))) return 0;
        return 1;
    };
    const int result = e.Output().RunFrames("Convert QTX to LAS : ", 0, kFramesPerStep, in.top, 0.0, block);
    // A run without a line of values, or one that failed, leaves no output; one whose
    // input ended early keeps the lines of its whole frames.
    const bool stopped = e.Output().InputStopped() != nullptr;
    const bool keep = (result == 1 || stopped) && las.Lines() > 0;
    if (keep && e.Task().stopped) las.EndAtLastLine();
    const int closed = las.Close(keep);
    if (stopped && closed) e.Output().TellInputStopped(keep ? las.Lines() : 0);
    if (keep && closed && !stopped) TellEnd(curves, leftOut, las.Nulls(), e.Settings().outputPath);
    if (keep && closed) return result;
    // A Stop before the first line wrote no file: told, and no result says it was written.
    if (closed && result == 1 && e.Task().stopped) {
        TellStoppedUnwritten(e.Settings().outputPath);
        return -1;
    }
    return closed ? result : -1;
}
