// How numbers read from data sets are shown.
#pragma once

// The decimals that show a depth step as stored (0.5 needs 1, 0.1524 needs 4): depths
// printed with them keep every frame's depth apart. At most 4, the decimals a step
// is shown with anywhere; 4 for a step that is no number.
int StepDecimals(double step);
