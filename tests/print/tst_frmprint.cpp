#include <QtTest>

#include "app/DesignFonts.h"
#include "imaging/widgets/DisplaySteps.h"
#include "print/frmPrint.h"
#include "support/FormTesting.h"
#include "support/PdfPages.h"
#include "support/PrintSeams.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/core/TestImages.h"
#include "support/core/TmpfsMount.h"
#include "viewer/frmviewer.h"

using namespace testsupport;

namespace {

QStringList trimmedLines(const QString &text)
{
    QStringList lines;
    for (const QString &line : text.split(u'\n'))
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    return lines;
}

} // namespace

class TestFrmPrint : public QObject
{
    Q_OBJECT

private:
    // The main window showing a red and blue 640 x 480 image and its information.
    frmviewer *mainWindowWithImage()
    {
        frmviewer *viewer = forms::get<frmviewer>();
        viewer->replaceWorkingImage(addImage(halves(640, 480, qRgb(255, 0, 0), qRgb(0, 0, 255))));
        viewer->Text1->setText(QStringLiteral("写真 1.jpg"));
        viewer->Text2->setText(QStringLiteral("1.5"));
        viewer->Text3->setText(QStringLiteral("640"));
        viewer->Text4->setText(QStringLiteral("480"));
        return viewer;
    }

private slots:
    void initTestCase() { designfonts::install(); }

    void cleanup()
    {
        if (frmviewer *viewer = mainWindowIfLoaded())
            viewer->replaceWorkingImage(0);
        unloadAllForms();
    }

    // The print tool button shows the window with the main window's image
    // and boxes; pressed again, the same window comes forward unchanged.
    void printButtonOpensTheWindowOnce()
    {
        frmviewer *viewer = mainWindowWithImage();
        viewer->Timer7_Timer();
        QVERIFY(forms::isLoaded<frmPrint>());
        frmPrint *print = forms::get<frmPrint>();
        QVERIFY(print->isVisible());
        QCOMPARE(print->Ik5Disp1->handle(), viewer->Ik5Disp1->handle());
        QCOMPARE(print->Ik5Effect1->source(), viewer->Ik5Disp1->handle());
        QCOMPARE(print->Text1->text(), QStringLiteral("写真 1.jpg"));
        QCOMPARE(print->Text4->text(), QStringLiteral("480"));
        QVERIFY(print->Text5->toPlainText().isEmpty());
        viewer->Text1->setText(QStringLiteral("other.jpg"));
        viewer->Timer7_Timer();
        QCOMPARE(forms::get<frmPrint>(), print);
        QCOMPARE(print->Text1->text(), QStringLiteral("写真 1.jpg"));
    }

    // プリント: one page with the header, the five lines (a two-line memo
    // as given) and the image unstretched in its box.
    void printsTheSheet()
    {
        PrintToPdfFolder pdf;
        mainWindowWithImage();
        frmPrint *print = forms::get<frmPrint>();
        print->Text5->setPlainText(QStringLiteral("first memo line\nsecond memo line"));
        print->cmdPrint->click();
        QCOMPARE(pdf.pdfs().size(), 1);
        const QString file = pdf.pdfs().first();
        QCOMPARE(pdfPageCount(file), 1);
        const QStringList lines = trimmedLines(pdfText(file));
        const QStringList expected{QStringLiteral("Morvell Image Synth"), QStringLiteral("File Name 写真 1.jpg"),
                                   QStringLiteral("Size 1.5Kbyte"),       QStringLiteral("Width 640Pixcel"),
                                   QStringLiteral("Hight 480Pixcel"),     QStringLiteral("Memo : first memo line"),
                                   QStringLiteral("second memo line")};
        QCOMPARE(lines, expected);

        const QImage page = pdfPage(file);
        const QRect red = colourBox(page, qRgb(255, 0, 0));
        const QRect blue = colourBox(page, qRgb(0, 0, 255));
        const QRect image = red.united(blue);
        QVERIFY2(std::abs(image.width() - 1500) <= 3 && std::abs(image.height() - 1125) <= 3
                     && std::abs(image.left() - 200) <= 2 && std::abs(image.top() - 988) <= 2,
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(image.left()).arg(image.top()).arg(image.width()).arg(image.height())));
    }

    // Once the main window replaced (and released) the image, the page
    // still prints, with its texts and without an image.
    void releasedImagePrintsAsNoImage()
    {
        PrintToPdfFolder pdf;
        frmviewer *viewer = mainWindowWithImage();
        frmPrint *print = forms::get<frmPrint>();
        viewer->replaceWorkingImage(addImage(solid(8, 8, Qt::green)));
        print->cmdPrint->click();
        QCOMPARE(pdf.pdfs().size(), 1);
        const QImage page = pdfPage(pdf.pdfs().first());
        QVERIFY(colourBox(page, qRgb(255, 0, 0)).isEmpty());
        QVERIFY(colourBox(page, qRgb(0, 0, 255)).isEmpty());
        QVERIFY(pdfText(pdf.pdfs().first()).contains(QStringLiteral("File Name 写真 1.jpg")));
    }

    // プリンター設定 opens the dialog owned by the main window; cancelled,
    // the settings file keeps every byte.
    void setupOwnedByTheMainWindow()
    {
        PrintToPdfFolder pdf;
        frmviewer *viewer = mainWindowWithImage();
        frmPrint *print = forms::get<frmPrint>();
        QFile file(pdf.settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        ScriptedPrinterSetup setup;
        setup.cancel();
        print->cmdSetprint->click();
        QCOMPARE(setup.owners().size(), 1);
        QCOMPARE(setup.owners().first().data(), static_cast<QWidget *>(viewer));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    // A PDF folder that cannot be written: one message, no file; the next
    // job, once it can, prints.
    void unwritableFolderGivesOneMessage()
    {
        PrintToPdfFolder pdf;
        mainWindowWithImage();
        frmPrint *print = forms::get<frmPrint>();
        {
            TmpfsMount mount(pdf.pdfFolder(), QStringLiteral("size=1m"));
            if (!mount.mounted() || !mount.remountReadOnly())
                QSKIP("cannot mount a read-only file system here");
            ScriptedMessageBoxes boxes;
            boxes.expect(platform::msgbox::Ok);
            print->cmdPrint->click();
            QVERIFY(boxes.verify());
            QVERIFY(boxes.boxes().first().text.contains(QStringLiteral("PDF")));
            QCOMPARE(QDir(pdf.pdfFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
        }
        print->cmdPrint->click();
        QCOMPARE(pdf.pdfs().size(), 1);
    }
};

QTEST_MAIN(TestFrmPrint)
#include "tst_frmprint.moc"
