// Screenshots of the save dialog for a person to look at, not assertions:
// with MORVELL_SCREENSHOTS=<folder> (and optionally MORVELL_SCREENSHOT_PHOTO=
// <a real photo>) the dialog is drawn to PNGs there; without, it is skipped.

#include <QtTest>

#include "support/ScreenshotTour.h"

#include "app/DesignFonts.h"
#include "app/Module1.h"
#include "imaging/core/FileDialogSeam.h"
#include "save/frmSave.h"
#include "support/FormTesting.h"
#include "viewer/frmviewer.h"

class TestSaveScreens : public QObject
{
    Q_OBJECT

private:
    testsupport::ScreenshotTour m_tour;
    QTemporaryDir m_dir;

    void save(QWidget *window, const QString &name) { m_tour.save(window, name); }

private slots:
    void initTestCase()
    {
        MORVELL_SKIP_UNLESS_SCREENSHOTS(m_tour);
        // A folder to save into, with Japanese names and spaces.
        QDir work(m_dir.path());
        for (const char *sub : {"写真 2024", "旅行", "scans", "夏 休み"})
            work.mkpath(QString::fromUtf8(sub));
        for (const char *file : {"IMG_0001.JPG", "夏 1.png", "メモ.txt"}) {
            QFile f(work.filePath(QString::fromUtf8(file)));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QDir::setCurrent(m_dir.path());
    }

    void cleanup() { testsupport::unloadAllForms(); }

    void saveDialog()
    {
        auto *viewer = forms::get<frmviewer>();
        viewer->Show();
        testsupport::ScreenshotTour::openPhoto(viewer);
        auto *dialog = forms::get<frmSave>();
        dialog->Show();
        save(dialog, QStringLiteral("save-start"));

        dialog->Dir1->setListIndex(1);
        dialog->Option7->setChecked(true);
        dialog->Option1->setChecked(true);
        dialog->HScroll1->setValue(75);
        save(dialog, QStringLiteral("save-custom-quality"));
    }
};

QTEST_MAIN(TestSaveScreens)
#include "tst_save_screens.moc"
