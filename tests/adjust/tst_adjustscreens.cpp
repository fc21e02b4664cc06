// Screenshots of the adjustment dialogs for a person to look at, not
// assertions: with MORVELL_SCREENSHOTS=<folder> (and optionally
// MORVELL_SCREENSHOT_PHOTO=<a real photo>) each dialog is drawn to a PNG
// there; without, it is skipped.

#include <QtTest>

#include "support/ScreenshotTour.h"

#include "adjust/frmAkarusa.h"
#include "adjust/frmRotate.h"
#include "adjust/frmSaido.h"
#include "app/DesignFonts.h"
#include "app/Module1.h"
#include "imaging/core/FileDialogSeam.h"
#include "support/FormTesting.h"
#include "viewer/frmviewer.h"

class TestAdjustScreens : public QObject
{
    Q_OBJECT

private:
    testsupport::ScreenshotTour m_tour;
    QString m_photo;

    void save(QWidget *window, const QString &name) { m_tour.save(window, name); }

    frmviewer *viewerWithPhoto()
    {
        auto *viewer = forms::get<frmviewer>();
        viewer->Show();
        if (!m_photo.isEmpty()) {
            imaging::setOpenFileDialog([this](const QString &) { return m_photo; });
            viewer->Image2_Click();
            viewer->Timer2_Timer();
            imaging::setOpenFileDialog({});
        }
        viewer->Image1_Click();
        viewer->Timer6_Timer();
        return viewer;
    }

private slots:
    void initTestCase()
    {
        MORVELL_SKIP_UNLESS_SCREENSHOTS(m_tour);
        m_photo = qEnvironmentVariable("MORVELL_SCREENSHOT_PHOTO");
    }

    void cleanup() { testsupport::unloadAllForms(); }

    void rotate()
    {
        auto *viewer = viewerWithPhoto();
        viewer->Command8_Click();
        auto *dialog = forms::get<frmRotate>();
        save(dialog, QStringLiteral("rotate"));
        dialog->Check1->setChecked(true);
        dialog->Option2->setChecked(true);
        dialog->Text1->setText(QStringLiteral("30"));
        save(dialog, QStringLiteral("rotate-angle-entry"));
        dialog->Command4->click();
        save(viewer, QStringLiteral("rotate-result-30-counter-clockwise"));
    }

    void brightnessContrast()
    {
        auto *viewer = viewerWithPhoto();
        viewer->Command14_Click();
        auto *dialog = forms::get<frmAkarusa>();
        save(dialog, QStringLiteral("brightness-contrast"));
        dialog->HScroll1->setValue(-120);
        dialog->HScroll2->setValue(12);
        save(dialog, QStringLiteral("brightness-contrast-moved"));
    }

    void saturation()
    {
        auto *viewer = viewerWithPhoto();
        viewer->Command16_Click();
        auto *dialog = forms::get<frmSaido>();
        save(dialog, QStringLiteral("saturation"));
        dialog->Text1->setText(QStringLiteral("300"));
        dialog->Command1->click();
        save(dialog, QStringLiteral("saturation-300-previewed"));
    }
};

QTEST_MAIN(TestAdjustScreens)
#include "tst_adjustscreens.moc"
