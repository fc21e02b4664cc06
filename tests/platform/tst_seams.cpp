#include <QtTest>

#include "platform/core/Seams.h"
#include "support/SeamOverrides.h"

using namespace platform;
using namespace testsupport;

class TestSeams : public QObject
{
    Q_OBJECT

private slots:
    void platformDefaults()
    {
        QCOMPARE(programFolder(), QCoreApplication::applicationDirPath());
        QVERIFY(qAbs(currentDateTime().secsTo(QDateTime::currentDateTime())) <= 1);
        QVERIFY(!readRegistryValue(RegistryRoot::LocalMachine, QStringLiteral(R"(SOFTWARE\Tools\Shared)"), QStringLiteral("Path")));
        QCOMPARE(showNetworkDriveDialog(nullptr), NetworkDriveResult::NotAvailable);
        QVERIFY(!startProgram(QStringLiteral("/nonexistent/program")));
        const QString trueProgram = QStandardPaths::findExecutable(QStringLiteral("true"));
        if (!trueProgram.isEmpty())
            QVERIFY(startProgram(trueProgram));
    }

    void overridesStandInAndRestoreWhatWasThere()
    {
        {
            ProgramFolderOverride outer(QStringLiteral("/opt/outer"));
            {
                ProgramFolderOverride inner(QStringLiteral("/opt/inner"));
                QCOMPARE(programFolder(), QStringLiteral("/opt/inner"));
            }
            QCOMPARE(programFolder(), QStringLiteral("/opt/outer"));
        }
        QCOMPARE(programFolder(), QCoreApplication::applicationDirPath());

        {
            StartProgramRecorder recorder(false);
            QVERIFY(!startProgram(QStringLiteral("/nonexistent/program"), {QStringLiteral("-x")}));
            QCOMPARE(recorder.requests().size(), 1);
            QCOMPARE(recorder.requests().first().arguments, QStringList{QStringLiteral("-x")});
        }
        QVERIFY(!startProgram(QStringLiteral("/nonexistent/program")));
    }

    void fakesAnswerAsTold()
    {
        const QDateTime start(QDate(2003, 4, 1), QTime(23, 59, 59));
        ClockOverride clock(start);
        QCOMPARE(currentDateTime(), start);
        clock.advance(1000);
        QCOMPARE(currentDateTime(), QDateTime(QDate(2003, 4, 2), QTime(0, 0, 0)));

        RegistryOverride registry;
        const QString key = QStringLiteral(R"(SOFTWARE\Tools\Shared)");
        registry.setString(RegistryRoot::LocalMachine, key, QStringLiteral("Path"), QStringLiteral("C:\\tools\\info.exe"));
        const auto value = readRegistryValue(RegistryRoot::LocalMachine, key, QStringLiteral("Path"));
        QVERIFY(value);
        QCOMPARE(value->type, RegistryType::String);
        QCOMPARE(value->data, QByteArray("C:\\tools\\info.exe", 17) + '\0');
        QVERIFY(!readRegistryValue(RegistryRoot::CurrentUser, key, QStringLiteral("Path")));
        QVERIFY(!readRegistryValue(RegistryRoot::LocalMachine, key, QStringLiteral("Other")));

        NetworkDriveOverride dialog(NetworkDriveResult::Cancelled);
        QCOMPARE(showNetworkDriveDialog(nullptr), NetworkDriveResult::Cancelled);
        QCOMPARE(dialog.requests(), 1);
    }
};

QTEST_MAIN(TestSeams)
#include "tst_seams.moc"
