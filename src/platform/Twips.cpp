#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
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

QPoint positionTwips(const QWidget *window)
{
    return QPoint(pixelsToTwips(window->x()), pixelsToTwips(window->y()));
}

void moveTwips(QWidget *window, int leftTwips, int topTwips)
{
    window->move(twipsToPixels(leftTwips), twipsToPixels(topTwips));
}

QSize screenSizeTwips()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize();
    const QSize pixels = screen->geometry().size();
    return QSize(pixelsToTwips(pixels.width()), pixelsToTwips(pixels.height()));
}

} // namespace platform
