#include "platform/Controls.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

namespace platform {

PictureButton::PictureButton(QWidget *parent)
    : QWidget(parent)
{
}

void PictureButton::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    if (!m_stretch && !m_picture.isNull())
        resize(m_picture.deviceIndependentSize().toSize());
    update();
}

bool PictureButton::setPictureFile(const QString &path)
{
    // Only a regular file: a FIFO or device under a bitmap's name would block.
    if (!QFileInfo(path).isFile())
        return false;
    QPixmap picture;
    if (!picture.load(path))
        return false;
    setPicture(picture);
    return true;
}

void PictureButton::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    if (m_stretch)
        painter.drawPixmap(rect(), m_picture);
    else
        painter.drawPixmap(0, 0, m_picture);
}

void PictureButton::mousePressEvent(QMouseEvent *event)
{
    // A disabled widget gets no mouse events at all, so it never clicks.
    m_pressed = event->button() == Qt::LeftButton;
}

void PictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

Timer::Timer(QObject *parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &Timer::timeout);
}

void Timer::setInterval(int milliseconds)
{
    m_interval = qMax(0, milliseconds);
    restart();
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    restart();
}

void Timer::restart()
{
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

} // namespace platform
