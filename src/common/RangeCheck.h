// The setup dialogs' checks of the numbers typed into their edits, with their own
// messages: a value outside its limits, and a range whose ends are out of order.
// A check runs whichever way the exchange goes, so a bad member stops the filling
// too; it does nothing once the exchange has failed.
#pragma once

#include "platform/Dialog.h"

// What a message calls a field, and its inclusive limits.
struct FieldLimits {
    const char* name; // "depth scale": "You entered an invalid depth scale!."
    double minValue, maxValue;
    const char* unit; // "ft"; empty: the message names none
};

// Fails the exchange on `id` (exclamation icon) with "You entered an invalid <name>!.\n
// Valid range : <min> - <max> <unit>." when `value` lies outside the limits.
// False when the exchange has failed (now or before).
bool CheckLimits(DataExchange& dx, int id, double value, const FieldLimits& field);

// A range of two edits whose ends share their limits and unit.
struct RangeFields {
    int lowerId, upperId;
    const char* lower; // "start frequency"
    const char* upper; // "stop frequency"
    const char* unit;
    double minValue, maxValue;
};

// Exchanges the lower end, checks its limits, then checks it against the upper end
// ("Start frequency must be less then stop frequency!"); then the same for the upper
// end ("Stop frequency must be greater then start frequency!"). When saving, the
// lower end is compared with the value the upper end's edit means (the number shown
// while its text is unchanged, else the one typed: DataExchange::NumberMeant), so
// that both ends may move past the old upper end at once.
void ExchangeRange(DataExchange& dx, const RangeFields& range, float& lower, float& upper);
void ExchangeRange(DataExchange& dx, const RangeFields& range, double& lower, double& upper);
