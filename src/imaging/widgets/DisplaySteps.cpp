#include "imaging/widgets/DisplaySteps.h"

#include "imaging/widgets/Ik5Disp.h"

namespace imaging {

void clearDisplay(Ik5Disp *display)
{
    display->setStep(Ik5Disp::kStepClear);
    display->perform();
}

void showInDisplay(Ik5Disp *display, Handle handle)
{
    display->setHandle(handle);
    display->setStep(Ik5Disp::kStepPrepare);
    display->perform();
    display->setStep(Ik5Disp::kStepShow);
    display->perform();
}

void redrawInSizeMode(Ik5Disp *display, int sizeMode)
{
    clearDisplay(display);
    display->setSizeMode(sizeMode);
    display->setStep(Ik5Disp::kStepShow);
    display->perform();
}

void redrawInFitMode(Ik5Disp *display)
{
    redrawInSizeMode(display, Ik5Disp::kFit);
}

} // namespace imaging
