#include "support/LisTruthJudge.h"

#include "platform/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace listruth {

namespace {

constexpr double kFoot = 0.3048;
// The README's allowances, in feet or metres.
constexpr double kGrOff = 1e-3, kGrFirst = 50.5;
constexpr double kDepthLeast = 0.002, kDepthShare = 2.5e-7;
constexpr double kStepLeast = 1e-4, kStepShare = 1e-3, kOverRun = 0.01;
constexpr double kFastOff = 1e-4;

// One recorded unit in feet or metres, and which of them; false where unknown.
bool UnitsOf(const std::string& units, double& factor, bool& metres)
{
    struct Unit {
        const char* name;
        double factor;
        bool metres;
    };
    static const Unit kUnits[] = {
        {"FT", 1.0, false}, {".1IN", 1.0 / 120, false}, {"M", 1.0, true}, {".5MM", 0.0005, true}};
    for (const Unit& u : kUnits)
        if (units == u.name) {
            factor = u.factor;
            metres = u.metres;
            return true;
        }
    return false;
}

// The data set in the truth's units: its depths, header step and FA's axis step.
double ToTruth(const QtxImage& out, const Truth& t, double value)
{
    const bool metres = out.header.depthUnits == qtx::kUnitsMetres;
    if (metres == t.metres) return value;
    return metres ? value / kFoot : value * kFoot;
}

int DatumIndex(const QtxImage& out, const char* mnemonic)
{
    for (const QtxDatumDescriptor& d : out.descriptors)
        if (std::string(d.mnemonic, 4) == mnemonic && d.offset >= qtx::kDepthSize)
            return int(d.offset - qtx::kDepthSize) / 4;
    return -1;
}

// Every frame once with its own GR at its true depth; none missing, none foreign.
std::string JudgeFrames(const Truth& t, const QtxImage& out)
{
    const int gr = DatumIndex(out, "GR  ");
    if (gr < 0) return "no datum GR; ";
    const size_t n = t.depths.size();
    std::vector<bool> seen(n, false);
    int foreign = 0, twice = 0, off = 0;
    std::string first;
    const auto note = [&first](const std::string& what) {
        if (first.empty()) first = what;
    };
    for (size_t i = 0; i < out.frames.size(); ++i) {
        const double g = size_t(gr) < out.frames[i].size() ? double(out.frames[i][size_t(gr)]) : NAN;
        const double k = std::round(g - kGrFirst);
        if (!(std::fabs(g - kGrFirst - k) <= kGrOff && k >= 0 && k < double(n))) {
            ++foreign;
            note(Format("frame %zu holds GR %g, naming no frame", i, g));
            continue;
        }
        const size_t index = size_t(k);
        if (seen[index]) {
            ++twice;
            note(Format("frame %zu is #%zu again", i, index));
            continue;
        }
        seen[index] = true;
        const double depth = ToTruth(out, t, out.depths[i]), truth = t.depths[index];
        if (!(std::fabs(depth - truth) <= std::max(kDepthLeast, kDepthShare * std::fabs(truth)))) {
            ++off;
            note(Format("#%zu at %.6f for %.6f", index, depth, truth));
        }
    }
    const long missing = long(std::count(seen.begin(), seen.end(), false));
    if (missing > 0) note(Format("#%zu missing", size_t(std::find(seen.begin(), seen.end(), false) - seen.begin())));
    if (!foreign && !twice && !off && !missing) return "";
    return Format("%zu frames for %zu: %ld missing, %d off their depth, %d twice, %d foreign (first: %s); ",
                  out.frames.size(), n, missing, off, twice, foreign, first.c_str());
}

// The header's step near the truth and held over the run.
std::string JudgeStep(const Truth& t, const QtxImage& out)
{
    if (!(t.step > 0)) return "";
    const double step = std::fabs(ToTruth(out, t, out.header.depthStep));
    const double steps = std::round(std::fabs(t.depths.back() - t.depths.front()) / t.step);
    const double miss = std::fabs(step - t.step);
    if (miss <= std::max(kStepLeast, t.step * kStepShare) && miss * steps <= kOverRun) return "";
    return Format("step %.9g for %.9g (%.3g over %.0f steps); ", step, t.step, miss * steps, steps);
}

// FA's samples at their offsets back toward the frame before; `heldFa`: the file's
// data format holds FA.
std::string JudgeFast(const Truth& t, const QtxImage& out, bool heldFa)
{
    if (!(t.step > 0) || out.depths.size() < 2) return "";
    for (const QtxDatumDescriptor& d : out.descriptors) {
        if (std::string(d.mnemonic, 4) != "FA  ") continue;
        const double last = out.depths.back(), first = out.depths.front();
        const double sign = last > first ? 1.0 : last < first ? -1.0 : 0.0;
        const int samples = d.axis1.sampleCount, from = int16_t(d.axis1.firstIndex);
        const double axis = ToTruth(out, t, double(d.axis1.step));
        for (int s = 0; s < samples; ++s) {
            const double at = (from + s) * axis, want = -sign * (samples - 1 - s) * t.step / samples;
            if (!(std::fabs(at - want) <= kFastOff))
                return Format("FA sample %d of %d at %.6g for %.6g (index %d, axis step %g); ", s, samples, at, want,
                              from, axis);
        }
        return "";
    }
    return heldFa ? "no datum FA; " : "";
}

} // namespace

bool ReadMeta(const std::string& path, minijson::Value& meta, std::string& error)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    if (!minijson::Parse(text, meta, error)) return false;
    if (meta.kind == minijson::Value::Kind::Object) return true;
    error = "not an object";
    return false;
}

std::string TruthOf(const minijson::Value& entry, const std::string& name, Truth& t)
{
    const minijson::Value* units = entry.Find("units");
    const minijson::Value* truth = entry.Find("truth");
    const minijson::Value* step = entry.Find("step");
    double factor = 1;
    if (!units || units->kind != minijson::Value::Kind::String || !UnitsOf(units->text, factor, t.metres))
        return "meta.json: no known units";
    if (!truth || truth->kind != minijson::Value::Kind::Array || truth->items.empty())
        return "meta.json: no truth";
    for (const minijson::Value& d : truth->items) {
        if (!d.IsNumber()) return "meta.json: a true depth not a number";
        t.depths.push_back(d.number * factor);
    }
    if (step && !step->IsNull()) {
        if (!step->IsNumber() || !(step->number > 0)) return "meta.json: a step not a positive number";
        t.step = step->number;
    }
    t.held2 = name.find("held2") != std::string::npos;
    return "";
}

std::string JudgeDataSet(const Truth& t, const QtxImage& out, bool heldFa)
{
    if (t.held2) return JudgeStep(t, out);
    return JudgeFrames(t, out) + JudgeStep(t, out) + JudgeFast(t, out, heldFa);
}

} // namespace listruth
