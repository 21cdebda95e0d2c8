// Convert QTX To LAS: the selected curves of a data set (datums of one value per frame)
// as a LAS 2.0 file: the fixed header, one curve line per curve, the "~A" line and one
// data line per frame holding the frame's own depth and each curve's value, "%11.4f"
// each (a value whose four decimals would read back as another float in the shortest
// text that reads back as itself) with a blank before every value, so that no two
// fields ever run together. A curve of several values per frame gives its first, named
// at the end. Other selected datums have no place in a LAS file and are left out. A run that fails or
// writes no data line leaves no file.
#include "toolbox/LasDoc.h"
#include "toolbox/ToolsWnd.h"

#include "dataset/DepthRule.h"
#include "dataset/QtxLayout.h"
#include "platform/Endian.h"
#include "platform/Format.h"
#include "platform/Host.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double kLasNull = qtx::kAbsentValue; // the header's NULL
constexpr int32_t kFramesPerStep = 64;

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
// becomes "_".
std::string LasName(const std::string& mnemonic)
{
    std::string name = mnemonic.substr(0, 4);
    name.resize(4, ' ');
    for (char& c : name)
        if (c != ' ' && (c < '!' || c > '~' || c == '.' || c == ':')) c = '_';
    return name;
}

// What is no number is written as the NULL value: LAS readers take numbers only.
void AppendField(std::string& line, double value) { CLasDoc::AppendField(line, std::isfinite(value) ? value : kLasNull); }
// A curve value with the digits that give back the same float.
void AppendValue(std::string& line, float value)
{
    if (std::isfinite(value)) CLasDoc::AppendValue(line, value);
    else CLasDoc::AppendField(line, kLasNull);
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
    if (!doc.OpenOutput(e.Settings().outputPath)) {
        e.Inputs().CloseInputs();
        return -1;
    }
    doc.m_topDepth = in.top;
    doc.m_bottomDepth = in.bottom;
    doc.m_depthStep = step;
    // Data sets are in feet unless they say metres.
    doc.WriteLas20Header(in.depthUnits == qtx::kUnitsMetres ? 0 : 1);
    std::string line = "~A DEPT     ";
    for (const CQtxDatum* c : curves) {
        const std::string name = LasName(c->m_mnemonic);
        doc.WriteLine(" " + name + ".                        :");
        line += "    " + name + "   ";
    }
    doc.WriteLine(line);

    // Each frame's values are a few bytes apart: read them from a window, not one by one.
    in.file.EnableReadAhead();
    // The frame loop steps a block of frames at a time: its progress and stop question
    // cost more than a line.
    const int32_t frames = in.frameCount;
    e.Task().endIndex = (frames - 1) / kFramesPerStep + 1;
    int written = 0;
    const auto block = [&](double) {
        const int32_t first = e.Task().singleFrameIndex;
        for (int32_t frame = first; frame < frames && frame - first < kFramesPerStep; ++frame) {
            double depth = 0.0;
            if (!toolbox::ReadFrameDepth(in.file, frame, &depth)) return 0;
            // The depth is the line's key: the NULL value in its place would be a false depth.
            if (!std::isfinite(depth)) {
                MessageBox(DepthRefusal(in.path, CDepthRule::NoDepth(frame + 1, depth)), MB_OK | MB_ICONSTOP);
                return 0;
            }
            line.clear();
            AppendField(line, depth);
            for (const CQtxDatum* c : curves) {
                float value = 0.0f;
                if (!OkOrShow(in.file.ReadFrameItem(frame, c->m_offset, 1, 1, &value, 1))) return 0;
                line += ' ';
                AppendValue(line, value);
            }
            doc.WriteLine(line);
            ++written;
        }
        return 1;
    };
    const int result = e.Output().RunFrames("Convert QTX to LAS : ", 0, kFramesPerStep, in.top, 0.0, block);
    // A run without a line of values, or one that failed, leaves no output.
    const bool keep = result == 1 && written > 0;
    const int closed = doc.CloseOutput(keep);
    if (keep && closed) TellFirstValues(curves, e.Settings().outputPath);
    if (keep && closed) return 1;
    return closed ? result : -1;
}
