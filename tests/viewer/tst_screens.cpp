// Screenshots of the windows for a person to look at, not assertions: with
// MORVELL_SCREENSHOTS=<folder> (and optionally MORVELL_SCREENSHOT_PHOTO=<a
// real photo>) every window is drawn to a PNG there; without, it is skipped.

#include <QtTest>

#include "support/ScreenshotTour.h"

#include "app/DesignFonts.h"
#include "app/Form2.h"
#include "app/Module1.h"
#include "app/frmAbout.h"
#include "app/frmSplash.h"
#include "imaging/core/FileDialogSeam.h"
#include "support/FormTesting.h"
#include "viewer/frmviewer.h"

class TestScreens : public QObject
{
    Q_OBJECT

private:
    testsupport::ScreenshotTour m_tour;

    void save(QWidget *window, const QString &name) { m_tour.save(window, name); }

private slots:
    void initTestCase()
    {
        MORVELL_SKIP_UNLESS_SCREENSHOTS(m_tour);
    }

    void cleanup() { testsupport::unloadAllForms(); }

    void windows()
    {
        auto *splash = forms::get<frmSplash>();
        splash->Show();
        save(splash, QStringLiteral("splash"));

        auto *viewer = forms::get<frmviewer>();
        viewer->Show();
        save(viewer, QStringLiteral("main-empty"));

        const QString photo = qEnvironmentVariable("MORVELL_SCREENSHOT_PHOTO");
        if (!photo.isEmpty()) {
            imaging::setOpenFileDialog([photo](const QString &) { return photo; });
            viewer->Image2_Click();
            viewer->Timer2_Timer();
            save(viewer, QStringLiteral("main-photo"));
            viewer->Image1_Click();
            viewer->Timer6_Timer();
            save(viewer, QStringLiteral("main-adjustments"));
            viewer->Command17_Click();
            viewer->Command6_Click();
            save(viewer, QStringLiteral("main-display-settings"));
            imaging::setOpenFileDialog({});
        }
        platform::setOuterSizeTwips(viewer, frmviewer::kOuterWidth, frmviewer::kOuterHeightThumbnails);
        save(viewer, QStringLiteral("main-thumbnail-strip"));

        auto *progress = forms::get<Form2>();
        progress->Show();
        progress->setStatus(QStringLiteral("夏 1.jpg処理中"));
        Form2::reportProgress(42);
        save(progress, QStringLiteral("progress"));

        auto *about = forms::get<frmAbout>();
        about->Show();
        save(about, QStringLiteral("about"));
    }
};

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
