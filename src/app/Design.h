#pragma once

#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QString>

#include <algorithm>
#include <type_traits>

#include "platform/Controls.h"
#include "platform/Twips.h"

// Building windows as designed: every control gets the design's name (also
// its objectName, so tests find it), its caption and its place in twips.
namespace design {

// A frame as the design draws it: an etched rectangle whose caption sits on
// its top edge; children are placed from the frame's own top-left corner.
// A frame without caption is the same rectangle without the gap.
class Frame : public QFrame
{
    Q_OBJECT

public:
    explicit Frame(const QString &caption, QWidget *parent = nullptr);
    [[nodiscard]] QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};

// A push button whose caption, when it is wider than the button, breaks
// into lines at its blanks, as the design's multi-line buttons show it
// ("   サムネールの    プリント" on two lines). The caption text stays as designed.
class Button : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The caption's words laid out in lines no wider than `width`; a word wider
// than that gets a line of its own.
[[nodiscard]] QStringList wrapAtBlanks(const QString &caption, const QFontMetrics &metrics, int width);

template <typename T>
T *control(QWidget *parent, const char *name, const QString &caption, int left, int top, int width, int height)
{
    // Buttons are built as design buttons, so long captions wrap.
    using Built = std::conditional_t<std::is_same_v<T, QPushButton>, Button, T>;
    T *widget = new Built(caption, parent);
    widget->setObjectName(QString::fromLatin1(name));
    platform::place(widget, left, top, width, height);
    // Our Japanese font runs a little wider than the design's: a one-line
    // caption is never cut, it takes the room it needs to the right.
    if constexpr (std::is_same_v<T, QLabel>)
        if (!widget->wordWrap())
            widget->resize(std::max(widget->width(), widget->sizeHint().width()), widget->height());
    return widget;
}

// A picture control that acts as a button, its picture stretched to it.
platform::PictureButton *pictureButton(QWidget *parent, const char *name, int left, int top, int width, int height);

// A caption-less frame with a background colour of its own (option panels).
Frame *panel(QWidget *parent, const char *name, int left, int top, int width, int height, QColor background);

void setTextColour(QWidget *widget, QColor colour);
void setBackground(QWidget *widget, QColor colour);

// The light blue-violet of the main window's display and panels.
inline const QColor kPanelBlue(192, 192, 255);

} // namespace design
