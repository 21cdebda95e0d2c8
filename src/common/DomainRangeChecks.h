// The checks of the domain ranges that the view setups exchange, with the texts of
// their messages and the limits the views share; a setup with limits of its own
// passes them. `Control` is a dialog's id enum, naming the range edits alike.
#pragma once

#include "common/RangeCheck.h"
#include "settings/DomainRanges.h"

#include <span>

template <typename Control> constexpr RangeFields TimeRangeFields(double maxValue = 30000.0)
{
    return {Control::kIdcTimeStart, Control::kIdcTimeStop, "start time", "stop time", "uSec", 0.0, maxValue};
}
template <typename Control> constexpr RangeFields FrequencyRangeFields(double maxValue = 30000.0)
{
    return {Control::kIdcFreqStart, Control::kIdcFreqStop, "start frequency", "stop frequency", "Hz", 0.0, maxValue};
}
// The message names uSec/ft whatever unit the file's slowness has; the limits hold for both.
template <typename Control> constexpr RangeFields SlownessRangeFields(double minValue = 0.0, double maxValue = 2000.0)
{
    return {Control::kIdcSlowMin, Control::kIdcSlowMax, "min slowness", "max slowness", "uSec/ft", minValue, maxValue};
}
template <typename Control> constexpr RangeFields AzimuthRangeFields()
{
    return {Control::kIdcAzimMin, Control::kIdcAzimMax, "min azimuth", "max azimuth", "deg", 0.0, 360.0};
}

// One range of a group with all four (settings/DomainRanges.h): its fields and the
// pair of values it moves.
struct DomainRangeCheck {
    RangeFields fields;
    float DomainRanges::*lower;
    float DomainRanges::*upper;
};
template <typename Control> constexpr DomainRangeCheck TimeCheck(double maxValue = 30000.0)
{
    return {TimeRangeFields<Control>(maxValue), &DomainRanges::timeStart, &DomainRanges::timeStop};
}
template <typename Control> constexpr DomainRangeCheck FrequencyCheck(double maxValue = 30000.0)
{
    return {FrequencyRangeFields<Control>(maxValue), &DomainRanges::freqStart, &DomainRanges::freqStop};
}
template <typename Control> constexpr DomainRangeCheck SlownessCheck(double minValue = 0.0, double maxValue = 2000.0)
{
    return {SlownessRangeFields<Control>(minValue, maxValue), &DomainRanges::slowMin, &DomainRanges::slowMax};
}
template <typename Control> constexpr DomainRangeCheck AzimuthCheck()
{
    return {AzimuthRangeFields<Control>(), &DomainRanges::azimMin, &DomainRanges::azimMax};
}

// Exchanges the ranges in the order listed: the first that fails stops the exchange,
// so a setup's order sets which message is shown first.
void ExchangeDomainRanges(DataExchange& dx, DomainRanges& ranges, std::span<const DomainRangeCheck> checks);
