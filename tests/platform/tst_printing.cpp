#include <QtTest>

#include <QPainter>

#include "base/Error.h"
#include "platform/Printing.h"
#include "support/PdfPages.h"
#include "support/PrintSeams.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/SeamOverrides.h"
#include "support/core/TmpfsMount.h"

using namespace testsupport;
using platform::PrintJob;
using platform::PrinterChoice;

namespace {

PrinterChoice pdfTo(const QString &folder)
{
    PrinterChoice choice;
    choice.pdfFolder = folder;
    return choice;
}

// A page with a noisy picture: megabytes of PDF that do not compress away.
void drawNoise(PrintJob &job)
{
    QImage noise(1200, 1200, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, (seed = seed * 1664525u + 1013904223u) >> 8);
    job.painter().drawImage(QRectF(0, 0, 2000, 2000), noise);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void pdfNames_data()
    {
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free: date and time") << QStringList() << QStringLiteral("Morvell-20240305-070809.pdf");
        QTest::newRow("taken: -2") << QStringList{QStringLiteral("Morvell-20240305-070809.pdf")}
                                   << QStringLiteral("Morvell-20240305-070809-2.pdf");
        QTest::newRow("-2 taken too: -3")
            << QStringList{QStringLiteral("Morvell-20240305-070809.pdf"), QStringLiteral("Morvell-20240305-070809-2.pdf")}
            << QStringLiteral("Morvell-20240305-070809-3.pdf");
    }
    void pdfNames()
    {
        QFETCH(QStringList, taken);
        QFETCH(QString, expected);
        const QDateTime when(QDate(2024, 3, 5), QTime(7, 8, 9));
        const QString path = platform::pdfPathFor(QStringLiteral("/docs"), when, [&](const QString &p) {
            return taken.contains(QFileInfo(p).fileName());
        });
        QCOMPARE(path, QStringLiteral("/docs/") + expected);
    }

    // Two jobs in one second never overwrite each other, and no temporary
    // file stays.
    void jobsInOneSecondKeepBothFiles()
    {
        QTemporaryDir dir;
        ClockOverride clock(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)));
        platform::setPdfNoticeGiven(true);
        for (int i = 0; i < 2; ++i) {
            PrintJob job(pdfTo(dir.path()));
            job.painter().drawText(100, 100, QStringLiteral("page %1").arg(i));
            QCOMPARE(QFileInfo(job.finish()).fileName(),
                     i == 0 ? QStringLiteral("Morvell-20240305-070809.pdf") : QStringLiteral("Morvell-20240305-070809-2.pdf"));
        }
        QCOMPARE(filesIn(dir.path()),
                 (QStringList{QStringLiteral("Morvell-20240305-070809-2.pdf"), QStringLiteral("Morvell-20240305-070809.pdf")}));
        QVERIFY(pdfText(dir.filePath(QStringLiteral("Morvell-20240305-070809-2.pdf"))).contains(QStringLiteral("page 1")));
    }

    void abandonedJobLeavesNoFile()
    {
        QTemporaryDir dir;
        platform::setPdfNoticeGiven(true);
        {
            PrintJob job(pdfTo(dir.path()));
            job.painter().drawText(100, 100, QStringLiteral("never"));
        }
        QCOMPARE(filesIn(dir.path()), QStringList());
    }

    // The user hears where PDFs go once, before the first; the folder is
    // made when missing. With no folder chosen it is the documents folder.
    void firstPdfTellsWhereAndMakesTheDocumentsFolder()
    {
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", oldHome);
            qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        const QString documents = home.filePath(QStringLiteral("Documents"));
        QCOMPARE(platform::documentsFolder(), documents);
        QCOMPARE(platform::defaultPrinterChoice().output, PrinterChoice::Output::Pdf); // no CUPS server here
        QVERIFY(!QFileInfo::exists(documents));

        platform::setPdfNoticeGiven(false);
        ScriptedMessageBoxes boxes;
        boxes.expect(platform::msgbox::Ok);
        for (int i = 0; i < 2; ++i) {
            PrintJob job(pdfTo(QString()));
            QCOMPARE(boxes.boxes().size(), 1); // before anything is written
            QVERIFY(boxes.boxes().first().text.contains(documents));
            job.painter().drawText(100, 100, QStringLiteral("page"));
            job.finish();
        }
        QVERIFY(boxes.verify());
        QCOMPARE(pdfsIn(documents).size(), 2);
    }

    void jobsThatCannotStartThrow_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::newRow("queue gone") << QStringLiteral("queue");
        QTest::newRow("PDF folder read-only") << QStringLiteral("read-only");
        QTest::newRow("PDF folder cannot be made") << QStringLiteral("no folder");
    }
    void jobsThatCannotStartThrow()
    {
        QFETCH(QString, situation);
        QTemporaryDir dir;
        platform::setPdfNoticeGiven(true);
        PrinterChoice choice = pdfTo(dir.path());
        std::optional<TmpfsMount> mount;
        if (situation == u"queue") {
            choice.output = PrinterChoice::Output::Printer;
            choice.printer = QStringLiteral("gone-queue");
        } else if (situation == u"read-only") {
            mount.emplace(dir.path(), QStringLiteral("size=1m"));
            if (!mount->mounted() || !mount->remountReadOnly())
                QSKIP("cannot mount a read-only file system here");
        } else {
            QFile blocker(dir.filePath(QStringLiteral("file")));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            choice.pdfFolder = dir.filePath(QStringLiteral("file/pdf"));
        }
        try {
            PrintJob job(choice);
            QFAIL("the job started");
        } catch (const imaging::Error &error) {
            QVERIFY(!error.description().isEmpty());
        }
        QVERIFY(filesIn(dir.path()).size() <= 1); // the blocker at most
        QVERIFY(pdfsIn(dir.path()).isEmpty());
    }

    // A PDF cut short by a full disk is never left looking like a page.
    void fullDiskLeavesNoPdf()
    {
        QTemporaryDir dir;
        TmpfsMount mount(dir.path(), QStringLiteral("size=256k"));
        if (!mount.mounted())
            QSKIP("cannot mount a small file system here");
        platform::setPdfNoticeGiven(true);
        PrintJob job(pdfTo(dir.path()));
        drawNoise(job);
        QVERIFY_THROWS_EXCEPTION(imaging::Error, job.finish());
        QCOMPARE(filesIn(dir.path()), QStringList());
    }

    // A window prints at its physical size from the printable corner:
    // 1440 twips to the inch, so 1440 x 720 twips is 254 x 127 at 254 dpi.
    // Its parts outside its parent print too.
    void windowImageAtPhysicalSize()
    {
        PrintToPdfFolder pdf;
        QWidget parent;
        parent.resize(20, 20);
        QWidget window(&parent);
        window.setAutoFillBackground(true);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, Qt::black);
        window.setPalette(palette);
        window.setGeometry(0, 0, 96, 48);
        platform::printWindowImage(&window);
        QCOMPARE(pdf.pdfs().size(), 1);
        const QRect ink = inkBox(pdfPage(pdf.pdfs().first()));
        QVERIFY2(std::abs(ink.width() - 254) <= 2 && std::abs(ink.height() - 127) <= 2,
                 qPrintable(QStringLiteral("%1 x %2").arg(ink.width()).arg(ink.height())));
        QVERIFY(ink.left() <= 1 && ink.top() <= 1);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
