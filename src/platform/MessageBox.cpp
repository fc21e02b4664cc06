#include "platform/MessageBox.h"

#include <utility>
#include <vector>

#include <QApplication>
#include <QMessageBox>

#include "platform/Guard.h"

namespace platform {

namespace {

MessageBoxFunction &installedBox()
{
    static MessageBoxFunction box;
    return box;
}

struct ButtonAnswer
{
    QMessageBox::StandardButton button;
    int answer;
};

// The buttons of a style, left to right.
std::vector<ButtonAnswer> buttonsOf(int style)
{
    using B = QMessageBox;
    switch (style & 0x0F) {
    case msgbox::OkCancel:
        return {{B::Ok, msgbox::Ok}, {B::Cancel, msgbox::Cancel}};
    case msgbox::AbortRetryIgnore:
        return {{B::Abort, msgbox::Abort}, {B::Retry, msgbox::Retry}, {B::Ignore, msgbox::Ignore}};
    case msgbox::YesNoCancel:
        return {{B::Yes, msgbox::Yes}, {B::No, msgbox::No}, {B::Cancel, msgbox::Cancel}};
    case msgbox::YesNo:
        return {{B::Yes, msgbox::Yes}, {B::No, msgbox::No}};
    case msgbox::RetryCancel:
        return {{B::Retry, msgbox::Retry}, {B::Cancel, msgbox::Cancel}};
    default:
        return {{B::Ok, msgbox::Ok}};
    }
}

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case msgbox::Critical:
        return QMessageBox::Critical;
    case msgbox::Question:
        return QMessageBox::Question;
    case msgbox::Exclamation:
        return QMessageBox::Warning;
    case msgbox::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Standard buttons, so that installed Qt translations give their captions.
int showRealBox(const QString &text, int style, const QString &title)
{
    QMessageBox box(iconOf(style), title, text, QMessageBox::NoButton, messageBoxOwner());
    const std::vector<ButtonAnswer> buttons = buttonsOf(style);
    for (const ButtonAnswer &entry : buttons)
        box.addButton(entry.button);
    const auto defaultIndex = static_cast<std::size_t>((style & 0x300) >> 8);
    box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0].button);

    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonAnswer &entry : buttons) {
        if (entry.button == clicked)
            return entry.answer;
    }
    return msgbox::Cancel;
}

} // namespace

QWidget *messageBoxOwner()
{
    // The active window alone is not enough: just after the open-file
    // dialog closes there is none, and a box would open mid-screen.
    if (QWidget *raisedBy = handlerWindow(); raisedBy && raisedBy->isVisible())
        return raisedBy;
    return QApplication::activeWindow();
}

QString applicationTitle()
{
    return QStringLiteral("Morvell Image Viewer");
}

int messageBox(const QString &text, int style, const QString &title)
{
    const QString shownTitle = title.isEmpty() ? applicationTitle() : title;
    const MessageBoxFunction &box = installedBox();
    return box ? box(text, style, shownTitle) : showRealBox(text, style, shownTitle);
}

MessageBoxFunction setMessageBox(MessageBoxFunction box)
{
    return std::exchange(installedBox(), std::move(box));
}

} // namespace platform
