#include <QtTest>

#include <QClipboard>

#include "app/DesignFonts.h"
#include "app/Module1.h"
#include "print/MDIThumb.h"
#include "print/frmPrintCont.h"
#include "print/frmTumb.h"
#include "support/FormTesting.h"
#include "support/PdfPages.h"
#include "support/PrintSeams.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/core/TestImages.h"
#include "viewer/frmviewer.h"

using namespace testsupport;

namespace {

// What a printed page window showed when it was printed.
struct Page
{
    QString folder; // Label1
    QString number; // Label2
    QStringList names;
    QList<QSize> pictures; // null for an empty or white cell
};

class PrintedPages
{
public:
    PrintedPages()
        : m_seam([this](QWidget *window) {
            const auto *page = qobject_cast<frmTumb *>(window);
            QVERIFY(page);
            QVERIFY(forms::isLoaded<MDIThumb>());
            Page seen{page->Label1->text(), page->Label2->text(), {}, {}};
            for (int i = 0; i < frmTumb::kCells; ++i) {
                seen.names << page->lblName[i]->text();
                seen.pictures << page->picThumb[i]->pixmap().size();
            }
            m_pages << seen;
        })
    {
    }
    [[nodiscard]] const QList<Page> &pages() const { return m_pages; }

private:
    QList<Page> m_pages;
    PrintWindowOverride m_seam;
};

QString imageName(int i)
{
    return QStringLiteral("写真 %1.png").arg(i, 3, 10, QChar(u'0'));
}

} // namespace

class TestContactSheet : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_root;
    int m_folders = 0;

    // A folder of `count` small PNGs, 64 x 48, named in order.
    QString folderOf(int count, QSize size = QSize(64, 48))
    {
        const QString folder = m_root.filePath(QStringLiteral("set %1").arg(++m_folders));
        QDir().mkpath(folder);
        for (int i = 0; i < count; ++i)
            solid(size.width(), size.height(), QColor::fromHsv(i * 7 % 360, 200, 200)).save(QDir(folder).filePath(imageName(i)), "PNG");
        return folder;
    }

    // The contact sheet window opened by Command9 on the strip's folder.
    frmPrintCont *openOn(const QString &folder)
    {
        frmviewer *viewer = forms::get<frmviewer>();
        viewer->Ik5Thumb1->setFolder(folder);
        viewer->Command9_Click();
        return forms::get<frmPrintCont>();
    }

