#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QWidget>

namespace imaging::display {

// The display's separate overview: a small tool window showing the whole
// image with a frame around the part the display shows. Dragging the frame
// (or pressing beside it) asks the display to show another part; the window
// itself only draws what the display tells it.
class PanWindow : public QWidget
{
    Q_OBJECT

public:
    explicit PanWindow(QWidget *owner);

    // The whole image scaled to the window's picture size, and the image's
    // own size, in whose pixels the visible part is given.
    void setPicture(const QImage &picture, QSize imageSize);
    void setVisiblePart(const QRectF &imagePart);

    // The frame around the visible part, in window coordinates.
    [[nodiscard]] QRectF markerRect() const;

signals:
    // Put this image point at the centre of the display.
    void centreRequested(QPointF imagePoint);
    // The user closed the window (its title bar's close button).
    void closedByUser();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    [[nodiscard]] QPointF toImage(QPointF windowPoint) const;

    QImage m_picture;
    QSize m_imageSize;
    QRectF m_visible;
    QPointF m_grabOffset; // image distance from the frame's centre to where it was grabbed
};

} // namespace imaging::display
