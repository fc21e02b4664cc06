#include <QtTest>

#include "app/DesignFonts.h"
#include "base/Error.h"
#include "imaging/print/Ik5Print.h"
#include "imaging/print/PrinterSettingsFile.h"
#include "support/PdfPages.h"
#include "support/PrintSeams.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/core/TestImages.h"
#include "support/core/TmpfsMount.h"

using namespace testsupport;
using imaging::Ik5Print;
using platform::PrinterChoice;

namespace {

// A print control on the settings file of a fresh PDF folder.
struct PdfPrint
{
    PdfPrint() { print.setSettingsFile(QStringLiteral("Ik5Prn.Ik5")); }

    // One page drawn by `draw`, ended; the PDF written.
    template <typename Draw>
    QString onePage(Draw draw)
    {
        const Ik5Print::Device device = print.openJob(nullptr);
        print.startPage(device);
        draw(device);
        print.endPage(device);
        print.endJob(device);
        return print.lastPdfPath();
    }

    PrintToPdfFolder pdf;
    Ik5Print print;
};

void setText(Ik5Print &print, const QString &text, double points)
{
    print.resetText();
    print.setFontName(QStringLiteral("ＭＳ ゴシック"));
    print.setFontSize(points);
    print.setText(text);
}

} // namespace

