#include <QtTest>

#include "app/Form2.h"
#include "app/Module1.h"
#include "platform/Twips.h"
#include "support/FormTesting.h"
#include "viewer/frmviewer.h"

using namespace testsupport;

class TestProgressDialog : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { unloadAllForms(); }

    void captionMovesTheBar_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("bar");
        QTest::newRow("a percentage") << "37" << 37;
        QTest::newRow("full") << "100" << 100;
        QTest::newRow("the design text") << "Label1" << 0;
        QTest::newRow("leading blanks and trailing text") << "  12abc" << 12;
        QTest::newRow("a half rounds to even") << "2.5" << 2;
    }
    void captionMovesTheBar()
    {
        QFETCH(QString, caption);
        QFETCH(int, bar);
        auto *dialog = forms::get<Form2>();
        dialog->setLabel1Caption(QStringLiteral("50"));
        dialog->setLabel1Caption(caption);
        QCOMPARE(dialog->ProgressBar1->value(), bar);
    }

    void freshDialogShowsTheDesignText()
    {
        auto *dialog = forms::get<Form2>();
        dialog->setStatus(QStringLiteral("a.jpg処理中"));
        Form2::reportProgress(40);
        forms::unload<Form2>();
        auto *fresh = forms::get<Form2>();
        QCOMPARE(fresh->Label1->text(), QStringLiteral("Label1"));
        QCOMPARE(fresh->ProgressBar1->value(), 0);
        QCOMPARE(fresh->Label3->text(), QString());
    }

    void stopRaisesTheFlagUntilTheNextDialog()
    {
        CancelFlag = 1;
        auto *dialog = forms::get<Form2>();
        QCOMPARE(CancelFlag, qint16(0));
        dialog->Show();
        QTest::keyClick(dialog, Qt::Key_Return); // Enter presses the default button
        QCOMPARE(CancelFlag, qint16(1));
        forms::unload<Form2>();
        QCOMPARE(CancelFlag, qint16(1));
        forms::get<Form2>();
        QCOMPARE(CancelFlag, qint16(0));
    }

    void unloadSetsTheStatusLine()
    {
        auto *dialog = forms::get<Form2>();
        QPointer<Form2> alive(dialog);
        forms::unload<Form2>();
        QVERIFY(alive);
        QCOMPARE(alive->Label3->text(), QStringLiteral("処理中"));
    }

    void sitsBelowTheMainWindow()
    {
        auto *viewer = forms::get<frmviewer>();
        viewer->Show();
        platform::moveTwips(viewer, 1500, 900);
        auto *dialog = forms::get<Form2>();
        // Placed to the pixel: 6320 twips is 421 px, read back as 6315.
        const int expectedTop = platform::pixelsToTwips(platform::twipsToPixels(900 + 5220 + 200));
        QCOMPARE(platform::positionTwips(dialog), QPoint(1500, expectedTop));
    }

    void progressWithoutADialogBuildsNone()
    {
        Form2::reportProgress(10);
        QVERIFY(!forms::isLoaded<Form2>());
    }
};

QTEST_MAIN(TestProgressDialog)
#include "tst_progressdialog.moc"
