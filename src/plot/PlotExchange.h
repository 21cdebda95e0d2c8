// The checks the Log Item Setup and Edit Command dialogs share: depth range, shift,
// limits and track, with their messages. Each moves one value between its member
// and its edit; `format` (printf style) shows the value, or nullptr for the
// exchange's own number text. Checks run when saving and stop the exchange.
#pragma once

#include "platform/Dialog.h"
#include "plot/PlotStyles.h"

#include <cstdint>
#include <span>

namespace plot_exchange {

inline constexpr double kMinDepth = -200.0;
inline constexpr double kMaxDepth = 50000.0;
inline constexpr double kMaxShift = 200.0;
inline constexpr int kMinTrack = 1;
inline constexpr int kMaxTrack = 16;

// Start depth (range, then below the value the stop depth edit means), then stop depth (range,
// then above the start depth).
void DepthRange(DataExchange& dx, int startId, int stopId, double& start, double& stop, const char* format);
void Shift(DataExchange& dx, int id, double& shift, const char* format);
// A value that must lie in [-limit, limit]; `start` chooses the "start"/"stop" message.
void Limit(DataExchange& dx, int id, float& value, float limit, bool start, const char* format);
void Track(DataExchange& dx, int id, int16_t& track);
// A value of [lo, hi] with the dialog's own message (a printf format taking lo and hi).
void Bounded(DataExchange& dx, int id, float& value, float lo, float hi, const char* message);
// A drop-down list whose lines stand for `lines`, in order: shows the line of the
// choice (none for a text the program does not know); saving takes the selected
// line's value, and keeps the choice as it is while no line is selected.
template <typename T> void Choice(DataExchange& dx, int id, std::span<const T> lines, StyleChoice<T>& choice)
{
    int line = LineOf(choice, lines);
    dx.ComboIndex(id, line);
    if (dx.Saving()) choice = ChoiceAt(line, lines, choice);
}

} // namespace plot_exchange
