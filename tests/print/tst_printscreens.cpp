// Screenshots and pages of printing for a person to look at, not
// assertions: with MORVELL_SCREENSHOTS=<folder> the print windows are drawn
// to PNGs there and their pages written as PDFs into <folder>/pdf; with
// MORVELL_SCREENSHOT_PHOTO=<a photo> the print window shows it, and with
// MORVELL_SCREENSHOT_FOLDER=<a folder of photos> the contact sheet prints
// it twice. Without a folder it is skipped.

#include <QtTest>

#include "support/ScreenshotTour.h"

#include "platform/Printing.h"
#include "print/MDIThumb.h"
#include "print/frmPrint.h"
#include "print/frmPrintCont.h"
#include "support/FormTesting.h"
#include "support/PrintSeams.h"
#include "viewer/frmviewer.h"

class TestPrintScreens : public QObject
{
    Q_OBJECT

private:
    testsupport::ScreenshotTour m_tour;
    QString m_previousFolder;
    QTemporaryDir m_current;

private slots:
    void initTestCase()
    {
        MORVELL_SKIP_UNLESS_SCREENSHOTS(m_tour);
        const QString pdfs = QDir(qEnvironmentVariable("MORVELL_SCREENSHOTS")).filePath(QStringLiteral("pdf"));
        QDir().mkpath(pdfs);
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_current.path());
        QFile settings(QStringLiteral("Ik5Prn.Ik5"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("output=pdf\npdf folder=" + pdfs.toUtf8() + "\n");
        platform::applicationPrinter().output = platform::PrinterChoice::Output::Pdf;
        platform::applicationPrinter().pdfFolder = pdfs;
        platform::setPdfNoticeGiven(true);
    }

    void cleanupTestCase() { QDir::setCurrent(m_previousFolder); }
    void cleanup() { testsupport::unloadAllForms(); }

    void printWindow()
    {
        auto *viewer = forms::get<frmviewer>();
        viewer->Show();
        testsupport::ScreenshotTour::openPhoto(viewer);
        viewer->Image6_Click();
        viewer->Timer7_Timer();
        auto *print = forms::get<frmPrint>();
        print->Text5->setPlainText(QStringLiteral("家族旅行の写真\n二行目のメモ"));
        m_tour.save(print, QStringLiteral("print-window"));
        print->cmdPrint->click();
    }

    void contactSheet()
    {
        const QString folder = qEnvironmentVariable("MORVELL_SCREENSHOT_FOLDER");
        if (folder.isEmpty())
            QSKIP("set MORVELL_SCREENSHOT_FOLDER to a folder of photos");
        auto *viewer = forms::get<frmviewer>();
        viewer->Show();
        viewer->Ik5Thumb1->setFolder(folder);
        viewer->Command9_Click();
        auto *sheet = forms::get<frmPrintCont>();
        m_tour.save(sheet, QStringLiteral("contact-sheet-window"));
        // The sheet window while its first page fills, then the real print.
        int pages = 0;
        std::optional<testsupport::PrintWindowOverride> look;
        look.emplace([&](QWidget *page) {
            if (pages++ == 0)
                m_tour.save(forms::get<MDIThumb>(), QStringLiteral("contact-sheet-page-window"));
            const platform::PrintWindowFunction mine = platform::setPrintWindowImage({});
            platform::printWindowImage(page);
            platform::setPrintWindowImage(mine);
        });
        sheet->cmdPrint->click();
        sheet->cmdPrint->click();
        QVERIFY(!forms::isLoaded<MDIThumb>());
    }
};

QTEST_MAIN(TestPrintScreens)
#include "tst_printscreens.moc"
