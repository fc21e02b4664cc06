#include "app/frmSplash.h"

#include <QPixmap>

#include "app/Design.h"
#include "app/DesignFonts.h"
#include "app/Module1.h"
#include "platform/Events.h"
#include "platform/Twips.h"
#include "viewer/frmviewer.h"

frmSplash::frmSplash()
    : Timer1(new platform::Timer(this))
{
    using design::control;
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    platform::setClientSizeTwips(this, 9240, 4410);
    design::setBackground(this, design::kSplashGrey);

    fraMainFrame = control<QFrame>(this, "fraMainFrame", 90, 135, 9060, 4185);
    design::setBackground(fraMainFrame, Qt::white);
    picLogo = control<QLabel>(fraMainFrame, "picLogo", 120, 600, 4575, 3105);
    picLogo->setPixmap(QPixmap(QStringLiteral(":/design/splash_logo.png")));
    picLogo->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Captions too wide for their labels in our fonts grow to the frame's
    // edge and, past it, get a smaller font: "Impact" has no exact match.
    const QString gothic = QStringLiteral("ＭＳ Ｐゴシック");
    using designfonts::font;
    lblCompanyProduct = control<QLabel>(fraMainFrame, "lblCompanyProduct", QStringLiteral("Morvell Communication"),
                                        4800, 945, 4095, 360, font(gothic, 18, true));
    lblProductName = control<QLabel>(fraMainFrame, "lblProductName", QStringLiteral("Morvell Image Viewer"), 4860,
                                     1560, 4065, 510, font(QStringLiteral("Impact"), 20.25, true));
    lblPlatform = control<QLabel>(fraMainFrame, "lblPlatform", QStringLiteral("For Windows 98 AND 2000"), 4935, 2520,
                                  3885, 315, font(gothic, 15.75, true));
    lblVersion = control<QLabel>(fraMainFrame, "lblVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ  1.0.0"), 5880, 3120, 1620, 240,
                                 font(gothic, 12, true));
    lblNotice1 = control<QLabel>(fraMainFrame, "lblNotice1", QStringLiteral("このソフトウェアは無保証です"), 135, 3825,
                                 2415, 165, font(gothic, 9.75));
    lblNotice2 = control<QLabel>(fraMainFrame, "lblNotice2",
                                 QStringLiteral("Copyright (C) Morvell Communication. All rights reserved."), 3555,
                                 3870, 4695, 165, font(gothic, 8.25));
    design::setTextColour(lblCompanyProduct, design::kBlueText);
    design::setTextColour(lblProductName, design::kBlueText);

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    Timer1->setEnabled(true);
    platform::onTimer(Timer1, this, &frmSplash::Timer1_Timer);
}

void frmSplash::Form_Load()
{
    lblVersion->setText(QStringLiteral("Version ") + Module1::versionText());
    design::fitCaption(lblVersion);
    platform::centreTwips(this, QRect(QPoint(0, 0), platform::screenSizeTwips()));
}

void frmSplash::Timer1_Timer()
{
    forms::unload<frmSplash>();
    forms::get<frmviewer>()->Show();
}
