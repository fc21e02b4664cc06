#pragma once

#include "imaging/core/ImageStore.h"

// The step sequences every window runs on a display, written once.
namespace imaging {

class Ik5Disp;

// Step 0: the display shows nothing (its handle stays).
void clearDisplay(Ik5Disp *display);

// Shows a newly set image: the handle, then step 1 (take the image, prepare
// its picture) and step 2 (lay it out).
void showInDisplay(Ik5Disp *display, Handle handle);

// Clears the display, switches its size mode and shows its image again.
void redrawInSizeMode(Ik5Disp *display, int sizeMode);

// The same in fit mode: how the adjustment dialogs redraw a display.
void redrawInFitMode(Ik5Disp *display);

} // namespace imaging
