#include "platform/MessageBox.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>
#include <QTextBoundaryFinder>

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

// Where a line of text may break, as offsets from its start.
std::vector<qsizetype> breakOpportunities(const QString &line)
{
    std::vector<qsizetype> breaks;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, line);
    while (finder.toNextBoundary() > 0 && finder.position() < line.size())
        breaks.push_back(finder.position());
    return breaks;
}

// One line broken into about equal parts, each break at the opportunity
// nearest to an even share of the width.
QStringList evenParts(const QString &line, const QFontMetrics &metrics, int maxWidth)
{
    const int width = metrics.horizontalAdvance(line);
    if (width <= maxWidth)
        return {line};
    const int parts = (width + maxWidth - 1) / maxWidth;
    const std::vector<qsizetype> breaks = breakOpportunities(line);
    QStringList lines;
    qsizetype start = 0;
    for (int part = 1; part < parts; ++part) {
        const int wanted = width * part / parts;
        qsizetype best = -1;
        for (const qsizetype at : breaks) {
            if (at <= start || metrics.horizontalAdvance(line.mid(start, at - start)) > maxWidth)
                continue;
            if (best < 0 || std::abs(metrics.horizontalAdvance(line.left(at)) - wanted)
                                < std::abs(metrics.horizontalAdvance(line.left(best)) - wanted))
                best = at;
        }
        if (best < 0)
            break; // no break fits: the box wraps what is left
        lines << line.mid(start, best - start).trimmed();
        start = best;
    }
    lines << line.mid(start).trimmed();
    return lines;
}

// How wide a box's text may be before Qt's box wraps it by itself: half the
// screen, at most 500 px, less the icon and the margins.
int textWidthLimit(const QWidget *box)
{
    const int screenHalf = box->screen() ? box->screen()->availableGeometry().width() / 2 : 500;
    return std::min(screenHalf, 500) - 120;
}

// Standard buttons, so that installed Qt translations give their captions.
int showRealBox(const QString &text, int style, const QString &title)
{
    QMessageBox box(iconOf(style), title, text, QMessageBox::NoButton, messageBoxOwner());
    box.setText(evenLines(text, QFontMetrics(box.font()), textWidthLimit(&box)));
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

QString evenLines(const QString &text, const QFontMetrics &metrics, int maxWidth)
{
    QStringList lines;
    for (const QString &line : text.split(QLatin1Char('\n')))
        lines << evenParts(line, metrics, maxWidth);
    return lines.join(QLatin1Char('\n'));
}

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
