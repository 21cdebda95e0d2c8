// The unit the setups keep for slowness. Views decide by it; every label that names a
// unit is made from it and never read back, so rewording a label changes nothing else.
#pragma once

#include <cstdint>

// kUnset, a value-initialised group's, shows no unit (a dialog keeps its template's
// label) and is read as feet, the start-up unit.
enum class SlownessUnit : uint8_t { kUnset = 0, kPerFoot, kPerMetre };

constexpr bool IsMetric(SlownessUnit unit) { return unit == SlownessUnit::kPerMetre; }

// "[uSec/ft]" or "[uSec/m]", as views print it after a value.
constexpr const char* SlownessUnitLabel(SlownessUnit unit) { return IsMetric(unit) ? "[uSec/m]" : "[uSec/ft]"; }

// The caption of a setup's slowness range; "" while unset.
constexpr const char* SlownessRangeTitle(SlownessUnit unit)
{
    return unit == SlownessUnit::kUnset ? ""
           : IsMetric(unit)             ? "Slowness range [uSec/m]"
                                        : "Slowness range [uSec/ft]";
}
