#include <QtTest>

#include "AdjustTesting.h"
#include "adjust/frmSaido.h"
#include "imaging/core/Adjust.h"
#include "platform/Twips.h"

using namespace adjusttest;
using imaging::Ik5Disp;

namespace {

// Pure red, pure blue, a muted red and a grey: luma 76, 29, 115 and 128.
const QImage kSource = swatch({qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(150, 100, 100), qRgb(128, 128, 128)});

const QString kRangeWarning = QStringLiteral("値が許容範囲を超えています。");

} // namespace

class TestSaturation : public DialogTestBase
{
    Q_OBJECT

private:
    frmviewer *m_viewer = nullptr;
    frmSaido *m_dialog = nullptr;
    imaging::Handle m_working = 0;

    void open()
    {
        m_viewer->Command16_Click();
        m_dialog = forms::get<frmSaido>();
    }

    QImage preview() const { return pixelsOf(m_dialog->Ik5Disp1->handle()); }

private slots:
    void init()
    {
        startTest();
        m_viewer = viewerShowing(kSource);
        m_working = m_viewer->Ik5Disp1->handle();
        m_viewer->Image1_Click();
        m_viewer->Timer6_Timer(); // the adjustments panel
    }

    void cleanup() { endTest(); }

    void opensOnTheMainWindowShowingTheWorkingImage()
    {
        platform::moveTwips(m_viewer, 1500, 1200);
        open();
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(platform::positionTwips(m_dialog), QPoint(1500, 1200));
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("彩度調整"));
        QCOMPARE(m_dialog->size(), platform::twipsRect(0, 0, 4785, 4800).size());
        QCOMPARE(m_dialog->Ik5Disp1->handle(), m_working);
        QCOMPARE(m_dialog->Ik5Effect1->source(), m_working);
        QCOMPARE(m_dialog->Text1->text(), QStringLiteral("0"));
        QCOMPARE(m_dialog->HScroll1->value(), 0);
        QVERIFY(!m_dialog->Command2->isEnabled());
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }

    void doesNotOpenWithoutAnImage()
    {
        imaging::ImageStore::instance().release(m_working);
        m_viewer->Command16_Click();
        QVERIFY(!forms::isLoaded<frmSaido>());
    }

    void barAtTheEndsOfItsRange_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QImage>("expected");
        QTest::newRow("-100 is grey: each pixel its luma")
            << -100 << swatch({qRgb(76, 76, 76), qRgb(29, 29, 29), qRgb(115, 115, 115), qRgb(128, 128, 128)});
        QTest::newRow("0 is the image itself") << 0 << kSource;
        QTest::newRow("1000 drives colour to the channel ends, grey stays")
            << 1000 << swatch({qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(128, 128, 128)});
    }

    void barAtTheEndsOfItsRange()
    {
        QFETCH(int, level);
        QFETCH(QImage, expected);
        open();
        m_dialog->HScroll1->setValue(level == 0 ? 1 : level);
        m_dialog->HScroll1->setValue(level);
        QCOMPARE(preview(), expected);
        QCOMPARE(m_dialog->Text1->text(), QString::number(level));
        QCOMPARE(m_viewer->Ik5Disp1->handle(), m_working);
        QVERIFY(!m_dialog->Command2->isEnabled()); // moving the bar never enables "決定"
    }

    // Every edit of the box is read; in range it moves the bar (which writes
    // its value back), out of range it warns once and changes nothing.
    void typing_data()
    {
        QTest::addColumn<int>("startBar");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<int>("bar");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<int>("calls");

        QTest::newRow("1001 digit by digit: 1, 10, 100, then the warning")
            << 0 << QStringList{"1", "10", "100", "1001"} << 100 << "1001" << 1 << 3;
        QTest::newRow("1000 ends at the right end") << 0 << QStringList{"1", "10", "100", "1000"} << 1000 << "1000" << 0 << 4;
        QTest::newRow("-100: the lone minus sign leaves the bar at 0")
            << 0 << QStringList{"-", "-1", "-10", "-100"} << -100 << "-100" << 0 << 3;
        QTest::newRow("-101 warns, the bar stays at -10")
            << 0 << QStringList{"-", "-1", "-10", "-101"} << -10 << "-101" << 1 << 2;
        QTest::newRow("a lone minus sign at 250 moves the bar to 0") << 250 << QStringList{"-"} << 0 << "0" << 0 << 1;
        QTest::newRow("clearing the box at 250 moves the bar to 0") << 250 << QStringList{""} << 0 << "0" << 0 << 1;
        QTest::newRow("999.5 goes to even 1000") << 0 << QStringList{"999.5"} << 1000 << "1000" << 0 << 1;
        QTest::newRow("12.5 goes to even 12") << 0 << QStringList{"12.5"} << 12 << "12" << 0 << 1;
        QTest::newRow("2000 warns once per edit") << 5 << QStringList{"2000", "20000"} << 5 << "20000" << 2 << 0;
        QTest::newRow("the same level again moves nothing") << 40 << QStringList{"40.2"} << 40 << "40.2" << 0 << 0;
    }

    void typing()
    {
        QFETCH(int, startBar);
        QFETCH(QStringList, edits);
        QFETCH(int, bar);
        QFETCH(QString, text);
        QFETCH(int, warnings);
        QFETCH(int, calls);
        open();
        m_dialog->HScroll1->setValue(startBar);
        const imaging::Handle previewBefore = m_dialog->Ik5Disp1->handle();
        EffectWatch watch(m_dialog->Ik5Effect1);
        for (int i = 0; i < warnings; ++i)
            m_boxes->expect(platform::msgbox::Ok, kRangeWarning);

        for (const QString &edit : edits)
            m_dialog->Text1->setText(edit);

        QVERIFY(m_boxes->verify());
        for (const auto &box : m_boxes->boxes()) {
            QCOMPARE(box.style, int(platform::msgbox::OkOnly));
            QCOMPARE(box.title, QStringLiteral("警告"));
        }
        QCOMPARE(m_dialog->HScroll1->value(), bar);
        QCOMPARE(m_dialog->Text1->text(), text);
        QCOMPARE(watch.calls(), calls);
        if (calls == 0)
            QCOMPARE(m_dialog->Ik5Disp1->handle(), previewBefore);
        else
            QCOMPARE(preview(), imaging::adjustSaturation(kSource, bar));
    }

    void previewUsesTheTypedLevel()
    {
        open();
        m_dialog->Text1->setText(QStringLiteral("50"));
        EffectWatch watch(m_dialog->Ik5Effect1);
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        QCOMPARE(preview(), imaging::adjustSaturation(kSource, 50));
        QVERIFY(m_dialog->Command2->isEnabled());
        QCOMPARE(watch.statuses(), QStringList{kFileName + QStringLiteral("処理中")});
        QVERIFY(!forms::isLoaded<Form2>());
    }

    // The warning leaves 2000 in the box; the preview passes it on as typed
    // and the suite refuses it: one message, the preview as it was.
    void previewPassesALevelTheWarningRefused()
    {
        open();
        m_dialog->HScroll1->setValue(30);
        const imaging::Handle shown = m_dialog->Ik5Disp1->handle();
        m_boxes->expect(platform::msgbox::Ok, kRangeWarning);
        m_dialog->Text1->setText(QStringLiteral("2000"));
        m_boxes->expect(platform::msgbox::Ok);
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        QVERIFY(m_boxes->verify());
        QVERIFY(m_boxes->boxes().last().text.contains(QStringLiteral("2000")));
        QCOMPARE(m_dialog->Ik5Disp1->handle(), shown);
        QVERIFY(!forms::isLoaded<Form2>());
        QCOMPARE(imageCount(), m_imagesBefore + 2);
    }

    void previewOfALevelBeyond32Bits()
    {
        open();
        m_boxes->expect(platform::msgbox::Ok, kRangeWarning);
        m_dialog->Text1->setText(QStringLiteral("1e12"));
        m_boxes->expect(platform::msgbox::Ok, QStringLiteral("オーバーフローしました。"));
        EffectWatch watch(m_dialog->Ik5Effect1);
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        QVERIFY(m_boxes->verify());
        QCOMPARE(watch.calls(), 0);
        QCOMPARE(m_dialog->Ik5Disp1->handle(), m_working);
        QVERIFY(!m_dialog->Command2->isEnabled());
        QVERIFY(!forms::isLoaded<Form2>());
    }

    void resetMovingTheBar()
    {
        open();
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        m_dialog->HScroll1->setValue(250);
        m_dialog->Command3->click();
        QCOMPARE(m_dialog->HScroll1->value(), 0);
        QCOMPARE(m_dialog->Text1->text(), QStringLiteral("0"));
        QVERIFY(m_dialog->Ik5Disp1->handle() != m_working); // a new level-0 image
        QCOMPARE(preview(), kSource);
        QVERIFY(m_dialog->Command2->isEnabled());
    }

    void resetWithTheBarAtZeroOnlyShowsTheWorkingImage()
    {
        open();
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        EffectWatch watch(m_dialog->Ik5Effect1);
        m_dialog->Command3->click();
        QCOMPARE(watch.calls(), 0);
        QCOMPARE(m_dialog->Ik5Disp1->handle(), m_working);
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }

    void applyPutsThePreviewIntoTheMainWindow()
    {
        m_viewer->Option2->setChecked(true); // unscaled
        open();
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        m_dialog->HScroll1->setValue(-100);
        const imaging::Handle shown = m_dialog->Ik5Disp1->handle();
        QTest::mouseClick(m_dialog->Command2, Qt::LeftButton);
        QCOMPARE(m_viewer->Ik5Disp1->handle(), shown);
        QCOMPARE(pixelsOf(shown), imaging::adjustSaturation(kSource, -100));
        QCOMPARE(m_viewer->Ik5Disp1->sizeMode(), Ik5Disp::kFit);
        QVERIFY(!imaging::ImageStore::instance().contains(m_working));
        QCOMPARE(imageCount(), m_imagesBefore + 1);
        QVERIFY(m_viewer->Frame4->isHidden());
        QVERIFY(!forms::isLoaded<frmSaido>());
    }

    void applyAfterAResetAtZeroKeepsTheWorkingImage()
    {
        open();
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        m_dialog->Command3->click();
        QTest::mouseClick(m_dialog->Command2, Qt::LeftButton);
        QCOMPARE(m_viewer->Ik5Disp1->handle(), m_working);
        QVERIFY(m_viewer->Ik5Disp1->isShowingImage());
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }

    void cancelLeavesTheMainWindowUntouched()
    {
        open();
        for (const char *level : {"40", "-60", "700"}) {
            m_dialog->Text1->setText(QString::fromLatin1(level));
            QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        }
        QTest::mouseClick(m_dialog->Command4, Qt::LeftButton);
        QCOMPARE(m_viewer->Ik5Disp1->handle(), m_working);
        QCOMPARE(pixelsOf(m_working), kSource);
        QCOMPARE(imageCount(), m_imagesBefore + 1);
        QVERIFY(m_viewer->Frame4->isHidden());
        QVERIFY(!forms::isLoaded<frmSaido>());
    }

    void closeBoxLeavesTheMainWindowUntouched()
    {
        open();
        m_dialog->HScroll1->setValue(300);
        m_dialog->close();
        QVERIFY(!forms::isLoaded<frmSaido>());
        QCOMPARE(m_viewer->Ik5Disp1->handle(), m_working);
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }

    // Another window replaced the working image and released the input
    // while the dialog was open: a result made before still applies; after
    // that the input counts as no image, silently.
    void inputReleasedWhileOpen()
    {
        open();
        m_dialog->HScroll1->setValue(200);
        const imaging::Handle madeBefore = m_dialog->Ik5Disp1->handle();
        replacedElsewhere(m_viewer, numbered(2, 2));
        QVERIFY(!imaging::ImageStore::instance().contains(m_working));
        QCOMPARE(preview(), imaging::adjustSaturation(kSource, 200));

        // Moves and previews have nothing to work on: no image, no message.
        EffectWatch watch(m_dialog->Ik5Effect1);
        m_dialog->Text1->setText(QStringLiteral("300"));
        QCOMPARE(m_dialog->HScroll1->value(), 300);
        QCOMPARE(m_dialog->Ik5Disp1->handle(), 0);
        QVERIFY(!imaging::ImageStore::instance().contains(madeBefore));
        QTest::mouseClick(m_dialog->Command1, Qt::LeftButton);
        QCOMPARE(watch.calls(), 0);
        QCOMPARE(m_dialog->Ik5Disp1->handle(), 0);

        const imaging::Handle newer = m_viewer->Ik5Disp1->handle();
        QTest::mouseClick(m_dialog->Command2, Qt::LeftButton); // nothing to apply
        QCOMPARE(m_viewer->Ik5Disp1->handle(), newer);
        QCOMPARE(pixelsOf(newer), numbered(2, 2));
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }

    void resultMadeBeforeTheReplacementIsApplied()
    {
        open();
        m_dialog->HScroll1->setValue(200);
        const imaging::Handle madeBefore = m_dialog->Ik5Disp1->handle();
        replacedElsewhere(m_viewer, numbered(2, 2));
        const imaging::Handle newer = m_viewer->Ik5Disp1->handle();
        m_dialog->Command2_Click();
        QCOMPARE(m_viewer->Ik5Disp1->handle(), madeBefore);
        QVERIFY(!imaging::ImageStore::instance().contains(newer));
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }

    void mainWindowGoneWhileOpen()
    {
        open();
        m_dialog->HScroll1->setValue(30);
        forms::unload<frmviewer>();
        // The main window takes its working image with it: nothing is left
        // to work on, so a move blanks the preview instead of failing.
        QVERIFY(!imaging::ImageStore::instance().contains(m_working));
        m_dialog->HScroll1->setValue(40);
        QVERIFY(preview().isNull());
        m_dialog->Command3->click();
        m_dialog->Command2_Click();
        QVERIFY(!forms::isLoaded<frmviewer>());
        QVERIFY(!forms::isLoaded<frmSaido>());
        imaging::ImageStore::instance().release(m_working);
        QCOMPARE(imageCount(), m_imagesBefore);
    }

    // Each move makes a new image; the one it replaces goes at once.
    void repeatedMovesKeepMemoryBounded()
    {
        open();
        for (int i = 0; i < 300; ++i) {
            m_dialog->HScroll1->setValue((i * 97) % 1101 - 100);
            // The working image (also the input) and the preview.
            QVERIFY2(imageCount() <= m_imagesBefore + 2, qPrintable(QString::number(imageCount())));
        }
        QTest::mouseClick(m_dialog->Command4, Qt::LeftButton);
        QCOMPARE(imageCount(), m_imagesBefore + 1);
    }
};

QTEST_MAIN(TestSaturation)
#include "tst_frmsaido.moc"
