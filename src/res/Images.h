// The program's images, drawn in code: the toolbar buttons and the program's icon
// (which the splash and the About box show as their pictures).
#pragma once

class Dc;

// Draws the button of a toolbar command on a square of `size` device pixels;
// false for a command without a button image.
bool DrawButtonImage(int command, Dc& dc, int size);

// Draws the image of an icon or bitmap resource (the program's icon 128, the
// splash picture 143); false for any other id.
bool DrawProgramImage(int resource, Dc& dc, int size);
