#pragma once

#include <QFrame>
#include <QPointF>
#include <QSize>

#include "imaging/widgets/Ik5Slide.h"
#include "platform/Controls.h"
#include "platform/Forms.h"

// The full-screen slideshow: a black borderless window over the whole of
// the main window's screen, the show in the middle and three large picture
// buttons (start, stop, end) that blink out of step. It takes the folder,
// the interval and the repeat box from the main window's slideshow panel
// each time its start button is pressed. Esc ends it as the end button does.
class frmAllSlide : public platform::Form
{
    Q_OBJECT

public:
    frmAllSlide();

    QFrame *Frame1;
    imaging::Ik5Slide *Ik5Slide1;
    platform::PictureButton *Image1; // start
    platform::PictureButton *Image2; // stop
    platform::PictureButton *Image3; // end
    platform::Timer *Timer1, *Timer2, *Timer3;

    // Each timer's flag: on shows the button's first bitmap.
    bool blink1 = false, blink2 = false, blink3 = false;

    void Form_Load() override;
    void Form_Unload() override;
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Image1_Click();
    void Image2_Click();
    void Image3_Click();

    // Covers the screen the given window is on and centres Frame1 on it.
    void coverScreenOf(const QWidget *window);

    // Where Frame1's corner goes, in twips, in a window of the given size:
    // half the difference each way, without rounding; negative on a screen
    // smaller than the frame, which then loses the same on both sides.
    [[nodiscard]] static QPointF frameCornerTwips(QSizeF windowTwips, QSizeF frameTwips);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The bitmap of the timer's row for its flag; a missing or unreadable
    // one gives a plain face with the button's caption, never a message.
    void blink(platform::PictureButton *button, bool &flag, const char *stem, const QString &caption);
};
