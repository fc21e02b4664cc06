#include <QtTest>

#include <sys/stat.h>

#include "app/Form2.h"
#include "app/Module1.h"
#include "rules/TextRules.h"
#include "app/frmAbout.h"
#include "imaging/core/FileDialogSeam.h"
#include "imaging/core/ImageStore.h"
#include "save/frmSave.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/core/TestImages.h"
#include "viewer/frmviewer.h"

using namespace testsupport;

namespace {

// The suite's open-file dialog, answering from a queue ("" = cancel).
class DialogScript
{
public:
    DialogScript()
    {
        m_previous = imaging::setOpenFileDialog([this](const QString &) {
            ++m_shown;
            return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
        });
    }
    ~DialogScript() { imaging::setOpenFileDialog(m_previous); }
    void answer(const QString &path) { m_answers << path; }
    int shown() const { return m_shown; }

private:
    QStringList m_answers;
    int m_shown = 0;
    imaging::OpenFileDialog m_previous;
};

struct ButtonStates
{
    bool close, save, adjust, print, display, rotate;
};

ButtonStates statesOf(const frmviewer *v)
{
    return {v->Image3->isEnabled(), v->Image8->isEnabled(), v->Image1->isEnabled(),
            v->Image6->isEnabled(), v->Command6->isEnabled(), v->Command8->isEnabled()};
}

bool operator==(const ButtonStates &a, const ButtonStates &b)
{
    return a.close == b.close && a.save == b.save && a.adjust == b.adjust && a.print == b.print
        && a.display == b.display && a.rotate == b.rotate;
}

const ButtonStates kAtLoad{false, false, true, false, false, false};
const ButtonStates kWithImage{true, true, true, true, true, true};
const ButtonStates kNoImage{false, false, false, false, false, false};

} // namespace

