// How numbers read from data sets are shown.
#pragma once

// The decimals that show a depth step as stored (0.5 needs 1, 0.1524 needs 4): depths
// printed with them keep every frame's depth apart. At most 4, the decimals a step
// is shown with anywhere; 4 for a step that is no number.
int StepDecimals(double step);

// The decimals that show a float as stored: the fewest, from 1, whose text reads back
// as the same float (0.45f needs 2 where one decimal would print 0.4; 140.0f needs 1).
// At most 6: a value no such text holds shows to the millionth. 1 for a value that is
// no number.
int FloatDecimals(float value);
