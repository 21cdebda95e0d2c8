// The rules every data set's frames keep, whoever writes them: each depth finite, each
// one step on from the one before in the data set's direction, and no more datums than
// the tool box can address. Importers check their input against them before the output
// exists; the frame writer and the descriptor layout hold them as a last guard.
#pragma once

#include "platform/Status.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qtx {

// Two depth steps closer than this are one step (also how the tool box compares the
// steps of its inputs).
inline constexpr double kStepTolerance = 0.0005;
// Datums a data set may hold: the tool box's selection flags have this many entries.
inline constexpr int kMaxDatums = 256;

// How far apart their rounding may put two depths of one log, up to `deepest` in
// magnitude, that came through a 32-bit float: a LIS depth channel in code 68 keeps 23
// bits of fraction, so each depth lies within one unit of its last place there, rounded
// or cut, of the depth it stood for (0.0039 ft from 16,384 to 32,768 ft). 0 for a
// deepest depth of 0 or no number.
double SinglePrecisionSpread(double deepest);

} // namespace qtx

// The one check of the datum count, made before a writer creates its output (every
// writer passes it through CQtxFile::OpenWrite): a success when a data set of `count`
// datums, taken from `source`, is within qtx::kMaxDatums (its count field is 16 bits,
// and the tool box keeps one selection flag per datum); otherwise a failure with
// "Encountered <count> datums to write from file :\n<source>\nA data set holds at most
// 256 datums: <remedy>\nOperation will be abandoned."
Status DatumCountFits(size_t count, const std::string& source, const std::string& remedy = "select 256 or fewer.");

// "Encountered invalid depth step in file :\n<path>\n<detail>\nA data set needs evenly
// spaced depths in one direction.\nOperation will be abandoned.": the one refusal of
// depths that break the rule.
std::string DepthRefusal(const std::string& path, const std::string& detail);

// Walks the depths of a data set's frames in file order. The direction is that of the
// header byte (qtx::kLogDown, every other byte up); the step's magnitude counts.
// `resolution` widens the tolerance for sources that store depths coarsely (SEG-Y keeps
// thousandths, so its steps wobble by one).
class CDepthRule {
public:
    CDepthRule(uint8_t logDirection, double step, double resolution = 0.0);
    // The part of the rule that holds for any source: every depth finite.
    static CDepthRule FiniteOnly();

    // Takes the next frame's depth: true when it is finite and, after the first, moves
    // from the depth before it in the data set's direction by the step. A refused depth
    // is not taken.
    bool Take(double depth);
    // Take, and a refusal fails with DepthRefusal naming `path`, the frame and its
    // depth.
    Status Check(double depth, const std::string& path);
    int64_t Frames() const { return m_frames; } // depths taken
    // The detail line of the depth refused last.
    std::string Detail() const;
    // The detail line of a frame (from 1) whose depth is not finite.
    static std::string NoDepth(int64_t frame, double depth);

private:
    bool m_down;
    double m_step;
    double m_tolerance;
    bool m_usableStep;
    bool m_finiteOnly = false;
    int64_t m_frames = 0;
    double m_last = 0.0;
    double m_refused = 0.0;
};
