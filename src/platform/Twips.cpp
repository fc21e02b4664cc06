#include "platform/Twips.h"

#include <QWidget>

namespace platform {

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

void place(QWidget *control, int left, int top, int width, int height)
{
    control->setGeometry(twipsRect(left, top, width, height));
}

void setOuterSizeTwips(QWidget *window, int widthTwips, int heightTwips)
{
    window->setFixedSize(twipsToPixels(widthTwips) - kFrameWidthPx, twipsToPixels(heightTwips) - kFrameHeightPx);
}

QSize outerSizeTwips(const QWidget *window)
{
    return QSize(pixelsToTwips(window->width() + kFrameWidthPx), pixelsToTwips(window->height() + kFrameHeightPx));
}

} // namespace platform
