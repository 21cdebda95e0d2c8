// Convert QTX To LAS: the selected curves of a data set (datums of one value per frame)
// as a LAS 2.0 file: the fixed header, one curve line per curve, the "~A" line and one
// data step per frame holding the frame's own depth and each curve's value, "%11.4f"
// each (a value whose four decimals would read back as another float in the shortest
// text that reads back as itself, a depth with the decimals it needs) with a blank before
// every value, so that no two fields ever run together. STRT and STOP are the first and
// last frames' depths and STEP their step, 0 when the frames are not evenly spaced, as
// LAS readers take them. More curves than a line of 256 characters holds are written
// wrapped (WRAP YES): the depth alone on a line, then the values on lines of at most 80.
// A curve of several values per frame gives its first, named at the end. Other selected
// datums have no place in a LAS file and are left out. A run that fails or writes no
// data line leaves no file.
#include "toolbox/LasDoc.h"
#include "toolbox/ToolsWnd.h"

#include "dataset/DepthRule.h"
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
// LAS 2.0 lines: at most 256 characters unwrapped, 80 wrapped (the line feed counted).
// A step line is the depth and a blank and a field of 11 per curve: more than this many
// curves are wrapped.
constexpr size_t kUnwrappedCurves = 20;
constexpr size_t kWrappedLine = 79;
// Frames within this part of a step of their places on the grid of the first and last
// are evenly spaced.
constexpr double kStepShare = 0.01;

// A curve of one trace; one of several values per frame (a fast channel's samples, an
// array) gives its first, the value at the frame's depth, and the end says so.
bool IsLasCurve(const CQtxDatum& d)
{
    return d.m_category == kCategoryTrace && !toolbox::IsTwoAxis(d) && d.m_traceCount <= 1
           && toolbox::ItemValueCount(d) >= 1;
}

constexpr size_t kNamedCurves = 8; // a longer list is cut, with a count

// "DT (3), CAL1 (3)": the curves whose first value of several stands for the frame.
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
        names += Format("%s%s (%llu)", named ? ", " : "", c->m_mnemonic.c_str(), static_cast<unsigned long long>(n));
        ++named;
    }
    if (more) names += Format(" and %zu more", more);
    return names;
}

void TellFirstValues(const std::vector<const CQtxDatum*>& curves, const std::string& lasPath)
{
    const std::string first = FirstValueCurves(curves);
    if (first.empty()) return;
    MessageBox("Wrote the first value of each frame of the curves holding several (fast channels, arrays) to file :\n" +
                   lasPath + "\n" + first + ".",
               MB_OK | MB_ICONINFORMATION);
}

// Four characters, blank-padded; what would end a LAS mnemonic early or is no text
// becomes "_", and so does a blank inside it (LAS mnemonics hold none: "D T" would be
// read as "D").
std::string LasName(const std::string& mnemonic)
{
    std::string name = mnemonic.substr(0, 4);
    name.resize(4, ' ');
    // Blanks before and after the name stand as readers skip them.
    const size_t begin = std::min(name.find_first_not_of(' '), name.size());
    const size_t end = name.find_last_not_of(' ') + 1; // 0 for a blank name
    for (size_t k = begin; k < end; ++k) {
        const char c = name[k];
        if (c < '!' || c > '~' || c == '.' || c == ':') name[k] = '_';
    }
    return name;
}

// A curve value with the digits that give back the same float.
void AppendValue(std::string& line, float value)
{
    if (std::isfinite(value)) CLasDoc::AppendValue(line, value);
    else CLasDoc::AppendField(line, kLasNull);
}

// The depths of the header's STRT, STOP and STEP: the first and last frames' own, and the
// step between them when every frame lies on it (the data set's step where it is that
// one), else 0. Each depth is read once more before the output exists; false after a
// read failed or a depth is no number (told).
bool ReadDepthRange(ToolInput& in, double headerStep, CLasDoc& doc)
{
    // A file cut short is written up to its last whole frame: the header says where that is.
    const int32_t frames = std::min(in.frameCount, in.framesHeld);
    const auto depthAt = [&](int32_t k, double* depth) {
        if (!toolbox::ReadFrameDepth(in.file, k, depth)) return false;
        // The depth is the line's key: the NULL value in its place would be a false depth.
        if (std::isfinite(*depth)) return true;
        MessageBox(DepthRefusal(in.path, CDepthRule::NoDepth(k + 1, *depth)), MB_OK | MB_ICONSTOP);
        return false;
    };
    doc.m_depthStep = headerStep;
    if (frames < 1) return true; // no frame: no line, no file
    double first = 0.0, last = 0.0;
    if (!depthAt(0, &first) || !depthAt(frames - 1, &last)) return false;
    doc.m_topDepth = first;
    doc.m_bottomDepth = last;
    const double step = frames > 1 ? (last - first) / double(frames - 1) : headerStep;
    bool even = step != 0.0;
    for (int32_t k = 1; k + 1 < frames; ++k) {
        double depth = 0.0;
        if (!depthAt(k, &depth)) return false;
        even = even && std::fabs(depth - (first + double(k) * step)) <= kStepShare * std::fabs(step);
    }
    const bool same = std::fabs(step - headerStep) <= CLasDoc::kDepthResolution;
    if (frames > 1) doc.m_depthStep = !even ? 0.0 : same ? headerStep : step;
    return true;
}

