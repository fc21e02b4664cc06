#include "app/Design.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QPainter>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace design {

Frame::Frame(const QString &caption, QWidget *parent)
    : QFrame(parent)
    , m_caption(caption)
{
    setAccessibleName(caption);
}

void Frame::setCaption(const QString &caption)
{
    m_caption = caption;
    setAccessibleName(caption);
    update();
}

QRect Frame::innerRect() const
{
    // Inside the two etched lines paintEvent draws on each side.
    const int top = m_caption.isEmpty() ? 0 : QFontMetrics(font()).height() / 2;
    return rect().adjusted(2, top + 2, -2, -2);
}

void Frame::growToHoldChildren()
{
    const QMargins border(innerRect().left(), innerRect().top(), width() - 1 - innerRect().right(),
                          height() - 1 - innerRect().bottom());
    QSize needed = size();
    for (const QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        needed.setWidth(std::max(needed.width(), child->geometry().right() + 1 + border.right()));
        needed.setHeight(std::max(needed.height(), child->geometry().bottom() + 1 + border.bottom()));
    }
    resize(needed);
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

namespace {

constexpr int kSmallestFontPixels = 6;

// How far a control may reach to the right inside its parent.
int rightEdgeInParent(const QWidget *control)
{
    const QWidget *parent = control->parentWidget();
    if (!parent)
        return control->geometry().right();
    if (const auto *frame = qobject_cast<const Frame *>(parent))
        return frame->innerRect().right();
    return parent->rect().right();
}

bool takesFittedCaption(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return !label->wordWrap() && label->pixmap().isNull() && !label->text().isEmpty();
    return qobject_cast<const QRadioButton *>(control) || qobject_cast<const QCheckBox *>(control);
}

} // namespace

void fitCaption(QWidget *control)
{
    if (!takesFittedCaption(control))
        return;
    const QRect designed = designedRect(control).isEmpty() ? control->geometry() : designedRect(control);
    const int room = std::max(designed.width(), rightEdgeInParent(control) - designed.x() + 1);
    QFont font = control->font();
    while (control->sizeHint().width() > room && font.pixelSize() > kSmallestFontPixels) {
        font.setPixelSize(font.pixelSize() - 1);
        control->setFont(font);
    }
    control->resize(std::clamp(control->sizeHint().width(), designed.width(), room), designed.height());
}

QRect designedRect(const QWidget *control)
{
    return control->property("designedRect").toRect();
}

namespace detail {

void placeDesigned(QWidget *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QString::fromLatin1(name));
    const QRect designed = platform::twipsRect(left, top, width, height);
    control->setProperty("designedRect", designed);
    control->setGeometry(designed);
}

} // namespace detail

void setBarRange(QScrollBar *bar, int minimum, int maximum, int smallChange, int largeChange)
{
    bar->setRange(minimum, maximum);
    bar->setSingleStep(smallChange);
    bar->setPageStep(largeChange);
}

void optionGroup(QWidget *parent, std::initializer_list<QRadioButton *> options)
{
    auto *group = new QButtonGroup(parent);
    for (QRadioButton *option : options)
        group->addButton(option);
}

QLabel *wrappedLabel(QWidget *parent, const char *name, const QString &caption, int left, int top, int width,
                     int height)
{
    auto *label = new QLabel(caption, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    detail::placeDesigned(label, name, left, top, width, height);
    return label;
}

platform::PictureButton *pictureButton(QWidget *parent, const char *name, const QString &caption, int left, int top,
                                       int width, int height)
{
    auto *button = control<platform::PictureButton>(parent, name, left, top, width, height);
    button->setText(caption);
    button->setStretch(true);
    return button;
}

Frame *panel(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    auto *frame = control<Frame>(parent, name, QString(), left, top, width, height);
    setBackground(frame, kPanelBlue);
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

void setWindowColours(QWidget *window, QColor colour)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Button, colour);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

} // namespace design
