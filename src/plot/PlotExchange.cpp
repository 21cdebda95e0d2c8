#include "plot/PlotExchange.h"

#include "platform/Format.h"
#include "platform/Host.h"

namespace plot_exchange {

namespace {

bool Fail(DataExchange& dx, int id, const std::string& message) { return dx.Fail(id, message, MB_ICONEXCLAMATION); }

bool Outside(double v, double lo, double hi) { return !(v >= lo && v <= hi); }

// The value an edit means (DataExchange::NumberMeant), else `member`, whose own exchange
// then reports the text.
double Typed(const DataExchange& dx, int id, double member) { return dx.NumberMeant(id).value_or(member); }

} // namespace

void DepthRange(DataExchange& dx, int startId, int stopId, double& start, double& stop, const char* format)
{
    dx.Text(startId, start, format);
    if (dx.Saving() && !dx.Failed()) {
        if (Outside(start, kMinDepth, kMaxDepth))
            Fail(dx, startId,
                 Format("You entered an invalid start depth!.\nValid range : %.1f - %.1f ft.", kMinDepth, kMaxDepth));
        // Against the stop depth on screen: moving both ends past the old stop is valid.
        else if (!(start < Typed(dx, stopId, stop)))
            Fail(dx, startId, "Start depth must be less then stop depth!");
    }
    dx.Text(stopId, stop, format);
    if (dx.Saving() && !dx.Failed()) {
        if (Outside(stop, kMinDepth, kMaxDepth))
            Fail(dx, stopId,
                 Format("You entered an invalid stop depth!.\nValid range : %.1f - %.1f ft.", kMinDepth, kMaxDepth));
        else if (!(stop > start))
            Fail(dx, stopId, "Stop depth must be greater then start depth!");
    }
}

void Shift(DataExchange& dx, int id, double& shift, const char* format)
{
    dx.Text(id, shift, format);
    if (dx.Saving() && !dx.Failed() && Outside(shift, -kMaxShift, kMaxShift))
        Fail(dx, id, Format("You entered an invalid shift value!.\nValid range : %.1f - %.1f", -kMaxShift, kMaxShift));
}

void Limit(DataExchange& dx, int id, float& value, float limit, bool start, const char* format)
{
    dx.Text(id, value, format);
    if (dx.Saving() && !dx.Failed() && Outside(value, -limit, limit))
        Fail(dx, id,
             Format(start ? "You entered an invalid start value!.\nValid range : %.1f - %.1f"
                          : "You entered an invalid stop value!.\nValid range : %.1f - %.1f",
                    -double(limit), double(limit)));
}

void Track(DataExchange& dx, int id, int16_t& track)
{
    dx.Text(id, track);
    if (dx.Saving() && !dx.Failed() && (track < kMinTrack || track > kMaxTrack))
        Fail(dx, id, Format("You entered an invalid track number.\nValid range : %d - %d", kMinTrack, kMaxTrack));
}

void Bounded(DataExchange& dx, int id, float& value, float lo, float hi, const char* message)
{
    dx.Text(id, value);
    if (dx.Saving() && !dx.Failed() && Outside(value, lo, hi)) Fail(dx, id, Format(message, double(lo), double(hi)));
}

} // namespace plot_exchange