class TestViewer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_photo;      // 40 x 30 PNG in a folder with a Japanese name and a space
    QString m_otherPhoto; // 8 x 6 PNG
    QString m_damaged;

    frmviewer *viewer() { return forms::get<frmviewer>(); }

    QString writePng(const QString &name, QSize size, QColor colour)
    {
        const QString path = m_dir.filePath(name);
        [&] { QVERIFY(testsupport::solid(size.width(), size.height(), colour).save(path, "PNG")); }();
        return path;
    }

    void openThroughTheButton(DialogScript &dialog, const QString &path)
    {
        dialog.answer(path);
        viewer()->Image2_Click();
        viewer()->Timer2_Timer();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("写真 フォルダ"));
        m_photo = writePng(QStringLiteral("写真 フォルダ/夏 1.png"), {40, 30}, Qt::red);
        m_otherPhoto = writePng(QStringLiteral("other.png"), {8, 6}, Qt::blue);
        m_damaged = m_dir.filePath(QStringLiteral("damaged.jpg"));
        QFile file(m_damaged);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("\xFF\xD8\xFF\xE0 this is not a JPEG");
    }

    void init()
    {
        // The tool buttons load their bitmaps from the program folder.
        AppPath = QStringLiteral(MORVELL_ART_DIR "/");
    }

    void cleanup()
    {
        unloadAllForms();
        Module1::resetApplicationState();
    }

    void startState()
    {
        auto *v = viewer();
        QVERIFY(statesOf(v) == kAtLoad);
        QVERIFY(v->Option1->isChecked());
        for (QWidget *panel : {v->Frame2, v->Frame3, v->Frame4, v->Frame5})
            QVERIFY(panel->isHidden());
        QVERIFY(!v->Command5->isEnabled() && !v->Command11->isEnabled() && !v->Command18->isEnabled());
        QVERIFY(!v->cmdTcancel->isEnabled());
        QCOMPARE(v->Ik5File1->handle(), 0);
    }

    void openFillsTheFileInformation()
    {
        DialogScript dialog;
        openThroughTheButton(dialog, m_photo);
        auto *v = viewer();
        QCOMPARE(v->Text1->text(), QStringLiteral("夏 1.png"));
        QCOMPARE(v->Text2->text(), textrules::formatNumber(double(QFileInfo(m_photo).size()) / 1000.0));
        QCOMPARE(v->Text3->text(), QStringLiteral("40"));
        QCOMPARE(v->Text4->text(), QStringLiteral("30"));
        QCOMPARE(v->Ik5Disp1->handle(), v->Ik5File1->handle());
        QVERIFY(v->hasWorkingImage());
        QVERIFY(statesOf(v) == kWithImage);
        QVERIFY(!forms::isLoaded<Form2>());
    }

    // open -> close -> cancelled open -> open -> failed open
    void enableStatesFollowTheImage()
    {
        DialogScript dialog;
        auto *v = viewer();
        openThroughTheButton(dialog, m_photo);
        QVERIFY(statesOf(v) == kWithImage);

        v->CloseImage();
        QVERIFY(statesOf(v) == kNoImage);
        QCOMPARE(v->Text1->text(), QString());
        QVERIFY(v->Ik5Disp1->handle() != 0); // closing keeps the handles

        openThroughTheButton(dialog, m_photo);
        const imaging::Handle before = v->Ik5File1->handle();
        dialog.answer(QString()); // cancel
        v->Image2_Click();
        v->Timer2_Timer();
        QVERIFY(statesOf(v) == kWithImage); // as designed: a cancel keeps the states
        QCOMPARE(v->Text1->text(), QStringLiteral("夏 1.png"));
        // ...but the image was released at the click: it counts as none.
        QVERIFY(!imaging::ImageStore::instance().contains(before));
        QVERIFY(!v->hasWorkingImage());

        ScriptedMessageBoxes boxes;
        boxes.expect(platform::msgbox::Ok);
        openThroughTheButton(dialog, m_damaged);
        QCOMPARE(boxes.boxes().size(), 1);
        QVERIFY(boxes.boxes().first().text.contains(QStringLiteral("damaged.jpg")));
        QVERIFY(statesOf(v) == kNoImage);
        for (QLineEdit *box : {v->Text1, v->Text2, v->Text3, v->Text4})
            QCOMPARE(box->text(), QString());
        QCOMPARE(v->Ik5Disp1->handle(), 0);
        QVERIFY(!forms::isLoaded<Form2>());
    }

    void failedOpenOfEachBadFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("reason");
        const QString unsupported = QStringLiteral("対応していない形式です");
        QTest::newRow("damaged JPEG") << "bad.jpg" << QByteArray("\xFF\xD8\xFF\xDB\x00\x43 broken", 12)
                                      << "ファイルが壊れています (データが途中で終わっています)";
        QTest::newRow("text named .png") << "notes.png" << QByteArray("hello") << unsupported;
        QTest::newRow("empty file") << "empty.bmp" << QByteArray("") << unsupported;
        QTest::newRow("vanished") << "gone.jpg" << QByteArray() << "ファイルが見つかりません";
        QTest::newRow("WebP named .jpg") << "web.jpg" << QByteArray("RIFF\x10\x00\x00\x00WEBPVP8 ", 16) << unsupported;
        QTest::newRow("FlashPix") << "scan.fpx" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8).append(504, '\0')
                                  << unsupported;
        // A BMP header declaring 65535 x 65535 pixels and nothing else.
        QByteArray huge("BM", 2);
        huge.append(12, '\0');
        const char info[] = {40, 0, 0, 0, '\xFF', '\xFF', 0, 0, '\xFF', '\xFF', 0, 0, 1, 0, 24, 0};
        huge.append(info, sizeof info).append(24, '\0');
        QTest::newRow("forged huge BMP") << "huge.bmp" << huge << "画像が大きすぎます (65535 × 65535)";
        QTest::newRow("folder named .jpg") << "<folder>.jpg" << QByteArray() << "通常のファイルではありません";
        QTest::newRow("FIFO named .jpg") << "<fifo>.jpg" << QByteArray() << "通常のファイルではありません";
    }
    void failedOpenOfEachBadFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        if (name.startsWith(u'<')) {
            name = name.mid(1).replace(QStringLiteral(">"), QString());
            const QString special = m_dir.filePath(name);
            if (name.startsWith(QStringLiteral("folder")))
                QVERIFY(QDir().mkpath(special));
            else
                QCOMPARE(::mkfifo(QFile::encodeName(special).constData(), 0600), 0);
        }
        const QString path = m_dir.filePath(name);
        if (!content.isNull()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        DialogScript dialog;
        ScriptedMessageBoxes boxes;
        boxes.expect(platform::msgbox::Ok);
        openThroughTheButton(dialog, path);
        QVERIFY(boxes.verify());
        // One message: what failed, the file, and the reason in Japanese.
        QCOMPARE(boxes.boxes().first().text, QStringLiteral("画像を開けませんでした。\n\n%1\n\n%2").arg(name, reason));
        QVERIFY(statesOf(viewer()) == kNoImage);
        // The window is still usable: a good file opens next.
        openThroughTheButton(dialog, m_photo);
        QVERIFY(statesOf(viewer()) == kWithImage);
    }

    // A photo adjusted and then replaced by the next one leaves nothing behind.
    void openingAgainReleasesTheAdjustedImage()
    {
        DialogScript dialog;
        auto *v = viewer();
        const auto before = imaging::ImageStore::instance().count();
        openThroughTheButton(dialog, m_photo);
        v->Ik5Effect1->setSource(v->Ik5Disp1->handle());
        v->replaceWorkingImage(v->Ik5Effect1->brightness(0, 0, 0, 20, 20, 20));
        const imaging::Handle adjusted = v->Ik5Disp1->handle();
        emit v->Ik5Disp1->fileDropped(m_otherPhoto);
        QVERIFY(!imaging::ImageStore::instance().contains(adjusted));
        QCOMPARE(imaging::ImageStore::instance().count(), before + 1);
        forms::unload<frmviewer>();
        QCOMPARE(imaging::ImageStore::instance().count(), before);
    }

    void dropOpensAndClearsTheBoxesFirst()
    {
        DialogScript dialog;
        auto *v = viewer();
        openThroughTheButton(dialog, m_photo);
        const imaging::Handle first = v->Ik5File1->handle();
        emit v->Ik5Disp1->fileDropped(m_otherPhoto);
        QCOMPARE(dialog.shown(), 1);
        QCOMPARE(v->Text1->text(), QStringLiteral("other.png"));
        QCOMPARE(v->Text3->text(), QStringLiteral("8"));
        QVERIFY(!imaging::ImageStore::instance().contains(first)); // the old image was released
        QVERIFY(statesOf(v) == kWithImage);
    }

    void clickOnTheEmptyDisplayOpensOnlyWithoutAHandle()
    {
        DialogScript dialog;
        auto *v = viewer();
        emit v->Ik5Disp1->clickedEmpty();
        QCOMPARE(dialog.shown(), 1); // no handle yet: the dialog opens
        openThroughTheButton(dialog, m_photo);
        v->CloseImage();
        emit v->Ik5Disp1->clickedEmpty();
        QCOMPARE(dialog.shown(), 2); // after a close the display still names a handle
    }

    void dragScrollsTheImage()
    {
        auto *v = viewer();
        v->Ik5Disp1->setSizeMode(imaging::Ik5Disp::kUnscaled);
        v->Ik5Disp1->setScrollX(0);
        v->Ik5Disp1->setScrollY(0);
        v->Ik5Disp1_pointerPressed(100, 100);
        QCOMPARE(v->DragActive, 1);
        v->Ik5Disp1_pointerMoved(90, 80);
        // Moving the pointer left by 10 and up by 20 scrolls by +10, +20.
        QCOMPARE(v->Ik5Disp1->scrollX(), 10);
        QCOMPARE(v->Ik5Disp1->scrollY(), 20);
        // The same position again does nothing.
        v->Ik5Disp1->setScrollX(-7);
        v->Ik5Disp1_pointerMoved(90, 80);
        QCOMPARE(v->Ik5Disp1->scrollX(), -7);
        v->Ik5Disp1_pointerReleased();
        QCOMPARE(v->DragActive, 0);
        v->Ik5Disp1_pointerMoved(50, 50);
        QCOMPARE(v->Ik5Disp1->scrollX(), -7);
    }

    void noDragWhileDrawingAFrame()
    {
        auto *v = viewer();
        v->Ik5Disp1->setSelectionMode(true);
        v->Ik5Disp1_pointerPressed(100, 100);
        QCOMPARE(v->DragActive, 0);
        v->DragActive = 1;
        v->Ik5Disp1->setScrollX(3);
        v->Ik5Disp1_pointerMoved(10, 10);
        QCOMPARE(v->Ik5Disp1->scrollX(), 3);
        v->Ik5Disp1_pointerReleased();
        QCOMPARE(v->DragActive, 1);
    }

    void zoomAnchorIsStored()
    {
        emit viewer()->Ik5Disp1->zoomAnchor(123, 45);
        QCOMPARE(viewer()->ZoomAnchorX, 123);
        QCOMPARE(viewer()->ZoomAnchorY, 45);
    }

    // Each button shows its pressed bitmap at the click and acts 300 ms
    // later, when the normal bitmap comes back.
    void toolButtonsActOnTheTick()
    {
        DialogScript dialog;
        auto *v = viewer();
        openThroughTheButton(dialog, m_photo);

        const QPixmap before = v->Image3->picture();
        QTest::mouseClick(v->Image3, Qt::LeftButton);
        QVERIFY(v->Image3->picture().toImage() != before.toImage());
        QCOMPARE(v->Timer3->interval(), 300);
        QVERIFY(v->Timer3->isEnabled());
        QCOMPARE(v->Text1->text(), QStringLiteral("夏 1.png")); // not closed at the click
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(v->Text1->text().isEmpty(), 2000);
        QVERIFY(clock.elapsed() >= 250);
        QVERIFY(!v->Timer3->isEnabled());
        QCOMPARE(v->Image3->picture().toImage(), QImage(AppPath + QStringLiteral("botton_close.bmp")).convertToFormat(
                                                     v->Image3->picture().toImage().format()));
    }

    void adjustmentsPanelFollowsTheImage()
    {
        DialogScript dialog;
        auto *v = viewer();
        v->Image1_Click();
        v->Timer6_Timer();
        QVERIFY(v->Frame4->isVisible() || !v->Frame4->isHidden());
        QCOMPARE(v->Frame4->pos(), v->Image5->pos());
        QVERIFY(!v->Command14->isEnabled() && !v->Command16->isEnabled());
        QVERIFY(v->Command19->isEnabled() && v->Command17->isEnabled());

        openThroughTheButton(dialog, m_photo);
        v->Timer6_Timer();
        QVERIFY(v->Command14->isEnabled() && v->Command16->isEnabled());

        // A released working image counts as none.
        v->Image2_Click();
        v->Timer6_Timer();
        QVERIFY(!v->Command14->isEnabled() && !v->Command16->isEnabled());
    }

    void disabledButtonIgnoresClicks()
    {
        auto *v = viewer();
        QVERIFY(!v->Image3->isEnabled());
        QTest::mouseClick(v->Image3, Qt::LeftButton);
        QCOMPARE(v->Timer3->interval(), 0);
    }

    void missingBitmapKeepsThePictureAndStillActs()
    {
        QTemporaryDir empty;
        AppPath = empty.path() + QStringLiteral("/");
        auto *v = viewer();
        const QImage before = v->Image1->picture().toImage();
        v->Image1_Click();
        QCOMPARE(v->Image1->picture().toImage(), before);
        v->Timer6_Timer();
        QVERIFY(!v->Frame4->isHidden());
    }

    void saveWithoutAnImageDoesNothing()
    {
        ScriptedMessageBoxes boxes; // fails on any box
        auto *v = viewer();
        v->Image8_Click();
        v->Timer4_Timer();
        QVERIFY(!forms::isLoaded<Form2>());

        // The open button released the photo and its dialog was cancelled:
        // save stays enabled as designed, but the stale handle saves nothing.
        DialogScript dialog;
        openThroughTheButton(dialog, m_photo);
        openThroughTheButton(dialog, QString());
        QVERIFY(v->Image8->isEnabled());
        QVERIFY(v->Ik5File1->handle() != 0);
        v->Image8_Click();
        v->Timer4_Timer();
        QVERIFY(!forms::isLoaded<frmSave>());
        QVERIFY(!forms::isLoaded<Form2>());
    }

    void logoOpensTheAboutBoxAtOnce()
    {
        QTest::mouseClick(viewer()->Image5, Qt::LeftButton);
        QVERIFY(forms::isLoaded<frmAbout>());
    }

    void panelButtons()
    {
        auto *v = viewer();
        v->Command19_Click();
        QVERIFY(!v->Frame5->isHidden());
        QCOMPARE(v->Frame5->pos(), v->Image5->pos());
        QVERIFY(v->Command23->isEnabled());
        v->Image1_Click();
        v->Timer6_Timer();
        v->Command17_Click();
        QVERIFY(v->Frame4->isHidden());
    }

    // The quick resize panel's "中止" closes the panel, emptying the boxes;
    // the image stays.
    void quickResizeCancelClosesThePanel()
    {
        auto *v = viewer();
        v->replaceWorkingImage(testsupport::addImage(testsupport::solid(8, 6, Qt::red)));
        const imaging::Handle image = v->Ik5Disp1->handle();
        v->Command19_Click();
        for (QLineEdit *box : {v->Text5, v->Text6, v->Text7, v->Text8, v->Text9})
            box->setText(QStringLiteral("640"));
        QTest::mouseClick(v->cmdRcancel, Qt::LeftButton);
        QVERIFY(v->Frame5->isHidden());
        for (QLineEdit *box : {v->Text5, v->Text6, v->Text7, v->Text8, v->Text9})
            QCOMPARE(box->text(), QString());
        QCOMPARE(v->Ik5Disp1->handle(), image);
        QVERIFY(v->hasWorkingImage());
    }
};

QTEST_MAIN(TestViewer)
#include "tst_frmviewer.moc"
