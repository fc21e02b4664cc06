#include "app/Design.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace design {

Frame::Frame(const QString &caption, QWidget *parent)
    : QFrame(parent)
    , m_caption(caption)
{
}

void Frame::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void Frame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    // The border runs through the middle of the caption's line.
    const int top = m_caption.isEmpty() ? 0 : metrics.height() / 2;
    const QRect box = rect().adjusted(0, top, -2, -2);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(box);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.translated(1, 1));
    if (m_caption.isEmpty())
        return;
    const QRect text(8, 0, metrics.horizontalAdvance(m_caption) + 4, metrics.height());
    painter.fillRect(text, palette().color(backgroundRole()));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(text, Qt::AlignCenter, m_caption);
}

QStringList wrapAtBlanks(const QString &caption, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    for (const QString &word : caption.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString joined = lines.isEmpty() ? word : lines.last() + QLatin1Char(' ') + word;
        if (!lines.isEmpty() && metrics.horizontalAdvance(joined) <= width)
            lines.last() = joined;
        else
            lines << word;
    }
    return lines;
}

void Button::paintEvent(QPaintEvent *event)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect textArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (fontMetrics().horizontalAdvance(text()) <= textArea.width()) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QStringList lines = wrapAtBlanks(text(), fontMetrics(), textArea.width());
    painter.drawItemText(textArea, Qt::AlignCenter, palette(), isEnabled(), lines.join(QLatin1Char('\n')),
                         QPalette::ButtonText);
}

platform::PictureButton *pictureButton(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    auto *button = new platform::PictureButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setStretch(true);
    platform::place(button, left, top, width, height);
    return button;
}

Frame *panel(QWidget *parent, const char *name, int left, int top, int width, int height, QColor background)
{
    auto *frame = control<Frame>(parent, name, QString(), left, top, width, height);
    setBackground(frame, background);
    return frame;
}

void setTextColour(QWidget *widget, QColor colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void setBackground(QWidget *widget, QColor colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

} // namespace design
