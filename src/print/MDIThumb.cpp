#include "print/MDIThumb.h"

#include <QVBoxLayout>

#include "print/frmTumb.h"
#include "platform/Twips.h"

MDIThumb::MDIThumb()
{
    setObjectName(QStringLiteral("MDIThumb"));
    setWindowTitle(QStringLiteral("サムネールのプリント"));
    platform::setClientSizeTwips(this, 9975, 11115);
    Area = new QMdiArea(this);
    Area->setObjectName(QStringLiteral("Area"));
    Area->setBackground(Qt::white);
    Area->setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Area);
}

void MDIThumb::Form_Unload()
{
    forms::unload<frmTumb>();
}
