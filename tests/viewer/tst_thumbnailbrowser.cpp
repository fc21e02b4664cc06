// The thumbnail browser as the user meets it: the picker, the strip below
// the main window's edge, its progress label and opening a thumbnail.

#include <QtTest>

#include "app/Form2.h"
#include "app/Module1.h"
#include "imaging/core/ImageStore.h"
#include "imaging/core/Thumbnails.h"
#include "platform/Twips.h"
#include "rules/TextRules.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/core/TestImages.h"
#include "viewer/frmThumbPath.h"
#include "viewer/frmviewer.h"

using namespace testsupport;

class TestThumbnailBrowser : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_folder; // five photos, the third damaged

    frmviewer *viewer() { return forms::get<frmviewer>(); }

    // The picker opened by the thumbnail button, filled with a folder.
    frmThumbPath *pickerFor(const QString &folder)
    {
        viewer()->Image7_Click();
        viewer()->Timer1_Timer();
        auto *picker = forms::get<frmThumbPath>();
        picker->Text1->setText(folder);
        return picker;
    }

    int outerHeight() { return platform::outerSizeTwips(viewer()).height(); }

private slots:
    void initTestCase()
    {
        m_folder = m_dir.filePath(QStringLiteral("写真 フォルダ"));
        QVERIFY(QDir().mkpath(m_folder));
        for (int i = 1; i <= 5; ++i) {
            const QString path = m_folder + QStringLiteral("/%1.png").arg(i);
            if (i == 3) {
                QFile text(path);
                QVERIFY(text.open(QIODevice::WriteOnly));
                text.write("a text file named .png");
            } else {
                QVERIFY(solid(30 + i, 20, Qt::darkCyan).save(path, "PNG"));
            }
        }
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

    void thePickerOpensOverThePanelArea()
    {
        viewer()->Show();
        viewer()->Image7_Click();
        viewer()->Timer1_Timer();
        auto *picker = forms::get<frmThumbPath>();
        QVERIFY(picker->isVisible());
        QCOMPARE(platform::positionTwips(picker),
                 platform::positionTwips(viewer()) + QPoint(frmviewer::kPanelAreaLeft, frmviewer::kPanelAreaTop));
        QCOMPARE(picker->Text1->text(), picker->Dir1->path());
    }

    void buildingShowsTheStripAndCountsUp()
    {
        pickerFor(m_folder)->Command1_Click();
        QCOMPARE(outerHeight(), frmviewer::kOuterHeightThumbnails);
        QVERIFY(viewer()->cmdTcancel->isEnabled());
        QCOMPARE(viewer()->Label19->text(), QStringLiteral("5/5読込中"));
        QVERIFY(!forms::isLoaded<frmThumbPath>()); // the first picture closed it
        QCOMPARE(viewer()->Ik5Thumb1->itemCount(), 5);
        QVERIFY(viewer()->Ik5Thumb1->itemBroken(2));
        QVERIFY(!viewer()->Ik5Thumb1->itemPicture(0).isNull());
    }

    void aFolderWithoutImagesLeavesThePickerOpen()
    {
        QTemporaryDir empty;
        pickerFor(empty.path())->Command1_Click();
        QVERIFY(forms::isLoaded<frmThumbPath>());
        QVERIFY(viewer()->Label19->text().isEmpty());
    }

    void cancellingThePickerHidesTheStripWithoutClearingIt()
    {
        pickerFor(m_folder)->Command1_Click();
        pickerFor(m_folder)->Command2_Click();
        QCOMPARE(outerHeight(), frmviewer::kOuterHeightPickerCancelled);
        QVERIFY(!forms::isLoaded<frmThumbPath>());
        QCOMPARE(viewer()->Ik5Thumb1->itemCount(), 5);
        viewer()->Command10_Click();
        QCOMPARE(outerHeight(), frmviewer::kOuterHeight);
        QVERIFY(viewer()->Label19->text().isEmpty());
    }

    void readingStopsAtTheCancelButton()
    {
        auto *picker = pickerFor(m_folder);
        bool pressed = false;
        connect(viewer()->Ik5Thumb1, &imaging::Ik5Thumb::itemLoaded, this, [&](const QString &, const QString &, int n) {
            if (n == 2 && !pressed) {
                pressed = true;
                viewer()->cmdTcancel->click();
            }
        });
        picker->Command1_Click();
        QCOMPARE(viewer()->Label19->text(), QStringLiteral("2/5読込中"));
        QVERIFY(viewer()->cmdTcancel->isEnabled());
    }

    void choosingAThumbnailOpensItsImage()
    {
        pickerFor(m_folder + u'/')->Command1_Click();
        QTest::mouseClick(viewer()->Ik5Thumb1->viewport(), Qt::LeftButton, {},
                          viewer()->Ik5Thumb1->itemRect(1).center());
        auto *v = viewer();
        QCOMPARE(v->Text1->text(), QStringLiteral("2.png"));
        QCOMPARE(v->Text2->text(), textrules::formatNumber(double(QFileInfo(m_folder + QStringLiteral("/2.png")).size()) / 1000.0));
        QCOMPARE(v->Text3->text(), QStringLiteral("32"));
        QCOMPARE(v->Text4->text(), QStringLiteral("20"));
        QVERIFY(v->hasWorkingImage());
        QVERIFY(v->Image3->isEnabled() && v->Image8->isEnabled() && v->Image6->isEnabled());
        QVERIFY(!forms::isLoaded<Form2>());
        // Another choice releases the image it replaces.
        const int held = int(imaging::ImageStore::instance().count());
        QTest::mouseClick(v->Ik5Thumb1->viewport(), Qt::LeftButton, {}, v->Ik5Thumb1->itemRect(3).center());
        QCOMPARE(v->Text1->text(), QStringLiteral("4.png"));
        QCOMPARE(int(imaging::ImageStore::instance().count()), held);
    }

    // A file that cannot be read: the one message of the open button, the
    // progress dialog gone, the boxes empty, the buttons as after a close.
    void aThumbnailThatCannotBeReadIsOneMessage()
    {
        pickerFor(m_folder)->Command1_Click();
        ScriptedMessageBoxes boxes;
        boxes.expect(0);
        QTest::mouseClick(viewer()->Ik5Thumb1->viewport(), Qt::LeftButton, {},
                          viewer()->Ik5Thumb1->itemRect(2).center());
        QVERIFY(boxes.verify());
        QVERIFY(boxes.boxes().value(0).text.startsWith(QStringLiteral("画像を開けませんでした。\n\n3.png")));
        auto *v = viewer();
        QVERIFY(!forms::isLoaded<Form2>());
        for (QLineEdit *box : {v->Text1, v->Text2, v->Text3, v->Text4})
            QVERIFY(box->text().isEmpty());
        QVERIFY(!v->Image3->isEnabled() && !v->Image8->isEnabled() && !v->Command6->isEnabled());
    }

    // While a chosen thumbnail is read (its progress yields), a second
    // choice reads nothing.
    void aSecondChoiceDuringAReadIsIgnored()
    {
        pickerFor(m_folder)->Command1_Click();
        auto *v = viewer();
        int reads = 0;
        connect(v->Ik5File1, &imaging::Ik5File::progress, this, [&](int percent) {
            if (percent == 0 && ++reads == 1)
                v->Ik5Thumb1_itemChosen();
        });
        QTest::mouseClick(v->Ik5Thumb1->viewport(), Qt::LeftButton, {}, v->Ik5Thumb1->itemRect(0).center());
        QCOMPARE(reads, 1);
        QCOMPARE(v->Text1->text(), QStringLiteral("1.png"));
    }

    // Closing the main window from inside the strip's progress: the build
    // ends, nothing runs on a destroyed window (ASan watches).
    void closingTheMainWindowDuringABuild()
    {
        auto *picker = pickerFor(m_folder);
        auto *v = viewer();
        connect(v->Ik5Thumb1, &imaging::Ik5Thumb::itemLoaded, this, [&](const QString &, const QString &, int n) {
            if (n == 1)
                v->close();
        });
        picker->Command1_Click();
        QVERIFY(!forms::isLoaded<frmviewer>());
    }
};

QTEST_MAIN(TestThumbnailBrowser)
#include "tst_thumbnailbrowser.moc"
