#include "platform/Twips.h"

#include <algorithm>

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

void setClientSizeTwips(QWidget *window, int widthTwips, int heightTwips)
{
    window->setFixedSize(twipsRect(0, 0, widthTwips, heightTwips).size());
}

QSize outerSizeTwips(const QWidget *window)
{
    if (window->windowFlags().testFlag(Qt::FramelessWindowHint))
        return QSize(pixelsToTwips(window->width()), pixelsToTwips(window->height()));
    return QSize(pixelsToTwips(window->width() + kFrameWidthPx), pixelsToTwips(window->height() + kFrameHeightPx));
}

QPoint positionTwips(const QWidget *window)
{
    return QPoint(pixelsToTwips(window->x()), pixelsToTwips(window->y()));
}

namespace {

// The nearest place to `wanted` where the whole outer frame lies inside the
// available area; a window larger than the area keeps its top-left corner in it.
QPoint keptInside(QPoint wanted, QSize outer, const QRect &available)
{
    const int right = std::max(available.left(), available.left() + available.width() - outer.width());
    const int bottom = std::max(available.top(), available.top() + available.height() - outer.height());
    return QPoint(std::clamp(wanted.x(), available.left(), right), std::clamp(wanted.y(), available.top(), bottom));
}

} // namespace

void moveTwips(QWidget *window, int leftTwips, int topTwips)
{
    const QPoint wanted(twipsToPixels(leftTwips), twipsToPixels(topTwips));
    const QScreen *screen = QGuiApplication::screenAt(wanted);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen) {
        window->move(wanted);
        return;
    }
    const QSize outerTwips = outerSizeTwips(window);
    const QSize outer(twipsToPixels(outerTwips.width()), twipsToPixels(outerTwips.height()));
    window->move(keptInside(wanted, outer, screen->availableGeometry()));
}

void centreTwips(QWidget *window, const QRect &areaTwips)
{
    const QSize self = outerSizeTwips(window);
    moveTwips(window, areaTwips.x() + (areaTwips.width() - self.width()) / 2,
              areaTwips.y() + (areaTwips.height() - self.height()) / 2);
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
