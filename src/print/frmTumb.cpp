#include "print/frmTumb.h"

#include <QMdiSubWindow>

#include "app/Design.h"
#include "app/DesignFonts.h"
#include "platform/Twips.h"
#include "print/MDIThumb.h"

using design::control;

namespace {

// The third column lies 1680 to the right of the second, every other step is 1620.
constexpr int kColumnLefts[frmTumb::kColumns] = {120, 1740, 3420, 5040, 6660, 8280};
constexpr int kRowTops[frmTumb::kCells / frmTumb::kColumns] = {420, 2340, 4260, 6180, 8100, 10020};
constexpr int kCellSide = 1515;
constexpr int kNameBelow = 1560;
constexpr int kNameHeight = 240;

const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

QByteArray arrayName(const char *name, int index)
{
    return QByteArray(name) + '_' + QByteArray::number(index);
}

} // namespace

frmTumb::frmTumb()
{
    setObjectName(QStringLiteral("frmTumb"));
    platform::setClientSizeTwips(this, 9975, 11985);
    design::setBackground(this, Qt::white);
    for (int i = 0; i < kCells; ++i) {
        const int left = kColumnLefts[i % kColumns];
        const int top = kRowTops[i / kColumns];
        picThumb[i] = control<QLabel>(this, arrayName("picThumb", i).constData(), left, top, kCellSide, kCellSide);
        picThumb[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop); // a picture sits at the box's corner
        design::setBackground(picThumb[i], Qt::white);
        lblName[i] = control<QLabel>(this, arrayName("lblName", i).constData(), QString(), left, top + kNameBelow, kCellSide,
                                     kNameHeight);
        design::setBackground(lblName[i], Qt::white);
        design::setTextColour(lblName[i], Qt::black);
    }
    Label1 = control<QLabel>(this, "Label1", QString(), 180, 60, 15, 240, designfonts::font(kPGothic, 15.75));
    Label2 = control<QLabel>(this, "Label2", QString(), 9060, 60, 15, 240, designfonts::font(kPGothic, 12));

    // A page window lives in the contact sheet's window, shown at its corner.
    QMdiSubWindow *frame = forms::get<MDIThumb>()->Area->addSubWindow(this, Qt::FramelessWindowHint);
    frame->move(0, 0);
    frame->show();
}

void frmTumb::Form_Unload()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget())) {
        frame->setWidget(nullptr); // this page is destroyed later, by the forms
        frame->deleteLater();
    }
}
