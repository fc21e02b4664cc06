#pragma once

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QString>

#include <initializer_list>
#include <optional>
#include <type_traits>

#include "platform/Controls.h"
#include "platform/Twips.h"

// Building windows as designed: every control gets the design's name (also
// its objectName, so tests find it), its caption and its place in twips.
namespace design {

// The designs' colours.
inline const QColor kPanelBlue(192, 192, 255); // main display, option panels, progress and rotate dialogs
inline const QColor kSplashGrey(224, 224, 224);
inline const QColor kBlueText(0, 0, 255);
inline const QColor kDarkBlueText(0, 0, 128);

void setTextColour(QWidget *widget, QColor colour);
void setBackground(QWidget *widget, QColor colour);
// A window whose frames and buttons share its background colour.
void setWindowColours(QWidget *window, QColor colour);

// A frame as the design draws it: an etched rectangle whose caption sits on
// its top edge; children are placed from the frame's own top-left corner.
// A frame without caption is the same rectangle without the gap. Assistive
// tools know it by its caption.
class Frame : public QFrame
{
    Q_OBJECT

public:
    explicit Frame(const QString &caption, QWidget *parent = nullptr);
    [[nodiscard]] QString caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // The room inside the etched border.
    [[nodiscard]] QRect innerRect() const;
    // Grows the frame down and to the right until every child lies inside
    // its border; never shrinks it.
    void growToHoldChildren();

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

// A caption that needs more room than designed (our Japanese font runs a
// little wider than the design's): a one-line label, option button or check
// box grows to the right as far as its parent's inner edge, never below its
// designed size; a caption still too wide there gets a smaller font until it
// fits. Push buttons break their captions into lines instead (Button).
void fitCaption(QWidget *control);

// Where the design put a control, in pixels of its parent; an empty
// rectangle for a widget not built by control().
[[nodiscard]] QRect designedRect(const QWidget *control);

namespace detail {
// Names and places a built control, and keeps its designed rectangle.
void placeDesigned(QWidget *control, const char *name, int left, int top, int width, int height);
} // namespace detail

// A designed control with a caption: a label, button, option button, check
// box, frame or text box (its text). A font of its own, when given, is set
// before the caption is fitted.
template <typename T>
T *control(QWidget *parent, const char *name, const QString &caption, int left, int top, int width, int height,
           const std::optional<QFont> &font = std::nullopt)
{
    // Buttons are built as design buttons, so long captions wrap.
    using Built = std::conditional_t<std::is_same_v<T, QPushButton>, Button, T>;
    T *widget = new Built(caption, parent);
    if (font)
        widget->setFont(*font);
    if constexpr (std::is_same_v<T, QLabel>)
        widget->setAlignment(Qt::AlignLeft | Qt::AlignTop); // the design's labels write from the top
    detail::placeDesigned(widget, name, left, top, width, height);
    fitCaption(widget);
    return widget;
}

// A designed control without a caption: lists, displays, bars, pictures.
// The designs' scroll bars are all horizontal.
template <typename T>
T *control(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    T *widget = nullptr;
    if constexpr (std::is_same_v<T, QScrollBar>)
        widget = new QScrollBar(Qt::Horizontal, parent);
    else
        widget = new T(parent);
    detail::placeDesigned(widget, name, left, top, width, height);
    return widget;
}

// A designed control without a face (the suite's non-visual controls):
// only its name, also its objectName.
template <typename T>
T *faceless(QObject *parent, const char *name)
{
    T *object = new T(parent);
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

// A scroll bar's range and its small and large change, as designed.
void setBarRange(QScrollBar *bar, int minimum, int maximum, int smallChange, int largeChange);

// Option buttons of one parent that form one group. Qt groups a parent's
// option buttons by itself, but not when a frame holding option buttons of
// its own lies among them: selecting one then leaves another selected.
void optionGroup(QWidget *parent, std::initializer_list<QRadioButton *> options);

// A label whose caption breaks into lines inside its designed place.
QLabel *wrappedLabel(QWidget *parent, const char *name, const QString &caption, int left, int top, int width,
                     int height);

// A picture control that acts as a button, its picture stretched to it;
// the caption is its name for assistive tools (the picture shows it).
platform::PictureButton *pictureButton(QWidget *parent, const char *name, const QString &caption, int left, int top,
                                       int width, int height);

// A caption-less frame in the panel colour (option panels).
Frame *panel(QWidget *parent, const char *name, int left, int top, int width, int height);

} // namespace design
