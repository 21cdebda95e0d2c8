#include "dataset/DepthRule.h"

#include "dataset/QtxLayout.h"
#include "platform/Format.h"

#include <cmath>

Status DatumCountFits(size_t count, const std::string& source, const std::string& remedy)
{
    if (count <= size_t(qtx::kMaxDatums)) return Status();
    return Status::Failure(Format("Encountered %zu datums to write from file :\n%s\nA data set holds at most %d datums: "
                                  "%s\nOperation will be abandoned.",
                                  count, source.c_str(), qtx::kMaxDatums, remedy.c_str()));
}

double qtx::SinglePrecisionSpread(double deepest)
{
    if (!std::isfinite(deepest) || deepest == 0.0) return 0.0;
    int exponent = 0; // |deepest| = m x 2^exponent, 1/2 <= m < 1
    std::frexp(deepest, &exponent);
    return std::ldexp(1.0, exponent - 23);
}

namespace {
// What the user is to look for in the file.
const char kNeed[] = "A data set needs evenly spaced depths in one direction.";
} // namespace

std::string DepthRefusal(const std::string& path, const std::string& detail)
{
    return Format("Encountered invalid depth step in file :\n%s\n%s\n%s\nOperation will be abandoned.", path.c_str(),
                  detail.c_str(), kNeed);
}

CDepthRule::CDepthRule(uint8_t logDirection, double step, double resolution)
    : m_down(logDirection == qtx::kLogDown),
      m_step(std::fabs(step)),
      m_tolerance(qtx::kStepTolerance + std::fabs(resolution)),
      // A step of 0 or no number puts no two frames at different depths.
      m_usableStep(std::isfinite(step) && step != 0.0)
{
}

CDepthRule CDepthRule::FiniteOnly()
{
    CDepthRule rule(qtx::kLogDown, 0.0);
    rule.m_finiteOnly = true;
    return rule;
}

bool CDepthRule::Take(double depth)
{
    bool ok = std::isfinite(depth);
    if (ok && m_frames > 0 && !m_finiteOnly) {
        const double moved = m_down ? depth - m_last : m_last - depth;
        ok = m_usableStep && moved > 0.0 && std::fabs(moved - m_step) <= m_tolerance;
    }
    if (!ok) {
        m_refused = depth;
        return false;
    }
    m_last = depth;
    ++m_frames;
    return true;
}

Status CDepthRule::Check(double depth, const std::string& path)
{
    if (Take(depth)) return Status();
    return Status::Failure(DepthRefusal(path, Detail()));
}

std::string CDepthRule::NoDepth(int64_t frame, double depth)
{
    return Format("Frame %lld has no finite depth (%.4f).", static_cast<long long>(frame), depth);
}

std::string CDepthRule::Detail() const
{
    const long long frame = m_frames + 1;
    if (!std::isfinite(m_refused)) return NoDepth(frame, m_refused);
    return Format("Frame %lld is at depth %.4f after %.4f: not one step of %.4f %s.", frame, m_refused, m_last,
                  m_step, m_down ? "DOWN" : "UP");
}