private slots:
    void initTestCase() { designfonts::install(); }
    void cleanup() { unloadAllForms(); }

    void thumbnailSizes_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("thumbnail");
        QTest::newRow("640 x 480") << QSize(640, 480) << QSize(100, 75);
        QTest::newRow("480 x 640") << QSize(480, 640) << QSize(75, 100);
        QTest::newRow("500 x 333: 66.6 rounds up") << QSize(500, 333) << QSize(100, 67);
        QTest::newRow("400 x 400") << QSize(400, 400) << QSize(100, 100);
        QTest::newRow("800 x 100: 12.5 goes to even") << QSize(800, 100) << QSize(100, 12);
        QTest::newRow("3000 x 10: never below 1") << QSize(3000, 10) << QSize(100, 1);
        QTest::newRow("10 x 3000: never below 1") << QSize(10, 3000) << QSize(1, 100);
    }
    void thumbnailSizes()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, thumbnail);
        QCOMPARE(contactThumbnailSize(image.width(), image.height()), thumbnail);
    }

    // Pages of 36; the last one, however full, is printed too, and the
    // sheet window closes after it.
    void pagesOf36_data()
    {
        QTest::addColumn<int>("images");
        QTest::addColumn<QList<int>>("perPage");
        QTest::newRow("36: one full page") << 36 << QList<int>{36};
        QTest::newRow("37: a second page with one") << 37 << QList<int>{36, 1};
        QTest::newRow("72: two full pages") << 72 << QList<int>{36, 36};
        QTest::newRow("5: one page with five") << 5 << QList<int>{5};
    }
    void pagesOf36()
    {
        QFETCH(int, images);
        QFETCH(QList<int>, perPage);
        const QString folder = folderOf(images);
        frmPrintCont *sheet = openOn(folder);
        QCOMPARE(sheet->Label1->text(), QString::number(images));
        PrintedPages printed;
        sheet->cmdPrint->click();
        QCOMPARE(printed.pages().size(), perPage.size());
        int n = 0;
        for (int p = 0; p < perPage.size(); ++p) {
            const Page &page = printed.pages().at(p);
            QCOMPARE(page.number, QStringLiteral("Page%1").arg(p + 1));
            QCOMPARE(page.folder, QStringLiteral("DIR:") + folder + QDir::separator());
            for (int cell = 0; cell < frmTumb::kCells; ++cell) {
                const bool filled = cell < perPage.at(p);
                QCOMPARE(page.names.at(cell), filled ? imageName(n++) : QString());
                QCOMPARE(page.pictures.at(cell), filled ? QSize(100, 75) : QSize(0, 0));
            }
        }
        QVERIFY(!forms::isLoaded<MDIThumb>());
        QVERIFY(!forms::isLoaded<frmTumb>());
        QVERIFY(forms::isLoaded<frmPrintCont>()); // stays until 中止
        QCOMPARE(ThumbPrinted, qint16(images));
    }

    // A second print from the same window gives the same pages.
    void secondRunPrintsTheSamePages()
    {
        frmPrintCont *sheet = openOn(folderOf(37));
        PrintedPages printed;
        sheet->cmdPrint->click();
        sheet->cmdPrint->click();
        QCOMPARE(printed.pages().size(), 4);
        QCOMPARE(printed.pages().at(2).number, QStringLiteral("Page1"));
        QCOMPARE(printed.pages().at(3).number, QStringLiteral("Page2"));
        QCOMPARE(printed.pages().at(3).names.first(), imageName(36));
        QVERIFY(!forms::isLoaded<MDIThumb>());
    }

    // A damaged file gets its named, white cell; a file deleted after the
    // preview counted it is simply not there; every page still prints.
    void unreadableAndVanishedFiles()
    {
        const QString folder = folderOf(38);
        {
            QFile damaged(QDir(folder).filePath(imageName(3)));
            QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
            damaged.write("\x89PNG\r\n\x1a\n broken");
        }
        frmPrintCont *sheet = openOn(folder);
        QCOMPARE(sheet->Label1->text(), QStringLiteral("38"));
        QVERIFY(QFile::remove(QDir(folder).filePath(imageName(0))));
        const std::size_t before = imageCount();
        PrintedPages printed;
        ScriptedMessageBoxes boxes; // no message for either
        sheet->cmdPrint->click();
        QCOMPARE(printed.pages().size(), 2);
        QCOMPARE(printed.pages().at(0).names.at(2), imageName(3));
        QCOMPARE(printed.pages().at(0).pictures.at(2), QSize(0, 0));
        QCOMPARE(printed.pages().at(0).pictures.at(3), QSize(100, 75));
        QCOMPARE(printed.pages().at(1).names.first(), imageName(37));
        QVERIFY(!forms::isLoaded<MDIThumb>());
        QCOMPARE(sheet->Ik5File1->handle(), 0);
        QCOMPARE(imageCount(), before);
    }

    // Nothing counted, or nothing left in the folder: no run, no window.
    void nothingToPrint()
    {
        PrintedPages printed;
        frmPrintCont *sheet = openOn(folderOf(0));
        QVERIFY(sheet->Label1->text().isEmpty());
        sheet->cmdPrint->click();

        const QString folder = folderOf(2);
        sheet->Ik5Thumb1->setFolder(folder);
        sheet->Label1->setText(QStringLiteral("2"));
        for (const QString &name : QDir(folder).entryList(QDir::Files))
            QFile::remove(QDir(folder).filePath(name));
        sheet->cmdPrint->click();
        QCOMPARE(printed.pages().size(), 0);
        QVERIFY(!forms::isLoaded<MDIThumb>());
    }

    // Beyond what 16 bits count: a message, no run.
    void tooManyImages()
    {
        const QString folder = m_root.filePath(QStringLiteral("many"));
        QDir().mkpath(folder);
        for (int i = 0; i <= frmPrintCont::kMaxImages; ++i)
            QFile(QDir(folder).filePath(QStringLiteral("%1.jpg").arg(i))).open(QIODevice::WriteOnly);
        frmPrintCont *sheet = openOn(QString());
        sheet->Ik5Thumb1->setFolder(folder);
        sheet->Label1->setText(QStringLiteral("32768"));
        PrintedPages printed;
        ScriptedMessageBoxes boxes;
        boxes.expect(platform::msgbox::Ok);
        sheet->cmdPrint->click();
        QVERIFY(boxes.verify());
        QCOMPARE(printed.pages().size(), 0);
        QVERIFY(!forms::isLoaded<MDIThumb>());
    }

    // Every thumbnail passes through the clipboard and is released once its
    // cell holds it; one full-size image at a time: after 200 images the
    // store holds what it held before.
    void imagesReleasedAndClipboardUsed()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("earlier"));
        frmPrintCont *sheet = openOn(folderOf(200, QSize(32, 24)));
        const std::size_t before = imageCount();
        std::size_t most = 0;
        QObject::connect(sheet->Ik5Thumb2, &imaging::Ik5Thumb::itemLoaded, sheet,
                         [&] { most = std::max(most, imageCount()); });
        PrintedPages printed;
        sheet->cmdPrint->click();
        QCOMPARE(printed.pages().size(), 6);
        QCOMPARE(imageCount(), before);
        QVERIFY(most <= before + 1);
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(100, 75));
    }

    // Command9 starts the run state afresh; 中止 closes the window.
    void openAndClose()
    {
        ThumbTotal = 5;
        ThumbPage = 7;
        ThumbSlot = 3;
        ThumbPrinted = 2;
        frmPrintCont *sheet = openOn(folderOf(1));
        QVERIFY(sheet->isVisible());
        QCOMPARE(ThumbTotal, qint16(0));
        QCOMPARE(ThumbPage, qint16(1));
        QCOMPARE(ThumbSlot, qint16(0));
        QCOMPARE(ThumbPrinted, qint16(0));
        sheet->Command3->click();
        QVERIFY(!forms::isLoaded<frmPrintCont>());
    }

    // The real print of a page window: two pages of a 37-image folder are
    // two one-page PDFs, each at the page window's physical size.
    void pagesBecomePdfs()
    {
        PrintToPdfFolder pdf;
        frmPrintCont *sheet = openOn(folderOf(37));
        sheet->cmdPrint->click();
        QCOMPARE(pdf.pdfs().size(), 2);
        for (const QString &file : pdf.pdfs())
            QCOMPARE(pdfPageCount(file), 1);
        // 9975 x 11985 twips: 1759.6 x 2114.1 dots at 254 dpi, from the
        // page's corner. The full page reaches its last row of names.
        int lowest = 0;
        for (const QString &file : pdf.pdfs()) {
            const QRect ink = inkBox(pdfPage(file));
            QVERIFY(ink.bottom() < 2115 && ink.right() < 1760);
            lowest = std::max(lowest, ink.bottom());
        }
        QVERIFY(lowest > 1900);
    }
};

QTEST_MAIN(TestContactSheet)
#include "tst_contactsheet.moc"
