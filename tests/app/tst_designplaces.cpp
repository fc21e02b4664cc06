// Every control of every window takes its designed place and at least its
// designed size; its caption shows whole; assistive tools get that place and
// the captions of picture buttons and frames.

#include <QtTest>

#include <functional>

#include <QAccessible>
#include <QCheckBox>
#include <QRadioButton>

#include "adjust/frmAkarusa.h"
#include "adjust/frmRotate.h"
#include "adjust/frmSaido.h"
#include "app/Design.h"
#include "app/DesignFonts.h"
#include "app/Form2.h"
#include "app/Module1.h"
#include "app/frmAbout.h"
#include "app/frmSplash.h"
#include "batch/frmAllsave.h"
#include "batch/frmResize.h"
#include "save/frmSave.h"
#include "support/FormTesting.h"
#include "support/core/TestImages.h"
#include "viewer/frmAllSlide.h"
#include "viewer/frmSlidePath.h"
#include "viewer/frmThumbPath.h"
#include "viewer/frmviewer.h"

using OpenWindow = std::function<QWidget *()>;
Q_DECLARE_METATYPE(OpenWindow)

namespace {

frmviewer *viewerWithImage()
{
    auto *viewer = forms::get<frmviewer>();
    viewer->Show();
    viewer->replaceWorkingImage(testsupport::addImage(testsupport::solid(40, 30, Qt::darkGreen)));
    return viewer;
}

template <typename Window>
QWidget *shown()
{
    auto *window = forms::get<Window>();
    window->Show();
    return window;
}

bool takesCaptionWhole(const QWidget *control)
{
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return !label->wordWrap() && label->pixmap().isNull() && !label->text().isEmpty();
    return qobject_cast<const QRadioButton *>(control) || qobject_cast<const QCheckBox *>(control);
}

QRect globalRect(const QWidget *control)
{
    return QRect(control->mapToGlobal(QPoint(0, 0)), control->size());
}

} // namespace

class TestDesignPlaces : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        designfonts::install();
        AppPath = QStringLiteral(MORVELL_ART_DIR "/");
    }

    void cleanup()
    {
        if (frmviewer *viewer = mainWindowIfLoaded()) {
            viewer->Ik5Common1->setHandle(viewer->Ik5Disp1->handle());
            viewer->Ik5Common1->release();
        }
        testsupport::unloadAllForms();
    }

    void everyControl_data()
    {
        QTest::addColumn<OpenWindow>("open");
        QTest::newRow("splash") << OpenWindow([] { return shown<frmSplash>(); });
        QTest::newRow("main window with its panels") << OpenWindow([] {
            frmviewer *viewer = viewerWithImage();
            // Shown where they are designed, below the window's edge.
            for (QWidget *panel : {viewer->Frame2, viewer->Frame3, viewer->Frame4, viewer->Frame5})
                panel->show();
            viewer->Label8->show();
            return static_cast<QWidget *>(viewer);
        });
        QTest::newRow("progress dialog") << OpenWindow([] { return shown<Form2>(); });
        QTest::newRow("about box") << OpenWindow([] { return shown<frmAbout>(); });
        QTest::newRow("rotate") << OpenWindow([] {
            viewerWithImage()->Command8_Click();
            return static_cast<QWidget *>(forms::get<frmRotate>());
        });
        QTest::newRow("brightness and contrast") << OpenWindow([] {
            viewerWithImage()->Command14_Click();
            return static_cast<QWidget *>(forms::get<frmAkarusa>());
        });
        QTest::newRow("saturation") << OpenWindow([] {
            viewerWithImage()->Command16_Click();
            return static_cast<QWidget *>(forms::get<frmSaido>());
        });
        QTest::newRow("save dialog") << OpenWindow([] {
            viewerWithImage();
            return shown<frmSave>();
        });
        QTest::newRow("thumbnail folder picker") << OpenWindow([] { return shown<frmThumbPath>(); });
        QTest::newRow("slideshow folder picker") << OpenWindow([] { return shown<frmSlidePath>(); });
        QTest::newRow("batch resize") << OpenWindow([] { return shown<frmResize>(); });
        QTest::newRow("batch output") << OpenWindow([] { return shown<frmAllsave>(); });
        QTest::newRow("full-screen slideshow") << OpenWindow([] { return shown<frmAllSlide>(); });
    }
    void everyControl()
    {
        QFETCH(OpenWindow, open);
        QWidget *window = open();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        int checked = 0;
        for (const QWidget *control : window->findChildren<QWidget *>()) {
            const QRect designed = design::designedRect(control);
            if (designed.isEmpty())
                continue;
            ++checked;
            const QString name = control->objectName();
            // A caption may grow a control, never shrink or move it.
            QVERIFY2(control->geometry().contains(designed),
                     qPrintable(QStringLiteral("%1 at %2,%3 %4x%5, designed %6,%7 %8x%9")
                                    .arg(name).arg(control->x()).arg(control->y()).arg(control->width())
                                    .arg(control->height()).arg(designed.x()).arg(designed.y())
                                    .arg(designed.width()).arg(designed.height())));
            if (takesCaptionWhole(control))
                QVERIFY2(control->sizeHint().width() <= control->width(), qPrintable(name + QStringLiteral(" is cut")));
            // Nothing is cut by the lower or right border of the frame it
            // lies in (some designs put a control on the left or top one).
            if (const auto *frame = qobject_cast<const design::Frame *>(control->parentWidget()))
                QVERIFY2(control->geometry().right() <= frame->innerRect().right()
                             && control->geometry().bottom() <= frame->innerRect().bottom(),
                         qPrintable(name + QStringLiteral(" reaches over the border of ") + frame->objectName()));
            if (!control->isVisibleTo(window))
                continue;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(const_cast<QWidget *>(control));
            QVERIFY(accessible);
            // Option buttons and check boxes answer over their whole place.
            if (qobject_cast<const QRadioButton *>(control) || qobject_cast<const QCheckBox *>(control))
                QCOMPARE(accessible->rect(), globalRect(control));
            if (const auto *picture = qobject_cast<const platform::PictureButton *>(control)) {
                QCOMPARE(accessible->role(), QAccessible::Button);
                QVERIFY2(!picture->text().isEmpty(), qPrintable(name));
                QCOMPARE(accessible->text(QAccessible::Name), picture->text());
            }
            if (const auto *frame = qobject_cast<const design::Frame *>(control); frame && !frame->caption().isEmpty())
                QCOMPARE(accessible->text(QAccessible::Name), frame->caption());
        }
        QVERIFY(checked > 0);
    }
};

QTEST_MAIN(TestDesignPlaces)
#include "tst_designplaces.moc"
