#pragma once

// Small images made in code for the display's tests, and the calls the
// windows make to show them.

#include <QImage>
#include <QPoint>

#include "imaging/core/ImageStore.h"
#include "imaging/widgets/DisplaySteps.h"
#include "imaging/widgets/Ik5Disp.h"
#include "support/core/TestImages.h"

namespace fixtures {

// A display of 304 x 304 pixels draws into 300 x 300 inside its 2-pixel frame.
inline constexpr int kDisplaySide = 304;
inline const QPoint kContentsOrigin(2, 2);

using testsupport::solid;
using testsupport::StoredImages;

// Red, green, blue and yellow quarters (top-left, top-right, bottom-left,
// bottom-right): shows that the picture is placed and oriented right.
inline QImage quarters(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            const QColor color = bottom ? (right ? Qt::yellow : Qt::blue) : (right ? Qt::green : Qt::red);
            image.setPixel(x, y, color.rgb());
        }
    return image;
}

// Each pixel names itself: red = x, green = y (at most 256 x 256).
inline QImage coordinates(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x, y, 128));
    return image;
}

// The image pixel a screenshot of a `coordinates` image shows at a point.
inline QPoint imagePixelAt(const QImage &shot, QPoint widgetPoint)
{
    const QRgb pixel = shot.pixel(widgetPoint);
    return {qRed(pixel), qGreen(pixel)};
}

// What the windows do to show a newly set image: step 1, then step 2.
inline void showImage(imaging::Ik5Disp &display, imaging::Handle handle)
{
    imaging::showInDisplay(&display, handle);
}

inline void redraw(imaging::Ik5Disp &display)
{
    display.setStep(imaging::Ik5Disp::kStepShow);
    display.perform();
}

inline void clearDisplay(imaging::Ik5Disp &display)
{
    imaging::clearDisplay(&display);
}

} // namespace fixtures
