// The slideshow as the user meets it: the folder picker, the panel in the
// main window and the full-screen window.

#include <QtTest>

#include "app/Module1.h"
#include "imaging/core/ImageStore.h"
#include "imaging/core/Thumbnails.h"
#include "platform/Twips.h"
#include "rules/SlideInterval.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/core/TestImages.h"
#include "viewer/frmAllSlide.h"
#include "viewer/frmSlidePath.h"
#include "viewer/frmviewer.h"

using namespace testsupport;

namespace {

// What the mode table of the panel looks at.
struct Mode
{
    bool display, slides, panel;
    bool imageButtons; // the six controls that need an image, all alike
};

Mode modeOf(const frmviewer *v)
{
    const bool buttons = v->Image3->isEnabled();
    for (const QWidget *b : {static_cast<const QWidget *>(v->Image8), static_cast<const QWidget *>(v->Image1),
                             static_cast<const QWidget *>(v->Image6), static_cast<const QWidget *>(v->Command6),
                             static_cast<const QWidget *>(v->Command8)})
        if (b->isEnabled() != buttons)
            qWarning("image buttons differ");
    return {!v->Ik5Disp1->isHidden(), !v->Ik5Slide1->isHidden(), !v->Frame3->isHidden(), buttons};
}

bool operator==(const Mode &a, const Mode &b)
{
    return a.display == b.display && a.slides == b.slides && a.panel == b.panel && a.imageButtons == b.imageButtons;
}

} // namespace

class TestSlideshow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_folder;

    frmviewer *viewer() { return forms::get<frmviewer>(); }

    // The picker as the user opens it, with a folder typed in.
    frmSlidePath *pickerFor(const QString &folder)
    {
        viewer()->Command7_Click();
        auto *picker = forms::get<frmSlidePath>();
        picker->Text1->setText(folder);
        return picker;
    }

    void openAnImage()
    {
        const imaging::Handle image = addImage(solid(20, 10, Qt::red));
        viewer()->Ik5File1->setHandle(image);
        viewer()->replaceWorkingImage(image);
        viewer()->Text1->setText(QStringLiteral("a.png"));
        viewer()->setImageButtonsEnabled(true);
    }

