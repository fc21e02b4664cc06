#include "viewer/frmAllSlide.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "app/Design.h"
#include "app/Module1.h"
#include "platform/Events.h"
#include "platform/Guard.h"
#include "platform/Twips.h"
#include "viewer/frmSlidePath.h"
#include "viewer/frmviewer.h"

namespace {

constexpr int kFrameWidth = 11775;
constexpr int kFrameHeight = 8775;

QPixmap plainFace(QSize size, const QString &caption)
{
    QPixmap face(size);
    face.fill(QColor(48, 48, 56));
    QPainter painter(&face);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawRect(face.rect().adjusted(1, 1, -2, -2));
    QFont font = painter.font();
    font.setPixelSize(size.height() / 2);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(face.rect(), Qt::AlignCenter, caption);
    return face;
}

} // namespace

frmAllSlide::frmAllSlide()
{
    setObjectName(QStringLiteral("frmAllSlide"));
    setWindowTitle(QStringLiteral("Form1")); // borderless: never shown
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    design::setBackground(this, Qt::black);

    Frame1 = design::control<QFrame>(this, "Frame1", 120, 60, kFrameWidth, kFrameHeight);
    design::setBackground(Frame1, Qt::black);
    Ik5Slide1 = design::control<imaging::Ik5Slide>(Frame1, "Ik5Slide1", 2100, 720, 7395, 7395);
    Ik5Slide1->setBackColor(Qt::black);
    Image1 = design::pictureButton(Frame1, "Image1", QStringLiteral("開始"), 9660, 1380, 1770, 870);
    Image2 = design::pictureButton(Frame1, "Image2", QStringLiteral("停止"), 9660, 4050, 1770, 870);
    Image3 = design::pictureButton(Frame1, "Image3", QStringLiteral("終了"), 9660, 6720, 1770, 870);
    Timer1 = new platform::Timer(this);
    Timer2 = new platform::Timer(this);
    Timer3 = new platform::Timer(this);

    platform::onTimer(Timer1, this, &frmAllSlide::Timer1_Timer);
    platform::onTimer(Timer2, this, &frmAllSlide::Timer2_Timer);
    platform::onTimer(Timer3, this, &frmAllSlide::Timer3_Timer);
    platform::onClick(Image1, this, &frmAllSlide::Image1_Click);
    platform::onClick(Image2, this, &frmAllSlide::Image2_Click);
    platform::onClick(Image3, this, &frmAllSlide::Image3_Click);
}

void frmAllSlide::Form_Load()
{
    Timer1->setEnabled(true);
    Timer1->setInterval(1000);
    Timer2->setEnabled(true);
    Timer2->setInterval(1100);
    Timer3->setEnabled(true);
    Timer3->setInterval(900);
}

void frmAllSlide::Form_Unload()
{
    Ik5Slide1->end();
}

QPointF frmAllSlide::frameCornerTwips(QSizeF windowTwips, QSizeF frameTwips)
{
    // Single precision, as the design's window sizes are kept.
    const auto half = [](double window, double frame) {
        return double((float(window) - float(frame)) / 2.0f);
    };
    return {half(windowTwips.width(), frameTwips.width()), half(windowTwips.height(), frameTwips.height())};
}

void frmAllSlide::coverScreenOf(const QWidget *window)
{
    const QScreen *screen = window ? window->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 640, 480);
    setGeometry(area);
    const QPointF corner = frameCornerTwips(QSizeF(platform::pixelsToTwips(area.width()),
                                                   platform::pixelsToTwips(area.height())),
                                            QSizeF(kFrameWidth, kFrameHeight));
    Frame1->move(qRound(corner.x() / platform::kTwipsPerPixel), qRound(corner.y() / platform::kTwipsPerPixel));
}

void frmAllSlide::blink(platform::PictureButton *button, bool &flag, const char *stem, const QString &caption)
{
    const QString file = AppPath + QString::fromLatin1(stem) + (flag ? QStringLiteral("1.bmp") : QStringLiteral("2.bmp"));
    if (!button->setPictureFile(file))
        button->setPicture(plainFace(button->size(), caption));
    flag = !flag;
}

void frmAllSlide::Timer1_Timer() { blink(Image1, blink1, "slide_start", QStringLiteral("開始")); }
void frmAllSlide::Timer2_Timer() { blink(Image2, blink2, "slide_stop", QStringLiteral("停止")); }
void frmAllSlide::Timer3_Timer() { blink(Image3, blink3, "slide_end", QStringLiteral("終了")); }

void frmAllSlide::Image1_Click()
{
    // The panel's settings, read afresh; a main window that was closed is
    // not built again for them.
    if (const frmviewer *viewer = mainWindowIfLoaded()) {
        viewer->startSlideshow(Ik5Slide1);
        return;
    }
    Ik5Slide1->setFolder(SlideFolder);
    Ik5Slide1->prepare();
    Ik5Slide1->start();
}

void frmAllSlide::Image2_Click()
{
    Ik5Slide1->pause();
}

void frmAllSlide::Image3_Click()
{
    Ik5Slide1->end();
    forms::unload<frmSlidePath>();
    forms::unload<frmAllSlide>();
}

void frmAllSlide::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        platform::runHandler(this, platform::WhileBusy::Ignored, [this] { Image3_Click(); });
        return;
    }
    platform::Form::keyPressEvent(event);
}
