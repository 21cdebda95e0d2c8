// The depth step of an import whose file holds one frame (a SEG-Y file of one shot, a
// LAS file of one data line, as a one-frame data set exports): the file gives no step,
// and a data set needs one. Every import takes the same one and says so in the same words.
#pragma once

#include "platform/Format.h"

#include <cmath>
#include <string>

namespace one_frame {

// Half a foot, the usual sampling of a sonic log, in the file's units.
constexpr double kStepFeet = 0.5;
constexpr double kStepMetres = 0.1524;

inline double Step(bool metres) { return metres ? kStepMetres : kStepFeet; }

// "Imported the one shot of file :\n<path>": what opens the end message; `frame` names
// what the file holds one of ("shot", "data line").
inline std::string Headline(const char* frame, const std::string& path)
{
    return Format("Imported the one %s of file :\n%s", frame, path.c_str());
}

// The line that gives the step taken, "0.5000 FT" or "0.1524 M".
inline std::string StepLine(const char* frame, double step, bool metres)
{
    return Format("A file of one %s holds no depth step: the data set takes a step of %.4f %s.", frame, std::fabs(step),
                  metres ? "M" : "FT");
}

} // namespace one_frame
