#pragma once

#include <QAbstractButton>
#include <QObject>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace platform {

// An image control used as a button: it shows a bitmap and reports a click
// (left button pressed and released over it, or Space or Enter while it has
// the focus). As a button it is found by assistive tools, named by its
// caption (set with setText, never drawn: the bitmap shows it). A disabled
// one ignores clicks and shows its bitmap greyed. Without stretch the
// control takes the size of each picture it gets; with stretch the picture
// fills it.
class PictureButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit PictureButton(QWidget *parent = nullptr);

    [[nodiscard]] QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);
    // Loads a bitmap file. A missing or unreadable file keeps the current
    // picture and returns false; whatever the click does still happens.
    bool setPictureFile(const QString &path);

    [[nodiscard]] bool stretch() const { return m_stretch; }
    void setStretch(bool stretch);

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPixmap m_picture;
    bool m_stretch = false;
};

// A timer control: it ticks every interval milliseconds while it is enabled
// and its interval is above 0, so an interval of 0 never ticks. Setting the
// interval, even to the same value, starts the count again. Enabled, with
// interval 0, when created.
class Timer : public QObject
{
    Q_OBJECT

public:
    explicit Timer(QObject *parent = nullptr);

    [[nodiscard]] int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    [[nodiscard]] bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

signals:
    void timeout();

private:
    void restart();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
};

} // namespace platform