private slots:
    void initTestCase()
    {
        m_folder = m_dir.filePath(QStringLiteral("スライド 写真"));
        QVERIFY(QDir().mkpath(m_folder));
        for (int i = 1; i <= 3; ++i)
            QVERIFY(solid(40, 30, Qt::darkYellow).save(m_folder + QStringLiteral("/%1.png").arg(i), "PNG"));
    }

    void init()
    {
        AppPath = QStringLiteral(MORVELL_ART_DIR "/");
        imaging::ThumbnailCache::instance().clear();
    }

    void cleanup()
    {
        unloadAllForms();
        Module1::resetApplicationState();
    }

    void interval_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("halves to even: 2.5") << "2.5" << 2;
        QTest::newRow("halves to even: 3.5") << "3.5" << 4;
        QTest::newRow("a unit after it") << "10秒" << 10;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("hexadecimal") << "&H10" << 16;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("the longest a timer holds") << "2147483" << 2147483;
    }
    void interval()
    {
        QFETCH(QString, text);
        QFETCH(int, seconds);
        QCOMPARE(rules::slideIntervalSeconds(text), seconds);
    }

    void anIntervalTooLongIsAMessageAndNothingStarts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("1e10") << "1e10";
        QTest::newRow("milliseconds beyond 32 bits") << "2147484";
        QTest::newRow("far below 0") << "-1e10";
    }
    void anIntervalTooLongIsAMessageAndNothingStarts()
    {
        QFETCH(QString, text);
        pickerFor(m_folder)->cmdSloaddir_Click();
        viewer()->Text11->setText(text);
        ScriptedMessageBoxes boxes;
        boxes.expect(0);
        viewer()->cmdSstart->click();
        QVERIFY(boxes.verify());
        QVERIFY(!viewer()->Ik5Slide1->isPlaying());
        QCOMPARE(viewer()->Ik5Slide1->shownSlide(), -1);
    }

    // The panel's modes, step by step, as the user goes through them.
    void modes()
    {
        openAnImage();
        auto *v = viewer();
        const Mode normal{true, false, false, true};
        QVERIFY(modeOf(v) == normal);

        auto *picker = pickerFor(m_folder);
        QVERIFY(SlideFolder.isEmpty());
        QVERIFY((modeOf(v) == Mode{true, false, false, false}));
        v->Check1->setChecked(false);
        picker->cmdSloaddir_Click();
        QVERIFY((modeOf(v) == Mode{false, true, true, false}));
        QVERIFY(forms::isLoaded<frmSlidePath>() && picker->isHidden());
        QCOMPARE(SlideFolder, m_folder);
        QVERIFY(v->Check1->isChecked());
        QCOMPARE(v->Text11->text(), QStringLiteral("3")); // the control's interval
        for (QLineEdit *box : {v->Text1, v->Text2, v->Text3, v->Text4})
            QVERIFY(box->text().isEmpty());
        // The open image went, and its handle with it.
        QCOMPARE(v->Ik5File1->handle(), 0);
        QVERIFY(!v->hasWorkingImage());

        v->cmdSstart->click();
        v->Ik5Slide1->waitUntilShown();
        QVERIFY(v->Ik5Slide1->isPlaying());
        QCOMPARE(v->Text10->text(), QStringLiteral("1.png"));
        v->Command3->click();
        v->Ik5Slide1->waitUntilShown();
        QCOMPARE(v->Text10->text(), QStringLiteral("2.png"));
        v->cmdSpause->click();
        QVERIFY(!v->Ik5Slide1->isPlaying());

        v->Option2->setChecked(true);
        v->cmdSend->click();
        QVERIFY((modeOf(v) == Mode{true, false, false, true}));
        QVERIFY(!forms::isLoaded<frmSlidePath>());
        QVERIFY(v->Option1->isChecked());
        QVERIFY(v->Text10->text().isEmpty());
        QVERIFY(!v->Ik5Disp1->isShowingImage());
        QCOMPARE(v->Ik5Disp1->backColor(), QColor(192, 192, 255));
    }

    void cancellingThePickerLeavesThePanelAsItWas()
    {
        auto *v = viewer();
        pickerFor(m_folder)->cmdSloaddir_Click();
        v->Command7_Click();
        auto *picker = forms::get<frmSlidePath>();
        QVERIFY(picker->isVisible());
        picker->cmdScancel_Click();
        QVERIFY((modeOf(v) == Mode{true, false, true, true}));
        QVERIFY(!forms::isLoaded<frmSlidePath>());
    }

    void endingWithoutAPickerBuildsNone()
    {
        viewer()->cmdSend->click();
        QVERIFY(!forms::isLoaded<frmSlidePath>());
    }

    void theFullScreenFrameIsCentred_data()
    {
        QTest::addColumn<QSizeF>("screenPixels");
        QTest::addColumn<QPointF>("corner");
        QTest::newRow("1920 x 1080") << QSizeF(1920, 1080) << QPointF(8512.5, 3712.5);
        QTest::newRow("640 x 480: cut evenly") << QSizeF(640, 480) << QPointF(-1087.5, -787.5);
    }
    void theFullScreenFrameIsCentred()
    {
        QFETCH(QSizeF, screenPixels);
        QFETCH(QPointF, corner);
        QCOMPARE(frmAllSlide::frameCornerTwips(screenPixels * 15, QSizeF(11775, 8775)), corner);
    }

    void fullScreenCoversTheScreenAndBlinks()
    {
        pickerFor(m_folder)->cmdSloaddir_Click();
        viewer()->Command20_Click();
        auto *full = forms::get<frmAllSlide>();
        QCOMPARE(full->geometry(), viewer()->screen()->geometry());
        QVERIFY(full->Image1->picture().isNull()); // blank until the first tick
        // The first bitmap each button shows is its second one.
        const std::tuple<platform::Timer *, platform::PictureButton *, const char *> rows[] = {
            {full->Timer1, full->Image1, "slide_start2.bmp"},
            {full->Timer2, full->Image2, "slide_stop2.bmp"},
            {full->Timer3, full->Image3, "slide_end2.bmp"}};
        for (const auto &[timer, button, bitmap] : rows) {
            QVERIFY(timer->isEnabled());
            emit timer->timeout();
            QCOMPARE(button->picture().toImage(), QImage(AppPath + QString::fromLatin1(bitmap)).convertToFormat(button->picture().toImage().format()));
        }
        QCOMPARE(full->Timer1->interval(), 1000);
        QCOMPARE(full->Timer2->interval(), 1100);
        QCOMPARE(full->Timer3->interval(), 900);
    }

    // Without its bitmaps the end button still shows its caption (a blank
    // one would trap the user in full screen), and no message floods in.
    void aMissingBitmapGivesAPlainFace()
    {
        QTemporaryDir empty;
        AppPath = empty.path() + u'/';
        ScriptedMessageBoxes boxes;
        auto *full = forms::get<frmAllSlide>();
        full->Timer3_Timer();
        full->Timer3_Timer();
        QVERIFY(!full->Image3->picture().isNull());
        QVERIFY(boxes.verify());
    }

    void fullScreenPlaysAndEndsWithEsc()
    {
        pickerFor(m_folder)->cmdSloaddir_Click();
        viewer()->Command20_Click();
        auto *full = forms::get<frmAllSlide>();
        full->Image1_Click();
        full->Ik5Slide1->waitUntilShown();
        QCOMPARE(full->Ik5Slide1->shownSlide(), 0);
        QTest::keyClick(full, Qt::Key_Escape);
        QVERIFY(!forms::isLoaded<frmAllSlide>());
        QVERIFY(!forms::isLoaded<frmSlidePath>());
        // The main window stays in slideshow mode.
        QVERIFY(!viewer()->Frame3->isHidden() && !viewer()->Ik5Slide1->isHidden());
    }

    void fullScreenStartBuildsNoMainWindow()
    {
        SlideFolder = m_folder;
        auto *full = forms::get<frmAllSlide>();
        full->Image1_Click();
        full->Ik5Slide1->waitUntilShown();
        QVERIFY(!forms::isLoaded<frmviewer>());
        QCOMPARE(full->Ik5Slide1->shownSlide(), 0);
    }
};

QTEST_MAIN(TestSlideshow)
#include "tst_slideshow.moc"