// One frame's step: the depth and the values on one line, or wrapped: the depth alone,
// then the values on lines of at most kWrappedLine characters.
void WriteStep(CLasDoc& doc, std::string& line, double depth, const std::vector<float>& values, bool wrapped)
{
    line.clear();
    CLasDoc::AppendDepth(line, depth);
    if (wrapped) {
        doc.WriteLine(line);
        line.clear();
    }
    std::string field;
    for (float value : values) {
        field.assign(1, ' ');
        AppendValue(field, value);
        if (wrapped && !line.empty() && line.size() + field.size() > kWrappedLine) {
            doc.WriteLine(line);
            line.clear();
        }
        line += field;
    }
    if (!line.empty() || !wrapped) doc.WriteLine(line);
}

} // namespace

int ConvertQtxToLas(CToolsWnd& e)
{
    ToolInput& in = e.Task().primary;
    if (!e.Inputs().TakeSelection()) return -1;
    if (!e.Inputs().OpenSingleInput() || !e.Inputs().RefuseTooManyDatums() || !e.Inputs().RefuseNothingToConvert())
        return -1;
    std::vector<const CQtxDatum*> curves;
    for (size_t k = 0; k < in.list.size(); ++k)
        if (in.IsSelected(k) && IsLasCurve(*in.list[k])) curves.push_back(in.list[k].get());
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

    CLasDoc doc;
    if (!ReadDepthRange(in, step, doc)) {
        e.Inputs().CloseInputs();
        return -1;
    }
    if (!doc.OpenOutput(e.Settings().outputPath)) {
        e.Inputs().CloseInputs();
        return -1;
    }
    const bool wrapped = curves.size() > kUnwrappedCurves;
    // Data sets are in feet unless they say metres.
    doc.WriteLas20Header(in.depthUnits == qtx::kUnitsMetres ? 0 : 1, wrapped);
    std::string line = "~A DEPT     ";
    for (const CQtxDatum* c : curves) {
        const std::string name = LasName(c->m_mnemonic);
        // The curve's unit where the data set names one ("US/F" for a slowness).
        std::string unit(CLasDoc::UnitMnemonic(c->m_axis1.m_unit));
        unit.resize(24, ' ');
        doc.WriteLine(" " + name + "." + unit + ":");
        line += "    " + name + "   ";
    }
    // The names after "~A" are a comment to readers: a wrapped file's lines stay short.
    doc.WriteLine(wrapped ? "~A" : line);

    // Each frame's values are a few bytes apart: read them from a window, not one by one.
    in.file.EnableReadAhead();
    // The frame loop steps a block of frames at a time: its progress and stop question
    // cost more than a line.
    const int32_t frames = in.frameCount;
    e.Task().endIndex = (frames - 1) / kFramesPerStep + 1;
    int written = 0;
    std::vector<float> values(curves.size());
    const auto block = [&](double) {
        const int32_t first = e.Task().singleFrameIndex;
        for (int32_t frame = first; frame < frames && frame - first < kFramesPerStep; ++frame) {
            double depth = 0.0;
            if (!toolbox::HoldsFrame(in, frame) || !toolbox::ReadFrameDepth(in.file, frame, &depth)) return 0;
            for (size_t k = 0; k < curves.size(); ++k)
                if (!OkOrShow(in.file.ReadFrameItem(frame, curves[k]->m_offset, 1, 1, &values[k], 1))) return 0;
            WriteStep(doc, line, depth, values, wrapped);
            ++written;
        }
        return 1;
    };
    const int result = e.Output().RunFrames("Convert QTX to LAS : ", 0, kFramesPerStep, in.top, 0.0, block);
    // A run without a line of values, or one that failed, leaves no output; one whose
    // input ended early keeps the lines of its whole frames.
    const bool stopped = e.Output().InputStopped() != nullptr;
    const bool keep = (result == 1 || stopped) && written > 0;
    const int closed = doc.CloseOutput(keep);
    if (stopped && closed) e.Output().TellInputStopped(keep ? uint64_t(written) : 0);
    if (keep && closed && !stopped) TellFirstValues(curves, e.Settings().outputPath);
    if (keep && closed) return result;
    return closed ? result : -1;
}
