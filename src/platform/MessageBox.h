#pragma once

#include <functional>

#include <QString>

class QFontMetrics;
class QWidget;

namespace platform {

// Message box styles and answers, with the classic numbering: a style adds
// one button set, one icon and one default button.
namespace msgbox {

enum Style : int {
    OkOnly = 0,
    OkCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    DefaultButton1 = 0,
    DefaultButton2 = 256,
    DefaultButton3 = 512,
};

enum Answer : int {
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7,
};

} // namespace msgbox

// The title of boxes given none.
[[nodiscard]] QString applicationTitle();

// Shows a modal message box and returns the answer (msgbox::Answer). An
// empty title shows the application title. Goes through the installed box.
int messageBox(const QString &text, int style = msgbox::OkOnly, const QString &title = QString());

// A message laid out in lines no wider than maxWidth where it can be: a
// longer line is broken where line breaking allows (between any two
// Japanese characters, at the blanks of Latin text) into lines of about
// equal width, so no line is left with a character or two. Lines that
// already fit stay as they are.
[[nodiscard]] QString evenLines(const QString &text, const QFontMetrics &metrics, int maxWidth);

// The window a real box opens over: the one whose handler raised it while
// that window is shown, else the active window; nullptr for the screen.
[[nodiscard]] QWidget *messageBoxOwner();

// What shows a box: text, style and the title already resolved. Tests
// install a scripted one; an empty function means the real box.
using MessageBoxFunction = std::function<int(const QString &text, int style, const QString &title)>;

// Installs a box and returns the one it replaced.
MessageBoxFunction setMessageBox(MessageBoxFunction box);

} // namespace platform
