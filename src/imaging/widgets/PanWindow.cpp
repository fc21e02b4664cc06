#include "imaging/widgets/PanWindow.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

namespace imaging::display {

PanWindow::PanWindow(QWidget *owner)
    : QWidget(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("panWindow"));
    // Showing the overview must not take the keyboard from the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setCursor(Qt::SizeAllCursor);
}

void PanWindow::setPicture(const QImage &picture, QSize imageSize)
{
    if (picture.cacheKey() == m_picture.cacheKey() && imageSize == m_imageSize)
        return;
    m_picture = picture;
    m_imageSize = imageSize;
    setFixedSize(picture.size());
    update();
}

void PanWindow::setVisiblePart(const QRectF &imagePart)
{
    if (imagePart == m_visible)
        return;
    m_visible = imagePart;
    update();
}

QRectF PanWindow::markerRect() const
{
    if (m_imageSize.isEmpty())
        return {};
    const double sx = double(m_picture.width()) / m_imageSize.width();
    const double sy = double(m_picture.height()) / m_imageSize.height();
    return {m_visible.x() * sx, m_visible.y() * sy, m_visible.width() * sx, m_visible.height() * sy};
}

QPointF PanWindow::toImage(QPointF windowPoint) const
{
    if (m_picture.isNull())
        return {};
    return {windowPoint.x() * m_imageSize.width() / m_picture.width(),
            windowPoint.y() * m_imageSize.height() / m_picture.height()};
}

void PanWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
    // A two-pixel frame drawn inside the picture, so it stays visible at the
    // window's edges when the whole width or height is shown.
    const QRectF frame = markerRect().adjusted(1, 1, -1, -1);
    painter.setPen(QPen(Qt::red, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
}

void PanWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPointF point = event->position();
    // Grabbing the frame moves it by the pointer's travel; pressing beside
    // it centres the frame on the pointer first.
    m_grabOffset = markerRect().contains(point) ? toImage(point) - m_visible.center() : QPointF();
    emit centreRequested(toImage(point) - m_grabOffset);
}

void PanWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        emit centreRequested(toImage(event->position()) - m_grabOffset);
}

void PanWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closedByUser();
}

} // namespace imaging::display