class TestIk5Print : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { designfonts::install(); }

    // At 254 dpi one pixel is 0.1 mm: the box 200, 800, 1500 x 1500 of the
    // page, from the printable corner (a PDF's is the page's).
    void imageKeepsItsProportionsInItsBox_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<int>("flag");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("640 x 480 fitted: full width, centred down") << QSize(640, 480) << -1 << QRect(200, 988, 1500, 1125);
        QTest::newRow("480 x 640 fitted: full height, centred across") << QSize(480, 640) << -1 << QRect(388, 800, 1125, 1500);
        QTest::newRow("4000 x 3000 fitted like 640 x 480") << QSize(4000, 3000) << -1 << QRect(200, 988, 1500, 1125);
        QTest::newRow("another flag stretches") << QSize(640, 480) << 0 << QRect(200, 800, 1500, 1500);
    }
    void imageKeepsItsProportionsInItsBox()
    {
        QFETCH(QSize, image);
        QFETCH(int, flag);
        QFETCH(QRect, expected);
        PdfPrint p;
        StoredImages images;
        const imaging::Handle handle = images.add(halves(image.width(), image.height(), qRgb(255, 0, 0), qRgb(0, 0, 255)));
        const QString file = p.onePage([&](Ik5Print::Device device) {
            QVERIFY(p.print.drawImage(device, handle, 200, 800, 1500, 1500, flag));
        });
        const QImage page = pdfPage(file);
        const QRect drawn = inkBox(page);
        QVERIFY2(std::abs(drawn.left() - expected.left()) <= 2 && std::abs(drawn.top() - expected.top()) <= 2
                     && std::abs(drawn.width() - expected.width()) <= 3 && std::abs(drawn.height() - expected.height()) <= 3,
                 qPrintable(QStringLiteral("drawn %1,%2 %3x%4").arg(drawn.left()).arg(drawn.top()).arg(drawn.width()).arg(drawn.height())));
        // Red on the left, blue on the right: not turned, not mirrored.
        const QRect red = colourBox(page, qRgb(255, 0, 0));
        const QRect blue = colourBox(page, qRgb(0, 0, 255));
        QVERIFY(std::abs(red.width() - blue.width()) <= 3 && red.right() < blue.left());
    }

    // No more than 300 dpi reaches the page: a 150 mm box holds 1772 dots.
    void imagesAreSentAtMost300Dpi_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSizeF>("inches");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("large photo shrinks") << QSize(4000, 3000) << QSizeF(5.906, 4.429) << QSize(1772, 1329);
        QTest::newRow("small image stays") << QSize(640, 480) << QSizeF(5.906, 4.429) << QSize(640, 480);
        QTest::newRow("a thin strip keeps a side of 1") << QSize(30000, 10) << QSizeF(1, 0.001) << QSize(300, 1);
    }
    void imagesAreSentAtMost300Dpi()
    {
        QFETCH(QSize, image);
        QFETCH(QSizeF, inches);
        QFETCH(QSize, expected);
        QCOMPARE(imaging::pixelsToSend(image, inches, Ik5Print::kMaxImageDpi), expected);
    }

    void embeddedImageIsTheShrunkOne()
    {
        PdfPrint p;
        StoredImages images;
        const imaging::Handle handle = images.add(halves(4000, 3000, qRgb(255, 0, 0), qRgb(0, 0, 255)));
        const QString file = p.onePage([&](Ik5Print::Device device) {
            p.print.drawImage(device, handle, 200, 800, 1500, 1500, Ik5Print::kFitKeepAspect);
        });
        const QList<QSize> sizes = pdfImageSizes(file);
        QCOMPARE(sizes.size(), 1);
        QVERIFY(std::abs(sizes.first().width() - 1772) <= 1 && std::abs(sizes.first().height() - 1329) <= 1);
    }

    // Handle 0 and a released image draw nothing; a device that names no
    // open job refuses every call.
    void noImageAndDeadDevices()
    {
        PdfPrint p;
        const imaging::Handle released = addImage(solid(10, 10, Qt::black));
        imaging::ImageStore::instance().release(released);
        const QString file = p.onePage([&](Ik5Print::Device device) {
            QVERIFY(!p.print.drawImage(device, 0, 200, 800, 1500, 1500, -1));
            QVERIFY(!p.print.drawImage(device, released, 200, 800, 1500, 1500, -1));
        });
        QVERIFY(inkBox(pdfPage(file)).isEmpty());

        const Ik5Print::Device ended = 1;
        QVERIFY_THROWS_EXCEPTION(imaging::Error, p.print.drawTextAt(ended, 10, 10));
        QVERIFY_THROWS_EXCEPTION(imaging::Error, p.print.startPage(ended));
        QVERIFY_THROWS_EXCEPTION(imaging::Error, p.print.endJob(ended));
        QVERIFY_THROWS_EXCEPTION(imaging::Error, p.print.setOutput(2));
        QCOMPARE(p.pdf.pdfs().size(), 1);
    }

    // 12 pt is 4.2 mm whatever the printer's resolution: a line of 12 pt
    // text is about 42 dots high at 254 dpi, never several times that.
    void fontsKeepTheirPointSize()
    {
        PdfPrint p;
        const QString file = p.onePage([&](Ik5Print::Device device) {
            setText(p.print, QStringLiteral("HHHH"), 72);
            p.print.drawTextAt(device, 100, 100);
        });
        const QRect ink = inkBox(pdfPage(file));
        // IPA Gothic's capitals are about 0.73 of the em: 72 pt, 254 dots.
        QVERIFY2(ink.height() > 160 && ink.height() < 220, qPrintable(QString::number(ink.height())));
        QVERIFY(ink.top() >= 100 && ink.top() < 160 && ink.left() >= 100 && ink.left() < 120);
    }

    // Text at a point keeps the lines it was given, whichever line break
    // they use; text in a box is word-wrapped inside it.
    void lineBreaksAndWrapping()
    {
        PdfPrint p;
        const QString file = p.onePage([&](Ik5Print::Device device) {
            setText(p.print, QStringLiteral("first\r\nsecond\nthird"), 12);
            p.print.drawTextAt(device, 10, 100);
            setText(p.print, QStringLiteral("alpha beta gamma delta epsilon zeta eta theta"), 12);
            p.print.drawTextInBox(device, 1000, 1000, 300, 1000);
        });
        const QStringList lines = pdfText(file).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() >= 3);
        QCOMPARE(lines.mid(0, 3), (QStringList{QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("third")}));
        const QImage page = pdfPage(file);
        const QRect boxInk = inkBox(page.copy(900, 900, 1000, 1200)).translated(900, 900);
        QVERIFY(boxInk.right() < 1300 && boxInk.left() >= 1000);
        QVERIFY(boxInk.height() > 100); // several lines
    }

    void japaneseTextComesBackAndItsFontIsEmbedded()
    {
        PdfPrint p;
        const QString file = p.onePage([&](Ik5Print::Device device) {
            setText(p.print, QStringLiteral("File Name 写真 1.jpg"), 12);
            p.print.drawTextAt(device, 10, 180);
        });
        QVERIFY(pdfText(file).contains(QStringLiteral("File Name 写真 1.jpg")));
        const QStringList fonts = pdfFonts(file);
        QVERIFY(!fonts.isEmpty());
        for (const QString &font : fonts) {
            QVERIFY2(font.contains(QStringLiteral("IPAGothic")), qPrintable(font));
            QVERIFY2(font.simplified().split(u' ').contains(QStringLiteral("yes")), qPrintable(font)); // embedded
        }
    }

    void settingsFile_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("garbled");
        QTest::newRow("every key") << QByteArray("output=pdf\nprinter=Office\npdf folder=/tmp/写真\npaper=Letter\norientation=landscape\n") << false;
        QTest::newRow("CRLF lines, comments, a key of a later version")
            << QByteArray("# mine\r\noutput=pdf\r\nprinter=Office\r\npdf folder=/tmp/写真\r\npaper=letter\r\norientation=landscape\r\nduplex=yes\r\n") << false;
        QTest::newRow("not UTF-8") << QByteArray("output=pdf\npdf folder=/tmp/\xff\xfe\n") << true;
        QTest::newRow("a line without =") << QByteArray("output=pdf\nrubbish\n") << true;
        QTest::newRow("an output that means nothing") << QByteArray("output=fax\n") << true;
        QTest::newRow("an unknown paper") << QByteArray("paper=A99\n") << true;
        QTest::newRow("binary") << QByteArray("output=pdf\n\0\0\0", 14) << true;
        QTest::newRow("oversized") << QByteArray("output=pdf\n") + QByteArray(imaging::kMaxPrinterSettingsBytes, '#') << true;
    }
    void settingsFile()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, garbled);
        PrinterChoice defaults;
        defaults.output = PrinterChoice::Output::Printer;
        defaults.pdfFolder = QStringLiteral("/home/me/Documents");
        const PrinterChoice read = imaging::parsePrinterSettings(text, defaults);
        if (garbled) {
            QVERIFY(read == defaults);
            return;
        }
        PrinterChoice expected;
        expected.output = PrinterChoice::Output::Pdf;
        expected.printer = QStringLiteral("Office");
        expected.pdfFolder = QStringLiteral("/tmp/写真");
        expected.paper = QPageSize::Letter;
        expected.orientation = QPageLayout::Landscape;
        QVERIFY(read == expected);
        QVERIFY(imaging::parsePrinterSettings(imaging::formatPrinterSettings(expected), defaults) == expected);
    }

    // Accepted, the dialog's choice is stored; cancelled, the file keeps
    // every byte; a file that cannot be written is reported.
    void setupDialogStoresOnlyWhatWasAccepted()
    {
        PrintToPdfFolder pdf;
        QFile file(pdf.settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        Ik5Print print;
        print.setSettingsFile(QStringLiteral("Ik5Prn.Ik5"));
        QWidget owner;
        {
            ScriptedPrinterSetup setup;
            setup.cancel();
            QVERIFY(!print.setupDialog(&owner));
            QCOMPARE(setup.owners().first().data(), &owner);
            QCOMPARE(setup.shownChoices().first().pdfFolder, pdf.pdfFolder()); // the dialog starts from the file
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();
        {
            ScriptedPrinterSetup setup;
            setup.accept([](PrinterChoice &choice) { choice.orientation = QPageLayout::Landscape; });
            QVERIFY(print.setupDialog(&owner));
        }
        QCOMPARE(imaging::readPrinterSettings(pdf.settingsFile()).orientation, QPageLayout::Landscape);
        QCOMPARE(imaging::readPrinterSettings(pdf.settingsFile()).pdfFolder, pdf.pdfFolder());

        print.setSettingsFile(pdf.path(QStringLiteral("missing/Ik5Prn.Ik5")));
        ScriptedPrinterSetup setup;
        setup.accept();
        ScriptedMessageBoxes boxes;
        boxes.expect(platform::msgbox::Ok);
        QVERIFY(!print.setupDialog(&owner));
        QVERIFY(boxes.verify());
        QVERIFY(boxes.boxes().first().text.contains(QStringLiteral("missing")));
    }
};

QTEST_MAIN(TestIk5Print)
#include "tst_ik5print.moc"
