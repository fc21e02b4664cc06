#include "platform/Controls.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace platform {

PictureButton::PictureButton(QWidget *parent)
    : QAbstractButton(parent)
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

QSize PictureButton::sizeHint() const
{
    return m_picture.isNull() ? size() : m_picture.deviceIndependentSize().toSize();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    if (!m_picture.isNull()) {
        // Greyed from its own bitmap, so a button the user cannot use looks it.
        QStyleOption option;
        option.initFrom(this);
        const QPixmap shown = isEnabled() ? m_picture
                                          : style()->generatedIconPixmap(QIcon::Disabled, m_picture, &option);
        if (m_stretch)
            painter.drawPixmap(rect(), shown);
        else
            painter.drawPixmap(0, 0, shown);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    // Space comes with the button; Enter presses it too, as on a push button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
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
