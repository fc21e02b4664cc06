#include <QtTest>

#include "app/Form2.h"
#include "app/Module1.h"
#include "app/frmAbout.h"
#include "app/frmSplash.h"
#include "platform/Twips.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/SeamOverrides.h"
#include "viewer/frmviewer.h"

using namespace testsupport;

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        unloadAllForms();
        Module1::resetApplicationState();
    }

    void appPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain folder gets one separator") << "/opt/morvell" << "/opt/morvell/";
        QTest::newRow("root keeps its separator") << "/" << "/";
        QTest::newRow("trailing separator kept as is") << "/opt/morvell/" << "/opt/morvell/";
        QTest::newRow("spaces and Japanese") << "/home/利用者/My Apps" << "/home/利用者/My Apps/";
    }
    void appPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(Module1::appPathFrom(folder), expected);
    }

    void versionCaptions()
    {
        QCOMPARE(forms::get<frmSplash>()->lblVersion->text(), QStringLiteral("Version 1.2.4"));
        QCOMPARE(forms::get<frmAbout>()->lblVersion->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.2.4"));
        QCOMPARE(forms::get<frmAbout>()->windowTitle(), QStringLiteral("Morvell Image Viewer Liteのﾊﾞｰｼﾞｮﾝ情報"));
    }

    // The main window is loaded hidden before the splash shows, and shown
    // 2000 ms after it: the design's 5000 ms interval never elapses.
    void splashHandsOverAfterTwoSeconds()
    {
        ProgramFolderOverride folder(QStringLiteral("/opt/morvell"));
        QElapsedTimer clock;
        clock.start();
        Module1::Main();
        QCOMPARE(AppPath, QStringLiteral("/opt/morvell/"));
        QVERIFY(forms::isLoaded<frmviewer>());
        QVERIFY(!forms::get<frmviewer>()->isVisible());
        QVERIFY(forms::get<frmSplash>()->isVisible());
        QCOMPARE(forms::get<frmSplash>()->Timer1->interval(), 2000);

        QTRY_VERIFY_WITH_TIMEOUT(!forms::isLoaded<frmSplash>(), 4000);
        const qint64 handOver = clock.elapsed();
        QVERIFY2(handOver >= 1900 && handOver < 4500, qPrintable(QString::number(handOver)));
        QVERIFY(forms::get<frmviewer>()->isVisible());
    }

    void mainWindowOuterSizes()
    {
        auto *viewer = forms::get<frmviewer>();
        QCOMPARE(platform::outerSizeTwips(viewer), QSize(9525, 5220));
        QCOMPARE(viewer->size(), QSize(629, 323));
        // The bottom tool row shows whole; the thumbnail strip starts below.
        QVERIFY(viewer->Image1->geometry().bottom() < viewer->height());
        QVERIFY(viewer->Command10->geometry().top() >= viewer->height());
        platform::setOuterSizeTwips(viewer, 9525, 6705);
        QCOMPARE(viewer->size(), QSize(629, 422));
        viewer->Command10_Click();
        QCOMPARE(platform::outerSizeTwips(viewer), QSize(9525, 5220));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
