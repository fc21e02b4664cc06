#include "app/frmSplash.h"

#include <QPixmap>

#include "app/DesignFonts.h"
#include "app/Module1.h"
#include "platform/Events.h"
#include "platform/Twips.h"
#include "viewer/frmviewer.h"

using platform::place;

namespace {

QLabel *designLabel(QWidget *parent, const char *name, const QString &text, const QFont &font, QColor colour)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

frmSplash::frmSplash()
    : fraMainFrame(new QFrame(this))
    , picLogo(new QLabel(fraMainFrame))
    , Timer1(new platform::Timer(this))
{
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFixedSize(platform::twipsRect(0, 0, 9240, 4410).size());
    setAutoFillBackground(true);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(grey);

    fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    place(fraMainFrame, 90, 135, 9060, 4185);
    fraMainFrame->setAutoFillBackground(true);
    QPalette white = fraMainFrame->palette();
    white.setColor(QPalette::Window, Qt::white);
    fraMainFrame->setPalette(white);

    picLogo->setObjectName(QStringLiteral("picLogo"));
    place(picLogo, 120, 600, 4575, 3105);
    picLogo->setPixmap(QPixmap(QStringLiteral(":/design/splash_logo.png")));
    picLogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const QColor blue(0, 0, 255), black(0, 0, 0);
    lblCompanyProduct = designLabel(fraMainFrame, "lblCompanyProduct", QStringLiteral("Morvell Communication"),
                                    designfonts::font(QStringLiteral("ＭＳ Ｐゴシック"), 18, true), blue);
    place(lblCompanyProduct, 4800, 945, 4095, 360);
    lblProductName = designLabel(fraMainFrame, "lblProductName", QStringLiteral("Morvell Image Viewer"),
                                 designfonts::font(QStringLiteral("Impact"), 20.25, true), blue);
    place(lblProductName, 4860, 1560, 4065, 510);
    lblPlatform = designLabel(fraMainFrame, "lblPlatform", QStringLiteral("For Windows 98 AND 2000"),
                              designfonts::font(QStringLiteral("ＭＳ Ｐゴシック"), 15.75, true), black);
    place(lblPlatform, 4935, 2520, 3885, 315);
    lblVersion = designLabel(fraMainFrame, "lblVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ  1.0.0"),
                             designfonts::font(QStringLiteral("ＭＳ Ｐゴシック"), 12, true), black);
    place(lblVersion, 5880, 3120, 1620, 240);
    lblNotice1 = designLabel(fraMainFrame, "lblNotice1", QStringLiteral("このソフトウェアは無保証です"),
                             designfonts::font(QStringLiteral("ＭＳ Ｐゴシック"), 9.75), black);
    place(lblNotice1, 135, 3825, 2415, 165);
    lblNotice2 = designLabel(fraMainFrame, "lblNotice2", QStringLiteral("Copyright (C) Morvell Communication. All rights reserved."),
                             designfonts::font(QStringLiteral("ＭＳ Ｐゴシック"), 8.25), black);
    place(lblNotice2, 3555, 3870, 4695, 165);

    // Our fonts run a little wider than the design's: a caption that would be
    // cut gets the room it needs, to the right, inside the frame.
    for (QLabel *label : {lblCompanyProduct, lblProductName, lblPlatform, lblVersion, lblNotice1, lblNotice2})
        label->resize(std::max(label->width(), std::min(label->sizeHint().width(), fraMainFrame->width() - label->x())),
                      label->height());

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    Timer1->setEnabled(true);
    platform::onTimer(Timer1, this, &frmSplash::Timer1_Timer);
}

void frmSplash::Form_Load()
{
    lblVersion->setText(QStringLiteral("Version ") + Module1::versionText());
    const QSize screen = platform::screenSizeTwips();
    // The splash has no frame: its outer size is its client area.
    const QSize self(platform::pixelsToTwips(width()), platform::pixelsToTwips(height()));
    platform::moveTwips(this, (screen.width() - self.width()) / 2, (screen.height() - self.height()) / 2);
}

void frmSplash::Timer1_Timer()
{
    forms::unload<frmSplash>();
    forms::get<frmviewer>()->Show();
}
