#include <QtTest>

#include "app/frmAbout.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "support/SeamOverrides.h"

using namespace testsupport;
using platform::RegistryRoot;

namespace {
const QString kPathKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kUnavailable = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");
} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { unloadAllForms(); }

    void captionsAfterLoad()
    {
        auto *about = forms::get<frmAbout>();
        QCOMPARE(about->lblTitle->text(), QStringLiteral("Morvell Image Viewer Lite"));
        QVERIFY(about->lblDescription->text().startsWith(QStringLiteral("Produse'd By Morvell Communications\r\n\r\n")));
        QCOMPARE(about->lblDescription->text().count(QStringLiteral("\r\n")), 3);
        QCOMPARE(about->cmdSysInfo->text(), QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
    }

    // Where the system information program is found: a full path, or a
    // folder that must hold it; otherwise the one message.
    void systemInformation_data()
    {
        QTest::addColumn<QString>("pathValue");     // empty: no value
        QTest::addColumn<QString>("locationValue"); // empty: no value; "<dir>": a folder holding the program
        QTest::addColumn<bool>("startSucceeds");
        QTest::addColumn<QString>("started");       // empty: nothing started
        QTest::newRow("path value, started without a check") << "C:\\nowhere\\msinfo32.exe" << "" << true << "C:\\nowhere\\msinfo32.exe";
        QTest::newRow("path value that fails to start") << "C:\\nowhere\\msinfo32.exe" << "" << false << "C:\\nowhere\\msinfo32.exe";
        QTest::newRow("location holding the program") << "" << "<dir>" << true << "<dir>\\MSINFO32.EXE";
        QTest::newRow("location without the program") << "" << "/nonexistent" << true << "";
        QTest::newRow("neither value") << "" << "" << true << "";
    }
    void systemInformation()
    {
        QFETCH(QString, pathValue);
        QFETCH(QString, locationValue);
        QFETCH(bool, startSucceeds);
        QFETCH(QString, started);

        // The location branch joins folder and name with a backslash, as the
        // registry's paths are written: make such a file exist here.
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("tools"));
        QFile(folder + QStringLiteral("\\MSINFO32.EXE")).open(QIODevice::WriteOnly);
        locationValue.replace(QStringLiteral("<dir>"), folder);
        started.replace(QStringLiteral("<dir>"), folder);

        RegistryOverride registry;
        if (!pathValue.isEmpty())
            registry.setString(RegistryRoot::LocalMachine, kPathKey, QStringLiteral("PATH"), pathValue);
        if (!locationValue.isEmpty())
            registry.setString(RegistryRoot::LocalMachine, kLocationKey, QStringLiteral("MSINFO"), locationValue);
        StartProgramRecorder programs(startSucceeds);
        ScriptedMessageBoxes boxes;
        const bool messageExpected = started.isEmpty() || !startSucceeds;
        if (messageExpected)
            boxes.expect(platform::msgbox::Ok, kUnavailable);

        forms::get<frmAbout>()->cmdSysInfo->click();

        QCOMPARE(programs.requests().size(), started.isEmpty() ? 0 : 1);
        if (!started.isEmpty())
            QCOMPARE(programs.requests().first().program, started);
        if (messageExpected) {
            QCOMPARE(boxes.boxes().size(), 1);
            QCOMPARE(boxes.boxes().first().style, int(platform::msgbox::OkOnly));
            QCOMPARE(boxes.boxes().first().title, QStringLiteral("Morvell Image Viewer"));
        }
    }

    void noRegistryOnThisPlatformGivesTheMessage()
    {
        ScriptedMessageBoxes boxes;
        boxes.expect(platform::msgbox::Ok, kUnavailable);
        forms::get<frmAbout>()->StartSysInfo();
    }

    void okAndEscapeUnload()
    {
        forms::get<frmAbout>()->cmdOK->click();
        QVERIFY(!forms::isLoaded<frmAbout>());
        auto *about = forms::get<frmAbout>();
        about->Show();
        QTest::keyClick(about, Qt::Key_Escape);
        QVERIFY(!forms::isLoaded<frmAbout>());
    }

    void numberValueReadsAsHexText()
    {
        RegistryOverride registry;
        registry.setValue(RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("V"),
                          {platform::RegistryType::Dword, QByteArray("\x01\x2A\x00\x00", 4)});
        QString value;
        QVERIFY(frmAbout::GetKeyValue(RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("V"), value));
        QCOMPARE(value, QStringLiteral("&h2A1"));
        QVERIFY(!frmAbout::GetKeyValue(RegistryRoot::LocalMachine, QStringLiteral("K"), QStringLiteral("missing"), value));
        QCOMPARE(value, QString());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
